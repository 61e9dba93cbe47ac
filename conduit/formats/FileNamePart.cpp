#include "conduit/formats/FileNamePart.h"

#include <algorithm>

std::string WithoutPathSeparators(std::string text) {
    std::replace(text.begin(), text.end(), '/', '_');
    std::replace(text.begin(), text.end(), '\\', '_');
    return text;
}

bool NamesAFolder(std::string_view text) {
    return text == "." || text == "..";
}

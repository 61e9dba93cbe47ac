#include "desktop/core/ResponseCodeImport.h"

#include "desktop/core/TextDecoding.h"
#include "platform/files/RegularFile.h"

namespace wexal::desktop {

namespace {

bool HasNonBlank(std::string_view text) {
    return text.find_first_not_of(' ') != std::string_view::npos;
}

// Where the first `count` characters of a UTF-8 text end.
std::size_t CharactersEnd(std::string_view text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t taken = 0; taken < count && at < text.size(); ++taken) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) {
            ++at;
        }
    }
    return at;
}

void TakeLine(std::string_view bytes, std::vector<ImportedResponseCode>& codes) {
    const std::string line = Utf8OrWindows1252(bytes);
    const std::size_t codeEnd = CharactersEnd(line, 2);
    ImportedResponseCode code{line.substr(0, codeEnd), line.substr(codeEnd)};
    if (HasNonBlank(code.Code) && HasNonBlank(code.Text)) {
        codes.push_back(std::move(code));
    }
}

}  // namespace

std::vector<ImportedResponseCode> ParseResponseCodes(std::string_view bytes) {
    // A byte-order mark is how some editors begin a UTF-8 file, not text.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::vector<ImportedResponseCode> codes;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        TakeLine(bytes.substr(start, end - start), codes);
        start = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
    }
    return codes;
}

ResponseCodeFile ReadResponseCodeFile(const std::filesystem::path& file) {
    ResponseCodeFile result;
    std::string bytes;
    int error = 0;
    if (!files::ReadRegularFile(file, bytes, error)) {
        result.Reason = files::ErrorText(error);
        return result;
    }
    result.Read = true;
    result.Codes = ParseResponseCodes(bytes);
    return result;
}

}  // namespace wexal::desktop

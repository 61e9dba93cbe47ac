#include "desktop/core/ExceptionRecord.h"

#include "platform/text/Windows1252.h"

namespace wexal::desktop {

namespace {

// Columns from 1, as the conduit lays them out.
std::string Field(std::string_view line, std::size_t first, std::size_t last) {
    if (first > line.size()) {
        return {};
    }
    std::string_view bytes = line.substr(first - 1, last - first + 1);
    const std::size_t begin = bytes.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return {};
    }
    bytes = bytes.substr(begin, bytes.find_last_not_of(' ') - begin + 1);
    return text::Windows1252ToUtf8(bytes);
}

}  // namespace

ExceptionRecord ReadExceptionRecord(std::string_view line) {
    ExceptionRecord record;
    record.Service = Field(line, 1, 20);
    record.Tag = Field(line, 21, 40);
    record.Serial = Field(line, 41, 50);
    record.Type = Field(line, 51, 51);
    record.Previous = Field(line, 58, 67);
    record.ExpectHi = Field(line, 68, 77);
    record.ExpectLo = Field(line, 78, 87);
    record.Current = Field(line, 88, 97);
    record.Date = Field(line, 98, 103);
    record.Time = Field(line, 104, 109);
    record.Owner = Field(line, 110, 169);
    record.Location = Field(line, 170, 229);
    record.Message = Field(line, 230, 289);
    record.Reader = Field(line, 291, 300);
    record.ResponseCode = Field(line, 301, 302);
    record.ResponseText = Field(line, 303, 362);
    record.Key = std::string(line.substr(0, kExceptionKeyWidth));
    return record;
}

}  // namespace wexal::desktop

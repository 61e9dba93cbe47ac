// Response codes from a text file: one code per line, its first two
// characters the code and the rest of the line its text, neither trimmed.
// Lines end in CR LF, CR or LF; each line is UTF-8, or Windows-1252 where its
// bytes are not valid UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace wexal::desktop {

struct ImportedResponseCode {
    std::string Code;  // UTF-8
    std::string Text;

    friend bool operator==(const ImportedResponseCode&, const ImportedResponseCode&) = default;
};

// The codes of the lines whose code and text both hold something other than
// blanks, in file order; other lines are skipped.
std::vector<ImportedResponseCode> ParseResponseCodes(std::string_view bytes);

struct ResponseCodeFile {
    bool Read = false;
    std::string Reason{};  // why it could not be read
    std::vector<ImportedResponseCode> Codes{};
};

// The whole file is read before anything is taken from it. Only a regular
// file is read: a FIFO or a device is refused at once.
ResponseCodeFile ReadResponseCodeFile(const std::filesystem::path& file);

}  // namespace wexal::desktop

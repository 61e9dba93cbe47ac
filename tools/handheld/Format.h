// Text forms of handheld data for the `handheld` tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace wexal::handheld {

// "TLWX" when the four bytes are printable ASCII, else "0x544C5758".
std::string FourCCText(uint32_t code);

// Quoted C-like text: printable ASCII kept, '"' and '\\' escaped, other bytes \xHH.
std::string QuoteText(const std::string& bytes);

// Hex dump lines "  0000  00 01 ... |ascii|", 16 bytes a line; each line
// starts with `indent`.
std::string HexDump(const std::vector<uint8_t>& bytes, const std::string& indent);

// A record of the handheld application: `wordCount` big-endian 16-bit numbers,
// then NUL-terminated texts.
struct DecodedRecord {
    bool tooShort = false;  // fewer than 2 * wordCount bytes
    std::vector<uint16_t> words;
    std::vector<std::string> texts;
    bool hasTrailing = false;  // bytes after the last NUL
    std::string trailing;
};
DecodedRecord DecodeRecord(const std::vector<uint8_t>& bytes, std::size_t wordCount);

// "2024-01-31 12:00:00 UTC" for seconds since 1970.
std::string UtcText(int64_t secondsSince1970);

}  // namespace wexal::handheld

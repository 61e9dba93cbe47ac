// The exceptions-capture file: one fixed-column line per captured meter,
// appended and never rewritten (the desktop's exceptions report reads it).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

class HHException {
  public:
    HHException() = default;
    virtual ~HHException();
    HHException(const HHException&) = delete;
    HHException& operator=(const HHException&) = delete;

    // Opens the file for appending, creating it when missing: 0, or -1 (also
    // for a FIFO, device or folder, refused without waiting).
    std::int32_t Open(const std::string& path);
    // Writes the line unchanged: 0, or -1 when it is refused or nothing is open.
    std::int32_t Write(const std::string& line);
    // Flushes and closes: 0, or -1 when the line could not be completed (a
    // full disk shows up here, not at Write). Without an open file: 0.
    std::int32_t Close();

  private:
    std::FILE* stream_ = nullptr;
};

// Appends lines to a readings file through a large buffer, and can take back
// everything appended since the file was opened.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

class LineWriter {
  public:
    LineWriter() = default;
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    // Opens for appending, creating a missing file; never truncates. Any
    // file opened before is closed first.
    bool Open(const std::string& path);
    bool IsOpen() const { return fd_ >= 0; }
    // Buffers the bytes; false once anything failed to reach the file.
    bool Append(std::string_view bytes);
    // Writes out the buffer and closes; false when anything failed since Open.
    bool Close();
    // Cuts the file back to its size at Open, whether open or closed since;
    // whatever was still buffered is dropped.
    bool TruncateToOpenSize();

  private:
    bool Flush();

    // Small enough that a route's lines go to the disk in several parts while
    // the route is still being made; large enough that the calls cost little.
    static constexpr std::size_t kBufferSize = 256 * 1024;

    int fd_ = -1;
    std::string path_;
    off_t openSize_ = 0;
    bool opened_ = false;  // Open succeeded once, so path_ and openSize_ hold
    bool failed_ = false;
    std::string buffer_;
};

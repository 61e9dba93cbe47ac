// Reads a route file line by line through a large buffer.
//
// A line ends at LF, at CR LF or at a CR alone, as billing systems of every
// platform write them. A line longer than the limit is cut there and the
// rest of that physical line is passed over. A Ctrl-Z where a line would
// begin ends the file. A read error is reported as such, never as an end of
// file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class LineReader {
  public:
    enum class Outcome { Line, End, Error };

    explicit LineReader(std::size_t limit);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // Opens a regular file for reading; false when it cannot be opened, with
    // the reason in `error` when given: an errno value (EISDIR for a folder)
    // or wexal::files::kNotRegularFile for a FIFO, device or socket, which
    // are refused without waiting on them.
    bool Open(const std::string& path, int* error = nullptr);
    void Close();

    // The next line, without its line end, at most `limit` characters. After
    // End or Error every further call gives the same outcome.
    Outcome Next(std::string& line);

  private:
    bool Refill();

    static constexpr std::size_t kBufferSize = 256 * 1024;

    std::size_t limit_;
    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    Outcome finished_ = Outcome::Line;  // Line while more may follow
    bool afterCr_ = false;              // the line before ended at a CR
};

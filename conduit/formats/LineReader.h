// Reads a route file line by line through a large buffer.
//
// A line ends as most of the file's first lines end (those in the first
// buffer fill). Where that is at a LF, alone or after CRs, a line ends at
// each LF and the CRs right before it are line end too: CR CR LF is what a
// second text-mode transfer makes of CR LF. Any other CR is data. Where
// more lines end at a CR alone, a line ends at LF, at CR LF or at a CR
// alone. A line longer than the limit is cut there and the rest of that
// physical line is passed over; the first line so cut is remembered. A
// UTF-8 byte-order mark at the very start of the file is no data. A Ctrl-Z
// where a line would begin ends the file. A read error is reported as such,
// never as an end of file.
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
    // The number of the first line given so far that was cut at the limit,
    // counting every line given from 1; 0 while none was.
    std::size_t FirstCutLine() const { return firstCutLine_; }

  private:
    bool Refill();
    // Sets lineEnd_ from the first buffer fill (or, when that holds no line
    // end, from the first line end after it) without taking anything out of
    // the buffer; false on a read error.
    bool DecideLineEnd();
    // How many of `count` further characters the limit leaves room for in
    // `line`; notes the line as cut when not all.
    std::size_t Room(const std::string& line, std::size_t count);
    // Counts the line about to be given, the first cut one remembered.
    Outcome LineGiven();

    static constexpr std::size_t kBufferSize = 256 * 1024;

    std::size_t limit_;
    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    Outcome finished_ = Outcome::Line;  // Line while more may follow
    enum class LineEnd { Undecided, Lf, CrOrLf };
    LineEnd lineEnd_ = LineEnd::Undecided;
    bool afterCr_ = false;  // the line before ended at a CR
    bool atFileStart_ = true;
    bool lineCut_ = false;
    std::size_t lines_ = 0;  // lines given
    std::size_t firstCutLine_ = 0;
};

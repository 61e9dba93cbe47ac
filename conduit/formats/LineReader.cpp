#include "conduit/formats/LineReader.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "platform/files/RegularFile.h"

namespace {

constexpr char kEndOfText = 0x1A;  // Ctrl-Z: old editors end text files with it
// What an editor that saves text as UTF-8 may put before it.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The line ends of a file's first bytes: those that a LF makes (with the
// CRs right before it) and those that CRs make alone. Counting goes on over
// further bytes; a run of CRs at the end waits for what follows it.
struct LineEndCount {
    std::size_t byLf = 0;
    std::size_t byCrAlone = 0;
    bool inCrRun = false;

    void Add(std::string_view bytes) {
        const char* at = bytes.data();
        const char* const end = at + bytes.size();
        const char* lf = nullptr;  // the next LF from `at` (or `end`), once looked for
        while (at < end) {
            if (inCrRun) {
                while (at < end && *at == '\r') {
                    ++at;
                }
                if (at == end) {
                    return;
                }
                inCrRun = false;
                if (*at == '\n') {
                    ++byLf;
                    ++at;
                } else {
                    ++byCrAlone;
                }
                continue;
            }
            if (lf == nullptr || lf < at) {
                const void* found = std::memchr(at, '\n', std::size_t(end - at));
                lf = found != nullptr ? static_cast<const char*>(found) : end;
            }
            if (const void* cr = std::memchr(at, '\r', std::size_t(lf - at))) {
                inCrRun = true;
                at = static_cast<const char*>(cr) + 1;
            } else if (lf < end) {
                ++byLf;
                at = lf + 1;
            } else {
                return;
            }
        }
    }
};

}  // namespace

LineReader::LineReader(std::size_t limit) : limit_(limit) {}

LineReader::~LineReader() {
    Close();
}

bool LineReader::Open(const std::string& path, int* error) {
    Close();
    int reason = 0;
    const int fd = wexal::files::OpenRegularFile(path, reason);
    if (fd < 0) {
        if (error != nullptr) {
            *error = reason;
        }
        return false;
    }
    fd_ = fd;
    if (!buffer_) {
        buffer_ = std::make_unique<char[]>(kBufferSize);
    }
    begin_ = end_ = 0;
    lineEnd_ = LineEnd::Undecided;
    afterCr_ = false;
    atFileStart_ = true;
    lines_ = firstCutLine_ = 0;
    finished_ = Outcome::Line;
    return true;
}

void LineReader::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    begin_ = end_ = 0;
    finished_ = Outcome::End;
}

bool LineReader::Refill() {
    for (;;) {
        const ssize_t got = ::read(fd_, buffer_.get(), kBufferSize);
        if (got >= 0) {
            begin_ = 0;
            end_ = static_cast<std::size_t>(got);
            return true;
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

bool LineReader::DecideLineEnd() {
    LineEndCount count;
    count.Add(std::string_view(buffer_.get() + begin_, end_ - begin_));
    // A first line longer than the buffer: its end is looked for beside it.
    std::array<char, 4096> more;
    for (off_t at = ::lseek(fd_, 0, SEEK_CUR); count.byLf + count.byCrAlone == 0;) {
        const ssize_t got = at < 0 ? -1 : ::pread(fd_, more.data(), more.size(), at);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            break;
        }
        at += got;
        count.Add(std::string_view(more.data(), std::size_t(got)));
    }
    // A stray CR in a field of a CR LF file, or a stray LF in a CR file,
    // does not outweigh how the file's other lines end; in a tie, a CR is
    // more likely a name's than a line's (one meter with one stray CR).
    lineEnd_ = count.byLf > 0 && count.byLf >= count.byCrAlone ? LineEnd::Lf : LineEnd::CrOrLf;
    return true;
}

std::size_t LineReader::Room(const std::string& line, std::size_t count) {
    const std::size_t room = limit_ - std::min(limit_, line.size());
    lineCut_ = lineCut_ || count > room;
    return std::min(count, room);
}

LineReader::Outcome LineReader::LineGiven() {
    ++lines_;
    if (lineCut_ && firstCutLine_ == 0) {
        firstCutLine_ = lines_;
    }
    return Outcome::Line;
}

LineReader::Outcome LineReader::Next(std::string& line) {
    line.clear();
    if (finished_ != Outcome::Line) {
        return finished_;
    }
    lineCut_ = false;
    bool begun = false;       // whether a character of the physical line was seen
    std::size_t heldCrs = 0;  // CRs last seen: line end if a LF follows, else data
    for (;;) {
        if (begin_ == end_) {
            if (!Refill()) {
                line.clear();
                return finished_ = Outcome::Error;
            }
            const bool marked =
                atFileStart_ && std::string_view(buffer_.get(), end_).starts_with(kByteOrderMark);
            atFileStart_ = false;
            if (marked) {
                begin_ = kByteOrderMark.size();
                continue;
            }
            if (begin_ == end_) {
                // A last line without a line end keeps every character
                // (but held CRs, which end it where LF ends lines).
                finished_ = Outcome::End;
                return begun ? LineGiven() : Outcome::End;
            }
        }
        if (lineEnd_ == LineEnd::Undecided && !DecideLineEnd()) {
            line.clear();
            return finished_ = Outcome::Error;
        }
        const char* from = buffer_.get() + begin_;
        if (!begun && afterCr_) {
            // The LF of a CR LF whose CR ended the line before.
            afterCr_ = false;
            if (*from == '\n') {
                ++begin_;
                continue;
            }
        }
        if (!begun && *from == kEndOfText) {
            return finished_ = Outcome::End;
        }
        begun = true;
        const std::size_t available = end_ - begin_;
        const auto* lineEnd = static_cast<const char*>(std::memchr(from, '\n', available));
        std::size_t length = lineEnd != nullptr ? std::size_t(lineEnd - from) : available;
        if (lineEnd_ == LineEnd::Lf) {
            // CRs are held back until what follows them shows what they are.
            std::size_t data = length;
            while (data > 0 && from[data - 1] == '\r') {
                --data;
            }
            if (data > 0) {
                line.append(Room(line, heldCrs), '\r');
                heldCrs = 0;
                line.append(from, Room(line, data));
            }
            heldCrs += length - data;
        } else {
            // A CR is looked for only before the first LF.
            if (const auto* cr = static_cast<const char*>(std::memchr(from, '\r', length))) {
                lineEnd = cr;
                length = std::size_t(cr - from);
            }
            line.append(from, Room(line, length));
        }
        if (lineEnd == nullptr) {
            begin_ = end_;
            continue;
        }
        begin_ += length + 1;
        afterCr_ = *lineEnd == '\r';
        return LineGiven();
    }
}

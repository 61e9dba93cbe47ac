#include "conduit/formats/LineReader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files/RegularFile.h"

namespace {

constexpr char kEndOfText = 0x1A;  // Ctrl-Z: old editors end text files with it

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
    afterCr_ = false;
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

LineReader::Outcome LineReader::Next(std::string& line) {
    line.clear();
    if (finished_ != Outcome::Line) {
        return finished_;
    }
    bool begun = false;  // whether a character of the physical line was seen
    for (;;) {
        if (begin_ == end_) {
            if (!Refill()) {
                line.clear();
                return finished_ = Outcome::Error;
            }
            if (begin_ == end_) {
                // A last line without a line end keeps every character.
                finished_ = Outcome::End;
                return begun ? Outcome::Line : Outcome::End;
            }
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
        // The first CR or LF: a CR is looked for only before the first LF.
        const auto* lineEnd = static_cast<const char*>(std::memchr(from, '\n', available));
        std::size_t length = lineEnd != nullptr ? std::size_t(lineEnd - from) : available;
        if (const auto* cr = static_cast<const char*>(std::memchr(from, '\r', length))) {
            lineEnd = cr;
            length = std::size_t(cr - from);
        }
        if (line.size() < limit_) {
            line.append(from, std::min(length, limit_ - line.size()));
        }
        if (lineEnd == nullptr) {
            begin_ = end_;
            continue;
        }
        begin_ += length + 1;
        afterCr_ = *lineEnd == '\r';
        return Outcome::Line;
    }
}

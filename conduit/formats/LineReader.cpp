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
    std::size_t physical = 0;  // characters of the physical line seen so far
    char last = '\0';          // its last character
    for (;;) {
        if (begin_ == end_) {
            if (!Refill()) {
                line.clear();
                return finished_ = Outcome::Error;
            }
            if (begin_ == end_) {
                // A last line without a line end keeps every character.
                finished_ = Outcome::End;
                return physical == 0 ? Outcome::End : Outcome::Line;
            }
        }
        const char* from = buffer_.get() + begin_;
        if (physical == 0 && *from == kEndOfText) {
            return finished_ = Outcome::End;
        }
        const std::size_t available = end_ - begin_;
        const auto* lineEnd = static_cast<const char*>(std::memchr(from, '\n', available));
        const std::size_t length = lineEnd != nullptr ? std::size_t(lineEnd - from) : available;
        if (line.size() < limit_) {
            line.append(from, std::min(length, limit_ - line.size()));
        }
        if (length > 0) {
            last = from[length - 1];
            physical += length;
        }
        if (lineEnd == nullptr) {
            begin_ = end_;
            continue;
        }
        begin_ += length + 1;
        if (last == '\r' && physical <= limit_) {
            line.pop_back();
        }
        return Outcome::Line;
    }
}

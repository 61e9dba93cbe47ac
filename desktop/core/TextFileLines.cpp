#include "desktop/core/TextFileLines.h"

#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "platform/files/RegularFile.h"

namespace wexal::desktop {

namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

TextFileLines::TextFileLines(const std::string& path) : path_(path), buffer_(kChunk) {
    int error = 0;
    fd_ = files::OpenRegularFile(path, error);
    if (fd_ < 0) {
        throw std::runtime_error("Cannot open " + path + ": " + files::ErrorText(error));
    }
}

TextFileLines::~TextFileLines() {
    ::close(fd_);
}

bool TextFileLines::Fill() {
    if (start_ == end_) {
        start_ = end_ = 0;
    }
    ssize_t read = 0;
    do {
        read = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    } while (read < 0 && errno == EINTR);
    if (read < 0) {
        throw std::runtime_error("Cannot read " + path_ + ": " + files::ErrorText(errno));
    }
    end_ += static_cast<std::size_t>(read);
    return read > 0;
}

bool TextFileLines::Next(std::string& line) {
    line.clear();
    for (;;) {
        for (std::size_t at = start_; at < end_; ++at) {
            const char c = buffer_[at];
            if (c != '\n' && c != '\r') {
                continue;
            }
            if (c == '\r' && at + 1 == end_) {
                // A CR at the end of what is buffered: an LF may follow.
                line.append(buffer_.data() + start_, at + 1 - start_);
                start_ = end_ = 0;
                if (Fill() && buffer_[0] == '\n') {
                    line += '\n';
                    start_ = 1;
                }
                return true;
            }
            const std::size_t stop = c == '\r' && buffer_[at + 1] == '\n' ? at + 2 : at + 1;
            line.append(buffer_.data() + start_, stop - start_);
            start_ = stop;
            return true;
        }
        line.append(buffer_.data() + start_, end_ - start_);
        start_ = end_ = 0;
        if (!Fill()) {
            return !line.empty();
        }
    }
}

std::string_view WithoutLineEnd(std::string_view line) {
    if (line.ends_with("\r\n")) {
        line.remove_suffix(2);
    } else if (line.ends_with('\r') || line.ends_with('\n')) {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace wexal::desktop

#include "desktop/core/TextFileLines.h"

#include <cerrno>
#include <system_error>

namespace wexal::desktop {

namespace {

constexpr std::size_t kChunk = 1 << 16;

}  // namespace

TextFileLines::TextFileLines(const std::string& path) : path_(path), buffer_(kChunk) {
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        throw std::system_error(errno, std::generic_category(), "Cannot open " + path);
    }
}

TextFileLines::~TextFileLines() {
    std::fclose(file_);
}

bool TextFileLines::Fill() {
    if (start_ == end_) {
        start_ = end_ = 0;
    }
    const std::size_t read = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
    if (read == 0 && std::ferror(file_) != 0) {
        throw std::system_error(errno, std::generic_category(), "Cannot read " + path_);
    }
    end_ += read;
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

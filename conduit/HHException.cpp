#include "conduit/HHException.h"

HHException::~HHException() {
    Close();
}

std::int32_t HHException::Open(const std::string& path) {
    Close();
    // Binary so that the line end is exactly what the caller wrote.
    stream_ = std::fopen(path.c_str(), "ab");
    return stream_ != nullptr ? 0 : -1;
}

std::int32_t HHException::Write(const std::string& line) {
    if (stream_ == nullptr) {
        return -1;
    }
    const std::size_t written = std::fwrite(line.data(), 1, line.size(), stream_);
    return written == line.size() && std::ferror(stream_) == 0 ? 0 : -1;
}

std::int32_t HHException::Close() {
    if (stream_ == nullptr) {
        return 0;
    }
    const bool flushed = std::fflush(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    return flushed && closed ? 0 : -1;
}

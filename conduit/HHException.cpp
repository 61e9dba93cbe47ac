#include "conduit/HHException.h"

#include <fcntl.h>
#include <unistd.h>

#include "platform/files/RegularFile.h"

HHException::~HHException() {
    Close();
}

std::int32_t HHException::Open(const std::string& path) {
    Close();
    // Lines sent to a device or a FIFO would be gone, or wait for a reader.
    int error = 0;
    const int fd = wexal::files::OpenRegularFile(path, O_WRONLY | O_APPEND | O_CREAT, 0666, error);
    if (fd < 0) {
        return -1;
    }
    // Binary so that the line end is exactly what the caller wrote.
    stream_ = ::fdopen(fd, "ab");
    if (stream_ == nullptr) {
        ::close(fd);
        return -1;
    }
    return 0;
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

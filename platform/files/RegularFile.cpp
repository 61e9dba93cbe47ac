#include "platform/files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace wexal::files {

int OpenRegularFile(const std::filesystem::path& path, int& error) {
    return OpenRegularFile(path, O_RDONLY, 0, error);
}

int OpenRegularFile(const std::filesystem::path& path, int flags, mode_t mode, int& error) {
    // Without O_NONBLOCK the open itself waits for a FIFO's other end; a
    // terminal must not become the process's own.
    const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, mode);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = errno;
        ::close(fd);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        error = S_ISDIR(info.st_mode) ? EISDIR : kNotRegularFile;
        return -1;
    }
    // Reads and writes of a regular file never wait; the flag goes for
    // tidiness.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool ReadRegularFile(const std::filesystem::path& path, std::string& bytes, int& error) {
    const int fd = OpenRegularFile(path, error);
    if (fd < 0) {
        return false;
    }
    bytes.clear();
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0) {
            bytes.append(chunk, static_cast<std::size_t>(got));
        } else if (got == 0) {
            break;
        } else if (errno != EINTR) {
            error = errno;
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

std::string ErrorText(int error) {
    return error == kNotRegularFile ? "not a regular file" : std::strerror(error);
}

}  // namespace wexal::files

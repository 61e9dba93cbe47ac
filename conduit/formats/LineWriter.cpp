#include "conduit/formats/LineWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files/RegularFile.h"

LineWriter::~LineWriter() {
    Close();
}

bool LineWriter::Open(const std::string& path) {
    Close();
    opened_ = false;  // a failed Open must not let the file before it be cut
    // Lines sent to a device or a FIFO would be gone, or wait for a reader.
    int error = 0;
    const int fd = wexal::files::OpenRegularFile(path, O_WRONLY | O_APPEND | O_CREAT, 0666, error);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    path_ = path;
    openSize_ = info.st_size;
    opened_ = true;
    failed_ = false;
    buffer_.clear();
    buffer_.reserve(kBufferSize);
    return true;
}

bool LineWriter::Append(std::string_view bytes) {
    if (fd_ < 0 || failed_) {
        return false;
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kBufferSize) {
        return Flush();
    }
    return true;
}

bool LineWriter::Flush() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        const ssize_t wrote = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            failed_ = true;
            break;
        }
        done += static_cast<std::size_t>(wrote);
    }
    // The disk starts writing these lines now, while the next ones are made,
    // so that the flush that must follow the route finds little left to do.
    // Only a hint: where it does nothing, that flush writes them.
    if (done != 0) {
        ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
    }
    buffer_.clear();
    return !failed_;
}

bool LineWriter::Close() {
    if (fd_ < 0) {
        return true;
    }
    const bool flushed = failed_ ? false : Flush();
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    buffer_.clear();
    buffer_.shrink_to_fit();
    return flushed && closed;
}

bool LineWriter::TruncateToOpenSize() {
    if (!opened_) {
        return false;
    }
    buffer_.clear();
    int fd = fd_;
    if (fd < 0) {
        int error = 0;
        fd = wexal::files::OpenRegularFile(path_, O_WRONLY, 0, error);
        if (fd < 0) {
            return false;
        }
    }
    struct stat info {};
    // A file now shorter than at Open was changed by someone else: cutting
    // "back" would lengthen it with zeros.
    bool cut =
        ::fstat(fd, &info) == 0 && info.st_size >= openSize_ && ::ftruncate(fd, openSize_) == 0;
    if (fd != fd_) {
        cut = ::close(fd) == 0 && cut;
    } else if (cut) {
        failed_ = false;  // the file is back as it was at Open
    }
    return cut;
}

#include "desktop/core/clsFileVersion.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "desktop/core/ElfVersionNote.h"

namespace {

// A file descriptor closed when it goes out of scope.
class File {
  public:
    explicit File(const std::string& path)
        // Non-blocking, so that a FIFO given as the path cannot hang the call.
        : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)) {}
    ~File() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

std::string clsFileVersion::GetVersion(const std::string& NewFileName) {
    if (!LoadVersionInfo(NewFileName)) {
        return "Not Found";
    }
    return FormatVersionWord(dwFileVersionMS) + "." + FormatVersionWord(dwFileVersionLS);
}

bool clsFileVersion::LoadVersionInfo(const std::string& path) {
    File file(path);
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    const ReadAt readAt = [&](std::uint64_t offset, std::size_t size, void* out) {
        auto* bytes = static_cast<char*>(out);
        while (size > 0) {
            const ssize_t n = ::pread(file.get(), bytes, size, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;  // a read error, or the file shrank meanwhile
            }
            bytes += n;
            size -= static_cast<std::size_t>(n);
            offset += static_cast<std::uint64_t>(n);
        }
        return true;
    };
    const std::optional<VersionWords> words =
        ReadVersionNote(static_cast<std::uint64_t>(info.st_size), readAt);
    if (!words) {
        return false;
    }
    dwFileVersionMS = words->ms;
    dwFileVersionLS = words->ls;
    return true;
}

std::string clsFileVersion::FormatVersionWord(std::uint32_t word) {
    return std::to_string(word >> 16) + "." + std::to_string(word & 0xFFFF);
}

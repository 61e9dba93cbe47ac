#include "platform/files/AtomicFile.h"
#include "platform/files/Flush.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace wexal::files {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& target, const std::string& step, int error) {
    throw std::system_error(error, std::generic_category(),
                            "Cannot save " + target.string() + ": " + step);
}

// Removes the temporary file unless the rename took it.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::string& Path() { return path_; }
    int& Descriptor() { return fd_; }
    void Keep() { path_.clear(); }

  private:
    std::string path_;
    int fd_ = -1;
};

void WriteAll(int fd, std::string_view bytes, const std::filesystem::path& target) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            Fail(target, "writing", errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// The file that `given` names at the end of its chain of symbolic links (a
// dangling link names the file it would point to).
std::filesystem::path FollowLinks(const std::filesystem::path& given) {
    std::filesystem::path path = given;
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
        const std::filesystem::path next = std::filesystem::read_symlink(path, error);
        if (error) {
            break;
        }
        path = (next.is_absolute() ? next : path.parent_path() / next).lexically_normal();
    }
    return path;
}

}  // namespace

void ReplaceFileAtomically(const std::filesystem::path& given, std::string_view bytes) {
    const std::filesystem::path target = FollowLinks(given);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    TemporaryFile temporary((folder / ("." + target.filename().string() + ".XXXXXX")).string());
    temporary.Descriptor() = ::mkstemp(temporary.Path().data());
    if (temporary.Descriptor() < 0) {
        const int error = errno;
        temporary.Path().clear();
        Fail(target, "creating a file beside it", error);
    }
    const int fd = temporary.Descriptor();
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        Fail(target, "setting permissions", errno);
    }
    WriteAll(fd, bytes, target);
    if (wexal::files::FlushFile(fd) != 0) {
        Fail(target, "flushing", errno);
    }
    if (::close(fd) != 0) {
        temporary.Descriptor() = -1;
        Fail(target, "closing", errno);
    }
    temporary.Descriptor() = -1;
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0) {
        Fail(target, "renaming", errno);
    }
    temporary.Keep();
    // The rename itself lasts only once the folder is on disk.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        wexal::files::FlushFile(folderFd);
        ::close(folderFd);
    }
}

}  // namespace wexal::files

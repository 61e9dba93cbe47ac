// A small file system of its own (tmpfs) that a test can fill up, to see
// how writers behave on a full disk. Mounting needs root; tests skip when
// the mount is refused.
#pragma once

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"

namespace wexal::testing {

class SmallDisk {
  public:
    explicit SmallDisk(const std::string& size = "64k") {
        mounted_ = ::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, ("size=" + size).c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            ::umount2(dir_.path().c_str(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    const std::filesystem::path& Path() const { return dir_.path(); }

    // Takes every free block with a filler file.
    void Fill() const {
        const int fd = ::open(Filler().c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (fd < 0) {
            return;
        }
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        // The last page may have taken only part of a block.
        while (::write(fd, "f", 1) > 0) {
        }
        ::close(fd);
    }
    // Gives the filler's blocks back.
    void FreeUp() const { std::filesystem::remove(Filler()); }

  private:
    std::filesystem::path Filler() const { return dir_ / "filler"; }

    TempDir dir_;
    bool mounted_ = false;
};

}  // namespace wexal::testing

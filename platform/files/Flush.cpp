#include "platform/files/Flush.h"

#include <fcntl.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>

namespace wexal::files {

namespace {
std::atomic<std::uint64_t> flushes{0};
}  // namespace

int FlushFile(int fd) {
    flushes.fetch_add(1, std::memory_order_relaxed);
    return ::fsync(fd);
}

bool FlushFolder(const char* folder) {
    const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool flushed = FlushFile(fd) == 0 || errno == EINVAL;
    return ::close(fd) == 0 && flushed;
}

std::uint64_t FlushCount() {
    return flushes.load(std::memory_order_relaxed);
}

}  // namespace wexal::files

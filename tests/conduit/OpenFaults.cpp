// Stands in for open(2) and flock(2): the test program's definitions take
// precedence and pass every call on to the C library's own, found with
// dlsym(RTLD_NEXT), after running a BeforeOpening's action when its call
// comes.
#undef _FORTIFY_SOURCE  // its inline open() would clash with the one below
#include "tests/conduit/OpenFaults.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

struct Fault {
    std::string path;
    int nth;
    std::function<void()> action;
    bool locking;
    int error;
    int seen = 0;
    bool ran = false;
};

std::optional<Fault> g_fault;
thread_local bool g_inAction = false;

using OpenFunction = int (*)(const char*, int, ...);

template <class Function = OpenFunction>
Function Library(const char* symbol) {
    void* found = dlsym(RTLD_NEXT, symbol);
    if (found == nullptr) {
        std::abort();
    }
    return reinterpret_cast<Function>(found);
}

// The error the call is then to fail with, or 0.
int Before(const char* path, bool locking = false) {
    if (!g_fault || g_inAction || path == nullptr || g_fault->path != path ||
        g_fault->locking != locking) {
        return 0;
    }
    if (++g_fault->seen == g_fault->nth) {
        g_inAction = true;
        g_fault->action();
        g_fault->ran = true;
        g_inAction = false;
        errno = g_fault->error;
        return g_fault->error;
    }
    return 0;
}

// The mode argument is there only when the flags create a file.
mode_t ModeArgument(int flags, va_list arguments) {
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE) {
        return static_cast<mode_t>(va_arg(arguments, int));
    }
    return 0;
}

}  // namespace

namespace wexal::testing {

BeforeOpening::BeforeOpening(std::string path, int nth, std::function<void()> action, bool locking,
                             int error) {
    // A locked descriptor is known by the path /proc gives it.
    g_fault = Fault{locking ? std::filesystem::weakly_canonical(path).string() : std::move(path),
                    nth, std::move(action), locking, error};
}

BeforeOpening::~BeforeOpening() {
    g_fault.reset();
}

bool BeforeOpening::Ran() const {
    return g_fault && g_fault->ran;
}

}  // namespace wexal::testing

extern "C" int open(const char* path, int flags, ...) {
    static const OpenFunction next = Library("open");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return Before(path) != 0 ? -1 : next(path, flags, mode);
}

extern "C" int open64(const char* path, int flags, ...) {
    static const OpenFunction next = Library("open64");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return Before(path) != 0 ? -1 : next(path, flags, mode);
}

extern "C" int flock(int fd, int operation) {
    static const auto next = Library<int (*)(int, int)>("flock");
    std::error_code error;
    Before(std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd), error).c_str(),
           /*locking=*/true);
    return next(fd, operation);
}

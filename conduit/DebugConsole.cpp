#include "conduit/DebugConsole.h"

#include <unistd.h>

#include <cstdio>

namespace DebugConsole {
namespace {
bool open = false;
}

void Open() {
    open = true;
}

std::string Prefix(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char prefix[64];
    std::snprintf(prefix, sizeof prefix, "%d/%02d %02d:%02d:%02d ", local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return prefix;
}

void Write(const std::string& text) {
    if (!open) {
        return;
    }
    const std::string line = Prefix(std::time(nullptr)) + text;
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void WaitForEnter(const std::string& /*text*/) {
    if (!open || !isatty(STDIN_FILENO)) {
        return;
    }
    char line[256];
    if (std::fgets(line, sizeof line, stdin) == nullptr) {
        clearerr(stdin);
    }
}

void Close() {
    open = false;
}

}  // namespace DebugConsole

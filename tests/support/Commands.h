// Running the project's programs from a test, as a shell would.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/WaitUntil.h"

namespace wexal::testing {

struct CommandRun {
    int exitCode = -1;
    std::string output;  // standard output and error
};

// Runs a shell command line with no input.
inline CommandRun Execute(const std::string& command) {
    CommandRun run;
    FILE* pipe = ::popen((command + " 2>&1 </dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) {
        run.output.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline std::string Quote(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// Starts a command line in the background: its output goes to `output`, and
// its exit code to `done` when it ends. `done` appears whole: it is written
// under another name and renamed.
inline void Start(const std::string& command, const std::filesystem::path& output,
                  const std::filesystem::path& done) {
    const std::string writing = Quote(done.string() + ".tmp");
    Execute("(" + command + " >" + Quote(output) + " 2>&1 </dev/null; echo $? >" + writing +
            "; mv " + writing + " " + Quote(done) + ") >/dev/null 2>&1 &");
}

// Waits for `file` to appear; false when it has not by the hang bound.
inline bool WaitForFile(const std::filesystem::path& file) {
    return WaitUntil([&] { return std::filesystem::exists(file); });
}

}  // namespace wexal::testing

#include "bench/BenchChild.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace wexal::bench {
namespace {

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// Waits for the child; its peak memory comes with its exit.
void Finish(pid_t child, ChildRun& run) {
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) {
        run.ok = false;
        return;
    }
    run.peakKiB = usage.ru_maxrss;
    run.ok = run.ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double LastLineNumber(const std::string& text) {
    const std::size_t end = text.find_last_not_of('\n');
    if (end == std::string::npos) {
        return 0;
    }
    const std::size_t start = text.rfind('\n', end);
    std::istringstream line(text.substr(start == std::string::npos ? 0 : start + 1));
    double number = 0;
    line >> number;
    return number;
}

// Runs `body` in a forked child whose standard output, or the descriptor
// given to `body`, comes back as the run's output; `body` gives the child's
// exit status.
ChildRun RunChild(const std::function<int(int out)>& body) {
    ChildRun run;
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        return run;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return run;
    }
    if (child == 0) {
        close(fds[0]);
        const int status = body(fds[1]);
        std::fflush(nullptr);
        // No exit handlers: they belong to the parent's libraries.
        _exit(status);
    }
    close(fds[1]);
    run.output = ReadAll(fds[0]);
    close(fds[0]);
    run.ok = true;
    run.seconds = LastLineNumber(run.output);
    Finish(child, run);
    return run;
}

}  // namespace

ChildRun RunForked(const std::function<bool(double& seconds)>& step) {
    ChildRun run = RunChild([&step](int out) {
        double seconds = 0;
        const bool ok = step(seconds);
        const std::string answer = std::to_string(seconds) + "\n";
        (void)!write(out, answer.data(), answer.size());
        return ok ? 0 : 1;
    });
    run.ok = run.ok && !run.output.empty();
    run.output.clear();
    return run;
}

ChildRun RunProgram(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return {};
    }
    return RunChild([&arguments](int out) {
        dup2(out, STDOUT_FILENO);
        close(out);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        std::perror("execv");
        return 127;
    });
}

double KiBToMegabytes(long kib) {
    return static_cast<double>(kib) * 1024.0 / 1e6;
}

std::vector<long> SizesFrom(const std::string& text) {
    std::vector<long> sizes;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        const long size = std::atol(part.c_str());
        if (size <= 0) {
            return {};
        }
        sizes.push_back(size);
    }
    return sizes;
}

ScratchFolder::ScratchFolder() {
    char pattern[] = "/tmp/wexal-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        std::exit(1);
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace wexal::bench

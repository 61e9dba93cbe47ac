// What the benchmarks of whole syncs share: each measured step runs in a
// child process of its own, so that its peak memory is its own and not
// hidden by an earlier step's.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace wexal::bench {

struct ChildRun {
    bool ok = false;
    double seconds = 0;  // what the child measured
    long peakKiB = 0;    // the child's resident-set high-water mark
    std::string output;  // what the child printed (a program's standard output)
};

// Runs `step` in a forked child. The step measures its own time into
// `seconds` and gives false when it failed. The child starts as a copy of
// this process: keep the parent small and hold no database connection here.
ChildRun RunForked(const std::function<bool(double& seconds)>& step);

// Runs a program; its output is captured, and its last line's first number
// is taken as the seconds it measured.
ChildRun RunProgram(const std::vector<std::string>& arguments);

// MB = 10^6 bytes.
double KiBToMegabytes(long kib);

// "1000,10000" as numbers; empty when any is not a positive number.
std::vector<long> SizesFrom(const std::string& text);

// A folder under /tmp, removed with everything in it when this goes.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace wexal::bench

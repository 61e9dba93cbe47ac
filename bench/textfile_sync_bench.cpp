// Whole text-file syncs at scale. For every layout and size a route file of N
// meters is generated, copied once (the copy written and flushed to disk, as
// `cp` and `sync` of the copy would) for comparison, downloaded to a
// simulated handheld, every meter is read, and the readings are uploaded.
// Prints a Markdown table of each sync's time, its time divided by the
// copy's, meters per second and peak memory.
//
//   textfile_sync_bench [--meters N[,N...]] [--per-route P] [--layouts NAME[,NAME...]]
//                       [--folder DIR]
//
// Defaults: 10000,100000,1000000 meters, 10000 meters per route (so that a
// route's meter database has the same size at every N), layouts accufund
// (the standard 191-character line) and prairifire (the wide 223-character
// line), and the work done in a new folder below /tmp (a tmpfs folder such as
// /dev/shm shows the cost without the disk's).
//
// Each layout and size runs in a child process of its own (this program
// started again with --run), so that one run's peak memory does not hide the
// next. Within a run the peak of the download and that of the upload are
// taken apart: the resident-set high-water mark is reset before each sync.
#include <fcntl.h>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "bench/BenchChild.h"
#include "bench/BenchHandheld.h"
#include "conduit/HHMeter.h"
#include "conduit/HHRoute.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/WexalConduit.h"
#include "platform/palm/HandheldStore.h"
#include "platform/palm/SyncManager.h"
#include "platform/registry/Registry.h"
#include "platform/synclog/SyncLog.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// A blank line of a fixed width that texts are put into at given columns.
class FixedLine {
  public:
    explicit FixedLine(std::size_t width) : line_(width, ' ') {}

    // A text running past the end of the line is cut there.
    void Put(std::size_t column, std::string_view text) {
        const std::size_t room = column < line_.size() ? line_.size() - column : 0;
        text = text.substr(0, room);
        std::copy(text.begin(), text.end(), line_.begin() + static_cast<std::ptrdiff_t>(column));
    }
    template <typename Arg, typename... Args>
    void Put(std::size_t column, const char* format, Arg arg, Args... args) {
        char text[64];
        const int length = std::snprintf(text, sizeof text, format, arg, args...);
        Put(column, std::string_view(text, static_cast<std::size_t>(length)));
    }
    const std::string& Text() const { return line_; }

  private:
    std::string line_;
};

// One generated meter: the values every layout places in its own columns.
struct MeterValues {
    long meter;
    int route;
    int sequence;
};

// The standard route line (191 characters).
std::string StandardLine(const MeterValues& v) {
    FixedLine line(191);
    line.Put(0, "%17ld", 100000 + v.meter);
    line.Put(17, "CUSTOMER %ld", v.meter);
    line.Put(47, "%ld MAIN STREET", v.meter % 9000 + 1);
    line.Put(77, "BEWARE OF DOG");
    line.Put(108, "W");
    line.Put(109, "T%09ld", v.meter);
    line.Put(129, "S1234");
    line.Put(143, "000009000");  // highest expected
    line.Put(152, "000001000");  // lowest expected
    line.Put(169, "%04d", v.route);
    line.Put(174, "%04d", v.sequence);
    line.Put(180, "06");
    line.Put(182, "000005000");  // previous reading
    return line.Text();
}

// The wide route line (223 characters): longer service id, an account
// number, the last reading date, a 12-character tag and the read type.
std::string WideLine(const MeterValues& v) {
    FixedLine line(223);
    line.Put(0, "%20ld", 100000 + v.meter);
    line.Put(20, "ACCT%ld", v.meter);
    line.Put(36, "CUSTOMER %ld", v.meter);
    line.Put(66, "%ld MAIN STREET", v.meter % 9000 + 1);
    line.Put(96, "BEWARE OF DOG");
    line.Put(109, "S%09ld", v.meter);  // serial number, inside the message columns
    line.Put(127, "W");
    line.Put(162, "000009000");  // highest expected
    line.Put(171, "000001000");  // lowest expected
    line.Put(180, "11/30/26");   // last reading date
    line.Put(188, "%04d", v.route);
    line.Put(193, "%04d", v.sequence);
    line.Put(199, "06");
    line.Put(201, "000005000");  // previous reading
    line.Put(210, "T%011ld", v.meter);
    line.Put(222, "S");
    return line.Text();
}

struct Layout {
    const char* name;  // as given on the command line and shown in the table
    const char* interfaceCode;
    std::string (*line)(const MeterValues&);
};

constexpr Layout kLayouts[] = {
    {"accufund", "ACCUFUND", StandardLine},
    {"prairifire", "PRAIRIFIRE", WideLine},
};

const Layout* FindLayout(std::string_view name) {
    for (const Layout& layout : kLayouts) {
        if (name == layout.name) {
            return &layout;
        }
    }
    return nullptr;
}

// --- One run, in a child process -------------------------------------------------

// A figure of /proc/self/status in KiB, such as "VmHWM:" (the resident-set
// high-water mark) or "VmRSS:".
long StatusKiB(std::string_view key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(key)) {
            return std::atol(line.c_str() + key.size());
        }
    }
    return -1;
}

long PeakResidentKiB() {
    return StatusKiB("VmHWM:");
}

// Gives freed memory back and lowers the high-water mark to what is resident
// now, so that the next peak is that of what follows alone.
void ResetPeakResident() {
    malloc_trim(0);
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    if (!clear) {
        std::fprintf(stderr, "  cannot reset the peak memory; it counts from the start\n");
    }
}

// One sync; false when it logged anything but its start and finish lines. The
// upload sync finds the route file gone into history after the download:
// it logs that and stops before its finish line.
bool SyncOnce(const fs::path& handheld, bool expectRouteFile) {
    SyncOpenSession(handheld.c_str());
    wexal::synclog::Begin({}, nullptr);
    WexalConduit conduit;
    const std::int32_t finished = conduit.Synchronize();
    bool clean = !expectRouteFile || finished == 1;
    for (const auto& entry : wexal::synclog::End()) {
        const bool expected =
            entry.activity == kActivityStarted || entry.activity == kActivityFinished ||
            (!expectRouteFile && entry.text.find("No file found") != std::string::npos);
        if (!expected) {
            std::fprintf(stderr, "  log: [%d] %s\n", entry.activity, entry.text.c_str());
            clean = false;
        }
    }
    SyncCloseSession();
    return clean;
}

long CountLines(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    long lines = 0;
    while (in.read(buffer.data(), static_cast<std::streamsize>(buffer.size())) || in.gcount() > 0) {
        const auto* end = buffer.data() + in.gcount();
        for (const char* at = buffer.data(); at != end; ++at) {
            lines += *at == '\n';
        }
    }
    return lines;
}

// The largest database file on the handheld, in bytes.
double LargestDatabaseBytes(const fs::path& handheld) {
    std::uintmax_t largest = 0;
    for (const auto& entry : fs::directory_iterator(handheld)) {
        if (entry.path().extension() == ".pdb") {
            largest = std::max(largest, entry.file_size());
        }
    }
    return static_cast<double>(largest);
}

struct RunResult {
    double routeFileBytes = 0;
    double copySeconds = 0;
    long residentKiB = 0;  // before the download sync
    double downloadSeconds = 0;
    long downloadPeakKiB = 0;
    double routeDatabaseBytes = 0;  // one route's meter database on the handheld
    double uploadSeconds = 0;
    long uploadPeakKiB = 0;
};

// Prepares a billing folder, a configuration for the layout's interface and
// an empty handheld under `dir`; generates the route file.
void Prepare(const fs::path& dir, const Layout& layout, long meters, long perRoute) {
    const auto config = dir / "config";
    const auto billing = dir / "billing";
    fs::create_directories(config);
    fs::create_directories(billing);
    setenv("WEXAL_REGISTRY", (dir / "registry.reg").c_str(), 1);
    wexal::registry::Registry::CurrentUser().WriteString("Software\\Tolvane\\Wexal Conduit\\2.0",
                                                         "Path", config.string());
    std::ofstream(config / "WexalDT.cfg")
        << "SelectedInterface=" << layout.interfaceCode << "\r\nInterface=" << layout.interfaceCode
        << "\r\nRoutePath=" << (billing / "route.txt").string()
        << "\r\nReadingsPath=" << (billing / "readings.txt").string() << "\r\n";
    wexal::palm::HandheldStore::Init(dir / "handheld", "BENCH");

    std::ofstream out(billing / "route.txt", std::ios::binary);
    for (long m = 0; m < meters; ++m) {
        // Sequences have four columns: they count 0000-9999 within a route.
        const MeterValues values{m, static_cast<int>(m / perRoute) + 1,
                                 static_cast<int>(m % perRoute % 10000)};
        out << layout.line(values) << "\r\n";
    }
}

// Copies `from` to `to` and flushes the copy to disk, as `cp` and `sync` of
// the copy would: the least a sync that reads the route file and writes as
// many bytes durably could take.
bool FlushedCopy(const fs::path& from, const fs::path& to) {
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = in >= 0 && out >= 0;
    std::vector<char> buffer(1 << 20);
    while (ok) {
        const ssize_t got = read(in, buffer.data(), buffer.size());
        if (got <= 0) {
            ok = got == 0;
            break;
        }
        for (ssize_t written = 0; ok && written < got;) {
            const ssize_t put =
                write(out, buffer.data() + written, static_cast<std::size_t>(got - written));
            ok = put > 0;
            written += put;
        }
    }
    ok = ok && fsync(out) == 0;
    if (in >= 0) {
        close(in);
    }
    if (out >= 0) {
        ok = close(out) == 0 && ok;
    }
    if (!ok) {
        std::perror("copy of the route file");
    }
    return ok;
}

bool Run(const fs::path& folder, const Layout& layout, long meters, long perRoute,
         RunResult& result) {
    std::string pattern = (folder / "wexal-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror(("mkdtemp " + pattern).c_str());
        return false;
    }
    const fs::path dir = pattern;
    Prepare(dir, layout, meters, perRoute);
    const auto routeFile = dir / "billing" / "route.txt";
    const auto readingsFile = dir / "billing" / "readings.txt";
    const auto handheld = dir / "handheld";
    result.routeFileBytes = static_cast<double>(fs::file_size(routeFile));

    const auto copy = dir / "copy.txt";
    auto start = Clock::now();
    bool ok = FlushedCopy(routeFile, copy);
    result.copySeconds = Seconds(start);
    fs::remove(copy);

    ResetPeakResident();
    result.residentKiB = StatusKiB("VmRSS:");
    start = Clock::now();
    ok = SyncOnce(handheld, true) && ok;
    result.downloadSeconds = Seconds(start);
    result.downloadPeakKiB = PeakResidentKiB();
    result.routeDatabaseBytes = LargestDatabaseBytes(handheld);
    if (fs::exists(routeFile)) {
        std::fprintf(stderr, "  the route file was not taken by the download\n");
        ok = false;
    }

    const long read = wexal::bench::ReadEveryMeter(handheld);
    if (read != meters) {
        std::fprintf(stderr, "  %ld of %ld meters reached the handheld\n", read, meters);
        ok = false;
    }

    ResetPeakResident();
    start = Clock::now();
    ok = SyncOnce(handheld, false) && ok;
    result.uploadSeconds = Seconds(start);
    result.uploadPeakKiB = PeakResidentKiB();
    const long readings = CountLines(readingsFile);
    if (readings != meters) {
        std::fprintf(stderr, "  %ld readings uploaded for %ld meters\n", readings, meters);
        ok = false;
    }

    fs::remove_all(dir);
    return ok;
}

// The child's answer to its parent, one line on standard output.
int RunChild(const fs::path& folder, const Layout& layout, long meters, long perRoute) {
    RunResult r;
    const bool ok = Run(folder, layout, meters, perRoute, r);
    std::printf("%.0f %.6f %ld %.6f %ld %.0f %.6f %ld\n", r.routeFileBytes, r.copySeconds,
                r.residentKiB, r.downloadSeconds, r.downloadPeakKiB, r.routeDatabaseBytes,
                r.uploadSeconds, r.uploadPeakKiB);
    return ok ? 0 : 1;
}

// --- The parent ----------------------------------------------------------------

// Starts this program again for one run and reads its answer.
bool RunInChild(const fs::path& folder, const Layout& layout, long meters, long perRoute,
                RunResult& result) {
    const wexal::bench::ChildRun run =
        wexal::bench::RunProgram({"/proc/self/exe", "--run", folder.string(), layout.name,
                                  std::to_string(meters), std::to_string(perRoute)});
    // The answer is the last line: anything before it was said by the sync.
    const std::string& answer = run.output;
    const std::size_t lastLine =
        answer.find_last_of('\n', answer.size() < 2 ? 0 : answer.size() - 2);
    std::istringstream in(lastLine == std::string::npos ? answer : answer.substr(lastLine + 1));
    in >> result.routeFileBytes >> result.copySeconds >> result.residentKiB >>
        result.downloadSeconds >> result.downloadPeakKiB >> result.routeDatabaseBytes >>
        result.uploadSeconds >> result.uploadPeakKiB;
    return in && run.ok;
}

std::vector<std::string> SplitCommas(const std::string& text) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        parts.push_back(part);
    }
    return parts;
}

double Megabytes(double bytes) {
    return bytes / 1e6;
}

// The peaks of one layout over all sizes, smallest size first. A sync holds
// one route's meter database at a time. Its peak may step up once between
// one route and a few (glibc raises its mmap threshold when the first large
// block is freed; later ones come from the heap and stay resident), but it
// must not grow further with the route file: between the two largest sizes
// it may move by no more than one route's database as it is held in memory,
// taken as twice its file (its records, and the image written back at close).
struct PeakSpread {
    std::vector<RunResult> runs;

    bool Grows() const {
        if (runs.size() < 2) {
            return false;
        }
        const RunResult& last = runs.back();
        const RunResult& before = runs[runs.size() - 2];
        const long growthKiB = std::max(last.downloadPeakKiB - before.downloadPeakKiB,
                                        last.uploadPeakKiB - before.uploadPeakKiB);
        return static_cast<double>(growthKiB) * 1024.0 > 2 * last.routeDatabaseBytes;
    }
    // False when the peak grows with the route file.
    bool Report(const char* layout) const {
        long lowestKiB = runs.front().downloadPeakKiB;
        long highestKiB = 0;
        for (const RunResult& r : runs) {
            lowestKiB = std::min({lowestKiB, r.downloadPeakKiB, r.uploadPeakKiB});
            highestKiB = std::max({highestKiB, r.downloadPeakKiB, r.uploadPeakKiB});
        }
        std::printf(
            "%s: peaks %.1f-%.1f MB, %.1f MB resident before a sync, one route's meter "
            "database %.1f MB on the handheld: %s\n",
            layout, wexal::bench::KiBToMegabytes(lowestKiB),
            wexal::bench::KiBToMegabytes(highestKiB),
            wexal::bench::KiBToMegabytes(runs.back().residentKiB),
            Megabytes(runs.back().routeDatabaseBytes),
            Grows() ? "the peak GROWS with the route file" : "the peak does not grow with N");
        return !Grows();
    }
};

int Usage() {
    std::fprintf(stderr,
                 "usage: textfile_sync_bench [--meters N[,N...]] [--per-route P] "
                 "[--layouts NAME[,NAME...]] [--folder DIR]\n"
                 "  layouts: accufund, prairifire; at most 65535 meters per route and "
                 "9999 routes\n"
                 "  DIR: where the route file, the handheld and the copy are made (/tmp)\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::strcmp(argv[1], "--run") == 0) {
        const Layout* layout = FindLayout(argv[3]);
        const long meters = std::atol(argv[4]);
        const long perRoute = std::atol(argv[5]);
        return layout != nullptr && meters > 0 && perRoute > 0
                   ? RunChild(argv[2], *layout, meters, perRoute)
                   : Usage();
    }

    std::vector<long> sizes = {10000, 100000, 1000000};
    long perRoute = 10000;
    std::vector<const Layout*> layouts = {&kLayouts[0], &kLayouts[1]};
    fs::path folder = "/tmp";
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) {
            return Usage();
        }
        const std::string value = argv[++i];
        if (option == "--meters") {
            sizes.clear();
            for (const std::string& size : SplitCommas(value)) {
                sizes.push_back(std::atol(size.c_str()));
                if (sizes.back() <= 0) {
                    return Usage();
                }
            }
        } else if (option == "--folder") {
            folder = value;
        } else if (option == "--per-route") {
            perRoute = std::atol(value.c_str());
        } else if (option == "--layouts") {
            layouts.clear();
            for (const std::string& name : SplitCommas(value)) {
                layouts.push_back(FindLayout(name));
                if (layouts.back() == nullptr) {
                    return Usage();
                }
            }
        } else {
            return Usage();
        }
    }
    std::sort(sizes.begin(), sizes.end());
    // Route names have four columns.
    std::error_code folderError;
    if (!fs::is_directory(folder, folderError)) {
        std::fprintf(stderr, "no folder %s\n", folder.c_str());
        return Usage();
    }
    if (perRoute <= 0 || perRoute > 65535 || sizes.empty() || layouts.empty() ||
        (sizes.back() + perRoute - 1) / perRoute > 9999) {
        return Usage();
    }

    std::printf(
        "%ld meters per route, in %s; MB = 10^6 bytes; x cp = the sync's time divided by that "
        "of the flushed copy\n\n",
        perRoute, folder.c_str());
    std::printf(
        "| layout | meters | route file MB | cp s | download s | download x cp | "
        "download meters/s | download peak MB | upload s | upload x cp | upload meters/s | "
        "upload peak MB |\n"
        "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    std::fflush(stdout);
    bool allOk = true;
    std::vector<PeakSpread> spreads(layouts.size());
    for (std::size_t l = 0; l < layouts.size(); ++l) {
        for (const long meters : sizes) {
            RunResult r;
            const bool ok = RunInChild(folder, *layouts[l], meters, perRoute, r);
            allOk = allOk && ok;
            spreads[l].runs.push_back(r);
            std::printf(
                "| %s%s | %ld | %.1f | %.3f | %.3f | %.1f | %.0f | %.1f | %.3f | %.1f | %.0f | "
                "%.1f |\n",
                layouts[l]->name, ok ? "" : " (failed)", meters, Megabytes(r.routeFileBytes),
                r.copySeconds, r.downloadSeconds, r.downloadSeconds / r.copySeconds,
                meters / r.downloadSeconds, wexal::bench::KiBToMegabytes(r.downloadPeakKiB),
                r.uploadSeconds, r.uploadSeconds / r.copySeconds, meters / r.uploadSeconds,
                wexal::bench::KiBToMegabytes(r.uploadPeakKiB));
            std::fflush(stdout);
        }
    }
    std::printf("\n");
    for (std::size_t l = 0; l < layouts.size(); ++l) {
        allOk = spreads[l].Report(layouts[l]->name) && allOk;
    }
    return allOk ? 0 : 1;
}

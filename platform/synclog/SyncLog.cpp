#include "platform/synclog/SyncLog.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <mutex>

namespace wexal::synclog {
namespace {

struct Run {
    std::mutex mutex;
    bool active = false;
    std::filesystem::path file;
    std::function<void(const std::string&)> echo;
    std::vector<Entry> entries;
};

Run& TheRun() {
    static Run run;
    return run;
}

std::string Timestamp() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace

std::string FormatLine(const Entry& entry) {
    return Timestamp() + " [" + std::to_string(entry.activity) + "] " + entry.text;
}

void Begin(const std::filesystem::path& logFile,
           std::function<void(const std::string& line)> echo) {
    Run& run = TheRun();
    std::lock_guard lock(run.mutex);
    run.active = true;
    run.file = logFile;
    run.echo = std::move(echo);
    run.entries.clear();
    if (!logFile.empty() && logFile.has_parent_path()) {
        std::error_code ignored;
        std::filesystem::create_directories(logFile.parent_path(), ignored);
    }
}

std::vector<Entry> End() {
    Run& run = TheRun();
    std::lock_guard lock(run.mutex);
    run.active = false;
    run.file.clear();
    run.echo = nullptr;
    return std::move(run.entries);
}

std::vector<Entry> Entries() {
    Run& run = TheRun();
    std::lock_guard lock(run.mutex);
    return run.entries;
}

}  // namespace wexal::synclog

extern "C" int32_t LogAddEntry(const char* text, int32_t activity, int32_t /*reserved*/) {
    using namespace wexal::synclog;
    Entry entry{text != nullptr ? text : "", activity};
    std::string line = FormatLine(entry);

    Run& run = TheRun();
    std::lock_guard lock(run.mutex);
    if (!run.active) {
        std::fprintf(stderr, "%s\n", line.c_str());
        return 0;
    }
    run.entries.push_back(entry);
    if (run.echo) {
        run.echo(line);
    }
    if (run.file.empty()) {
        return 0;
    }
    // Append and flush each entry: a sync that dies halfway still leaves the
    // lines written before it.
    std::ofstream out(run.file, std::ios::binary | std::ios::app);
    out << line << '\n';
    out.flush();
    return out ? 0 : -1;
}

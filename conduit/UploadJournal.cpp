#include "conduit/UploadJournal.h"
#include "platform/files/Flush.h"
#include "platform/files/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string_view>
#include <utility>

namespace {

constexpr const char* kTempSuffix = ".tmp";
constexpr const char* kPending = "pending";
constexpr const char* kCommitted = "committed";
constexpr const char* kContinued = "continued";
// Far more than the journal of the largest route list; anything longer is no
// journal of ours.
constexpr std::size_t kLongestJournal = 16u << 20;

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t wrote = ::write(fd, bytes.data(), bytes.size());
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(wrote));
    }
    return true;
}

// The billing file and the journal are regular files: a FIFO or device put
// in the place of one is refused at once, where opening it would wait.
int OpenRegular(const std::string& path, int flags, mode_t mode = 0) {
    int error = 0;
    return wexal::files::OpenRegularFile(path, flags, mode, error);
}

bool FlushAndClose(int fd) {
    if (fd < 0) {
        return false;
    }
    const bool synced = wexal::files::FlushFile(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool FsyncFile(const std::string& path) {
    return FlushAndClose(OpenRegular(path, O_RDONLY));
}

bool FsyncFolder(const std::string& path) {
    return FlushAndClose(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

struct FileState {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
};

// False when the file is there but cannot be examined.
bool Examine(const std::string& path, FileState& state) {
    state = FileState{};
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno == ENOENT || errno == ENOTDIR;
    }
    state.exists = true;
    state.device = static_cast<std::uint64_t>(info.st_dev);
    state.inode = static_cast<std::uint64_t>(info.st_ino);
    state.size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

// 1 with the file's bytes, 0 when it does not exist, -1 when it cannot be
// read or is too long to be a journal.
int ReadJournal(const std::string& path, std::string& text) {
    text.clear();
    int error = 0;
    const int fd = wexal::files::OpenRegularFile(path, error);
    if (fd < 0) {
        return error == ENOENT || error == ENOTDIR ? 0 : -1;
    }
    char buffer[4096];
    int result = 1;
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 || text.size() + static_cast<std::size_t>(got) > kLongestJournal) {
            result = -1;
            break;
        }
        if (got == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return result;
}

bool CutFile(const std::string& path, std::uint64_t length) {
    const int fd = OpenRegular(path, O_WRONLY);
    if (fd < 0) {
        return false;
    }
    const bool cut =
        ::ftruncate(fd, static_cast<off_t>(length)) == 0 && wexal::files::FlushFile(fd) == 0;
    return ::close(fd) == 0 && cut;
}

bool NextToken(std::string_view& rest, std::string_view& token) {
    const std::size_t space = rest.find(' ');
    if (space == std::string_view::npos) {
        return false;
    }
    token = rest.substr(0, space);
    rest.remove_prefix(space + 1);
    return true;
}

template <typename Number>
bool NextNumber(std::string_view& rest, Number& number) {
    std::string_view token;
    if (!NextToken(rest, token) || token.empty()) {
        return false;
    }
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), number);
    return error == std::errc() && end == token.data() + token.size();
}

}  // namespace

UploadJournal::UploadJournal(std::string file)
    : file_(std::move(file)), path_(file_ + std::string(kSuffix)) {}

// One line: state, start, end, device, inode, handheld, route record, then
// the route to the line end (a route name may hold blanks).
std::string UploadJournal::Format(const Record& record) {
    std::string line = record.state == State::Pending     ? kPending
                       : record.state == State::Committed ? kCommitted
                                                          : kContinued;
    for (const std::uint64_t number : {record.start, record.end, record.device, record.inode,
                                       static_cast<std::uint64_t>(record.handheld),
                                       static_cast<std::uint64_t>(record.routeRecord)}) {
        line += ' ';
        line += std::to_string(number);
    }
    line += ' ';
    line += record.route;
    line += '\n';
    return line;
}

bool UploadJournal::Parse(std::string_view rest, Record& record) {
    if (rest.empty() || rest.back() != '\n') {
        return false;
    }
    rest.remove_suffix(1);
    std::string_view state;
    if (!NextToken(rest, state)) {
        return false;
    }
    if (state == kPending) {
        record.state = State::Pending;
    } else if (state == kCommitted) {
        record.state = State::Committed;
    } else if (state == kContinued) {
        record.state = State::Continued;
    } else {
        return false;
    }
    if (!NextNumber(rest, record.start) || !NextNumber(rest, record.end) ||
        !NextNumber(rest, record.device) || !NextNumber(rest, record.inode) ||
        !NextNumber(rest, record.handheld) || !NextNumber(rest, record.routeRecord) ||
        rest.find('\n') != std::string_view::npos) {
        return false;
    }
    record.route.assign(rest);
    return true;
}

bool UploadJournal::ParseAll(const std::string& text, std::vector<Record>& records) {
    records.clear();
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t newline = rest.find('\n');
        // A record cut short by a power loss while it was added was never
        // forced to disk, so nothing that follows it happened: the records
        // before it tell where the upload stood. A lone record is written
        // whole or not at all, so a cut one is damage.
        if (newline == std::string_view::npos && !records.empty()) {
            break;
        }
        Record record;
        if (!Parse(rest.substr(0, newline == std::string_view::npos ? rest.size() : newline + 1),
                   record)) {
            return false;
        }
        records.push_back(std::move(record));
        rest.remove_prefix(newline == std::string_view::npos ? rest.size() : newline + 1);
    }
    return !records.empty();
}

std::optional<std::uint64_t> UploadJournal::CutPoint(const std::vector<Record>& records,
                                                     std::uint64_t size, std::uint32_t handheld,
                                                     const RouteAwaitsUpload& routeAwaitsUpload,
                                                     bool& doubtful) {
    doubtful = false;
    const Record& last = records.back();
    const bool ownHandheld = handheld != 0 && last.handheld == handheld;
    if (last.state == State::Continued) {
        // The marks that outlast a power loss are those of the first routes:
        // the first route still to be uploaded and every later one go.
        if (ownHandheld) {
            for (const Record& record : records) {
                if (record.state == State::Continued &&
                    routeAwaitsUpload(record.route, record.routeRecord)) {
                    return record.start;
                }
            }
        }
        // What follows the last committed route is a later one's, unmarked.
        return last.end;
    }
    if (last.state == State::Pending) {
        return last.start;  // killed while appending: the route cannot have been marked
    }
    // A committed route that never created the file appended nothing.
    const bool fileWasMissing = last.device == 0 && last.inode == 0;
    if (!fileWasMissing && ownHandheld && routeAwaitsUpload(last.route, last.routeRecord)) {
        if (size == last.end) {
            return last.start;
        }
        doubtful = true;
    }
    return std::nullopt;
}

UploadJournal::Settled UploadJournal::Settle(std::uint32_t handheld,
                                             const RouteAwaitsUpload& routeAwaitsUpload,
                                             Purpose purpose) {
    settledRoute_.clear();
    std::string text;
    const int read = ReadJournal(path_, text);
    if (read == 0) {
        return Settled::Nothing;
    }
    std::vector<Record> records;
    if (read < 0 || !ParseAll(text, records)) {
        return Settled::Failed;
    }
    const Record& last = records.back();
    settledRoute_ = last.route;
    FileState now;
    if (!Examine(file_, now)) {
        return Settled::Failed;
    }

    const bool fileWasMissing = last.device == 0 && last.inode == 0;
    const bool sameFile =
        now.exists && (fileWasMissing || (now.device == last.device && now.inode == last.inode));
    Settled outcome = Settled::Kept;
    if (sameFile && now.size > records.front().start) {
        // Lines after a pending record belong to no route that can have
        // been marked; any others stay or go by the writer's marks.
        if (purpose == Purpose::Tidy && last.state != State::Pending &&
            (handheld == 0 || last.handheld != handheld)) {
            return Settled::Undecided;
        }
        bool doubtful = false;
        const std::optional<std::uint64_t> cut =
            CutPoint(records, now.size, handheld, routeAwaitsUpload, doubtful);
        if (doubtful) {
            outcome = Settled::Doubtful;
        }
        if (cut && now.size > *cut) {
            if (!CutFile(file_, *cut)) {
                return Settled::Failed;
            }
            outcome = Settled::CutBack;
        }
    }
    // Found again, a pending journal would cut lines appended after it.
    if (::unlink(path_.c_str()) != 0 && errno != ENOENT) {
        return Settled::Failed;
    }
    ::unlink((path_ + kTempSuffix).c_str());
    return outcome;
}

bool UploadJournal::Begin(const std::string& route, std::uint32_t routeRecord,
                          std::uint32_t handheld) {
    FileState now;
    if (!Examine(file_, now)) {
        return false;
    }
    record_ = Record{};
    record_.start = now.size;
    record_.end = now.size;
    record_.device = now.device;
    record_.inode = now.inode;
    record_.handheld = handheld;
    record_.routeRecord = routeRecord;
    record_.route = route;
    fileIsNew_ = !now.exists;
    return Write(record_);
}

bool UploadJournal::Commit() {
    FileState now;
    if (!Examine(file_, now)) {
        return false;
    }
    if (now.exists && !FsyncFile(file_)) {
        return false;
    }
    record_.state = State::Committed;
    record_.end = now.size;
    record_.device = now.device;
    record_.inode = now.inode;
    return Write(record_);
}

// The route's lines are forced to disk before the record that says they are
// whole, and that record before the route can be marked uploaded. The
// journal's own name lasts since Begin; a file that Begin did not find lasts
// once its folder is flushed.
std::optional<JournalCommit> UploadJournal::PrepareCommit() {
    FileState now;
    if (!Examine(file_, now)) {
        return std::nullopt;
    }
    JournalCommit commit;
    // A route that added nothing (no exceptions captured) needs no record:
    // the journal's last one still tells where the next lines begin.
    if (record_.state != State::Committed && now.size == record_.start) {
        return commit;
    }
    // A file that is not there has no lines to force: the record still
    // tells the next route where to begin.
    if (now.exists) {
        commit.file_ = file_;
        if (fileIsNew_) {
            commit.folder_ = FolderOf(file_);
            fileIsNew_ = false;
        }
    }
    record_.state = State::Continued;
    record_.end = now.size;
    record_.device = now.device;
    record_.inode = now.inode;
    commit.journal_ = path_;
    commit.record_ = Format(record_);
    return commit;
}

bool UploadJournal::CommitAndContinue() {
    const std::optional<JournalCommit> commit = PrepareCommit();
    return commit && commit->Run();
}

bool JournalCommit::Run() const {
    if (journal_.empty()) {
        return true;
    }
    if (!file_.empty() && !FsyncFile(file_)) {
        return false;
    }
    if (!folder_.empty() && !FsyncFolder(folder_)) {
        return false;
    }
    const int fd = OpenRegular(journal_, O_WRONLY | O_APPEND);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, record_) && wexal::files::FlushFile(fd) == 0;
    return ::close(fd) == 0 && written;
}

bool UploadJournal::Continue(const std::string& route, std::uint32_t routeRecord) {
    FileState now;
    if (!Examine(file_, now)) {
        return false;
    }
    // Still pending when the earlier routes added nothing: the next lines
    // begin where the journal began.
    const bool stillPending = record_.state == State::Pending && now.size == record_.start;
    const bool continued = record_.state == State::Continued && now.exists &&
                           now.size == record_.end && now.device == record_.device &&
                           now.inode == record_.inode;
    if (!stillPending && !continued) {
        return false;
    }
    if (continued) {
        record_.start = record_.end;
    }
    record_.route = route;
    record_.routeRecord = routeRecord;
    return true;
}

bool UploadJournal::End() {
    return ::unlink(path_.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}

// Written whole or not at all: a temporary file, forced to disk, renamed
// over the journal, and the folder forced to disk after the rename.
bool UploadJournal::Write(const Record& record) const {
    const std::string temp = path_ + kTempSuffix;
    const int fd = OpenRegular(temp, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, Format(record)) && wexal::files::FlushFile(fd) == 0;
    if (!(::close(fd) == 0 && written) || ::rename(temp.c_str(), path_.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return FsyncFolder(FolderOf(path_));
}

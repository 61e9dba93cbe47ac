#include "platform/palm/HandheldStore.h"
#include "platform/files/FileNameEscape.h"
#include "platform/files/Flush.h"

#include "platform/files/RegularFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <sstream>
#include <system_error>

namespace wexal::palm {

namespace fs = std::filesystem;

namespace {

constexpr const char* kTempSuffix = ".tmp";

std::string ErrnoText(int err) {
    return std::error_code(err, std::generic_category()).message();
}

[[noreturn]] void ThrowIo(const std::string& what, int err) {
    throw StoreError(StoreError::Kind::Io, what + ": " + ErrnoText(err));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool EndsWith(const std::string& s, const std::string& suffix) {
    return s.size() >= suffix.size() &&
           s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void FsyncDir(const fs::path& dir) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        ThrowIo("open folder " + dir.string(), errno);
    }
    if (wexal::files::FlushFile(fd) != 0 && errno != EINVAL) {
        int err = errno;
        ::close(fd);
        ThrowIo("fsync folder " + dir.string(), err);
    }
    ::close(fd);
}

bool IsDirectory(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec);
}

std::string InfoText(const HandheldInfo& info) {
    std::ostringstream out;
    out << "# Wexal simulated handheld\n";
    out << "user=" << info.userName << "\n";
    out << "userid=" << info.userId << "\n";
    if (info.clock.isSet) {
        out << "clock=" << info.clock.value << "\n";
        out << "clockset=" << info.clock.setAt << "\n";
    }
    for (const auto& [key, value] : info.extra) {
        out << key << "=" << value << "\n";
    }
    return out.str();
}

bool ParseInt64(const std::string& text, int64_t* out) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    long long v = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0') {
        return false;
    }
    *out = v;
    return true;
}

uint32_t NewUserId() {
    std::random_device rd;
    uint32_t id = 0;
    while (id == 0) {
        id = rd();
    }
    return id;
}

}  // namespace

// --- Atomic write --------------------------------------------------------------

void WriteFileAtomically(const fs::path& dir, const std::string& fileName, const void* bytes,
                         std::size_t size, Durability durability) {
    std::string pattern = (dir / ("." + fileName + ".XXXXXX")).string();
    // mkstemps keeps the suffix after the X's.
    pattern += kTempSuffix;
    int fd = ::mkstemps(pattern.data(), static_cast<int>(std::strlen(kTempSuffix)));
    if (fd < 0) {
        ThrowIo("create temporary file in " + dir.string(), errno);
    }
    auto fail = [&](const std::string& what, int err) {
        ::close(fd);
        ::unlink(pattern.c_str());
        ThrowIo(what, err);
    };
    ::fchmod(fd, 0644);
    const auto* p = static_cast<const uint8_t*>(bytes);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, p + done, size - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("write " + pattern, errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (durability != Durability::Unflushed && wexal::files::FlushFile(fd) != 0) {
        fail("fsync " + pattern, errno);
    }
    if (::close(fd) != 0) {
        int err = errno;
        ::unlink(pattern.c_str());
        ThrowIo("close " + pattern, err);
    }
    fs::path target = dir / fileName;
    if (::rename(pattern.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(pattern.c_str());
        ThrowIo("rename to " + target.string(), err);
    }
    if (durability == Durability::Lasting) {
        FsyncDir(dir);
    }
}

// --- Lock ----------------------------------------------------------------------

HandheldLock HandheldLock::Acquire(const fs::path& dir) {
    if (!IsDirectory(dir)) {
        throw StoreError(StoreError::Kind::NotFound, "no handheld folder " + dir.string());
    }
    fs::path file = dir / HandheldStore::kLockFileName;
    int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        ThrowIo("open " + file.string(), errno);
    }
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK) {
            throw StoreError(StoreError::Kind::Busy,
                             "the handheld " + dir.string() + " is in use by another process");
        }
        ThrowIo("lock " + file.string(), err);
    }
    HandheldLock lock;
    lock.fd_ = fd;
    return lock;
}

HandheldLock::~HandheldLock() {
    Release();
}

HandheldLock::HandheldLock(HandheldLock&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

HandheldLock& HandheldLock::operator=(HandheldLock&& other) noexcept {
    if (this != &other) {
        Release();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

void HandheldLock::Release() {
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

// --- Store ---------------------------------------------------------------------

HandheldStore HandheldStore::Open(const fs::path& dir) {
    if (!IsDirectory(dir)) {
        throw StoreError(StoreError::Kind::NotFound, "no handheld folder " + dir.string());
    }
    return HandheldStore(dir);
}

HandheldStore HandheldStore::Init(const fs::path& dir, const std::string& userName) {
    if (!IsValidUserName(userName)) {
        throw StoreError(StoreError::Kind::BadName, "invalid user name");
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec || !IsDirectory(dir)) {
        throw StoreError(StoreError::Kind::Io, "cannot create folder " + dir.string() + ": " +
                                                   (ec ? ec.message() : "not a folder"));
    }
    HandheldStore store(dir);
    HandheldLock lock = store.Lock();
    if (fs::exists(dir / kInfoFileName, ec) || !store.List().empty()) {
        throw StoreError(StoreError::Kind::Exists,
                         "there is already a handheld in " + dir.string());
    }
    HandheldInfo info;
    info.userName = userName;
    info.userId = NewUserId();
    store.WriteInfo(info);
    return store;
}

bool HandheldStore::IsValidName(const std::string& name) {
    return !name.empty() && name.size() < kPdbNameSize && name.find('\0') == std::string::npos;
}

std::string HandheldStore::FileNameFor(const std::string& name) {
    return files::EscapedForFileName(name) + kDatabaseSuffix;
}

std::optional<std::string> HandheldStore::NameForFileName(const std::string& fileName) {
    if (!EndsWith(fileName, kDatabaseSuffix)) {
        return std::nullopt;
    }
    std::string stem = fileName.substr(0, fileName.size() - std::strlen(kDatabaseSuffix));
    std::string name;
    for (std::size_t i = 0; i < stem.size(); ++i) {
        if (stem[i] == '%') {
            if (i + 2 >= stem.size()) {
                return std::nullopt;  // '%' without two digits
            }
            int hi = HexValue(stem[i + 1]);
            int lo = HexValue(stem[i + 2]);
            if (hi < 0 || lo < 0) {
                return std::nullopt;
            }
            name += static_cast<char>((hi << 4) | lo);
            i += 2;
        } else {
            name += stem[i];
        }
    }
    if (!IsValidName(name) || FileNameFor(name) != fileName) {
        return std::nullopt;  // not the canonical file of any name
    }
    return name;
}

fs::path HandheldStore::PathFor(const std::string& name) const {
    return dir_ / FileNameFor(name);
}

std::vector<DatabaseInfo> HandheldStore::List() const {
    std::vector<DatabaseInfo> out;
    std::error_code ec;
    fs::directory_iterator it(dir_, ec);
    if (ec) {
        if (!IsDirectory(dir_)) {
            throw StoreError(StoreError::Kind::NotFound, "no handheld folder " + dir_.string());
        }
        throw StoreError(StoreError::Kind::Io,
                         "cannot list " + dir_.string() + ": " + ec.message());
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            throw StoreError(StoreError::Kind::Io,
                             "cannot list " + dir_.string() + ": " + ec.message());
        }
        std::optional<std::string> name = NameForFileName(it->path().filename().string());
        if (!name) {
            continue;
        }
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        DatabaseInfo info;
        info.name = *name;
        try {
            if (std::optional<DatabaseInfo> found = Find(*name)) {
                info = *found;
            } else {
                continue;  // removed meanwhile
            }
        } catch (const StoreError& e) {
            info.error = e.what();
        }
        out.push_back(std::move(info));
    }
    std::sort(out.begin(), out.end(),
              [](const DatabaseInfo& a, const DatabaseInfo& b) { return a.name < b.name; });
    return out;
}

std::optional<DatabaseInfo> HandheldStore::Find(const std::string& name) const {
    if (!IsValidName(name)) {
        throw StoreError(StoreError::Kind::BadName, "invalid database name");
    }
    fs::path file = PathFor(name);
    PdbHeader h;
    try {
        h = ReadPdbFileHeader(file);
    } catch (const std::system_error& e) {
        if (e.code().value() == ENOENT) {
            return std::nullopt;
        }
        throw StoreError(StoreError::Kind::Io, e.what());
    } catch (const PdbFormatError& e) {
        throw StoreError(StoreError::Kind::Damaged, file.string() + ": " + e.what());
    } catch (const PdbNotRegularFileError& e) {
        throw StoreError(StoreError::Kind::NotRegularFile, e.what());
    }
    DatabaseInfo info;
    info.name = name;
    info.creator = h.creator;
    info.type = h.type;
    info.attributes = h.attributes;
    info.version = h.version;
    info.recordCount = h.numRecords;
    return info;
}

bool HandheldStore::Exists(const std::string& name) const {
    if (!IsValidName(name)) {
        return false;
    }
    std::error_code ec;
    return fs::exists(PathFor(name), ec);
}

template <typename Read>
auto HandheldStore::ReadDatabase(const std::string& name, Read read) const {
    if (!IsValidName(name)) {
        throw StoreError(StoreError::Kind::BadName, "invalid database name");
    }
    fs::path file = PathFor(name);
    try {
        return read(file);
    } catch (const std::system_error& e) {
        if (e.code().value() == ENOENT) {
            throw StoreError(StoreError::Kind::NotFound, "no database \"" + name + "\"");
        }
        throw StoreError(StoreError::Kind::Io, e.what());
    } catch (const PdbFormatError& e) {
        throw StoreError(StoreError::Kind::Damaged, file.string() + ": " + e.what());
    } catch (const PdbNotRegularFileError& e) {
        throw StoreError(StoreError::Kind::NotRegularFile, e.what());
    } catch (const std::bad_alloc&) {
        throw StoreError(StoreError::Kind::Io, file.string() + ": out of memory");
    }
}

PdbDatabase HandheldStore::Load(const std::string& name) const {
    PdbDatabase db = ReadDatabase(name, [](const fs::path& file) { return ReadPdbFile(file); });
    db.header.name = name;
    return db;
}

PdbImage HandheldStore::LoadImage(const std::string& name, std::vector<uint8_t> buffer) const {
    PdbImage image = ReadDatabase(name, [&buffer](const fs::path& file) {
        return ReadPdbFileImage(file, std::move(buffer));
    });
    image.layout.header.name = name;
    return image;
}

void HandheldStore::Save(const PdbDatabase& db, Durability durability) const {
    if (!IsValidName(db.header.name)) {
        throw StoreError(StoreError::Kind::BadName, "invalid database name");
    }
    std::vector<uint8_t> bytes;
    try {
        bytes = SerializePdb(db);
    } catch (const PdbFormatError& e) {
        throw StoreError(StoreError::Kind::BadName, e.what());
    }
    WriteFileAtomically(dir_, FileNameFor(db.header.name), bytes.data(), bytes.size(), durability);
}

void HandheldStore::SaveImage(const std::string& name, std::span<const uint8_t> image,
                              Durability durability) const {
    if (!IsValidName(name)) {
        throw StoreError(StoreError::Kind::BadName, "invalid database name");
    }
    WriteFileAtomically(dir_, FileNameFor(name), image.data(), image.size(), durability);
}

void HandheldStore::Create(const PdbDatabase& db, Durability durability) const {
    if (!IsValidName(db.header.name)) {
        throw StoreError(StoreError::Kind::BadName, "invalid database name");
    }
    if (Exists(db.header.name)) {
        throw StoreError(StoreError::Kind::Exists,
                         "database \"" + db.header.name + "\" already exists");
    }
    Save(db, durability);
}

bool HandheldStore::Delete(const std::string& name, Durability durability) const {
    if (!IsValidName(name)) {
        return false;
    }
    fs::path file = PathFor(name);
    if (::unlink(file.c_str()) != 0) {
        if (errno == ENOENT) {
            return false;
        }
        ThrowIo("delete " + file.string(), errno);
    }
    if (durability == Durability::Lasting) {
        FsyncDir(dir_);
    }
    return true;
}

void HandheldStore::FlushFolder() const {
    FsyncDir(dir_);
}

HandheldInfo HandheldStore::ReadInfo() const {
    HandheldInfo info;
    fs::path file = dir_ / kInfoFileName;
    int error = 0;
    int fd = files::OpenRegularFile(file, error);
    if (error == files::kNotRegularFile) {
        throw StoreError(StoreError::Kind::NotRegularFile, file.string() + ": not a regular file");
    }
    if (fd < 0) {
        if (error == ENOENT) {
            if (!IsDirectory(dir_)) {
                throw StoreError(StoreError::Kind::NotFound, "no handheld folder " + dir_.string());
            }
            return info;
        }
        ThrowIo("open " + file.string(), error);
    }
    std::string text;
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            int err = errno;
            ::close(fd);
            ThrowIo("read " + file.string(), err);
        }
        if (n == 0) {
            break;
        }
        text.append(buf, static_cast<std::size_t>(n));
        if (text.size() > 1 << 20) {
            ::close(fd);
            throw StoreError(StoreError::Kind::Damaged, file.string() + ": too large");
        }
    }
    ::close(fd);

    std::istringstream in(text);
    std::string line;
    int64_t clock = 0;
    int64_t clockSet = 0;
    bool hasClock = false;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, eq);
        std::string value = line.substr(eq + 1);
        int64_t number = 0;
        if (key == "user") {
            info.userName = value.substr(0, kMaxUserName);
        } else if (key == "userid") {
            if (ParseInt64(value, &number)) {
                info.userId = static_cast<uint32_t>(number);
            }
        } else if (key == "clock") {
            hasClock = ParseInt64(value, &clock);
        } else if (key == "clockset") {
            ParseInt64(value, &clockSet);
        } else {
            info.extra[key] = value;
        }
    }
    if (hasClock) {
        info.clock.isSet = true;
        info.clock.value = clock;
        info.clock.setAt = clockSet;
    }
    return info;
}

void HandheldStore::WriteInfo(const HandheldInfo& info) const {
    if (!IsValidUserName(info.userName)) {
        throw StoreError(StoreError::Kind::BadName, "invalid user name");
    }
    for (const auto& [key, value] : info.extra) {
        if (key.empty() || key.find_first_of("=\n\r#") != std::string::npos ||
            value.find_first_of("\n\r") != std::string::npos) {
            throw StoreError(StoreError::Kind::BadName, "invalid handheld info key " + key);
        }
    }
    std::string text = InfoText(info);
    WriteFileAtomically(dir_, kInfoFileName, text.data(), text.size());
}

void HandheldStore::SetUserName(const std::string& userName) const {
    if (!IsValidUserName(userName)) {
        throw StoreError(StoreError::Kind::BadName, "invalid user name");
    }
    HandheldInfo info = ReadInfo();
    info.userName = userName;
    if (info.userId == 0) {
        info.userId = NewUserId();
    }
    WriteInfo(info);
}

void HandheldStore::SetClock(int64_t secondsSince1970, int64_t hostNow) const {
    HandheldInfo info = ReadInfo();
    info.clock.isSet = true;
    info.clock.value = secondsSince1970;
    info.clock.setAt = hostNow;
    WriteInfo(info);
}

bool HandheldStore::IsValidUserName(const std::string& userName) {
    return userName.size() <= kMaxUserName &&
           userName.find_first_of(std::string("\n\r\0", 3)) == std::string::npos;
}

void HandheldStore::RemoveStaleTempFiles() const {
    std::error_code ec;
    fs::directory_iterator it(dir_, ec);
    if (ec) {
        return;
    }
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            return;
        }
        std::string file = it->path().filename().string();
        if (file.size() > 1 && file[0] == '.' && EndsWith(file, kTempSuffix)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
}

}  // namespace wexal::palm

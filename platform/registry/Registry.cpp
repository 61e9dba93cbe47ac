// The registry file on disk: loading under a shared lock, read-modify-write
// under an exclusive lock, atomic replacement. The text form is in
// RegistryFormat.cpp.
#include "platform/registry/Registry.h"
#include "platform/files/Flush.h"

#include "platform/files/RegularFile.h"
#include "platform/registry/RegistryFormat.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wexal::registry {
namespace fs = std::filesystem;
namespace {

[[noreturn]] void Fail(const std::string& what, const fs::path& file, int error) {
    throw RegistryError(what + " " + file.string() + ": " + std::strerror(error));
}

// A file descriptor closed (and so unlocked) when it goes out of scope.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

  private:
    int fd_;
};

fs::path WithSuffix(const fs::path& file, const std::string& suffix) {
    fs::path out = file;
    out += suffix;
    return out;
}

// Locks `file`.lock, shared or exclusive. A reader that may not create the
// lock file (a read-only folder) goes on unlocked: the atomic rename alone
// keeps it from seeing half a file. A missing folder means a missing registry.
Fd Lock(const fs::path& file, bool exclusive) {
    fs::path lockFile = WithSuffix(file, ".lock");
    // Not waiting in open for a FIFO put in the lock file's place.
    Fd fd(::open(lockFile.c_str(),
                 (exclusive ? O_RDWR : O_RDONLY) | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666));
    if (fd.get() < 0) {
        if (exclusive)
            Fail("cannot open the lock file", lockFile, errno);
        if (errno == ENOENT || errno == EACCES || errno == EROFS || errno == EPERM)
            return fd;
        Fail("cannot open the lock file", lockFile, errno);
    }
    while (::flock(fd.get(), exclusive ? LOCK_EX : LOCK_SH) != 0) {
        if (errno != EINTR)
            Fail("cannot lock", lockFile, errno);
    }
    return fd;
}

// The registry in `file`; a missing file is an empty registry. Anything but
// a regular file is refused: a FIFO would hold the reader for ever, a device
// such as /dev/zero feed it without end.
detail::Key Load(const fs::path& file) {
    std::string text;
    int error = 0;
    if (!files::ReadRegularFile(file, text, error)) {
        if (error == ENOENT)
            return {};
        throw RegistryError("cannot read registry file " + file.string() + ": " +
                            files::ErrorText(error));
    }
    return detail::Parse(text, file.string());
}

void WriteAll(int fd, const std::string& text, const fs::path& file) {
    const char* data = text.data();
    size_t left = text.size();
    while (left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail("cannot write", file, errno);
        data += n;
        left -= static_cast<size_t>(n);
    }
}

// Replaces `file` with `text` at once: a temporary file in the same folder,
// flushed to disk, renamed over the old one, then the folder flushed.
void Store(const fs::path& target, const std::string& text) {
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();

    static std::atomic<unsigned> counter{0};
    fs::path temp;
    Fd fd;
    do {
        temp = WithSuffix(target,
                          ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        fd = Fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    } while (fd.get() < 0 && errno == EEXIST);
    if (fd.get() < 0)
        Fail("cannot create a temporary file", temp, errno);

    try {
        struct stat old {};
        if (::stat(target.c_str(), &old) == 0)
            ::fchmod(fd.get(), old.st_mode & 07777);
        WriteAll(fd.get(), text, temp);
        if (wexal::files::FlushFile(fd.get()) != 0)
            Fail("cannot flush", temp, errno);
        if (::close(fd.release()) != 0)
            Fail("cannot close", temp, errno);
        if (::rename(temp.c_str(), target.c_str()) != 0)
            Fail("cannot replace registry file", target, errno);
    } catch (...) {
        ::unlink(temp.c_str());
        throw;
    }
    // Makes the rename itself durable. The change is already in place, so a
    // folder that cannot be flushed (some file systems refuse) is no failure.
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        wexal::files::FlushFile(dir.get());
}

// Throws unless every part of `key` and `name` can be written to the file.
void CheckNames(const fs::path& file, std::string_view key, std::string_view name = {}) {
    const std::vector<std::string_view> parts = detail::SplitPath(key);
    if (parts.size() > detail::kMaxKeyDepth) {
        throw RegistryError("cannot write to registry file " + file.string() +
                            ": the key path nests deeper than " +
                            std::to_string(detail::kMaxKeyDepth) + " keys");
    }
    for (std::string_view part : parts) {
        if (!detail::IsWritableName(part)) {
            throw RegistryError("cannot write to registry file " + file.string() +
                                ": a control character in the key name \"" + std::string(part) +
                                "\"");
        }
    }
    if (!detail::IsWritableName(name)) {
        throw RegistryError("cannot write to registry file " + file.string() +
                            ": a control character in the value name \"" + std::string(name) +
                            "\"");
    }
}

// The file that `file` names, through a symbolic link: the lock file goes
// beside it and the rename replaces it, not the link.
fs::path Resolve(const fs::path& file) {
    fs::path path = file;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(path, ec); ++hops) {
        fs::path target = fs::read_symlink(path, ec);
        if (ec)
            break;
        path = (target.is_absolute() ? target : path.parent_path() / target).lexically_normal();
    }
    return path;
}

// The registry in `given` read under the shared lock.
detail::Key ReadLocked(const fs::path& given) {
    fs::path file = Resolve(given);
    Fd lock = Lock(file, false);
    return Load(file);
}

// Reads, changes and (when `change` says it changed something) rewrites the
// registry under the exclusive lock; gives what `change` gave.
template <typename Change>
bool Modify(const fs::path& given, Change change) {
    fs::path file = Resolve(given);
    fs::path folder = file.parent_path();
    std::error_code ec;
    if (!folder.empty() && !fs::exists(folder, ec)) {
        // No folder, so no registry: create nothing for a change that changes nothing.
        detail::Key empty;
        if (!change(empty))
            return false;
        fs::create_directories(folder, ec);
        if (ec)
            throw RegistryError("cannot create folder " + folder.string() + ": " + ec.message());
    }
    Fd lock = Lock(file, true);
    detail::Key root = Load(file);
    if (!change(root))
        return false;
    Store(file, detail::Serialize(root));
    return true;
}

const detail::Key* FindKey(const detail::Key& root, std::string_view key) {
    return detail::Find(root, detail::SplitPath(key));
}

std::optional<Value> ValueIn(const detail::Key& root, std::string_view key, std::string_view name) {
    const detail::Key* found = FindKey(root, key);
    if (found == nullptr)
        return std::nullopt;
    auto it = found->values.find(detail::Fold(name));
    if (it == found->values.end())
        return std::nullopt;
    return it->second.second;
}

std::vector<std::string> SubKeysIn(const detail::Key& root, std::string_view key) {
    std::vector<std::string> names;
    if (const detail::Key* found = FindKey(root, key)) {
        for (const auto& [folded, sub] : found->subkeys)
            names.push_back(sub->name);
    }
    return names;
}

// False when the value was there already.
bool SetValue(detail::Key& root, std::string_view key, std::string_view name, const Value& value) {
    detail::Key& target = detail::Ensure(root, detail::SplitPath(key));
    auto [it, inserted] = target.values.try_emplace(detail::Fold(name), std::string(name), value);
    if (inserted)
        return true;
    if (it->second.second == value)
        return false;
    it->second.second = value;  // the name keeps the case first written
    return true;
}

}  // namespace

fs::path Registry::DefaultFile() {
    if (const char* file = std::getenv(kFileVariable); file != nullptr && *file != '\0') {
        return file;
    }
    return UserFolder() / "registry.reg";
}

fs::path Registry::UserFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/') {
        return fs::path(config) / "wexal";
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        const passwd* user = ::getpwuid(::getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home == nullptr || *home == '\0') {
        throw RegistryError(
            "cannot find the user's configuration folder: neither XDG_CONFIG_HOME nor HOME is "
            "set");
    }
    return fs::path(home) / ".config" / "wexal";
}

Registry Registry::CurrentUser() {
    return Registry(DefaultFile());
}

Registry::Registry(fs::path file) : file_(std::move(file)) {}

RegistrySnapshot::RegistrySnapshot(std::shared_ptr<const detail::Key> root)
    : root_(std::move(root)) {}

bool RegistrySnapshot::KeyExists(std::string_view key) const {
    return FindKey(*root_, key) != nullptr;
}

std::optional<Value> RegistrySnapshot::ReadValue(std::string_view key,
                                                 std::string_view name) const {
    return ValueIn(*root_, key, name);
}

std::optional<std::string> RegistrySnapshot::ReadString(std::string_view key,
                                                        std::string_view name) const {
    std::optional<Value> value = ReadValue(key, name);
    if (!value || !std::holds_alternative<std::string>(*value))
        return std::nullopt;
    return std::get<std::string>(std::move(*value));
}

std::optional<std::uint32_t> RegistrySnapshot::ReadDword(std::string_view key,
                                                         std::string_view name) const {
    std::optional<Value> value = ReadValue(key, name);
    if (!value || !std::holds_alternative<std::uint32_t>(*value))
        return std::nullopt;
    return std::get<std::uint32_t>(*value);
}

std::vector<std::string> RegistrySnapshot::SubKeys(std::string_view key) const {
    return SubKeysIn(*root_, key);
}

std::vector<std::string> RegistrySnapshot::ValueNames(std::string_view key) const {
    std::vector<std::string> names;
    if (const detail::Key* found = FindKey(*root_, key)) {
        for (const auto& [folded, entry] : found->values)
            names.push_back(entry.first);
    }
    return names;
}

RegistrySnapshot Registry::Snapshot() const {
    return RegistrySnapshot(std::make_shared<const detail::Key>(ReadLocked(file_)));
}

bool Registry::KeyExists(std::string_view key) const {
    return Snapshot().KeyExists(key);
}

std::optional<Value> Registry::ReadValue(std::string_view key, std::string_view name) const {
    return Snapshot().ReadValue(key, name);
}

std::optional<std::string> Registry::ReadString(std::string_view key, std::string_view name) const {
    return Snapshot().ReadString(key, name);
}

std::optional<std::uint32_t> Registry::ReadDword(std::string_view key,
                                                 std::string_view name) const {
    return Snapshot().ReadDword(key, name);
}

std::vector<std::string> Registry::SubKeys(std::string_view key) const {
    return Snapshot().SubKeys(key);
}

std::vector<std::string> Registry::ValueNames(std::string_view key) const {
    return Snapshot().ValueNames(key);
}

void Registry::CreateKey(std::string_view key) {
    CheckNames(file_, key);
    Modify(file_, [&](detail::Key& root) {
        bool created = false;
        detail::Ensure(root, detail::SplitPath(key), &created);
        return created;
    });
}

void Registry::WriteString(std::string_view key, std::string_view name, std::string_view value) {
    WriteValue(key, name, Value(std::string(value)));
}

void Registry::WriteDword(std::string_view key, std::string_view name, std::uint32_t value) {
    WriteValue(key, name, Value(value));
}

void Registry::WriteValue(std::string_view key, std::string_view name, const Value& value) {
    CheckNames(file_, key, name);
    Modify(file_, [&](detail::Key& root) { return SetValue(root, key, name, value); });
}

bool Registry::DeleteValue(std::string_view key, std::string_view name) {
    return Modify(file_, [&](detail::Key& root) {
        detail::Key* found = detail::Find(root, detail::SplitPath(key));
        return found != nullptr && found->values.erase(detail::Fold(name)) != 0;
    });
}

bool Registry::DeleteKey(std::string_view key) {
    std::vector<std::string_view> parts = detail::SplitPath(key);
    if (parts.empty())
        return false;  // the hive itself stays
    std::string_view last = parts.back();
    parts.pop_back();
    return Modify(file_, [&](detail::Key& root) {
        detail::Key* parent = detail::Find(root, parts);
        return parent != nullptr && parent->subkeys.erase(detail::Fold(last)) != 0;
    });
}

void Registry::Change(const std::function<void(RegistryEdit&)>& edit) {
    Modify(file_, [&](detail::Key& root) {
        RegistryEdit view(root, file_);
        edit(view);
        return view.changed_;
    });
}

bool RegistryEdit::KeyExists(std::string_view key) const {
    return FindKey(root_, key) != nullptr;
}

std::optional<Value> RegistryEdit::ReadValue(std::string_view key, std::string_view name) const {
    return ValueIn(root_, key, name);
}

std::vector<std::string> RegistryEdit::SubKeys(std::string_view key) const {
    return SubKeysIn(root_, key);
}

void RegistryEdit::WriteValue(std::string_view key, std::string_view name, const Value& value) {
    CheckNames(file_, key, name);
    if (SetValue(root_, key, name, value))
        changed_ = true;
}

}  // namespace wexal::registry

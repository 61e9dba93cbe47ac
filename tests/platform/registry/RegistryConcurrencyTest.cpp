// Several processes on one registry file: no lost changes, no half files.
#include "platform/registry/Registry.h"

#include "tests/support/LockWaiters.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

namespace wexal::registry {
namespace {

using testing::TempDir;

// Runs `body` in a child process; its exit status is 0 when it returned true.
// A child that hangs is killed by an alarm rather than hanging the test.
pid_t Spawn(const std::function<bool()>& body) {
    pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(60);
        bool ok = false;
        try {
            ok = body();
        } catch (...) {
        }
        ::_exit(ok ? 0 : 1);
    }
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(RegistryConcurrency, TwoWritersLoseNothingAndReadersSeeWholeFiles) {
    TempDir dir;
    const auto file = dir / "registry.reg";
    const std::string key = "Software\\Tolvane\\Wexal Conduit\\Shared";
    Registry(file).WriteString(key, "Start", "yes");

    auto writer = [&](const std::string& prefix) {
        return [&, prefix] {
            Registry reg(file);
            for (int i = 0; i < 200; ++i) {
                reg.WriteDword(key, prefix + std::to_string(i), static_cast<std::uint32_t>(i));
                reg.WriteString(key + "\\" + prefix, "Last", std::to_string(i));
            }
            return true;
        };
    };
    // The reader checks that every read parses and that values only ever grow in number.
    pid_t reader = Spawn([&] {
        Registry reg(file);
        size_t seen = 0;
        for (int round = 0; round < 2000 && seen < 401; ++round) {
            size_t now = reg.ValueNames(key).size();
            if (now < seen)
                return false;
            seen = now;
        }
        return true;
    });
    pid_t a = Spawn(writer("A"));
    pid_t b = Spawn(writer("B"));
    EXPECT_EQ(Wait(a), 0);
    EXPECT_EQ(Wait(b), 0);
    EXPECT_EQ(Wait(reader), 0);

    Registry reg(file);
    EXPECT_EQ(reg.ValueNames(key).size(), 401u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(reg.ReadDword(key, "A" + std::to_string(i)), static_cast<std::uint32_t>(i));
        EXPECT_EQ(reg.ReadDword(key, "B" + std::to_string(i)), static_cast<std::uint32_t>(i));
    }
    EXPECT_EQ(reg.ReadString(key + "\\A", "Last"), "199");
    EXPECT_EQ(reg.ReadString(key + "\\B", "Last"), "199");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "registry.reg" || name == "registry.reg.lock") << name;
    }
}

// A counter read and raised in one change, by two processes at once: each
// number is given out once, and the values written with it stay together.
TEST(RegistryConcurrency, ChangesReadAndWriteAsOne) {
    TempDir dir;
    const auto file = dir / "registry.reg";
    const std::string key = "Software\\Counter";
    auto taker = [&](const std::string& who) {
        return [&, who] {
            Registry reg(file);
            for (int i = 0; i < 100; ++i) {
                reg.Change([&](RegistryEdit& edit) {
                    auto next = edit.ReadValue(key, "Next");
                    std::uint32_t n = next ? std::get<std::uint32_t>(*next) : 1;
                    edit.WriteValue(key, "Next", n + 1);
                    edit.WriteValue(key + "\\" + std::to_string(n), "Taker", who);
                });
            }
            return true;
        };
    };
    pid_t a = Spawn(taker("A"));
    pid_t b = Spawn(taker("B"));
    EXPECT_EQ(Wait(a), 0);
    EXPECT_EQ(Wait(b), 0);

    Registry reg(file);
    EXPECT_EQ(reg.ReadDword(key, "Next"), 201u);
    EXPECT_EQ(reg.SubKeys(key).size(), 200u);

    // A change that throws writes nothing, not even what it wrote before.
    EXPECT_THROW(reg.Change([&](RegistryEdit& edit) {
        edit.WriteValue(key, "Next", std::uint32_t{1});
        EXPECT_EQ(edit.ReadValue(key, "Next"), Value(std::uint32_t{1}));
        throw std::runtime_error("changed my mind");
    }),
                 std::runtime_error);
    EXPECT_EQ(reg.ReadDword(key, "Next"), 201u);
}

TEST(RegistryConcurrency, WritersWaitForTheLockFile) {
    TempDir dir;
    const auto file = dir / "registry.reg";
    Registry(file).WriteDword("Software", "x", 1);

    int fd = ::open((dir / "registry.reg.lock").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    pid_t child = Spawn([&] {
        ::close(fd);  // the inherited copy would hold the parent's lock for ever
        Registry(file).WriteDword("Software", "x", 2);
        return true;
    });
    EXPECT_TRUE(testing::WaitUntil([&] {
        return testing::SomeoneWaitsToLock(dir / "registry.reg.lock");
    })) << "the writer did not wait for the lock";
    EXPECT_EQ(Registry(dir / "other.reg").ReadDword("Software", "x"),
              std::nullopt);  // other files are free
    ::close(fd);              // lets the child in
    EXPECT_EQ(Wait(child), 0);
    EXPECT_EQ(Registry(file).ReadDword("Software", "x"), 2u);
}

}  // namespace
}  // namespace wexal::registry

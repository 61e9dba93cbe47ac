// One running program per user: the second start hands over, waits for a
// holder that does not listen yet, and gives up on one that never does.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QLockFile>
#include <QSignalSpy>
#include <cstring>
#include <thread>

#include "desktop/windows/SingleInstance.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

using namespace std::chrono_literals;
using testing::kHangBound;
using testing::kHangBoundMs;

// Waits until `file` has been opened `times` times since the watch began
// (or the hang bound ran out).
class OpenCount {
  public:
    explicit OpenCount(const QString& file) : watch_(::inotify_init1(IN_CLOEXEC)) {
        ::inotify_add_watch(watch_, file.toLocal8Bit().constData(), IN_OPEN);
    }
    ~OpenCount() { ::close(watch_); }
    OpenCount(const OpenCount&) = delete;
    OpenCount& operator=(const OpenCount&) = delete;

    void WaitFor(int times) {
        // Events alike that queue up unread may count as one: never fewer
        // opens than counted.
        for (int seen = 0; seen < times;) {
            pollfd ready{watch_, POLLIN, 0};
            if (::poll(&ready, 1, kHangBoundMs) != 1) {
                return;
            }
            alignas(inotify_event) char events[4096];
            const ssize_t length = ::read(watch_, events, sizeof events);
            for (ssize_t at = 0; at < length;) {
                ++seen;
                at += static_cast<ssize_t>(sizeof(inotify_event) +
                                           reinterpret_cast<inotify_event*>(events + at)->len);
            }
        }
    }

  private:
    int watch_;
};

class SingleInstanceTest : public ::testing::Test {
  protected:
    QString Folder() const { return QString::fromStdString(folder_.path().string()); }
    std::string SocketPath() const { return (folder_ / "WexalDT.socket").string(); }

    testing::TempDir folder_;
};

TEST_F(SingleInstanceTest, TheSecondStartTellsTheFirstToComeToTheFront) {
    SingleInstance first(Folder(), "WexalDT");
    ASSERT_EQ(first.Claim(), SingleInstance::Role::kFirst);
    QSignalSpy activated(&first, &SingleInstance::ActivationRequested);
    SingleInstance second(Folder(), "WexalDT");
    EXPECT_EQ(second.Claim(), SingleInstance::Role::kHandedOver);
    EXPECT_TRUE(activated.wait(kHangBoundMs));
}

TEST_F(SingleInstanceTest, AHolderThatIsStillStartingIsWaitedFor) {
    // The holder has its lock but listens only once the second start found
    // it held a second time, so after a try to reach it failed.
    QLockFile holder(Folder() + "/WexalDT.lock");
    ASSERT_TRUE(holder.tryLock(0));
    OpenCount lookedAt(Folder() + "/WexalDT.lock");
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    std::thread late([this, listening, &lookedAt] {
        lookedAt.WaitFor(2);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, SocketPath().c_str(), sizeof address.sun_path - 1);
        ::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listening, 4);
    });
    SingleInstance second(Folder(), "WexalDT");
    EXPECT_EQ(second.Claim(kHangBound), SingleInstance::Role::kHandedOver);
    late.join();
    ::close(listening);
}

TEST_F(SingleInstanceTest, AHolderThatNeverAnswersIsGivenUpOn) {
    QLockFile holder(Folder() + "/WexalDT.lock");
    ASSERT_TRUE(holder.tryLock(0));
    QElapsedTimer clock;
    clock.start();
    SingleInstance second(Folder(), "WexalDT");
    EXPECT_EQ(second.Claim(400ms), SingleInstance::Role::kUnreachable);
    EXPECT_GE(clock.elapsed(), 400);
}

}  // namespace
}  // namespace wexal::desktop

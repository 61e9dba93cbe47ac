// One running program per user: the second start hands over, waits for a
// holder that does not listen yet, and gives up on one that never does.
#include <gtest/gtest.h>
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

namespace wexal::desktop {
namespace {

using namespace std::chrono_literals;

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
    EXPECT_TRUE(activated.wait(2000));
}

TEST_F(SingleInstanceTest, AHolderThatIsStillStartingIsWaitedFor) {
    // The holder has its lock but listens only 300 ms later.
    QLockFile holder(Folder() + "/WexalDT.lock");
    ASSERT_TRUE(holder.tryLock(0));
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    std::thread late([this, listening] {
        std::this_thread::sleep_for(300ms);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, SocketPath().c_str(), sizeof address.sun_path - 1);
        ::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listening, 4);
    });
    QElapsedTimer clock;
    clock.start();
    SingleInstance second(Folder(), "WexalDT");
    EXPECT_EQ(second.Claim(), SingleInstance::Role::kHandedOver);
    EXPECT_GE(clock.elapsed(), 300);
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
    EXPECT_LT(clock.elapsed(), 1500);
}

}  // namespace
}  // namespace wexal::desktop

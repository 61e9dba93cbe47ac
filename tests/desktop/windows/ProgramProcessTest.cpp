// The built WexalDT as a process: its file version, a second start handing
// over to the first, a killed program's lock taken over by the next start,
// and SIGTERM closing the program as "E&xit" does.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QProcess>
#include <QTest>
#include <filesystem>

#include "desktop/core/ProgramIdentity.h"
#include "desktop/core/clsFileVersion.h"
#include "desktop/windows/StandardParts.h"
#include "desktop/windows/Startup.h"
#include "desktop/windows/frmMain.h"
#include "tests/desktop/core/ConfigFolder.h"
#include "tests/desktop/windows/ProgramHome.h"
#include "tests/support/WaitUntil.h"

namespace wexal::desktop {
namespace {

namespace fs = std::filesystem;
using testing::DataFile;
using testing::kHangBoundMs;
using testing::ProgramHome;
using testing::ReadFile;
using testing::WriteFile;

// The program's own runtime folder (lock and socket) inside the scratch home.
QString RuntimeFolder(const ProgramHome& home) {
    const fs::path folder = home.Root() / "runtime";
    fs::create_directories(folder);
    ::chmod(folder.c_str(), 0700);
    return QString::fromStdString(folder.string());
}

// WexalDT NOSPLASH, offscreen, in the scratch home.
std::unique_ptr<QProcess> StartWexalDT(const ProgramHome& home) {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("WEXAL_REGISTRY", QString::fromStdString(home.RegistryFile().string()));
    environment.insert("XDG_CONFIG_HOME",
                       QString::fromStdString((home.Root() / "config").string()));
    environment.insert("XDG_DATA_HOME", QString::fromStdString((home.Root() / "data").string()));
    environment.insert("XDG_RUNTIME_DIR", RuntimeFolder(home));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(WEXAL_DT_PROGRAM), {QStringLiteral("NOSPLASH")});
    EXPECT_TRUE(process->waitForStarted(kHangBoundMs));
    return process;
}

// Waits, keeping this program's own events going, until `done` holds.
template <typename Condition>
bool WaitFor(Condition done) {
    return QTest::qWaitFor(done, kHangBoundMs);
}

// The process id that holds the single-instance lock.
qint64 LockHolder(const ProgramHome& home) {
    QFile lock(RuntimeFolder(home) + "/WexalDT.lock");
    if (!lock.open(QIODevice::ReadOnly)) {
        return 0;
    }
    return lock.readLine().trimmed().toLongLong();
}

TEST(ProgramProcessTest, CarriesItsFileVersion) {
    EXPECT_EQ(clsFileVersion().GetVersion(WEXAL_DT_PROGRAM), "2.8.1.0");
    EXPECT_EQ(VersionLabel(), "Version 2.8.1");
}

TEST(ProgramProcessTest, ASecondStartRaisesTheFirstAndEndsHavingTouchedNothing) {
    ProgramHome home;
    home.AddAllRequiredFiles();
    WriteFile(home.ConfigFile(), DataFile("full.cfg"));
    StartupOptions options;
    options.instanceFolder = RuntimeFolder(home);
    Startup first(home.Services(), StandardParts(), options);
    ASSERT_EQ(first.Main({"WexalDT", "NOSPLASH"}), std::nullopt);
    first.MainForm()->close();  // writes both files once, before the second start
    first.MainForm()->show();
    first.MainForm()->showMinimized();
    const std::string config = ReadFile(home.ConfigFile());
    const auto configWritten = fs::last_write_time(home.ConfigFile());
    const auto settingsWritten = fs::last_write_time(home.SettingsFile());

    auto second = StartWexalDT(home);
    ASSERT_TRUE(WaitFor([&] { return second->state() == QProcess::NotRunning; }));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(WaitFor([&] { return !first.MainForm()->isMinimized(); }));
    EXPECT_TRUE(first.MainForm()->isVisible());
    EXPECT_EQ(ReadFile(home.ConfigFile()), config);
    EXPECT_EQ(fs::last_write_time(home.ConfigFile()), configWritten);
    EXPECT_EQ(fs::last_write_time(home.SettingsFile()), settingsWritten);
}

TEST(ProgramProcessTest, AKilledProgramDoesNotBlockTheNextWhichClosesOnSigterm) {
    ProgramHome home;
    WriteFile(home.ConfigFile(), DataFile("full.cfg"));
    struct stat before {};
    ::stat(home.ConfigFile().c_str(), &before);

    auto killed = StartWexalDT(home);
    ASSERT_TRUE(WaitFor([&] { return LockHolder(home) == killed->processId(); }));
    killed->kill();
    ASSERT_TRUE(killed->waitForFinished(kHangBoundMs));

    auto next = StartWexalDT(home);
    ASSERT_TRUE(WaitFor([&] { return LockHolder(home) == next->processId(); }))
        << "the next start runs as the first";
    // Its handler of SIGTERM is in place before it takes the lock; that it
    // stayed rather than handing over shows in the files written anew below.
    ASSERT_EQ(next->state(), QProcess::Running);
    next->terminate();
    ASSERT_TRUE(next->waitForFinished(kHangBoundMs));
    EXPECT_EQ(next->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(next->exitCode(), 0);

    struct stat after {};
    ::stat(home.ConfigFile().c_str(), &after);
    EXPECT_NE(after.st_ino, before.st_ino) << "written anew";
    EXPECT_EQ(ReadFile(home.ConfigFile()), DataFile("full.cfg"));
    EXPECT_EQ(ReadFile(home.SettingsFile()),
              "[Settings]\nMainHeight=6500\nMainLeft=1000\nMainTop=1000\nMainWidth=7500\n"
              "SelectedTab=1\n");
}

}  // namespace
}  // namespace wexal::desktop

// A route folder that several clerks sync from under their own accounts: a
// group-shared folder, each clerk a member of its group.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "conduit/formats/RouteFileClaim.h"
#include "tests/conduit/SyncProcess.h"
#include "tests/conduit/TextFileOffice.h"

namespace {

namespace fs = std::filesystem;
using wexal::testing::ReadFile;
using wexal::testing::StandardRouteLine;
using wexal::testing::SyncProcess;
using wexal::testing::TextFileOffice;
using wexal::testing::WriteFile;
using Lines = std::vector<std::string>;

// Ids of no account: the office's group and its clerks.
constexpr gid_t kOfficeGroup = 47110;
constexpr uid_t kClerk = 47111;
constexpr uid_t kOtherClerk = 47112;

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// An office whose route file lies in a folder of its own, `mode` and, when
// given, of the office's group.
struct SharedFolderOffice {
    explicit SharedFolderOffice(mode_t mode, bool officeGroup = false) {
        fs::create_directories(Routes());
        if (officeGroup) {
            EXPECT_EQ(::chown(Routes().c_str(), 0, kOfficeGroup), 0);
        }
        EXPECT_EQ(::chmod(Routes().c_str(), mode), 0);
        office.Configure(RouteFile(), office.Readings());
    }
    fs::path Routes() const { return office.RouteFile().parent_path() / "routes"; }
    fs::path RouteFile() const { return Routes() / "route.txt"; }
    fs::path Claims() const { return ClaimFolder(RouteFile().string()); }
    void Export(const std::string& route) const {
        WriteFile(RouteFile(), StandardRouteLine({.route = route}));
    }

    TextFileOffice office;
};

// One sync of the handheld of `user` (0: the test's own) in a child that
// takes the user's id and the office's group; its log.
std::string SyncAs(TextFileOffice& office, uid_t user) {
    const std::string unit = "UNIT" + std::to_string(user % 100);
    fs::path handheld = office.Bed().Folder() / ("handheld-" + unit);
    if (user == 0) {
        handheld = office.Bed().Folder() / "handheld";
    } else if (!fs::exists(handheld)) {
        office.Bed().AddHandheld(unit);
        for (const auto& entry : fs::recursive_directory_iterator(handheld)) {
            EXPECT_EQ(::chown(entry.path().c_str(), user, kOfficeGroup), 0);
        }
        EXPECT_EQ(::chown(handheld.c_str(), user, kOfficeGroup), 0);
    }
    const fs::path log = office.Bed().Folder() / ("sync-" + std::to_string(user) + ".log");
    fs::remove(log);
    SyncProcess sync(handheld, log, nullptr, [user] {
        const gid_t group = kOfficeGroup;
        return user == 0 ||
               (::setgroups(1, &group) == 0 && ::setgid(group) == 0 && ::setuid(user) == 0);
    });
    EXPECT_TRUE(sync.Succeeded());
    office.Bed().UseHandheld(handheld);
    return ReadFile(log);
}

// The claim folder and its lock are as open as the route folder, whatever
// the umask of the sync that made them; one made narrower by an earlier
// version is opened up by its owner's next sync.
TEST(SharedRouteFolderTest, ClaimFolderIsAsOpenAsTheRouteFolder) {
    const mode_t umask = ::umask(022);
    for (const mode_t mode : {02775, 02770, 01777}) {
        for (const bool madeBefore : {false, true}) {
            SCOPED_TRACE(::testing::Message()
                         << std::oct << mode << (madeBefore ? " made before" : ""));
            SharedFolderOffice office(mode);
            if (madeBefore) {
                fs::create_directory(office.Claims());
                ::chmod(office.Claims().c_str(), 0755);
            }
            office.Export("0001");
            office.office.Sync();
            EXPECT_EQ(office.office.RouteList(), Lines{"0001 1 R"});
            EXPECT_EQ(ModeOf(office.Claims()), mode);
            EXPECT_EQ(ModeOf(office.Claims() / "claims.lock"), mode & 0666);
        }
    }
    ::umask(umask);
}

// Clerks of the office's group sync one after the other, whoever made the
// claim folder: each one's route file comes down to his handheld. A file
// left claimed in a folder the clerk may not change stays for a sync that
// can move it on.
TEST(SharedRouteFolderTest, EveryClerkOfTheGroupTakesHisRoutes) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to sync as other users";
    }
    const mode_t umask = ::umask(022);
    const std::vector<uid_t> orders[] = {{0, kClerk}, {kClerk, 0, kOtherClerk}};
    for (const mode_t mode : {02775, 02770}) {
        for (const auto& users : orders) {
            SCOPED_TRACE(::testing::Message() << std::oct << mode << " first " << users.front());
            SharedFolderOffice office(mode, /*officeGroup=*/true);
            ::chmod(office.office.Bed().Folder().c_str(), 0755);
            for (std::size_t i = 0; i < users.size(); ++i) {
                const std::string route = "000" + std::to_string(i + 1);
                office.Export(route);
                const std::string log = SyncAs(office.office, users[i]);
                EXPECT_EQ(log.find("[22]"), std::string::npos) << log;
                EXPECT_EQ(office.office.RouteList(), Lines{route + " 1 R"});
                EXPECT_FALSE(fs::exists(office.RouteFile()));
            }
        }
    }

    SharedFolderOffice office(02775, /*officeGroup=*/true);
    ::chmod(office.office.Bed().Folder().c_str(), 0755);
    // An earlier version's claim folder refuses the clerk's claim, and names
    // itself; then a sync of its owner is killed while it downloads the file.
    fs::create_directory(office.Claims());
    ::chmod(office.Claims().c_str(), 02755);
    WriteFile(office.Claims() / "claims.lock", "");
    ::chmod((office.Claims() / "claims.lock").c_str(), 0644);
    office.Export("0001");
    const std::string claimed = DownloadingName(office.RouteFile().string());
    const std::pair<std::function<void()>, std::string> refusals[] = {
        {[] {}, "Route file cannot be taken for the download, it stays for the next HotSync: " +
                    office.RouteFile().string()},
        {[&] { fs::rename(office.RouteFile(), claimed); },
         "Route file of an interrupted HotSync not downloaded, this HotSync could not move it "
         "on: " +
             claimed}};
    for (const auto& [leave, line] : refusals) {
        leave();
        const std::string log = SyncAs(office.office, kClerk);
        EXPECT_NE(log.find(line + ": " + office.Claims().string() + ": Permission denied"),
                  std::string::npos)
            << log;
    }
    EXPECT_EQ(office.office.RouteList(), Lines{});
    EXPECT_TRUE(fs::exists(claimed));
    SyncAs(office.office, 0);
    EXPECT_EQ(office.office.RouteList(), Lines{"0001 1 R"});
    // Its owner's next claim opens the folder up to the group.
    for (const auto& [user, route] : {std::pair{0u, "0002"}, std::pair{kClerk, "0003"}}) {
        office.Export(route);
        SyncAs(office.office, user);
        EXPECT_EQ(office.office.RouteList().back(), route + std::string(" 1 R"));
    }
    EXPECT_EQ(ModeOf(office.Claims()), 02775);
    ::umask(umask);
}

}  // namespace

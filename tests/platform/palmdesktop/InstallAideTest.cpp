// libinstaide.so: copies of files queued in the user's install folder.
#include <gtest/gtest.h>

#include <string>

#include "platform/syncmgr/InstallQueue.h"
#include "tests/platform/palmdesktop/StandInFixture.h"

namespace wexal::palmdesktop::testing {
namespace {

using wexal::testing::ReadFile;
using wexal::testing::WriteFile;

class InstallAideTest : public StandInTest {
  protected:
    Library aide_{ProgramFolder() / "libinstaide.so"};
    PltInstallFileFn install_ = aide_.Entry<PltInstallFileFn>("PltInstallFile");
    PltRemoveInstallFileFn remove_ = aide_.Entry<PltRemoveInstallFileFn>("PltRemoveInstallFile");

    std::filesystem::path Queued(const std::string& name) const {
        return Desktop() / "UNIT01/Install" / name;
    }
};

TEST_F(InstallAideTest, QueuesReplacesAndTakesBack) {
    const auto folder = scratch_ / "program";
    std::filesystem::create_directories(folder);
    WriteFile(folder / "wexal.prc", "first");
    const std::string given = (folder / "Wexal.prc").string();  // found in any letter case

    EXPECT_EQ(install_("UNIT01", given.c_str()), kPltErrUnknownUser);
    ASSERT_EQ(addUser_("UNIT01", 0), kUmErrNone);
    EXPECT_EQ(install_("UNIT01", (folder / "missing.prc").c_str()), kPltErrNotFound);
    EXPECT_EQ(install_("UNIT01", (folder.string() + "/").c_str()), kPltErrBadArgument);
    EXPECT_EQ(install_("UNIT01", nullptr), kPltErrBadArgument);

    ASSERT_EQ(install_("unit01", given.c_str()), kPltErrNone);
    EXPECT_EQ(ReadFile(Queued("Wexal.prc")), "first");

    // Queued again (in another letter case): the newest bytes replace the copy.
    WriteFile(folder / "wexal.prc", "second");
    EXPECT_EQ(install_("UNIT01", (folder / "WEXAL.PRC").c_str()), kPltErrAlreadyScheduled);
    EXPECT_EQ(syncmgr::InstallQueue("UNIT01").Files(), std::vector<std::string>{"Wexal.prc"});
    EXPECT_EQ(ReadFile(Queued("Wexal.prc")), "second");
    EXPECT_EQ(ReadFile(folder / "wexal.prc"), "second");  // the original stays

    EXPECT_EQ(remove_("UNIT02", "Wexal.prc"), kPltErrUnknownUser);
    EXPECT_EQ(remove_("UNIT01", "wexal.PRC"), kPltErrNone);
    EXPECT_FALSE(std::filesystem::exists(Queued("Wexal.prc")));
    EXPECT_EQ(remove_("UNIT01", "Wexal.prc"), kPltErrNotFound);
}

TEST_F(InstallAideTest, RelativePathsAreTakenFromTheCurrentFolder) {
    ASSERT_EQ(addUser_("UNIT01", 0), kUmErrNone);
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(scratch_.path());
    WriteFile(scratch_ / "app.prc", "bytes");
    const int16_t result = install_("UNIT01", "./APP.prc");
    std::filesystem::current_path(before);
    EXPECT_EQ(result, kPltErrNone);
    EXPECT_EQ(ReadFile(Queued("APP.prc")), "bytes");
}

}  // namespace
}  // namespace wexal::palmdesktop::testing

// clsInstaller over a fake library table: what it passes to each entry, from
// which library and folder, and what it tells the user of each answer.
#include "desktop/core/clsInstaller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/palmdesktop/PalmDesktopApi.h"
#include "tests/desktop/windows/ScriptedMessages.h"
#include "tests/support/TempDir.h"

namespace wexal::desktop {
namespace {

namespace fs = std::filesystem;
using Kind = testing::ScriptedMessages::Kind;

// What the fake entries answer, and what they were asked (each call with the
// current folder at the time).
struct FakePalm {
    int16_t userCount = 0;
    std::map<uint32_t, uint32_t> ids;       // index -> id; a missing index fails
    std::map<uint32_t, std::string> names;  // id -> bytes written; missing: untouched
    int16_t installResult = kPltErrNone;
    int16_t removeResult = kPltErrNone;
    int32_t conduitResult = kCondErrNone;
    std::vector<std::string> calls;
    std::vector<fs::path> folders;
};
FakePalm* g_fake = nullptr;

void Called(const std::string& call) {
    g_fake->calls.push_back(call);
    g_fake->folders.push_back(fs::current_path());
}

extern "C" {
static int16_t FakeUserCount(void) {
    Called("UmGetUserCount()");
    return g_fake->userCount;
}
static int16_t FakeUserId(uint32_t index, uint32_t* id) {
    Called("UmGetUserID(" + std::to_string(index) + ")");
    const auto found = g_fake->ids.find(index);
    if (found == g_fake->ids.end()) {
        return kUmErrNotFound;
    }
    *id = found->second;
    return kUmErrNone;
}
static int16_t FakeUserName(uint32_t id, char* buffer, uint32_t* size) {
    Called("UmGetUserName(" + std::to_string(id) + ", " + std::string(buffer, *size) + ", " +
           std::to_string(*size) + ")");
    const auto found = g_fake->names.find(id);
    if (found == g_fake->names.end()) {
        return kUmErrNotFound;
    }
    found->second.copy(buffer, *size);
    return kUmErrNone;
}
static int16_t FakeAddUser(const char* name, uint32_t reserved) {
    Called("UmAddUser(" + std::string(name) + ", " + std::to_string(reserved) + ")");
    return kUmErrNone;
}
static int16_t FakeInstallFile(const char* user, const char* path) {
    Called("PltInstallFile(" + std::string(user) + ", " + path + ")");
    return g_fake->installResult;
}
static int16_t FakeRemoveInstallFile(const char* user, const char* file) {
    Called("PltRemoveInstallFile(" + std::string(user) + ", " + file + ")");
    return g_fake->removeResult;
}
static int32_t FakeInstallConduit(const char* a1, const char* a2, const char* a3, const char* a4,
                                  const char* a5, const char* a6, const char* a7, const char* a8,
                                  int32_t a9, const char* a10) {
    Called("InstallConduit(" + std::string(a1) + ", " + a2 + ", " + a3 + ", " + a4 + ", [" + a5 +
           "], [" + a6 + "], [" + a7 + "], " + a8 + ", " + std::to_string(a9) + ", " + a10 + ")");
    return g_fake->conduitResult;
}
}

// The table: each entry from the library the installer must name for it.
class FakeLibraries final : public PalmLibraries {
  public:
    void* Entry(const std::string& library, const std::string& entry) override {
        static const std::map<std::pair<std::string, std::string>, void*> kEntries = {
            {{kUserDataLibrary, "UmGetUserCount"}, reinterpret_cast<void*>(&FakeUserCount)},
            {{kUserDataLibrary, "UmGetUserID"}, reinterpret_cast<void*>(&FakeUserId)},
            {{kUserDataLibrary, "UmGetUserName"}, reinterpret_cast<void*>(&FakeUserName)},
            {{kUserDataLibrary, "UmAddUser"}, reinterpret_cast<void*>(&FakeAddUser)},
            {{kInstallAideLibrary, "PltInstallFile"}, reinterpret_cast<void*>(&FakeInstallFile)},
            {{kInstallAideLibrary, "PltRemoveInstallFile"},
             reinterpret_cast<void*>(&FakeRemoveInstallFile)},
            {{kConduitInstallLibrary, "InstallConduit"},
             reinterpret_cast<void*>(&FakeInstallConduit)},
        };
        const auto found = kEntries.find({library, entry});
        if (found == kEntries.end()) {
            throw PalmLibraryError(library, entry, "not in the fake table");
        }
        return found->second;
    }
};

class FixedFolder final : public ProgramFolder {
  public:
    explicit FixedFolder(fs::path path) : path_(std::move(path)) {}
    fs::path Path() const override { return path_; }

  private:
    fs::path path_;
};

class InstallerTest : public ::testing::Test {
  protected:
    InstallerTest() { g_fake = &fake_; }
    ~InstallerTest() override {
        fs::current_path(before_);
        g_fake = nullptr;
    }

    fs::path Program() const { return scratch_.path() / "program"; }
    fs::path Elsewhere() const { return scratch_.path() / "elsewhere"; }

    void SetUp() override {
        fs::create_directories(Program());
        fs::create_directories(Elsewhere());
        fs::current_path(Elsewhere());
    }

    const fs::path before_ = fs::current_path();
    wexal::testing::TempDir scratch_;
    FakePalm fake_;
    FakeLibraries libraries_;
    testing::ScriptedMessages messages_;
    FixedFolder folder_{fs::canonical(scratch_.path()) / "program"};
    clsInstaller installer_{libraries_, messages_, folder_, "WexalDT"};
};

TEST_F(InstallerTest, ConduitShowsOneMessageInTheMessageWindowForEveryCode) {
    struct Case {
        int32_t code;
        const char* message;
        int16_t result;
    };
    const Case cases[] = {
        {0, "Conduit Installed", 0},
        {-1005, "Conduit is already installed", -1005},
        {-1200, "PCI Base Error", -1200},
        {-1201, "Error loading temp condmgr", -1201},
        {-1202, "Invalid CondMgr", -1202},
        {-1203, "HSAPI not found", -1203},
        {-1204, "Conduit not found", -1204},
        {-1205, "HotSync in progress", -1205},
        {-1, "Undefined error: -1", -1},
        {70000, "Undefined error: 70000", 70000 - 65536},  // shown, then narrowed
    };
    for (const Case& c : cases) {
        fake_.conduitResult = c.code;
        messages_.Clear();
        fake_.calls.clear();
        EXPECT_EQ(installer_.Conduit("TLWX", "libWexalCN.so", "Wexal Conduit", "Meter reading"),
                  c.result);
        ASSERT_EQ(messages_.All().size(), 1u) << c.code;
        EXPECT_EQ(messages_.All()[0].kind, Kind::kMessageWindow);
        EXPECT_EQ(messages_.All()[0].text, c.message);
    }
    const std::string folder = folder_.Path().string();
    EXPECT_EQ(fake_.calls,
              std::vector<std::string>{"InstallConduit(" + folder + ", TLWX, " + folder +
                                       ", libWexalCN.so, [], [], [], Wexal Conduit, "
                                       "2, Meter reading)"});
}

TEST_F(InstallerTest, PRCShowsPlainMessageBoxesAndGivesZeroForAQueuedFile) {
    struct Case {
        int16_t code;
        std::string message;  // empty: none
        int16_t result;
    };
    const Case cases[] = {
        {kPltErrNone, "", 0},
        {kPltErrAlreadyScheduled,
         "Application (Wexal.prc) is already scheduled to be installed during next HotSync "
         "operation.",
         0},
        {kPltErrNotFound, "Application not found in " + folder_.Path().string() + ": Wexal.prc",
         kPltErrNotFound},
        {-7, "Undefined error: -7 occurred.", -7},
    };
    for (const Case& c : cases) {
        fake_.installResult = c.code;
        messages_.Clear();
        EXPECT_EQ(installer_.PRC("UNIT01", "Wexal.prc"), c.result) << c.code;
        if (c.message.empty()) {
            EXPECT_TRUE(messages_.All().empty()) << c.code;
            continue;
        }
        ASSERT_EQ(messages_.All().size(), 1u) << c.code;
        EXPECT_EQ(messages_.All()[0].kind, Kind::kMessageBox);
        EXPECT_EQ(messages_.All()[0].title, "WexalDT");
        EXPECT_EQ(messages_.All()[0].buttons, Messages::Buttons::kOk);
        EXPECT_EQ(messages_.All()[0].text, c.message);
    }
}

// A bare name is a file of the program's folder; a path is passed as it is;
// the user is added before every install, existing or not.
TEST_F(InstallerTest, PRCAddsTheUserAndPrefixesOnlyBareNames) {
    installer_.PRC("UNIT01", "Wexal.prc");
    installer_.PRC("UNIT01", "dir/x.prc");
    installer_.PRC("UNIT02", "/abs/y.prc");
    installer_.PRC("UNIT02", "a\\b.prc");  // a backslash is part of a name here
    EXPECT_EQ(fake_.calls, (std::vector<std::string>{
                               "UmAddUser(UNIT01, 0)", "PltInstallFile(UNIT01, ./Wexal.prc)",
                               "UmAddUser(UNIT01, 0)", "PltInstallFile(UNIT01, dir/x.prc)",
                               "UmAddUser(UNIT02, 0)", "PltInstallFile(UNIT02, /abs/y.prc)",
                               "UmAddUser(UNIT02, 0)", "PltInstallFile(UNIT02, ./a\\b.prc)"}));
}

TEST_F(InstallerTest, RemovePRCShowsOnlyUnexpectedCodes) {
    struct Case {
        int16_t code;
        int16_t result;
        bool message;
    };
    for (const Case& c : {Case{kPltErrNone, 0, false}, Case{-512, 0, false},
                          Case{-513, -513, false}, Case{-523, -523, false}, Case{-9, -9, true}}) {
        fake_.removeResult = c.code;
        messages_.Clear();
        fake_.calls.clear();
        EXPECT_EQ(installer_.RemovePRC("UNIT01", "Wexal.prc"), c.result) << c.code;
        EXPECT_EQ(fake_.calls,
                  (std::vector<std::string>{"UmAddUser(UNIT01, 0)",
                                            "PltRemoveInstallFile(UNIT01, Wexal.prc)"}));
        if (c.message) {
            ASSERT_EQ(messages_.All().size(), 1u);
            EXPECT_EQ(messages_.All()[0].kind, Kind::kMessageBox);
            EXPECT_EQ(messages_.All()[0].title, "WexalDT");
            EXPECT_EQ(messages_.All()[0].text, "Undefined error: -9 occurred.");
        } else {
            EXPECT_TRUE(messages_.All().empty()) << c.code;
        }
    }
}

TEST_F(InstallerTest, UserNamesReadFiftyBlanksAndCutAtTheFirstNul) {
    EXPECT_TRUE(installer_.UserNames().empty());
    fake_.userCount = -3;
    EXPECT_TRUE(installer_.UserNames().empty());

    fake_.userCount = 4;
    fake_.ids = {{0, 11}, {2, 13}, {3, 14}};  // the id of index 1 cannot be read
    fake_.names = {{11, std::string("UNIT01\0junk", 11)}, {13, std::string(50, 'n')}};
    fake_.calls.clear();
    EXPECT_EQ(
        installer_.UserNames(),
        (std::vector<std::string>{"UNIT01", "UNIT01", std::string(50, 'n'), std::string(50, ' ')}));
    const std::string blanks(50, ' ');
    EXPECT_EQ(fake_.calls,
              (std::vector<std::string>{"UmGetUserCount()", "UmGetUserID(0)",
                                        "UmGetUserName(11, " + blanks + ", 50)", "UmGetUserID(1)",
                                        "UmGetUserName(11, " + blanks + ", 50)", "UmGetUserID(2)",
                                        "UmGetUserName(13, " + blanks + ", 50)", "UmGetUserID(3)",
                                        "UmGetUserName(14, " + blanks + ", 50)"}));

    // A first pass that fails uses id 0.
    fake_.userCount = 1;
    fake_.ids.clear();
    fake_.calls.clear();
    installer_.UserNames();
    EXPECT_EQ(fake_.calls[2], "UmGetUserName(0, " + blanks + ", 50)");
}

TEST_F(InstallerTest, OnlyTheInstallingOperationsMoveToTheProgramFolder) {
    const fs::path elsewhere = fs::current_path();
    fake_.userCount = 1;
    fake_.ids = {{0, 1}};
    installer_.UserCount();
    installer_.UserNames();
    EXPECT_EQ(fs::current_path(), elsewhere);
    for (const fs::path& folder : fake_.folders) {
        EXPECT_EQ(folder, elsewhere);
    }

    using Operation = void (*)(clsInstaller&);
    const Operation operations[] = {
        [](clsInstaller& i) { i.Conduit("TLWX", "libWexalCN.so", "Wexal Conduit", ""); },
        [](clsInstaller& i) { i.PRC("UNIT01", "Wexal.prc"); },
        [](clsInstaller& i) { i.RemovePRC("UNIT01", "Wexal.prc"); },
    };
    for (const Operation operation : operations) {
        fs::current_path(elsewhere);
        fake_.folders.clear();
        operation(installer_);
        EXPECT_EQ(fs::current_path(), folder_.Path());  // and left there
        for (const fs::path& folder : fake_.folders) {
            EXPECT_EQ(folder, folder_.Path());  // before the first call
        }
    }
}

}  // namespace
}  // namespace wexal::desktop

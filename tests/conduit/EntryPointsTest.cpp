// The conduit library as the sync manager sees it: loaded with dlopen,
// entry points found by name.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>

#include "platform/syncmgr/ConduitApi.h"
#include "tests/conduit/ConduitTestBed.h"

namespace {

class EntryPointsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        library_ = dlopen(WEXAL_CONDUIT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library_, nullptr) << dlerror();
    }

    template <typename Fn>
    static Fn Entry(const char* name) {
        auto entry = reinterpret_cast<Fn>(dlsym(library_, name));
        EXPECT_NE(entry, nullptr) << name;
        return entry;
    }

    static void* library_;
};

void* EntryPointsTest::library_ = nullptr;

int32_t Progress(const char*) {
    return 0;
}

TEST_F(EntryPointsTest, ExportsOnlyTheSixEntryPoints) {
    for (const char* name : {"OpenConduit", "GetConduitName", "GetConduitVersion", "GetConduitInfo",
                             "ConfigureConduit", "CfgConduit"}) {
        EXPECT_NE(dlsym(library_, name), nullptr) << name;
    }
    // The conduit's own classes stay inside the library.
    EXPECT_EQ(dlsym(library_, "_ZN12WexalConduit11SynchronizeEv"), nullptr);
}

TEST_F(EntryPointsTest, NameAndVersion) {
    auto getName = Entry<GetConduitNameFn>("GetConduitName");
    char name[64];
    EXPECT_EQ(getName(name, sizeof name), 0);
    EXPECT_STREQ(name, "Wexal Conduit 2.6.32");
    char shortName[6];
    EXPECT_EQ(getName(shortName, sizeof shortName), 0);
    EXPECT_STREQ(shortName, "Wexal");
    EXPECT_EQ(getName(name, 0), -1);
    EXPECT_EQ(Entry<GetConduitVersionFn>("GetConduitVersion")(), 0x102);
}

TEST_F(EntryPointsTest, ConduitInfoChecksItsArgumentsInOrder) {
    auto info = Entry<GetConduitInfoFn>("GetConduitInfo");
    uint32_t value = 7;
    uint32_t size = 4;
    EXPECT_EQ(info(3, nullptr, nullptr, &size), 0x1071);
    EXPECT_EQ(info(0, nullptr, &value, nullptr), 0x1077);
    EXPECT_EQ(info(0, nullptr, &value, &size), 0x1074);

    ConduitRequestInfo request{1, 80, 0, 0, {}};
    char name[256];
    uint32_t nameSize = sizeof name;
    EXPECT_EQ(info(0, &request, name, &nameSize), 0);
    EXPECT_STREQ(name, "Wexal Conduit 2.6.32");
    request.size = 79;
    EXPECT_EQ(info(0, &request, name, &nameSize), 0x1075);
    request = {2, 80, 0, 0, {}};
    EXPECT_EQ(info(0, &request, name, &nameSize), 0x1075);
    request.version = 1;
    nameSize = 0;
    EXPECT_EQ(info(0, &request, name, &nameSize), 0x1076);

    EXPECT_EQ(info(1, nullptr, &value, &size), 0);
    EXPECT_EQ(value, 0x10000000u);
    EXPECT_EQ(info(2, nullptr, &value, &size), 0);
    EXPECT_EQ(value, 0u);
    uint64_t wide = 0;
    uint32_t wideSize = 8;
    EXPECT_EQ(info(1, nullptr, &wide, &wideSize), 0x1073);
    EXPECT_EQ(info(2, nullptr, &wide, &wideSize), 0x1073);
    EXPECT_EQ(info(3, nullptr, &value, &size), 0x1070);
}

TEST_F(EntryPointsTest, CfgConduitRefusesBadBlocksBeforeShowingAnything) {
    auto cfg = Entry<CfgConduitFn>("CfgConduit");
    ConduitConfigureInfo block{};
    block.version = 1;
    block.size = sizeof block;
    uint32_t size = sizeof block;
    EXPECT_EQ(cfg(0, nullptr, &size), 0x1074);
    EXPECT_EQ(cfg(0, &block, nullptr), 0x1078);
    uint32_t shortSize = 351;
    EXPECT_EQ(cfg(0, &block, &shortSize), 0x107A);
    EXPECT_EQ(cfg(1, &block, &size), 0x1079);
    block.version = 2;
    EXPECT_EQ(cfg(0, &block, &size), 0x107B);
    EXPECT_EQ(Entry<ConfigureConduitFn>("ConfigureConduit")(nullptr), -1);
}

TEST_F(EntryPointsTest, OpenConduitNeedsACallbackAndReturnsZeroEvenOnFailure) {
    auto open = Entry<OpenConduitFn>("OpenConduit");
    ConduitSyncProperties properties{};
    EXPECT_EQ(open(nullptr, &properties), -1);

    wexal::testing::ConduitTestBed bed;
    bed.WriteConfig({"SelectedInterface=NOSUCHTHING"});
    bed.BeginSession();
    EXPECT_EQ(open(&Progress, &properties), 0);
    bed.EndSession();
    ASSERT_FALSE(bed.Log().empty());
    EXPECT_EQ(bed.Log()[0].text, "Wexal Conduit Started without valid configuration");
}

}  // namespace

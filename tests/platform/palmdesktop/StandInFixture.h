// A scratch registry and desktop folder for the stand-in libraries, and the
// libraries themselves loaded from the program's folder (build/bin).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/palmdesktop/PalmDesktopApi.h"
#include "tests/platform/palmdesktop/StandIns.h"
#include "tests/support/TempDir.h"

namespace wexal::palmdesktop::testing {

class StandInTest : public ::testing::Test {
  protected:
    static std::filesystem::path ProgramFolder() { return STANDIN_FOLDER; }

    std::filesystem::path Desktop() const { return scratch_.path() / "data/wexal/desktop"; }

    wexal::testing::TempDir scratch_;
    wexal::testing::ScopedEnv registry_{"WEXAL_REGISTRY", (scratch_ / "registry.reg").string()};
    wexal::testing::ScopedEnv data_{"XDG_DATA_HOME", (scratch_ / "data").string()};
    Library userData_{ProgramFolder() / "libuserdata.so"};
    UmAddUserFn addUser_ = userData_.Entry<UmAddUserFn>("UmAddUser");
};

}  // namespace wexal::palmdesktop::testing

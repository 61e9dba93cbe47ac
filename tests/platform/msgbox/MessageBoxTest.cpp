#include <gtest/gtest.h>

#include "platform/msgbox/MessageBox.h"
#include "platform/synclog/SyncLog.h"

namespace {

namespace msgbox = wexal::msgbox;
namespace synclog = wexal::synclog;

TEST(MessageBoxTest, BoxIsCapturedLoggedAndReturnsAtOnce) {
    std::vector<std::pair<std::string, std::string>> shown;
    msgbox::SetCapture([&](const std::string& caption, const std::string& text) {
        shown.emplace_back(caption, text);
    });
    synclog::Begin({}, nullptr);
    // Interactive mode only waits at a terminal; the test's input is not one.
    msgbox::SetMode(msgbox::Mode::Interactive);
    EXPECT_EQ(WexalMessageBox("Error", "Error Uploading Route"), kMessageBoxOk);
    msgbox::SetMode(msgbox::Mode::Log);
    EXPECT_EQ(WexalMessageBox(nullptr, nullptr), kMessageBoxOk);
    auto entries = synclog::End();
    msgbox::SetCapture(nullptr);

    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], std::make_pair(std::string("Error"), std::string("Error Uploading Route")));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, "Message box [Error]: Error Uploading Route");
}

}  // namespace

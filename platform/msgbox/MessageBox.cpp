#include "platform/msgbox/MessageBox.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <mutex>
#include <string>

#include "platform/synclog/SyncLog.h"

namespace wexal::msgbox {
namespace {

struct State {
    std::mutex mutex;
    Mode mode = Mode::Log;
    Capture capture;
};

State& TheState() {
    static State state;
    return state;
}

}  // namespace

void SetMode(Mode mode) {
    std::lock_guard lock(TheState().mutex);
    TheState().mode = mode;
}

Mode CurrentMode() {
    std::lock_guard lock(TheState().mutex);
    return TheState().mode;
}

void SetCapture(Capture capture) {
    std::lock_guard lock(TheState().mutex);
    TheState().capture = std::move(capture);
}

}  // namespace wexal::msgbox

// Message boxes have no activity number of their own; 0 keeps them apart
// from the conduit's numbered lines.
static constexpr int32_t kMessageBoxActivity = 0;

extern "C" int32_t WexalMessageBox(const char* caption, const char* text) {
    using namespace wexal::msgbox;
    const std::string captionText = caption != nullptr ? caption : "";
    const std::string bodyText = text != nullptr ? text : "";

    Mode mode;
    Capture capture;
    {
        std::lock_guard lock(TheState().mutex);
        mode = TheState().mode;
        capture = TheState().capture;
    }
    if (capture) {
        capture(captionText, bodyText);
    }

    const std::string shown = "Message box [" + captionText + "]: " + bodyText;
    LogAddEntry(shown.c_str(), kMessageBoxActivity, 0);
    std::fprintf(stderr, "%s\n", shown.c_str());

    if (mode == Mode::Interactive && isatty(STDIN_FILENO)) {
        std::fprintf(stderr, "Press Enter to continue...");
        std::fflush(stderr);
        std::string ignored;
        std::getline(std::cin, ignored);
    }
    return kMessageBoxOk;
}

// Message boxes of the conduit. During a sync nobody may be at the screen,
// so by default a box is written to the sync log and to standard error and
// returns at once; the sync manager stand-in can make boxes wait for the
// user at the terminal, and tests can capture every box shown.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
#include <functional>
#include <string>

extern "C" {
#endif

enum { kMessageBoxOk = 1 };

// Shows a box with one OK button; returns kMessageBoxOk once it is dismissed.
int32_t WexalMessageBox(const char* caption, const char* text);

#ifdef __cplusplus
}

namespace wexal::msgbox {

enum class Mode {
    Log,          // to the sync log and standard error, returns at once
    Interactive,  // also waits for Enter when standard input is a terminal
};

void SetMode(Mode mode);
Mode CurrentMode();

// Called with every box shown (in addition to the mode's own output);
// an empty function removes the hook.
using Capture = std::function<void(const std::string& caption, const std::string& text)>;
void SetCapture(Capture capture);

}  // namespace wexal::msgbox
#endif

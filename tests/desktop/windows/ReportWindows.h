// The exceptions report's windows as a test finds and works them.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include "desktop/windows/frmReport.h"

namespace wexal::testing {

// The preview that waits for the user's next key, if one does.
inline desktop::frmReport* WaitingPreview() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<desktop::frmReport*>(window);
            preview && preview->Waiting()) {
            return preview;
        }
    }
    return nullptr;
}

// Presses the preview's toolbar key of that name ("PRINT", "NEXT"...).
inline void Click(desktop::frmReport& preview, const char* key) {
    QAction* action = preview.findChild<QAction*>(QString::fromLatin1(key));
    ASSERT_NE(action, nullptr) << key;
    action->trigger();
}

}  // namespace wexal::testing

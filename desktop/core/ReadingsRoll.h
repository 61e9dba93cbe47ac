// The readings roll: the accumulated readings file of the selected interface
// is moved into the roll folder under a name stamped with the date and time,
// so that the billing system takes it whole and the next HotSync starts a new
// file at the same path.
#pragma once

#include <string>
#include <string_view>

#include "desktop/core/Clock.h"
#include "desktop/core/Messages.h"

namespace wexal::desktop {

inline constexpr std::string_view kReadingsMovedTo = "Readings file moved to ";
inline constexpr std::string_view kNoReadingFile = "No reading file to roll";
inline constexpr std::string_view kUnfinishedUpload =
    "The readings file holds an upload that has not finished. Run a HotSync, then roll again.";

// `rollFolder` as given, then "/Readings- yyyy-mm-dd HHmmss" (a blank after
// the dash, no extension).
std::string RolledFileName(std::string_view rollFolder, const LocalDateTime& when);

// What the "Roll ..." button runs, with the texts of the readings-file box
// and the roll-folder box. Moves a non-empty regular readings file to
// RolledFileName(rollFolder, clock.Now()) by a rename that never replaces a
// file and never copies; holds the readings file's billing-file lock while it
// looks at the file and moves it (waiting while a HotSync writes it), and
// leaves a file alone whose upload journal says that a HotSync stopped half
// way. Answers with exactly one message box (OK, the program's title): the
// rolled name, "No reading file to roll" for a missing, empty or non-regular
// file, the journal refusal, or the system's description of any other
// failure, after which the readings file is where it was. True when moved.
bool RollReadings(const std::string& readingsFile, const std::string& rollFolder,
                  const Clock& clock, Messages& messages);

}  // namespace wexal::desktop

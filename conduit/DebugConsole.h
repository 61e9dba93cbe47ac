// Timestamped trace lines for a person watching a sync, switched on by the
// configuration's Debug value. They go to standard error.
#pragma once

#include <ctime>
#include <string>

namespace DebugConsole {

void Open();
// Writes "M/DD HH:MM:SS " and the text; the text carries its own line end.
void Write(const std::string& text);
// Waits for the user to press Enter, when standard input is a terminal.
void WaitForEnter(const std::string& text);
void Close();

// The prefix of a line written at `when` (local time).
std::string Prefix(std::time_t when);

}  // namespace DebugConsole

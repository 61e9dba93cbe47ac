// The conduit's 8-bit texts (handheld records, configuration) and the wide
// texts of the database objects. The 8-bit texts are in the ANSI code page of
// the office PCs, Windows-1252; its five unassigned bytes map to the control
// characters of the same number, so that every byte survives the way there
// and back.
#pragma once

#include <string>
#include <string_view>

std::u16string AnsiToWide(std::string_view text);
// Characters that the code page lacks become '?'.
std::string WideToAnsi(std::u16string_view text);

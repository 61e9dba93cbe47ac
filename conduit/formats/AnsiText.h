// The conduit's 8-bit texts (handheld records, billing files) and the wide
// texts of the database objects. The 8-bit texts are in the ANSI code page of
// the office PCs, Windows-1252; its five unassigned bytes map to the control
// characters of the same number, so that every byte survives the way there
// and back.
//
// The configuration file is UTF-8, as the desktop writes it. A text of it
// that is not valid UTF-8 comes from an older file, written in Windows-1252,
// and is taken as such.
#pragma once

#include <string>
#include <string_view>

std::u16string AnsiToWide(std::string_view text);
// Characters that the code page lacks become '?'.
std::string WideToAnsi(std::u16string_view text);

// An 8-bit text of the handheld or of a billing file, in UTF-8 for a log
// line or a message box.
std::string AnsiToUtf8(std::string_view text);
// A file path in UTF-8 for a log line or a box. The billing system names its
// files in either character set: each name of the path that is valid UTF-8
// stays as it is, any other is taken as Windows-1252.
std::string PathToUtf8(std::string_view path);

// A configuration text as a wide text.
std::u16string ConfigTextToWide(std::string_view text);
// A configuration text for the handheld; characters that the code page lacks
// become '?'.
std::string ConfigTextToAnsi(std::string_view text);

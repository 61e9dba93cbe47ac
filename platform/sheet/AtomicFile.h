// Replacing a user's file so that it is either wholly old or wholly new, even
// when the machine stops half way.
#pragma once

#include <filesystem>
#include <string_view>

namespace wexal::sheet {

// Writes the bytes to a new file in the target's folder, flushes it to disk
// and renames it over the target (which keeps its permissions). Throws
// SheetError (kErrorCannotSave) and leaves the target untouched on failure.
void ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace wexal::sheet

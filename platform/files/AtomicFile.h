// Replacing a user's file so that it is either wholly old or wholly new, even
// when the machine stops half way.
#pragma once

#include <filesystem>
#include <string_view>

namespace wexal::files {

// Writes the bytes to a new file in the target's folder, flushes it to disk
// and renames it over the target. A target reached through symbolic links is
// followed, so the link stays and the file it names is replaced. An existing
// target keeps its permissions; a new one gets 0600 (owner only). Throws
// std::system_error, whose text names the file and the failed step, and leaves
// the target untouched on failure.
void ReplaceFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace wexal::files

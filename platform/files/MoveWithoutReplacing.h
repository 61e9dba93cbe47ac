// Moving a user's file to another name as one step: never over a file that
// already has that name, and never by copying, so that a failure leaves the
// file where it was and no half-copied file anywhere.
#pragma once

#include <string>

namespace wexal::files {

// Renames `from` to `to` (same file system only). 0 on success, else the
// errno of the failure with `from` left in place: EEXIST when `to` exists
// already, EXDEV when the names lie on different file systems.
int MoveWithoutReplacing(const std::string& from, const std::string& to);

// The same move for file systems without a rename that refuses to replace:
// a second link under the new name, then the old name removed (undone when
// the removal fails). Only for regular files.
int MoveByLinking(const std::string& from, const std::string& to);

}  // namespace wexal::files

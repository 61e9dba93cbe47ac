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

// MoveWithoutReplacing, and on a file system without hard links either, a
// plain rename once `to` is seen free. Only between names that no one but
// the caller's own program gives, whose movers take turns at them.
int MoveBetweenOwnNames(const std::string& from, const std::string& to);

// A move by linking that stopped between its link and its unlink leaves
// `from` and `to` on one file: then removes the name `from` (never the
// file's last name) and says so. Only for a caller that takes turns with
// every mover of the file, or it would undo a move under way.
bool DropNameOfStoppedMove(const std::string& from, const std::string& to);

// Takes the file off `from`, a name that another program writes (it may
// rename its next file onto it at any moment), to `to`, a name of the
// caller's own. Where the file system has no rename that refuses to
// replace, a plain rename once `to` is seen free, never a link and an
// unlink: the unlink would remove a file renamed onto `from` in between.
// Whatever file has `from` at the rename is the one taken. Every mover to
// `to` holds one lock around the call, so that `to` stays free from the
// check to the rename.
int TakeOffSharedName(const std::string& from, const std::string& to);

}  // namespace wexal::files

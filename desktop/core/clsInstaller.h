// The desktop's link to the sync manager's installation libraries: it lists
// the HotSync users (one per handheld unit), registers the conduit and queues
// the handheld application for a unit's next HotSync. It keeps nothing
// between calls.
//
// Every operation may throw PalmLibraryError when a library or entry cannot
// be loaded (the caller shows it through the program's message window), and
// Conduit, PRC and RemovePRC std::filesystem::filesystem_error when the
// program's folder cannot be made the current folder.
#pragma once

#include <string>

#include "desktop/core/Installer.h"
#include "desktop/core/Messages.h"
#include "desktop/core/PalmLibraries.h"
#include "desktop/core/ProgramFolder.h"

namespace wexal::desktop {

class clsInstaller final : public Installer {
  public:
    // `programTitle` captions the plain message boxes.
    clsInstaller(PalmLibraries& libraries, Messages& messages, const ProgramFolder& folder,
                 std::string programTitle);

    // UmGetUserCount's answer. Leaves the current folder alone.
    std::int16_t UserCount() override;
    // The users' names in index order: each read into 50 blanks and cut at its
    // first NUL, or all 50 bytes when there is none. A failed UmGetUserID
    // leaves the id of the pass before (0 in the first). Leaves the current
    // folder alone.
    std::vector<std::string> UserNames() override;

    // Makes the program's folder the current folder and registers the conduit
    // file `conduitFile` of that folder for `creatorId`; shows one message
    // through the program's message window, also on success, and gives the
    // library's code narrowed to 16 bits.
    std::int16_t Conduit(const std::string& creatorId, const std::string& conduitFile,
                         const std::string& conduitName, const std::string& information) override;
    // Makes the program's folder the current folder, adds the user, and queues
    // `prcFile` ("./" put before a name without a folder) for the user's next
    // HotSync. A file already queued gives its message box and 0; a missing
    // file or another failure gives its message box and its code.
    std::int16_t PRC(const std::string& user, const std::string& prcFile) override;
    // Makes the program's folder the current folder, adds the user and takes
    // `prcFile` off the user's queue. Only an unexpected code is shown.
    std::int16_t RemovePRC(const std::string& user, const std::string& prcFile) override;

  private:
    // Steps shared by PRC and RemovePRC.
    void EnterProgramFolderAndAddUser(const std::string& user);
    void ShowBox(const std::string& text);

    PalmLibraries& libraries_;
    Messages& messages_;
    const ProgramFolder& folder_;
    std::string programTitle_;
};

}  // namespace wexal::desktop

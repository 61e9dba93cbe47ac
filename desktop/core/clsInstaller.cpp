#include "desktop/core/clsInstaller.h"

#include <filesystem>
#include <utility>

#include "platform/palmdesktop/PalmDesktopApi.h"

namespace wexal::desktop {
namespace {

// The user name buffer is this long and filled with blanks before each call.
constexpr std::uint32_t kNameBufferSize = 50;

// What InstallConduit's codes tell the user.
struct ConduitOutcome {
    std::int32_t code;
    const char* text;
};
constexpr ConduitOutcome kConduitOutcomes[] = {
    {0, "Conduit Installed"},     {-1005, "Conduit is already installed"},
    {-1200, "PCI Base Error"},    {-1201, "Error loading temp condmgr"},
    {-1202, "Invalid CondMgr"},   {-1203, "HSAPI not found"},
    {-1204, "Conduit not found"}, {-1205, "HotSync in progress"},
};

std::string ConduitMessage(std::int32_t code) {
    for (const ConduitOutcome& outcome : kConduitOutcomes) {
        if (outcome.code == code) {
            return outcome.text;
        }
    }
    return "Undefined error: " + std::to_string(code);
}

std::string UndefinedError(std::int16_t code) {
    return "Undefined error: " + std::to_string(code) + " occurred.";
}

}  // namespace

clsInstaller::clsInstaller(PalmLibraries& libraries, Messages& messages,
                           const ProgramFolder& folder, std::string programTitle)
    : libraries_(libraries),
      messages_(messages),
      folder_(folder),
      programTitle_(std::move(programTitle)) {}

std::int16_t clsInstaller::UserCount() {
    return libraries_.Bind<UmGetUserCountFn>(kUserDataLibrary, "UmGetUserCount")();
}

std::vector<std::string> clsInstaller::UserNames() {
    std::vector<std::string> names;
    const std::int16_t count = UserCount();
    std::uint32_t id = 0;
    for (std::int16_t index = 0; index < count; ++index) {
        libraries_.Bind<UmGetUserIDFn>(kUserDataLibrary, "UmGetUserID")(
            static_cast<std::uint32_t>(index), &id);
        std::string name(kNameBufferSize, ' ');
        std::uint32_t size = kNameBufferSize;
        libraries_.Bind<UmGetUserNameFn>(kUserDataLibrary, "UmGetUserName")(id, name.data(), &size);
        if (const auto end = name.find('\0'); end != std::string::npos) {
            name.resize(end);
        }
        names.push_back(std::move(name));
    }
    return names;
}

std::int16_t clsInstaller::Conduit(const std::string& creatorId, const std::string& conduitFile,
                                   const std::string& conduitName, const std::string& information) {
    std::filesystem::current_path(folder_.Path());
    const std::string folder = folder_.Path().string();
    const std::int32_t result =
        libraries_.Bind<InstallConduitFn>(kConduitInstallLibrary, "InstallConduit")(
            folder.c_str(), creatorId.c_str(), folder.c_str(), conduitFile.c_str(), "", "", "",
            conduitName.c_str(), 2, information.c_str());
    messages_.ShowMessage(ConduitMessage(result));
    return static_cast<std::int16_t>(result);
}

std::int16_t clsInstaller::PRC(const std::string& user, const std::string& prcFile) {
    EnterProgramFolderAndAddUser(user);
    // A bare name names a file of the program's folder.
    const std::string path = prcFile.find('/') != std::string::npos ? prcFile : "./" + prcFile;
    const std::int16_t result = libraries_.Bind<PltInstallFileFn>(
        kInstallAideLibrary, "PltInstallFile")(user.c_str(), path.c_str());
    switch (result) {
        case kPltErrNone:
            return 0;
        case kPltErrAlreadyScheduled:
            ShowBox("Application (" + prcFile +
                    ") is already scheduled to be installed during next HotSync operation.");
            return 0;
        case kPltErrNotFound:
            ShowBox("Application not found in " + folder_.Path().string() + ": " + prcFile);
            return result;
        default:
            ShowBox(UndefinedError(result));
            return result;
    }
}

std::int16_t clsInstaller::RemovePRC(const std::string& user, const std::string& prcFile) {
    EnterProgramFolderAndAddUser(user);
    const std::int16_t result = libraries_.Bind<PltRemoveInstallFileFn>(
        kInstallAideLibrary, "PltRemoveInstallFile")(user.c_str(), prcFile.c_str());
    switch (result) {
        case kPltErrNone:
        case kPltErrAlreadyScheduled:
            return 0;
        case kPltErrNotFound:
        case kPltErrUnknownUser:
            return result;
        default:
            ShowBox(UndefinedError(result));
            return result;
    }
}

void clsInstaller::EnterProgramFolderAndAddUser(const std::string& user) {
    std::filesystem::current_path(folder_.Path());
    libraries_.Bind<UmAddUserFn>(kUserDataLibrary, "UmAddUser")(user.c_str(), 0);
}

void clsInstaller::ShowBox(const std::string& text) {
    messages_.MessageBox(text, programTitle_, Messages::Buttons::kOk);
}

}  // namespace wexal::desktop

// libcondinst.so: the entry through which a program registers a conduit. The
// registration itself is done by libcondmgr.so, which lies beside this library
// and is loaded for each call, so that the program needs to know neither.
#include <dlfcn.h>

#include <filesystem>
#include <type_traits>

#include "platform/palmdesktop/EntryGuard.h"
#include "platform/palmdesktop/PalmDesktopApi.h"

namespace {

static_assert(std::is_same_v<decltype(&InstallConduit), InstallConduitFn>);

// An object of this library, whose address tells where the library was loaded
// from (the address of an exported function could be another copy's).
const char kWhereAmI = 0;

std::filesystem::path OwnFolder() {
    Dl_info info{};
    if (::dladdr(&kWhereAmI, &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    return std::filesystem::path(info.dli_fname).parent_path();
}

}  // namespace

extern "C" {

int32_t InstallConduit(const char* callerFolder, const char* creator, const char* conduitFolder,
                       const char* conduitFile, const char* unused5, const char* unused6,
                       const char* unused7, const char* conduitName, int32_t priority,
                       const char* information) {
    return wexal::palmdesktop::Guarded<int32_t>(kCondErrBase, [&]() -> int32_t {
        const std::filesystem::path manager = OwnFolder() / "libcondmgr.so";
        void* library = ::dlopen(manager.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return kCondErrLoadCondMgr;
        }
        const auto entry = reinterpret_cast<InstallConduitFn>(::dlsym(library, "CmInstallConduit"));
        const int32_t result =
            entry == nullptr ? kCondErrInvalidCondMgr
                             : entry(callerFolder, creator, conduitFolder, conduitFile, unused5,
                                     unused6, unused7, conduitName, priority, information);
        ::dlclose(library);
        return result;
    });
}

}  // extern "C"

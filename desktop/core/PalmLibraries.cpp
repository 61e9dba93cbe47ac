#include "desktop/core/PalmLibraries.h"

#include <dlfcn.h>

namespace wexal::desktop {
namespace {

std::string LoaderReason() {
    const char* reason = ::dlerror();
    return reason != nullptr ? reason : "unknown reason";
}

}  // namespace

PalmLibraryError::PalmLibraryError(const std::string& library, const std::string& entry,
                                   const std::string& reason)
    : std::runtime_error("Cannot load " + entry + " from " + library + ": " + reason) {}

ProgramFolderLibraries::~ProgramFolderLibraries() {
    for (const auto& [name, handle] : libraries_) {
        ::dlclose(handle);
    }
}

void* ProgramFolderLibraries::Entry(const std::string& library, const std::string& entry) {
    const auto key = std::make_pair(library, entry);
    if (const auto bound = entries_.find(key); bound != entries_.end()) {
        return bound->second;
    }
    const std::string path = (folder_.Path() / library).string();
    auto loaded = libraries_.find(library);
    if (loaded == libraries_.end()) {
        void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            throw PalmLibraryError(path, entry, LoaderReason());
        }
        loaded = libraries_.emplace(library, handle).first;
    }
    ::dlerror();
    void* address = ::dlsym(loaded->second, entry.c_str());
    if (address == nullptr) {
        throw PalmLibraryError(path, entry, LoaderReason());
    }
    entries_.emplace(key, address);
    return address;
}

}  // namespace wexal::desktop

#include "tools/hotsync/ConduitLibrary.h"

#include <dlfcn.h>

namespace wexal::hotsync {
namespace {

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& out, std::string& missing) {
    out = reinterpret_cast<Fn>(dlsym(handle, name));
    if (out == nullptr) {
        missing += missing.empty() ? name : std::string(", ") + name;
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<ConduitLibrary> ConduitLibrary::Load(const std::filesystem::path& file,
                                                     std::string& error) {
    dlerror();
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = "cannot load conduit " + file.string() + ": " + (why != nullptr ? why : "unknown");
        return nullptr;
    }
    std::unique_ptr<ConduitLibrary> library(new ConduitLibrary(file, handle));
    std::string missing;
    Resolve(handle, "OpenConduit", library->openConduit, missing);
    Resolve(handle, "GetConduitName", library->getConduitName, missing);
    Resolve(handle, "GetConduitVersion", library->getConduitVersion, missing);
    Resolve(handle, "GetConduitInfo", library->getConduitInfo, missing);
    Resolve(handle, "ConfigureConduit", library->configureConduit, missing);
    Resolve(handle, "CfgConduit", library->cfgConduit, missing);
    if (!missing.empty()) {
        error = "conduit " + file.string() + " does not export " + missing;
        return nullptr;
    }
    return library;
}

ConduitLibrary::ConduitLibrary(std::filesystem::path file, void* handle)
    : file_(std::move(file)), handle_(handle) {}

ConduitLibrary::~ConduitLibrary() {
    dlclose(handle_);
}

std::string ConduitLibrary::Name() const {
    char name[256] = {};
    if (getConduitName(name, sizeof name - 1) == 0 && name[0] != '\0') {
        return name;
    }
    return file_.filename().string();
}

}  // namespace wexal::hotsync

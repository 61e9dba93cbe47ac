// The stand-in libraries as a program loads them: by path, entries by name.
#pragma once

#include <dlfcn.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace wexal::palmdesktop::testing {

class Library {
  public:
    explicit Library(const std::filesystem::path& file)
        : handle_(::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        if (handle_ == nullptr) {
            throw std::runtime_error(::dlerror());
        }
    }
    ~Library() { ::dlclose(handle_); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    template <typename Fn>
    Fn Entry(const char* name) const {
        void* entry = ::dlsym(handle_, name);
        if (entry == nullptr) {
            throw std::runtime_error(std::string("no entry ") + name);
        }
        return reinterpret_cast<Fn>(entry);
    }

  private:
    void* handle_;
};

}  // namespace wexal::palmdesktop::testing

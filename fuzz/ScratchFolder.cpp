#include "fuzz/ScratchFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace wexal::fuzz {

namespace {

[[noreturn]] void Abandon(const std::string& what) {
    std::fprintf(stderr, "fuzz scratch folder: %s\n", what.c_str());
    std::abort();
}

class Folder {
  public:
    Folder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = (tmp != nullptr && *tmp == '/') ? tmp : "/tmp";
        pattern += "/wexal-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            Abandon("cannot create " + pattern);
        }
        path_ = pattern;
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace

const std::filesystem::path& ScratchFolder() {
    static const Folder folder;
    return folder.Path();
}

std::filesystem::path WriteScratchFile(std::string_view name, const std::uint8_t* data,
                                       std::size_t size) {
    std::filesystem::path path = ScratchFolder() / name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        Abandon("cannot write " + path.string());
    }
    return path;
}

}  // namespace wexal::fuzz

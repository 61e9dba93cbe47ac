// The version-note reader on any file: it may ask only for bytes that lie
// within the file, and the lookup by path must agree with it.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "desktop/core/ElfVersionNote.h"
#include "desktop/core/clsFileVersion.h"
#include "fuzz/ScratchFolder.h"

namespace {

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ReadAt readAt = [&](std::uint64_t offset, std::size_t count, void* out) {
        Check(offset <= size && count <= size - offset);
        if (count > 0) {
            std::memcpy(out, data + offset, count);
        }
        return true;
    };
    const std::optional<VersionWords> words = ReadVersionNote(size, readAt);

    const auto path = wexal::fuzz::WriteScratchFile("version.bin", data, size);
    const std::string text = clsFileVersion().GetVersion(path.string());
    Check((text == "Not Found") == !words.has_value());
    return 0;
}

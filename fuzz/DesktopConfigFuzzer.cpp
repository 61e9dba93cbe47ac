// The desktop's configuration loader on any WexalDT.cfg, then its writer on
// whatever the loader made of it: a file that loads must save, and what is
// saved must load again; a file that does not load, or holds no line of its
// own, must never be replaced.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "desktop/core/DesktopError.h"
#include "desktop/core/clsConfig.h"
#include "fuzz/ScratchFolder.h"
#include "platform/registry/Registry.h"

namespace {

using wexal::desktop::clsConfig;
using wexal::desktop::DesktopError;

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

std::string ReadConfigFile() {
    std::string text;
    if (std::FILE* file =
            std::fopen((wexal::fuzz::ScratchFolder() / "WexalDT.cfg").c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
            text.append(buffer, n);
        }
        std::fclose(file);
    }
    return text;
}

// What a load leaves in the tables: named records, and map slot 0 unused.
void CheckTables(const clsConfig& config) {
    wexal::desktop::InterfaceRec record;
    for (std::int32_t i = 1; config.GetInterface(i, record); ++i) {
        Check(!record.Name.empty());
        Check(record.RouteMap[0].empty() && record.ReadingMap[0].empty());
    }
    wexal::desktop::ResponseCodeRec code;
    for (std::int32_t i = 1; config.GetResponseCode(i, code); ++i) {
        Check(!code.Code.empty());
    }
}

// Every line "key=value" ended by CR LF, with no other CR or LF.
void CheckWritten(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find("\r\n");
        Check(end != std::string_view::npos);
        const std::string_view line = text.substr(0, end);
        Check(line.find_first_of("\r\n") == std::string_view::npos);
        const std::size_t equals = line.find('=');
        Check(equals != std::string_view::npos && equals > 0 && equals + 1 < line.size());
        text.remove_prefix(end + 2);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Every save flushes the file to disk; on a memory file system that costs
    // nothing, elsewhere it limits the fuzzer to a few dozen inputs a second.
    if (::access("/dev/shm", W_OK) == 0) {
        ::setenv("TMPDIR", "/dev/shm", 1);
    }
    const auto registryFile = wexal::fuzz::ScratchFolder() / "registry.reg";
    ::setenv(wexal::registry::Registry::kFileVariable, registryFile.c_str(), 1);
    wexal::registry::Registry(registryFile)
        .WriteString(std::string(clsConfig::kRegistryKeyPrefix) + std::string(clsConfig::kVersion),
                     clsConfig::kPathValue, wexal::fuzz::ScratchFolder().string());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wexal::fuzz::WriteScratchFile(clsConfig::kFileName, data, size);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    clsConfig config;
    try {
        config.LoadConfig();
    } catch (const DesktopError& error) {
        Check(error.Number() == 6 || error.Number() == 13);
        Check(!config.SaveConfig());
        Check(ReadConfigFile() == input);
        return 0;
    }
    CheckTables(config);
    if (!config.LoadFailure().empty()) {
        // Text without one line of the file's own is not replaced either.
        Check(!config.SaveConfig());
        Check(ReadConfigFile() == input);
        return 0;
    }
    Check(config.SaveConfig());
    const std::string saved = ReadConfigFile();
    CheckWritten(saved);

    // The text it wrote must load again (a DesktopError here escapes: the
    // writer wrote a bad number).
    clsConfig again;
    again.LoadConfig();
    Check(again.LoadFailure().empty());
    CheckTables(again);
    return 0;
}

// The configuration reader on any WexalDT.cfg: the input becomes the file in
// the folder that the registry names, then the column mappings it made are
// looked up.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "conduit/WexalConfig.h"
#include "fuzz/ScratchFolder.h"
#include "platform/registry/Registry.h"

namespace {

// The reader holds to these whatever the file says; a breach is a fault.
void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

void LookUpEveryMapping(const WexalConfig& config) {
    for (const ColumnMapEntry& entry : config.Columns().Entries()) {
        // An entry without a column maps nothing, and so does a field whose
        // first entry has none; both lookups agree.
        std::int32_t number = 0;
        const auto numbered = config.GetColumnNumber(entry.kind, entry.name, number);
        Check(numbered == kColumnMapOk || numbered == kColumnNotMapped);
        double value = 0;
        const auto valued = config.GetColumnValue(entry.kind, entry.name, value);
        Check(valued == numbered);
        Check(numbered == kColumnMapOk || number == -1);
        Check(entry.column.size() <= ColumnMap::kColumnChars);
    }
    // A name that no line can map: lines are taken in shorter pieces.
    const std::string unmapped(WexalConfig::kMaxLineChars + 1, 'x');
    std::int32_t number = 0;
    Check(config.GetColumnNumber(kRouteMapKind, unmapped, number) == kColumnNotMapped);
    Check(number == -1);
    double value = 0.5;
    Check(config.GetColumnValue(kReadingMapKind, unmapped, value) == kColumnNotMapped);
    Check(value == 0.5);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The registry lives in the scratch folder too and names that folder.
    const std::string folder = wexal::fuzz::ScratchFolder().string();
    if (folder.size() > WexalConfig::kMaxPathChars) {
        std::fprintf(stderr, "config_fuzzer: %s is too long a path; set a shorter TMPDIR\n",
                     folder.c_str());
        std::abort();
    }
    const auto registryFile = wexal::fuzz::ScratchFolder() / "registry.reg";
    ::setenv(wexal::registry::Registry::kFileVariable, registryFile.c_str(), 1);
    wexal::registry::Registry(registryFile)
        .WriteString(WexalConfig::kRegistryKey, WexalConfig::kPathValue, folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    wexal::fuzz::WriteScratchFile(WexalConfig::kFileName, data, size);
    const WexalConfig config;
    // The registry and the file are in place: only the file's text decides.
    Check(config.ErrorText.empty());
    Check(config.ResponseCount <= WexalConfig::kMaxResponseCodes);
    Check(config.InterfaceCode <= 37);
    Check(config.Valid <= 1);
    LookUpEveryMapping(config);
    return 0;
}

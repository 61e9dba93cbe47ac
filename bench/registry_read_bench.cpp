// Reading a registry file of N values, as every sync does: the file is read
// and parsed once, linear in N (the figures give the fitted complexity).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/registry/Registry.h"
#include "tests/support/TempDir.h"

namespace {

// N values in keys of 1,000 values each, beside the conduit's own key.
void WriteRegistry(const std::filesystem::path& file, std::int64_t values) {
    std::string text =
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Tolvane\\Wexal Conduit\\2.0]\n"
        "\"Path\"=\"/srv/wexal\"\n";
    for (std::int64_t i = 0; i < values; ++i) {
        if (i % 1000 == 0) {
            text +=
                "\n[HKEY_CURRENT_USER\\Software\\Desktop\\Key" + std::to_string(i / 1000) + "]\n";
        }
        text += "\"Value" + std::to_string(i) + "\"=\"text " + std::to_string(i) + "\"\n";
    }
    wexal::testing::WriteFile(file, text);
}

void BM_ReadRegistry(benchmark::State& state) {
    wexal::testing::TempDir dir;
    const std::filesystem::path file = dir / "registry.reg";
    WriteRegistry(file, state.range(0));
    const wexal::registry::Registry registry(file);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            registry.ReadString("Software\\Tolvane\\Wexal Conduit\\2.0", "Path"));
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadRegistry)
    ->RangeMultiplier(2)
    ->Range(25000, 200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

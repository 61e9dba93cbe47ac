// The workbook reader on any .xlsx: every worksheet's used range read as the
// workbook link reads it. An input beginning "PK" is the file itself; any
// other is a list of parts (see PartsPackage.h) zipped into one.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz/PartsPackage.h"
#include "fuzz/ScratchFolder.h"
#include "platform/sheet/Application.h"
#include "platform/sheet/SheetError.h"

namespace {

namespace sheet = wexal::sheet;

// The link reads the rows of a route; a corner of the range covers what
// matters without walking a million empty rows.
constexpr std::int32_t kCornerCells = 64;

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

std::string Container(std::string_view input) {
    if (input.starts_with("PK")) {
        return std::string(input);
    }
    return wexal::fuzz::ZipParts(wexal::fuzz::SplitParts(input));
}

void ReadSheet(sheet::Worksheet& worksheet) {
    const sheet::CellRange used = worksheet.UsedRange();
    Check(used.Rows() >= 1 && used.Columns() >= 1);
    const sheet::CellArray values = used.Value();
    Check(values.Rows() == used.Rows() && values.Columns() == used.Columns());
    for (std::int32_t row = 1; row <= std::min(values.Rows(), kCornerCells); ++row) {
        for (std::int32_t column = 1; column <= std::min(values.Columns(), kCornerCells);
             ++column) {
            const sheet::CellValue& cell = values.At(row, column);
            Check(cell.kind != sheet::CellKind::Empty || cell.text.empty());
        }
    }
    const sheet::CellArray first = worksheet.Range("A1").Value();
    Check(first.At(1, 1) == values.At(1, 1));
    used.Address();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string container = Container({reinterpret_cast<const char*>(data), size});
    const auto path = wexal::fuzz::WriteScratchFile(
        "route.xlsx", reinterpret_cast<const std::uint8_t*>(container.data()), container.size());
    sheet::Application application;
    try {
        sheet::Workbook& workbook = application.Workbooks().Open(path);
        for (const auto& worksheet : workbook.Worksheets().All()) {
            // By name, as the link finds its sheet: some sheet of that name.
            Check(workbook.Worksheets().Item(worksheet->Name()).Name().size() ==
                  worksheet->Name().size());
            try {
                ReadSheet(*worksheet);
            } catch (const sheet::SheetError&) {
                // A damaged sheet does not keep the others from being read.
            }
        }
    } catch (const sheet::SheetError&) {
    }
    return 0;
}

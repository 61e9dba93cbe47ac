// Whole syncs of the workbook road at scale. For each size a worksheet of N
// meter rows is made with openpyxl; the download sync takes its meters to a
// simulated handheld, every meter is read, and the upload sync writes the
// readings into their cells and saves the workbook. Beside them, openpyxl
// loads and saves the same workbook (as the workbook is before the upload):
// the anchor of the same run. Each step runs in a process of its own and
// its peak memory is taken from its exit.
//
//   workbook_sync_bench [--rows N[,N...]]      default 1000,10000,65000
//                       [--shared-strings-mb M]
//
// With --shared-strings-mb the workbook gets a shared-string table of about
// M MB of one-letter texts that no cell uses (the most items per byte, so the
// most held per byte), deflated to a small file: the peaks are then also
// given as multiples of the workbook's inflated parts, beside the peak of
// the desktop's worksheet list of the same workbook; openpyxl is not run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <zip.h>

#include "bench/BenchChild.h"
#include "bench/BenchHandheld.h"
#include "conduit/WexalConduit.h"
#include "platform/registry/Registry.h"
#include "platform/sheet/SheetError.h"
#include "platform/sheet/Workbook.h"

namespace {

namespace fs = std::filesystem;
using wexal::bench::ChildRun;
using Clock = std::chrono::steady_clock;

constexpr const char* kPython = "/usr/bin/python3";

// The worksheet "Route": a heading row, then one meter a row with its
// house number, street, name, tag, previous reading and usage; the reading
// columns after USAGE are empty. openpyxl writes its texts inline; with
// `pad` the workbook gets a shared-string table of that many bytes that no
// cell uses.
constexpr const char* kMakeWorkbook = R"(
import sys, zipfile, openpyxl
path, rows, pad = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
wb = openpyxl.Workbook()
ws = wb.active
ws.title = 'Route'
ws.append(['HOUSE', 'STREET', 'NAME', 'TAG', 'PREVIOUS', 'USAGE', 'READING', 'DATE', 'TIME',
           'CODE', 'NOTE'])
for n in range(1, rows + 1):
    ws.append([n % 9000 + 1, 'MAIN STREET', 'CUSTOMER %d' % n, 'T%09d' % n, 5000 + n % 1000,
               120 + n % 50])
wb.save(path)
if pad:
    with zipfile.ZipFile(path) as old:
        parts = {name: old.read(name) for name in old.namelist()}
    item = b'<si><t>X</t></si>'
    parts['xl/sharedStrings.xml'] = (
        b'<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">' +
        item * (pad // len(item)) + b'</sst>')
    rels, types = 'xl/_rels/workbook.xml.rels', '[Content_Types].xml'
    parts[rels] = parts[rels].replace(b'</Relationships>', b'<Relationship Id="rIdPad" '
        b'Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" '
        b'Target="sharedStrings.xml"/></Relationships>')
    parts[types] = parts[types].replace(b'</Types>', b'<Override PartName="/xl/sharedStrings.xml" '
        b'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>'
        b'</Types>')
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as new:
        for name, data in parts.items():
            new.writestr(name, data)
print(0)
)";

// openpyxl's load and save of a workbook, timed by itself.
constexpr const char* kLoadAndSave = R"(
import sys, time, openpyxl
start = time.perf_counter()
wb = openpyxl.load_workbook(sys.argv[1])
wb.save(sys.argv[2])
print(time.perf_counter() - start)
)";

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Configure(const fs::path& dir, const fs::path& workbook) {
    const fs::path config = dir / "config";
    fs::create_directories(config);
    setenv("WEXAL_REGISTRY", (dir / "registry.reg").c_str(), 1);
    wexal::registry::Registry::CurrentUser().WriteString("Software\\Tolvane\\Wexal Conduit\\2.0",
                                                         "Path", config.string());
    std::ofstream(config / "WexalDT.cfg")
        << "SelectedInterface=EXCEL\r\nInterface=EXCEL\r\nSelectedSpreadsheet=0\r\n"
        << "Workbook0=" << workbook.string() << "\r\nWorksheet0=Route\r\n"
        << "WorksheetDataStart=2\r\nWorksheetUsageRow=1\r\n"
        << "RouteMap0=House Number/A\r\nRouteMap1=ServiceAddress/B\r\nRouteMap2=BillingName/C\r\n"
        << "RouteMap3=MeterTagNbr/D\r\nRouteMap4=PrvReading/-1\r\nRouteMap5=MinReading/50\r\n"
        << "RouteMap6=MaxReading/150\r\n"
        << "ReadingMap0=CurReading/+1\r\nReadingMap1=ReadingDate/+2\r\n"
        << "ReadingMap2=ReadingTime/+3\r\nReadingMap3=Response Code/+4\r\n"
        << "ReadingMap4=Response Text/+5\r\n";
}

// One whole sync; true when its log holds `expected` and nothing but the
// workbook road's own lines.
bool Sync(const fs::path& handheld, const std::string& expected, double& seconds) {
    const auto start = Clock::now();
    const std::vector<std::string> log =
        wexal::bench::InSession(handheld, [] { WexalConduit().Synchronize(); });
    seconds = Since(start);
    bool found = false;
    for (const std::string& line : log) {
        found = found || line.find(expected) != std::string::npos;
        if (!line.starts_with("19 ") && !line.starts_with("20 ") &&
            line.find("Excel Interface") == std::string::npos) {
            std::fprintf(stderr, "  log: %s\n", line.c_str());
        }
    }
    if (!found) {
        std::fprintf(stderr, "  no log line \"%s\"\n", expected.c_str());
    }
    return found;
}

struct Row {
    long rows = 0;
    double workbookBytes = 0;
    double inflatedBytes = 0;
    ChildRun download;
    ChildRun upload;
    ChildRun openpyxl;
    ChildRun sheetList;
};

// What the workbook's parts inflate to, all together.
double InflatedBytes(const fs::path& workbook) {
    int error = 0;
    zip_t* archive = zip_open(workbook.c_str(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return 0;
    }
    double total = 0;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) == 0) {
            total += static_cast<double>(stat.size);
        }
    }
    zip_discard(archive);
    return total;
}

// The desktop's list of the workbook's sheets, as its workbook prompt makes it.
bool ListSheets(const fs::path& workbook) {
    try {
        return !wexal::sheet::Workbook::WorksheetNames(workbook).empty();
    } catch (const wexal::sheet::SheetError& error) {
        std::fprintf(stderr, "  %s\n", error.what());
        return false;
    }
}

bool Measure(long rows, long paddingBytes, Row& row) {
    wexal::bench::ScratchFolder scratch;
    const fs::path dir = scratch.Path();
    const fs::path workbook = dir / "routes.xlsx";
    const fs::path handheld = dir / "handheld";
    row.rows = rows;
    if (!wexal::bench::RunProgram({kPython, "-c", kMakeWorkbook, workbook, std::to_string(rows),
                                   std::to_string(paddingBytes)})
             .ok) {
        std::fprintf(stderr, "  openpyxl cannot make the workbook (python3-openpyxl)\n");
        return false;
    }
    row.workbookBytes = static_cast<double>(fs::file_size(workbook));
    row.inflatedBytes = InflatedBytes(workbook);
    row.sheetList = wexal::bench::RunForked([&](double&) { return ListSheets(workbook); });
    Configure(dir, workbook);
    wexal::bench::MakeHandheld(handheld);
    // The reader asks for the workbook's route.
    wexal::bench::InSession(handheld, [] { WexalConduit().UpdateRoute("01", -1, "D"); });

    const std::string count = std::to_string(rows);
    row.download = wexal::bench::RunForked([&](double& seconds) {
        return Sync(handheld, "downloaded " + count + " meters", seconds);
    });
    const auto read = wexal::bench::RunForked(
        [&](double&) { return wexal::bench::ReadEveryMeter(handheld) == rows; });
    // openpyxl takes minutes over a padded table; the anchor of time is the
    // plain workbook.
    if (paddingBytes == 0) {
        row.openpyxl = wexal::bench::RunProgram(
            {kPython, "-c", kLoadAndSave, workbook, dir / "openpyxl.xlsx"});
    } else {
        row.openpyxl.ok = true;
    }
    row.upload = wexal::bench::RunForked([&](double& seconds) {
        return Sync(handheld, "Uploaded Routes:1, Uploaded Meters: " + count, seconds);
    });
    return row.sheetList.ok && row.download.ok && read.ok && row.openpyxl.ok && row.upload.ok;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: workbook_sync_bench [--rows N[,N...]] [--shared-strings-mb M]  (at "
                 "most 65535 rows)\n");
    return 2;
}

// Each peak as a multiple of the inflated parts.
void PrintPeaksAgainstParts(const std::vector<Row>& measured) {
    for (const Row& row : measured) {
        const auto times = [&row](const ChildRun& run) {
            return wexal::bench::KiBToMegabytes(run.peakKiB) * 1e6 / row.inflatedBytes;
        };
        std::printf(
            "%ld rows, parts inflating to %.1f MB: download peak x%.2f, upload peak x%.2f, "
            "worksheet list peak %.1f MB (x%.2f)\n",
            row.rows, row.inflatedBytes / 1e6, times(row.download), times(row.upload),
            wexal::bench::KiBToMegabytes(row.sheetList.peakKiB), times(row.sheetList));
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<long> sizes = {1000, 10000, 65000};
    long paddingBytes = 0;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 == argc) {
            return Usage();
        }
        if (std::strcmp(argv[i], "--rows") == 0) {
            sizes = wexal::bench::SizesFrom(argv[i + 1]);
        } else if (std::strcmp(argv[i], "--shared-strings-mb") == 0) {
            paddingBytes = std::atol(argv[i + 1]) * 1000000L;
            if (paddingBytes <= 0) {
                return Usage();
            }
        } else {
            return Usage();
        }
    }
    for (long size : sizes) {
        if (size > 65535) {
            return Usage();
        }
    }
    if (sizes.empty()) {
        return Usage();
    }

    std::printf(
        "| rows | workbook MB | download s | download peak MB | upload s | upload peak MB | "
        "openpyxl load+save s | openpyxl peak MB | upload / openpyxl |\n"
        "|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    std::fflush(stdout);
    bool ok = true;
    std::vector<Row> measured;
    for (long size : sizes) {
        Row row;
        const bool done = Measure(size, paddingBytes, row);
        ok = ok && done;
        measured.push_back(row);
        std::printf("| %ld%s | %.2f | %.3f | %.1f | %.3f | %.1f | %.3f | %.1f | %.2f |\n", size,
                    done ? "" : " (failed)", row.workbookBytes / 1e6, row.download.seconds,
                    wexal::bench::KiBToMegabytes(row.download.peakKiB), row.upload.seconds,
                    wexal::bench::KiBToMegabytes(row.upload.peakKiB), row.openpyxl.seconds,
                    wexal::bench::KiBToMegabytes(row.openpyxl.peakKiB),
                    row.openpyxl.seconds > 0 ? row.upload.seconds / row.openpyxl.seconds : 0);
        std::fflush(stdout);
    }
    std::printf("\n");
    for (std::size_t i = 1; i < measured.size(); ++i) {
        const Row& a = measured[i - 1];
        const Row& b = measured[i];
        std::printf("%ld to %ld rows (x%.1f): upload time x%.2f, download time x%.2f\n", a.rows,
                    b.rows, static_cast<double>(b.rows) / static_cast<double>(a.rows),
                    b.upload.seconds / a.upload.seconds, b.download.seconds / a.download.seconds);
    }
    if (paddingBytes > 0) {
        PrintPeaksAgainstParts(measured);
    }
    return ok ? 0 : 1;
}

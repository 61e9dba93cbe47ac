#include "conduit/formats/ExcelReading.h"

#include <cstdlib>
#include <optional>
#include <vector>

#include "conduit/BillingFileLocking.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/WexalConfig.h"
#include "conduit/formats/ExcelColumnLetters.h"
#include "conduit/formats/ExcelRouteColumns.h"
#include "platform/sheet/SheetError.h"
#include "platform/synclog/SyncLog.h"

namespace {

// Dates and times shorter than this are not written.
constexpr std::size_t kShortestDateOrTime = 6;

// The leading whole number of a text, as atol reads it (blanks, a sign,
// digits; none gives 0), but kept within range instead of overflowing.
std::int64_t LeadingWholeNumber(const std::string& text) {
    return std::strtoll(text.c_str(), nullptr, 10);
}

// The handheld's YYMMDD as MM/DD/YY.
std::string SheetDate(const std::string& date) {
    return date.substr(2, 2) + "/" + date.substr(date.size() - 2) + "/" + date.substr(0, 2);
}

}  // namespace

ExcelReading::ExcelReading() = default;

ExcelReading::~ExcelReading() {
    file_.Close(true);
}

std::int32_t ExcelReading::Open(std::string workbook, std::string worksheet,
                                const WexalConfig* configuration) {
    configuration_ = configuration;
    // Before the workbook is read: its cells are put back whole at the save.
    if (!LockBillingFile(lock_, workbook)) {
        return wexal::sheet::kErrorCannotOpen;
    }
    const std::int32_t opened = file_.Open(workbook, worksheet);
    if (opened != 0) {
        return opened;
    }
    if (configuration_ == nullptr) {
        return kWorksheetRefused;
    }
    firstRow_ = configuration_->WorksheetDataStart;
    if (firstRow_ == 0) {
        return kWorksheetRefused;
    }
    if (firstRow_ < 0) {
        LogExcelLine("WorksheetDataStart " + std::to_string(firstRow_) + " is no worksheet row.");
        return kWorksheetRefused;
    }
    lastRow_ = file_.LastRow();
    lastColumn_ = file_.LastColumn();
    const std::int32_t found = FindColumns();
    file_.ForgetValues();
    ready_ = found == 0;
    return found;
}

std::int32_t ExcelReading::FindColumns() {
    usageColumn_ = 0;
    curReadingColumn_ = 0;
    usageColumn_ = file_.FindUsageColumn(configuration_->WorksheetUsageRow);
    if (usageColumn_ == 0) {
        return kWorksheetRefused;
    }
    struct ReadingField {
        const char* mapping;
        std::int32_t* column;
        // Written even without a mapping entry, next to the usage column.
        bool always;
    };
    const ReadingField fields[] = {{"CurReading", &curReadingColumn_, true},
                                   {"ReadingDate", &readingDateColumn_, false},
                                   {"ReadingTime", &readingTimeColumn_, false},
                                   {"Response Code", &responseCodeColumn_, false},
                                   {"Response Text", &responseTextColumn_, false}};
    for (const ReadingField& field : fields) {
        std::int32_t offset = 0;
        std::optional<std::int64_t> column;
        if (configuration_->GetColumnNumber(kReadingMapKind, field.mapping, offset) ==
            kColumnMapOk) {
            // Offsets as large as the usage column itself fall back to the
            // column next to it.
            column = offset < usageColumn_ ? std::int64_t{usageColumn_} + offset : usageColumn_ + 1;
        } else if (field.always) {
            column = usageColumn_ + 1;
        }
        if (column && !file_.HoldsColumn(field.mapping, *column)) {
            return kWorksheetRefused;
        }
        *field.column = column ? static_cast<std::int32_t>(*column) : 0;
    }
    // Two fields in one column would overwrite each other in every row, and a
    // reading in a column that the download reads would overwrite the billing
    // system's own data: then no reading is written at all.
    struct TakenColumn {
        std::string field;
        std::int64_t column;
    };
    std::vector<TakenColumn> taken;
    for (const RouteMapColumn& mapped : RouteMapColumns(*configuration_, usageColumn_)) {
        taken.push_back({std::string("route field ") + mapped.mapping, mapped.column});
    }
    for (const ReadingField& field : fields) {
        if (*field.column == 0) {
            continue;
        }
        const std::string name = std::string("reading field ") + field.mapping;
        for (const TakenColumn& other : taken) {
            if (other.column == *field.column) {
                LogSharedColumn(name, other.field, *field.column);
                return kFieldsShareColumn;
            }
        }
        taken.push_back({name, *field.column});
    }
    return 0;
}

std::int32_t ExcelReading::Write(std::string serviceUniqueId, std::string curReading,
                                 std::string readingDate, std::string readingTime,
                                 std::string responseCode, std::string responseText) {
    if (!ready_) {
        return kWorksheetRefused;
    }
    const std::int64_t row = LeadingWholeNumber(serviceUniqueId);
    if (row < firstRow_ || row > lastRow_) {
        LogRefusal(serviceUniqueId, curReading,
                   "row " + std::to_string(row) + " lies outside the data rows " +
                       std::to_string(firstRow_) + " to " + std::to_string(lastRow_));
        return kRowOutsideData;
    }
    const auto sheetRow = static_cast<std::int32_t>(row);
    std::string failure;
    std::int32_t result = file_.PutNumber(
        sheetRow, curReadingColumn_, static_cast<double>(LeadingWholeNumber(curReading)), failure);
    const auto putText = [&](std::int32_t column, const std::string& text) {
        if (result == 0 && column != 0) {
            result = file_.PutText(sheetRow, column, text, failure);
        }
    };
    if (readingDate.size() >= kShortestDateOrTime) {
        putText(readingDateColumn_, SheetDate(readingDate));
    }
    if (readingTime.size() >= kShortestDateOrTime) {
        putText(readingTimeColumn_, readingTime);
    }
    putText(responseCodeColumn_, responseCode);
    putText(responseTextColumn_, responseText);
    if (result != 0) {
        LogRefusal(serviceUniqueId, curReading, failure);
    }
    return result;
}

std::int32_t ExcelReading::SaveAndClose() {
    const std::int32_t saved = file_.Close(true);
    lock_.Release();
    return saved;
}

void ExcelReading::LogSharedColumn(const std::string& field, const std::string& other,
                                   std::int32_t column) const {
    std::string letters;
    ColumnNumberToLetters(column, letters);
    const std::string line = "Excel Interface: " + field + " and " + other + " both give column " +
                             letters + " of Worksheet " + file_.WorksheetName() +
                             "; the readings stay on the handheld until the mapping is mended.";
    LogAddEntry(line.c_str(), kActivityConfiguration, 0);
}

void ExcelReading::LogRefusal(const std::string& serviceUniqueId, const std::string& curReading,
                              const std::string& reason) const {
    LogExcelLine("Excel Interface: the reading " + curReading + " of ServiceUniqueID " +
                 serviceUniqueId + " was not written to Worksheet " + file_.WorksheetName() + ": " +
                 reason + ".");
}

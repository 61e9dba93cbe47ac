#include "conduit/formats/ExcelReading.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

#include "conduit/BillingFileLocking.h"
#include "conduit/HHMeter.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/TrailingWhiteSpace.h"
#include "conduit/WexalConfig.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/ExcelColumnLetters.h"
#include "conduit/formats/ExcelMeter.h"
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

// The texts of a meter record that tell its customer, each as the route
// download reads it. The record keeps the house number only in the address.
struct CustomerField {
    const char* mapping;
    std::string ExcelMeter::*read;
    std::string HHMeter::*held;
};

const CustomerField kCustomerFields[] = {
    {"BillingName", &ExcelMeter::BillingName, &HHMeter::BillingName},
    {"ServiceAddress", &ExcelMeter::ServiceAddress, &HHMeter::ServiceAddress},
    {"MeterTagNbr", &ExcelMeter::MeterTagNbr, &HHMeter::MeterTagNbr},
    {"MeterSerialNbr", &ExcelMeter::MeterSerialNbr, &HHMeter::MeterSerialNbr},
};

// A line about readings that stay on the handheld until the worksheet or its
// mapping is mended.
void LogKeptReadings(const std::string& line) {
    LogAddEntry(line.c_str(), kActivityConfiguration, 0);
}

// Whether the handheld keeps a text read from the sheet as `held`: it keeps
// a NUL as a blank.
bool KeptAs(const std::string& read, const std::string& held) {
    return std::ranges::equal(read, held,
                              [](char r, char h) { return (r == '\0' ? ' ' : r) == h; });
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

std::int32_t ExcelReading::CheckRow(const std::string& route, const HHMeter& meter) {
    if (!ready_ || written_) {
        return kWorksheetRefused;
    }
    if (rowReader_ == nullptr) {
        rowReader_ = std::make_unique<ExcelMeter>(route);
        rowsReadable_ = rowReader_->Attach(file_) == 0;
    }
    if (!rowsReadable_) {
        LogKeptReadings("Excel Interface: the rows of Worksheet " + file_.WorksheetName() +
                        " cannot be read as the route download reads them; the readings of "
                        "route " +
                        AnsiToUtf8(route) + " stay on the handheld until they can.");
        return kWorksheetRefused;
    }
    const std::int64_t row = LeadingWholeNumber(meter.ServiceUniqueID);
    if (row < firstRow_ || row > lastRow_) {
        LogRowChanged(route, meter.ServiceUniqueID, row, "it lies outside " + DataRows());
        return kRowOutsideData;
    }
    if (rowReader_->ReadRow(static_cast<std::int32_t>(row)) != 0) {
        LogRowChanged(route, meter.ServiceUniqueID, row, "its House Number cell holds no meter");
        return kRowChanged;
    }
    for (const CustomerField& field : kCustomerFields) {
        const std::string& read = (*rowReader_).*field.read;
        const std::string& held = meter.*field.held;
        if (rowReader_->ReadsColumnOf(field.mapping) && !KeptAs(read, held)) {
            LogRowChanged(route, meter.ServiceUniqueID, row,
                          "its " + std::string(field.mapping) + " reads " + AnsiToUtf8(read) +
                              ", the meter's " + AnsiToUtf8(held));
            return kRowChanged;
        }
    }
    return 0;
}

std::int32_t ExcelReading::Write(std::string serviceUniqueId, std::string curReading,
                                 std::string readingDate, std::string readingTime,
                                 std::string responseCode, std::string responseText) {
    if (!ready_) {
        return kWorksheetRefused;
    }
    if (!written_) {
        // The rows are checked: a large sheet is now held once, by the
        // workbook.
        written_ = true;
        rowReader_.reset();
        file_.ForgetValues();
    }
    const std::int64_t row = LeadingWholeNumber(serviceUniqueId);
    if (row < firstRow_ || row > lastRow_) {
        LogRefusal(serviceUniqueId, curReading,
                   "row " + std::to_string(row) + " lies outside " + DataRows());
        return kRowOutsideData;
    }
    const auto sheetRow = static_cast<std::int32_t>(row);
    std::string failure;
    // Without a reading the cell is left without a value (an empty text puts
    // none): a 0 would be a reading to the billing system.
    std::int32_t result =
        LengthWithoutTrailingWhiteSpace(curReading) == 0
            ? file_.PutText(sheetRow, curReadingColumn_, "", failure)
            : file_.PutNumber(sheetRow, curReadingColumn_,
                              static_cast<double>(LeadingWholeNumber(curReading)), failure);
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
    LogKeptReadings("Excel Interface: " + field + " and " + other + " both give column " + letters +
                    " of Worksheet " + file_.WorksheetName() +
                    "; the readings stay on the handheld until the mapping is mended.");
}

void ExcelReading::LogRefusal(const std::string& serviceUniqueId, const std::string& curReading,
                              const std::string& reason) const {
    LogExcelLine("Excel Interface: the reading " + AnsiToUtf8(curReading) + " of ServiceUniqueID " +
                 AnsiToUtf8(serviceUniqueId) + " was not written to Worksheet " +
                 file_.WorksheetName() + ": " + reason + ".");
}

void ExcelReading::LogRowChanged(const std::string& route, const std::string& serviceUniqueId,
                                 std::int64_t row, const std::string& reason) const {
    LogKeptReadings("Excel Interface: row " + std::to_string(row) + " of Worksheet " +
                    file_.WorksheetName() + " no longer holds the meter of ServiceUniqueID " +
                    AnsiToUtf8(serviceUniqueId) + " (" + reason + "); the readings of route " +
                    AnsiToUtf8(route) + " stay on the handheld until it holds that meter again.");
}

std::string ExcelReading::DataRows() const {
    return "the data rows " + std::to_string(firstRow_) + " to " + std::to_string(lastRow_);
}

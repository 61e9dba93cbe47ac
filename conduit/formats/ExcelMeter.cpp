#include "conduit/formats/ExcelMeter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "conduit/formats/ExcelRouteColumns.h"

using wexal::sheet::CellKind;
using wexal::sheet::CellValue;

namespace {

constexpr std::size_t kAddressChars = 20;

// What a field takes from a cell holding a number.
enum class NumberForm {
    WholeValue,  // the value cut to a whole number
    Fallback,    // the field's fallback text, as for cells of other kinds
    TwoDigits,   // "%02.0f"
};

struct RouteField {
    const char* mapping;
    std::string ExcelMeter::*field;
    // Characters kept of a text cell.
    std::size_t textChars;
    NumberForm numberForm;
    // For an empty, date, truth-value or error cell, and without a mapping.
    const char* fallback;
};

// Their columns come from RouteMapColumns.
const RouteField kRouteFields[] = {
    {"MeterTagNbr", &ExcelMeter::MeterTagNbr, 20, NumberForm::WholeValue, ""},
    {"MeterSerialNbr", &ExcelMeter::MeterSerialNbr, 10, NumberForm::WholeValue, ""},
    {"BillingName", &ExcelMeter::BillingName, 60, NumberForm::WholeValue, ""},
    {"MeterType", &ExcelMeter::MeterType, 1, NumberForm::Fallback, "W"},
    {"PrvReading", &ExcelMeter::PrvReading, 9, NumberForm::WholeValue, ""},
    {"Message", &ExcelMeter::Message, 60, NumberForm::WholeValue, ""},
    {"Digits", &ExcelMeter::Digits, 2, NumberForm::TwoDigits, "07"},
    {"UserDef", &ExcelMeter::UserDef, 20, NumberForm::WholeValue, ""},
};

// Cut toward zero; values beyond the 64-bit range keep its ends rather than
// overflowing.
std::int64_t WholeValue(double number) {
    constexpr double kLimit = 9223372036854775807.0;
    if (std::isnan(number)) {
        return 0;
    }
    if (number >= kLimit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (number <= -kLimit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(number);
}

// printf of one double into a text as long as it needs.
std::string FormatNumber(const char* format, double number) {
    const int length = std::snprintf(nullptr, 0, format, number);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, number);
    return text;
}

std::string RowNumberText(std::int32_t row) {
    char text[16];
    std::snprintf(text, sizeof text, "%06ld", static_cast<long>(row));
    return text;
}

}  // namespace

ExcelMeter::ExcelMeter(std::string route) : route_(std::move(route)) {}

ExcelMeter::~ExcelMeter() {
    file_.Close(false);
}

std::int32_t ExcelMeter::Open(std::string workbook, std::string worksheet,
                              const WexalConfig* /*configuration*/) {
    const std::int32_t opened = file_.Open(workbook, worksheet);
    if (opened != 0) {
        return opened;
    }
    return Attach(file_);
}

std::int32_t ExcelMeter::Attach(const ExcelFile& file) {
    sheet_ = &file;
    const std::int32_t dataStart = configuration_.WorksheetDataStart;
    if (dataStart == 0) {
        return kWorksheetRefused;
    }
    if (dataStart < 0) {
        LogExcelLine("WorksheetDataStart " + std::to_string(dataStart) + " is no worksheet row.");
        return kWorksheetRefused;
    }
    lastRow_ = sheet_->LastRow();
    lastColumn_ = sheet_->LastColumn();
    return FindColumns();
}

std::int32_t ExcelMeter::FindColumns() {
    std::int32_t column = 0;
    if (configuration_.GetColumnNumber(kReadingMapKind, "CurReading", column) != kColumnMapOk) {
        LogExcelLine(
            "CurReading mapping entry was not found in the configuration file.  It is required.");
        return kWorksheetRefused;
    }
    if (configuration_.GetColumnNumber(kRouteMapKind, "House Number", column) != kColumnMapOk) {
        LogExcelLine(
            "House Number mapping entry was not found in the configuration file.  It is "
            "required.");
        return kWorksheetRefused;
    }
    usageColumn_ = sheet_->FindUsageColumn(configuration_.WorksheetUsageRow);
    if (usageColumn_ == 0) {
        return kWorksheetRefused;
    }
    mappedColumns_ = RouteMapColumns(configuration_, usageColumn_);
    for (const RouteMapColumn& mapped : mappedColumns_) {
        if (!sheet_->HoldsColumn(mapped.mapping, mapped.column)) {
            return kWorksheetRefused;
        }
    }
    // Every column is now within the used range.
    const auto columnOf = [this](std::string_view mapping) {
        return static_cast<std::int32_t>(ColumnOf(mappedColumns_, mapping));
    };
    houseColumn_ = columnOf("House Number");
    addressColumn_ = columnOf("ServiceAddress");
    fieldColumns_.clear();
    for (const RouteField& field : kRouteFields) {
        fieldColumns_.push_back(columnOf(field.mapping));
    }
    currentRow_ = configuration_.WorksheetDataStart;
    return 0;
}

std::int32_t ExcelMeter::Read() {
    while (currentRow_ >= 1 && currentRow_ <= lastRow_) {
        if (ReadRow(currentRow_++) == 0) {
            return 0;
        }
    }
    return kNoMoreMeters;
}

std::int32_t ExcelMeter::ReadRow(std::int32_t row) {
    ResetFields();
    if (row < 1 || row > lastRow_) {
        return kNoMoreMeters;
    }
    const CellValue& house = sheet_->Cell(row, houseColumn_);
    bool holdsMeter = false;
    if (house.kind == CellKind::Number) {
        numericHouse_ = true;
        houseNumber_ = WholeValue(house.number);
        holdsMeter = houseNumber_ != 0;
    } else if (house.kind == CellKind::Text) {
        numericHouse_ = false;
        houseText_ = sheet_->Text(row, houseColumn_);
        holdsMeter = true;
    }
    if (!holdsMeter) {
        return kNoMoreMeters;
    }
    FillFields(row);
    return 0;
}

bool ExcelMeter::ReadsColumnOf(std::string_view mapping) const {
    return ColumnOf(mappedColumns_, mapping) != 0;
}

void ExcelMeter::ResetFields() {
    for (std::string* field : {&ServiceUniqueID, &BillingName, &Message, &MeterTagNbr,
                               &MeterSerialNbr, &MaxReading, &MinReading, &PrvReading, &UserDef}) {
        field->clear();
    }
    MeterType = "W";
    Digits = "07";
}

void ExcelMeter::FillFields(std::int32_t row) {
    FillServiceAddress(row);
    ServiceUniqueID = RowNumberText(row);
    for (std::size_t i = 0; i < std::size(kRouteFields); ++i) {
        const RouteField& rule = kRouteFields[i];
        std::string& field = this->*rule.field;
        field = rule.fallback;
        const std::int32_t column = fieldColumns_[i];
        if (column == 0) {
            continue;
        }
        const CellValue& cell = sheet_->Cell(row, column);
        if (cell.kind == CellKind::Text) {
            field = sheet_->Text(row, column).substr(0, rule.textChars);
        } else if (cell.kind == CellKind::Number) {
            switch (rule.numberForm) {
                case NumberForm::WholeValue:
                    field = std::to_string(WholeValue(cell.number));
                    break;
                case NumberForm::TwoDigits:
                    field = FormatNumber("%02.0f", cell.number);
                    break;
                case NumberForm::Fallback:
                    break;
            }
        }
    }
    FillExpectedRange(row);
    ReadType = "S";
    SelectedRoute = route_;
}

void ExcelMeter::FillServiceAddress(std::int32_t row) {
    if (addressColumn_ == 0) {
        ServiceAddress = "NO SERVICE ADDRESS";
        return;
    }
    const std::string street = CellWords(row, addressColumn_);
    ServiceAddress = numericHouse_
                         ? (std::to_string(houseNumber_) + " " + street).substr(0, kAddressChars)
                         : houseText_ + " " + street;
}

void ExcelMeter::FillExpectedRange(std::int32_t row) {
    // Without a percentage the range is not widened.
    double minPercent = 0;
    double maxPercent = 0;
    configuration_.GetColumnValue(kRouteMapKind, "MinReading", minPercent);
    configuration_.GetColumnValue(kRouteMapKind, "MaxReading", maxPercent);
    const CellValue& usageCell = sheet_->Cell(row, usageColumn_);
    const double usage = usageCell.kind == CellKind::Number ? usageCell.number : 0;
    const double previous = std::atof(PrvReading.c_str());
    MinReading = FormatNumber("%.0f", previous + minPercent / 100 * usage);
    MaxReading = FormatNumber("%.0f", previous + maxPercent / 100 * usage);
}

std::string ExcelMeter::CellWords(std::int32_t row, std::int32_t column) const {
    const CellValue& cell = sheet_->Cell(row, column);
    if (cell.kind == CellKind::Text) {
        return sheet_->Text(row, column);
    }
    if (cell.kind == CellKind::Number) {
        return std::to_string(WholeValue(cell.number));
    }
    return {};
}

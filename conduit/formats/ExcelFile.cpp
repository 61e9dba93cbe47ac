#include "conduit/formats/ExcelFile.h"

#include "conduit/ConduitName.h"
#include "conduit/SyncLogActivity.h"
#include "conduit/formats/ExcelColumnLetters.h"
#include "conduit/formats/ExcelText.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/sheet/SheetError.h"
#include "platform/synclog/SyncLog.h"

using wexal::sheet::CellKind;
using wexal::sheet::CellValue;
using wexal::sheet::SheetError;

namespace {

// A failure must never read as success, even when its code is 0.
std::int32_t FailureCode(const SheetError& error) {
    return error.Code() != 0 ? error.Code() : wexal::sheet::kErrorCannotOpen;
}

void ShowBox(const std::string& text) {
    WexalMessageBox(kConduitName, text.c_str());
}

}  // namespace

void LogExcelLine(const std::string& text) {
    LogAddEntry(text.c_str(), kActivityHandheld, 0);
}

void LogWorkbookOpenFailure(const std::string& workbook, const std::string& worksheet) {
    LogExcelLine("Could not open Workbook: " + workbook + ", Worksheet: " + worksheet +
                 " OR the last USAGE column could not be found.");
}

ExcelFile::ExcelFile() = default;

ExcelFile::~ExcelFile() = default;

std::int32_t ExcelFile::Open(const std::string& workbook, const std::string& worksheet) {
    workbook_ = nullptr;
    workbookPath_ = workbook;
    worksheetName_ = worksheet;
    application_ = std::make_unique<wexal::sheet::Application>();
    workbooks_ = &application_->Workbooks();
    try {
        workbook_ = &workbooks_->Open(workbook);
    } catch (const SheetError& error) {
        ShowBox(error.Description());
        return FailureCode(error);
    }
    worksheets_ = &workbook_->Worksheets();
    try {
        worksheet_ = &worksheets_->Item(worksheet);
    } catch (const SheetError& error) {
        ShowBox(worksheet + " does not exist in the workbook");
        return FailureCode(error);
    }
    try {
        cells_ = worksheet_->UsedRange().Value();
    } catch (const SheetError& error) {
        ShowBox(error.Description());
        return FailureCode(error);
    }
    lastRow_ = cells_.Rows();
    lastColumn_ = cells_.Columns();
    if (lastRow_ <= 1 && lastColumn_ <= 1) {
        LogExcelLine("Worksheet " + worksheet + " of Workbook " + workbook +
                     " holds no more than one used cell.");
        return kWorksheetRefused;
    }
    return 0;
}

std::int32_t ExcelFile::Close(bool save) {
    if (workbook_ == nullptr) {
        return 0;
    }
    std::int32_t result = 0;
    if (save) {
        try {
            workbook_->Save();
        } catch (const SheetError& error) {
            LogExcelLine("Could not save Workbook: " + workbookPath_ + ". " + error.Description());
            result = FailureCode(error);
        }
    }
    workbook_->Close();
    worksheet_ = nullptr;
    worksheets_ = nullptr;
    workbook_ = nullptr;
    application_->Quit();
    workbooks_ = nullptr;
    application_.reset();
    return result;
}

std::int32_t ExcelFile::FindUsageColumn(std::int32_t usageRow) const {
    if (usageRow < 1 || usageRow > lastRow_) {
        LogExcelLine("WorksheetUsageRow " + std::to_string(usageRow) +
                     " lies outside the used rows 1 to " + std::to_string(lastRow_) +
                     " of Worksheet " + worksheetName_ + ".");
        return 0;
    }
    for (std::int32_t column = lastColumn_; column >= 1; --column) {
        if (Cell(usageRow, column).kind == CellKind::Text && Text(usageRow, column) == "USAGE") {
            return column;
        }
    }
    return 0;
}

bool ExcelFile::HoldsColumn(std::string_view mapping, std::int64_t column) const {
    if (column >= 1 && column <= lastColumn_) {
        return true;
    }
    LogExcelLine(std::string(mapping) + " mapping entry gives column " + std::to_string(column) +
                 ", outside the used columns 1 to " + std::to_string(lastColumn_) +
                 " of Worksheet " + worksheetName_ + ".");
    return false;
}

const CellValue& ExcelFile::Cell(std::int32_t row, std::int32_t column) const {
    return cells_.At(row, column);
}

std::string ExcelFile::Text(std::int32_t row, std::int32_t column) const {
    return SheetTextToHandheld(Cell(row, column).text);
}

std::int32_t ExcelFile::PutNumber(std::int32_t row, std::int32_t column, double number,
                                  std::string& failure) {
    return Put(row, column, CellValue::Number(number), failure);
}

std::int32_t ExcelFile::PutText(std::int32_t row, std::int32_t column, const std::string& text,
                                std::string& failure) {
    return Put(row, column, CellValue::Text(HandheldTextToSheet(text)), failure);
}

std::int32_t ExcelFile::Put(std::int32_t row, std::int32_t column, const CellValue& value,
                            std::string& failure) {
    if (worksheet_ == nullptr) {
        failure = "No worksheet is open";
        return wexal::sheet::kErrorClosed;
    }
    std::string letters;
    ColumnNumberToLetters(column, letters);
    try {
        worksheet_->Range(letters + std::to_string(row)).SetValue(value);
    } catch (const SheetError& error) {
        failure = error.Description();
        return FailureCode(error);
    }
    return 0;
}

// What the workbook link's reader (ExcelMeter) and writer (ExcelReading)
// share: the application, workbook and worksheet they hold, the values of
// the worksheet's used range, the open sequence and the close. Every access
// to a cell is checked against the used range, so a worksheet that does not
// fit its configuration is refused, never read or written out of bounds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/sheet/Application.h"
#include "platform/sheet/CellValue.h"

// The result of an open that found the worksheet unfit for the link: no
// data-start row, no "USAGE" heading, a mapping outside the used range.
inline constexpr std::int32_t kWorksheetRefused = 126;

// Adds a line of the workbook link to the sync log.
void LogExcelLine(const std::string& text);
// The line of a transfer whose workbook could not be opened or used.
void LogWorkbookOpenFailure(const std::string& workbook, const std::string& worksheet);

class ExcelFile {
  public:
    ExcelFile();
    virtual ~ExcelFile();
    ExcelFile(const ExcelFile&) = delete;
    ExcelFile& operator=(const ExcelFile&) = delete;

    // Opens the workbook and the worksheet and takes the values of its used
    // range: 0, or non-zero when that failed (a message box or a log line
    // says why).
    std::int32_t Open(const std::string& workbook, const std::string& worksheet);
    // Saves the workbook when asked, closes it and quits the application:
    // 0, or the non-zero code of a save that failed (logged; the file then
    // keeps its old contents). Nothing happens when no workbook is open.
    std::int32_t Close(bool save);

    // The column of the rightmost cell of the row whose text is "USAGE", or
    // 0 when there is none; a row outside the used range is logged.
    std::int32_t FindUsageColumn(std::int32_t usageRow) const;
    // True when the column lies in the used range; logs the mapping entry
    // that gave it otherwise.
    bool HoldsColumn(std::string_view mapping, std::int64_t column) const;

    // Lets go of the used range's values, for a writer that has found its
    // columns: a large sheet is then held once, by the workbook. Cell and
    // Text must not be used afterwards.
    void ForgetValues() { cells_ = {}; }

    // Only for cells of the used range (HoldsColumn, LastRow).
    const wexal::sheet::CellValue& Cell(std::int32_t row, std::int32_t column) const;
    // A text cell's text in the handheld's character set.
    std::string Text(std::int32_t row, std::int32_t column) const;
    // Puts a number or a handheld text into a cell: 0, or the sheet's
    // non-zero code with `failure` describing it.
    std::int32_t PutNumber(std::int32_t row, std::int32_t column, double number,
                           std::string& failure);
    std::int32_t PutText(std::int32_t row, std::int32_t column, const std::string& text,
                         std::string& failure);

    std::int32_t LastRow() const { return lastRow_; }
    std::int32_t LastColumn() const { return lastColumn_; }
    const std::string& WorksheetName() const { return worksheetName_; }

  private:
    std::int32_t Put(std::int32_t row, std::int32_t column, const wexal::sheet::CellValue& value,
                     std::string& failure);

    std::unique_ptr<wexal::sheet::Application> application_;
    wexal::sheet::WorkbookCollection* workbooks_ = nullptr;
    wexal::sheet::Workbook* workbook_ = nullptr;
    wexal::sheet::WorksheetCollection* worksheets_ = nullptr;
    wexal::sheet::Worksheet* worksheet_ = nullptr;
    wexal::sheet::CellArray cells_;
    std::int32_t lastRow_ = 0;
    std::int32_t lastColumn_ = 0;
    std::string workbookPath_;
    std::string worksheetName_;
};

// The spreadsheet application stand-in: opens .xlsx workbooks by path, with
// the members of the automation object model that the workbook link uses
// (Workbooks.Open, Worksheets.Item, UsedRange, Range, Value, Save, Close,
// Quit). Failures are thrown as SheetError.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/sheet/Workbook.h"

namespace wexal::sheet {

class WorkbookCollection {
  public:
    // Throws SheetError (kErrorCannotOpen) when the file is missing,
    // unreadable, or no .xlsx workbook (an old binary .xls, for one).
    Workbook& Open(const std::filesystem::path& path);
    std::size_t Count() const { return workbooks_.size(); }
    // Closes every workbook without saving and forgets them.
    void CloseAll();

  private:
    std::vector<std::unique_ptr<Workbook>> workbooks_;
};

class Application {
  public:
    Application() = default;
    ~Application() { Quit(); }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    WorkbookCollection& Workbooks() { return workbooks_; }
    // Closes every open workbook without saving; references to them and their
    // sheets are no longer valid.
    void Quit() { workbooks_.CloseAll(); }

  private:
    WorkbookCollection workbooks_;
};

}  // namespace wexal::sheet

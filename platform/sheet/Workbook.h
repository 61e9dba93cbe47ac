// An open .xlsx workbook: its package in memory, its worksheets, and saving
// the cells that were put back into the file.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sheet/DateStyles.h"
#include "platform/sheet/SharedStrings.h"
#include "platform/sheet/Worksheet.h"
#include "platform/sheet/ZipPackage.h"

namespace wexal::sheet {

class Workbook;

class WorksheetCollection {
  public:
    explicit WorksheetCollection(Workbook& workbook) : workbook_(&workbook) {}
    // By name, in any letter case; throws SheetError (kErrorNoSuchSheet).
    Worksheet& Item(std::string_view name);
    std::size_t Count() const { return sheets_.size(); }

    // Used by Workbook.
    void Add(std::string name, std::string partName);
    std::vector<std::unique_ptr<Worksheet>>& All() { return sheets_; }

  private:
    Workbook* workbook_;
    std::vector<std::unique_ptr<Worksheet>> sheets_;
};

class Workbook {
  public:
    // Throws SheetError (kErrorCannotOpen) with a description that names the
    // file and what is wrong with it.
    explicit Workbook(std::filesystem::path path);
    // The names of the worksheets, in the workbook's order, from the parts
    // that name them only: no sheet and no shared string is read. Throws as
    // the constructor does.
    static std::vector<std::string> WorksheetNames(const std::filesystem::path& path);
    ~Workbook();
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    WorksheetCollection& Worksheets();
    // Writes the cells put since the last save into the file and keeps every
    // other part as it was; a formula overwritten makes the calculation chain
    // stale, so it is left out. Nothing is written when no cell was put.
    // Throws SheetError (kErrorCannotSave); the file is then unchanged.
    void Save();
    // Forgets what was not saved; the workbook can no longer be used.
    void Close();
    bool IsOpen() const { return package_ != nullptr; }

    // Used by Worksheet.
    std::unique_ptr<SheetPart> LoadSheetPart(const std::string& partName);
    void NoteFormulaOverwritten() { formulaOverwritten_ = true; }

  private:
    void Load(std::string bytes);
    void CheckOpen() const;
    std::string ReadPart(const std::string& partName) const;

    std::filesystem::path path_;
    std::unique_ptr<ZipPackage> package_;
    std::string workbookPart_;
    SharedStrings sharedStrings_;
    DateStyles dateStyles_;
    std::optional<std::string> calcChainPart_;
    bool formulaOverwritten_ = false;
    WorksheetCollection worksheets_;
};

}  // namespace wexal::sheet

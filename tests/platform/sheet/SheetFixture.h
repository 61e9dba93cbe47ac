// A folder with one workbook for the sheet layer's tests, and the hand-made
// parts that openpyxl never writes (shared strings, prefixes, rows without
// numbers, a calculation chain).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/sheet/Application.h"
#include "tests/platform/sheet/Openpyxl.h"
#include "tests/support/TempDir.h"

namespace wexal::testing {

inline constexpr const char* kSheetPart = "xl/worksheets/sheet1.xml";
inline constexpr const char* kMainNamespace =
    "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

class SheetFixture : public ::testing::Test {
  protected:
    std::filesystem::path Book() const { return dir_ / "book.xlsx"; }
    std::filesystem::path Folder() const { return dir_.path(); }

    // A worksheet part around the given <sheetData> content, with namespace
    // prefix `prefix` ("" or "x").
    static std::string SheetXml(const std::string& rows, const std::string& prefix = "") {
        const std::string p = prefix.empty() ? "" : prefix + ":";
        const std::string ns = prefix.empty() ? "xmlns" : "xmlns:" + prefix;
        return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<" + p +
               "worksheet " + ns + "=\"" + kMainNamespace + "\"><" + p + "sheetData>" + rows +
               "</" + p + "sheetData></" + p + "worksheet>";
    }

    // Adds a part and its relationship from the workbook (and its content
    // type) to the package.
    void AddWorkbookPart(const std::string& part, const std::string& text,
                         const std::string& relationshipType, const std::string& contentType) {
        WritePart(Book(), part, text);
        const std::string relationships = "xl/_rels/workbook.xml.rels";
        std::string rels = ReadPart(Book(), relationships);
        rels.insert(rels.rfind("</Relationships>"),
                    "<Relationship Id=\"rIdTest" + std::to_string(++added_) +
                        "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                        "relationships/" +
                        relationshipType + "\" Target=\"/" + part + "\"/>");
        WritePart(Book(), relationships, rels);
        std::string types = ReadPart(Book(), "[Content_Types].xml");
        types.insert(types.rfind("</Types>"),
                     "<Override PartName=\"/" + part + "\" ContentType=\"" + contentType + "\"/>");
        WritePart(Book(), "[Content_Types].xml", types);
    }

    void AddSharedStrings(const std::string& items) {
        AddWorkbookPart("xl/sharedStrings.xml",
                        "<sst xmlns=\"" + std::string(kMainNamespace) + "\">" + items + "</sst>",
                        "sharedStrings",
                        "application/vnd.openxmlformats-officedocument.spreadsheetml."
                        "sharedStrings+xml");
    }

    void AddCalcChain(const std::string& cells) {
        AddWorkbookPart(
            "xl/calcChain.xml",
            "<calcChain xmlns=\"" + std::string(kMainNamespace) + "\">" + cells + "</calcChain>",
            "calcChain",
            "application/vnd.openxmlformats-officedocument.spreadsheetml."
            "calcChain+xml");
    }

    // The used range's values of a sheet of the workbook.
    sheet::CellArray UsedValues(const std::string& sheetName = "Route") {
        sheet::Application application;
        return application.Workbooks()
            .Open(Book())
            .Worksheets()
            .Item(sheetName)
            .UsedRange()
            .Value();
    }

    // Opens the workbook, puts each (address, value) into the sheet, saves.
    void PutAndSave(const std::vector<std::pair<std::string, sheet::CellValue>>& puts,
                    const std::string& sheetName = "Route") {
        sheet::Application application;
        sheet::Workbook& workbook = application.Workbooks().Open(Book());
        sheet::Worksheet& worksheet = workbook.Worksheets().Item(sheetName);
        for (const auto& [address, value] : puts) {
            worksheet.Range(address).SetValue(value);
        }
        workbook.Save();
    }

  private:
    TempDir dir_;
    int added_ = 0;
};

}  // namespace wexal::testing

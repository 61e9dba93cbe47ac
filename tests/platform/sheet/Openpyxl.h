// Workbooks built and read by an independent library (openpyxl, run by the
// system's Python) and packages edited with Python's zipfile, so that tests
// never check the workbook layer with itself.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace wexal::testing {

// Runs the script with /usr/bin/python3 and the arguments; its standard
// output. Throws std::runtime_error when the script fails.
std::string RunPython(const std::string& script, const std::vector<std::string>& arguments = {});

// Runs `body` with `wb` (a new openpyxl workbook), `ws` (its active sheet,
// named "Route"), `openpyxl` and `datetime`, then saves the workbook to `path`.
void MakeWorkbook(const std::filesystem::path& path, const std::string& body);

// repr() of each cell's value as openpyxl reads it: "123", "12.5",
// "'text'", "None", "datetime.datetime(2006, 3, 15, 0, 0)"; "=A1*2" for a
// formula.
std::vector<std::string> ReadCells(const std::filesystem::path& path, const std::string& sheet,
                                   const std::vector<std::string>& addresses);
// Any Python expression over `wb` (loaded by openpyxl), as repr().
std::string Inspect(const std::filesystem::path& path, const std::string& expression);

// The text of one part of the package, or "<missing>".
std::string ReadPart(const std::filesystem::path& path, const std::string& part);
// Replaces (or adds) one part of the package.
void WritePart(const std::filesystem::path& path, const std::string& part, const std::string& text);
// Names of the parts whose bytes differ between two packages, and of those
// in only one of them.
std::vector<std::string> ChangedParts(const std::filesystem::path& before,
                                      const std::filesystem::path& after);

}  // namespace wexal::testing

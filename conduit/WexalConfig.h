// What the conduit takes from WexalDT.cfg, the configuration file that the
// desktop program writes. The file's folder comes from the registry; the file
// is read once per construction and never written back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "conduit/ColumnMap.h"

// Non-zero switches the sync driver's debug console on. Every construction
// of a WexalConfig resets it to 0; the file's "Debug=" line sets it.
extern std::int32_t Debug;

class WexalConfig {
  public:
    static constexpr std::string_view kRegistryKey = "Software\\Tolvane\\Wexal Conduit\\2.0";
    static constexpr std::string_view kPathValue = "Path";
    static constexpr std::string_view kFileName = "WexalDT.cfg";
    // The desktop's folder value must fit a 128-byte buffer with its NUL.
    static constexpr std::size_t kMaxPathChars = 127;
    // Longer lines are read in pieces of this many characters.
    static constexpr std::size_t kMaxLineChars = 127;
    // Response and ResponseText use entries 1..kMaxResponseCodes; entry 0 only
    // catches a "ResponseText=" line that comes before any "Response=" line.
    static constexpr std::size_t kResponseEntries = 100;
    static constexpr std::uint16_t kMaxResponseCodes = kResponseEntries - 1;
    static constexpr std::size_t kSpreadsheets = 5;

    // Interface numbers with roads of their own in the sync driver.
    static constexpr std::uint16_t kSqlInterface = 12;
    static constexpr std::uint16_t kOdbcInterface = 16;
    static constexpr std::uint16_t kExcelInterface = 28;

    // Reads the registry and the file; the outcome is only in Valid and
    // ErrorText, nothing is thrown for a missing or bad configuration.
    WexalConfig();
    virtual ~WexalConfig();

    // Add one "field/column" mapping (see ColumnMap::Add).
    std::uint32_t AddRouteMap(std::string_view text);
    std::uint32_t AddReadingMap(std::string_view text);
    // Lookups in the mappings (see ColumnMap).
    std::uint32_t GetColumnNumber(std::uint32_t kind, std::string_view name,
                                  std::int32_t& out) const;
    std::uint32_t GetColumnValue(std::uint32_t kind, std::string_view name, double& out) const;
    const ColumnMap& Columns() const { return columnMap_; }

    // Flags are 0 or 1; a flag is set only by a value beginning with "Y".
    std::uint32_t RetainByRoute = 0;
    std::string ErrorText;
    // ReadingsPath, RoutePath, Server, UserName, Password and Database come
    // from the block of the selected interface only.
    std::string ReadingsPath;
    std::string RoutePath;
    std::array<std::string, kResponseEntries> Response;
    std::array<std::string, kResponseEntries> ResponseText;
    std::string SelectedInterface;
    std::string Server;
    std::string UserName;
    std::string Password;
    std::string Database;
    std::string ExceptionsFile;
    // 1 to 37; 0 when the interface code is unknown.
    std::uint16_t InterfaceCode = 0;
    std::uint16_t ResponseCount = 0;
    std::uint16_t ShowExpectedRange = 0;
    std::uint16_t ShowPriorReadings = 0;
    std::uint16_t UseInitials = 0;
    std::uint16_t OverrideAutoOff = 0;
    // 16-bit numbers keep their value modulo 65536.
    std::uint16_t AutoOffMinutes = 0;
    std::uint16_t RightToLeft = 0;
    std::uint16_t Journalling = 0;
    std::uint16_t CaptureExceptions = 0;
    // 1 when the value begins with "T".
    std::uint16_t MeterIDChoice = 0;
    std::uint16_t RestorePIN = 0;
    // The workbook and worksheet chosen by "SelectedSpreadsheet=" (Excel only).
    std::string Workbook;
    std::string Worksheet;
    std::int32_t WorksheetDataStart = 0;
    std::int32_t WorksheetUsageRow = 0;
    std::uint32_t Valid = 0;

  private:
    struct ReadState;

    // False with ErrorText set when the file cannot be found or opened.
    bool ReadConfigurationFile();
    void ApplyLine(std::string_view line, ReadState& state);
    bool InSelectedSection(const ReadState& state) const;
    void AddResponse(std::string_view code, ReadState& state);
    void SetResponseText(std::string_view text, const ReadState& state);
    void ComputeInterfaceCode();
    void CheckValidity();

    char selectedSpreadsheet_ = ' ';
    std::array<std::string, kSpreadsheets> workbooks_;
    std::array<std::string, kSpreadsheets> worksheets_;
    ColumnMap columnMap_;
};

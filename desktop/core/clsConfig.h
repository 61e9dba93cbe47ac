// Everything WexalDT.cfg holds, in memory: the options that the handheld
// application and the conduit obey, one settings record per billing-system
// interface and the handheld response codes. The windows read and change it;
// only SaveConfig writes the file (ConfigFile.cpp holds the file side).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace wexal::desktop {

inline constexpr std::size_t kWorkbookSlots = 5;
inline constexpr std::size_t kMapSlots = 50;

using WorkbookSlots = std::array<std::string, kWorkbookSlots>;
using MapSlots = std::array<std::string, kMapSlots>;

// The settings of one interface; Name is its interface code and its key.
struct InterfaceRec {
    std::string Name{};
    std::string Server{};  // server name, or the ODBC data source
    std::string UserName{};
    std::string Password{};  // kept and stored in clear text
    std::string Database{};
    std::string RoutePath{};
    std::string ReadingsPath{};
    std::string ReadingsRollPath{};
    WorkbookSlots Workbook{};
    WorkbookSlots Worksheet{};  // pairwise with Workbook
    std::int16_t SelectedSpreadsheet = 0;
    std::int16_t WorksheetDataStart = 0;
    std::int16_t WorksheetUsageRow = 0;
    MapSlots RouteMap{};  // column-map entries "field/value"
    MapSlots ReadingMap{};
};

// One handheld response code; Code is its key. The flags are "Y" or empty.
struct ResponseCodeRec {
    std::string Code{};
    std::string Description{};
    std::string NoRead{};
    std::string Service{};
};

// The fields UpdateInterface stores; those left unset keep their values.
struct InterfaceUpdate {
    std::optional<std::string> Name{};
    std::optional<std::string> Server{};
    std::optional<std::string> UserName{};
    std::optional<std::string> Password{};
    std::optional<std::string> Database{};
    std::optional<std::string> RoutePath{};
    std::optional<std::string> ReadingsPath{};
    std::optional<std::int16_t> SelectedSpreadsheet{};
    std::optional<WorkbookSlots> Workbook{};
    std::optional<WorkbookSlots> Worksheet{};
    std::optional<std::int16_t> WorksheetDataStart{};
    std::optional<std::int16_t> WorksheetUsageRow{};
    std::optional<MapSlots> RouteMap{};
    std::optional<MapSlots> ReadingMap{};
    std::optional<std::string> ReadingsRollPath{};
};

struct ResponseCodeUpdate {
    std::optional<std::string> Code{};
    std::optional<std::string> Description{};
    std::optional<std::string> NoRead{};
    std::optional<std::string> Service{};
};

// Selects a record: a key compared without regard to ASCII letter case (the
// first match counts), or a position from 1.
using RecordIndex = std::variant<std::string_view, std::int32_t>;

class clsConfig {
  public:
    static constexpr std::string_view kVersion = "2.0";
    static constexpr std::string_view kRegistryKeyPrefix = "Software\\Tolvane\\Wexal Conduit\\";
    static constexpr std::string_view kPathValue = "Path";
    static constexpr std::string_view kFileName = "WexalDT.cfg";
    static constexpr std::string_view kDefaultRestorePIN = "2580";

    // Writes the whole file from memory, replacing the old one at once. False
    // when it cannot be written or the registry cannot be read (the old file
    // then stays as it was), and always after a load that found a file it
    // could not read.
    bool SaveConfig();
    // Reads the file into the object (adding to the tables); a missing file
    // changes nothing. A file that cannot be read, or whose text has no line
    // of the file's own, is a LoadFailure. Always 0. Throws DesktopError for a
    // malformed number, with the lines before it applied.
    std::int16_t LoadConfig();
    // Why the load could not read the file, naming the file; empty when it
    // read it or found none. Saves are refused after such a load.
    const std::string& LoadFailure() const { return mLoadFailure; }

    // Appends a record; keys need not be unique.
    void AddInterface(InterfaceRec record);
    // Found: `out` receives the record, true. Not found: false, and the texts
    // and SelectedSpreadsheet of `out` are cleared; its slots and rows stay.
    bool GetInterface(const RecordIndex& Index, InterfaceRec& out) const;
    // Stores the given fields into the selected record; a key that selects
    // nothing appends a record of that name first. False only for a position
    // outside 1..n.
    bool UpdateInterface(const RecordIndex& Index, const InterfaceUpdate& fields);

    void AddResponseCode(std::string Code, std::string Description, std::string NoRead,
                         std::string Service);
    // Not found: false, and `out` is left as it was.
    bool GetResponseCode(const RecordIndex& Index, ResponseCodeRec& out) const;
    bool UpdateResponseCode(const RecordIndex& Index, const ResponseCodeUpdate& fields);
    void EraseResponseCodes();

    // The options, stored as given: flags are "Y" or empty.
    std::string SelectedInterface;
    std::string UseInitials;
    std::string ShowPriorReadings;
    std::string ShowExpectedRange;
    std::string RetainDownloadFilesByRoute;
    std::string RightToLeft;
    std::string OverrideAutoOff;
    std::int16_t AutoOffMinutes = 0;
    std::string Journalling;
    std::string DebugFlag;  // file key "Debug"; no window edits it
    std::string CaptureExceptions;
    std::string ExceptionsFile;
    std::string MeterIDChoice;  // "T" or "B"
    std::string SeparateExceptions;
    std::string RestorePIN;  // "2580" once LoadConfig has opened a file

  private:
    class Loader;

    // Through the registry value Path of the key kRegistryKeyPrefix + Version;
    // empty when absent, none when the registry cannot be read.
    static std::optional<std::string> GetConfigFolder(std::string_view Version);
    static void SaveConfigFolder(std::string_view Version, const std::string& Folder);
    // Marks this run's load as one that could not read `file`.
    void RefuseSaves(const std::string& file, std::string_view reason);
    // The file's text as SaveConfig writes it.
    std::string ConfigText() const;

    std::vector<InterfaceRec> mInterfaces;  // position p is mInterfaces[p - 1]
    std::vector<ResponseCodeRec> mResponseCodes;
    // A load found a file it could not read through: saving would replace
    // settings that were never loaded.
    bool mSavesRefused = false;
    std::string mLoadFailure;
};

}  // namespace wexal::desktop

#include "conduit/WexalConfig.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <limits>
#include <optional>
#include <sstream>

#include "platform/files/RegularFile.h"
#include "platform/registry/Registry.h"
#include "platform/text/Utf8.h"

std::int32_t Debug = 0;

namespace {

// Numbers are read like atol: leading white space, an optional sign, then
// digits up to the first other character; no digits give 0. strtoll clamps
// at the 64-bit limits, so even absurd values stay defined.
std::int64_t LeadingNumber(std::string_view text) {
    const std::string terminated(text);
    return std::strtoll(terminated.c_str(), nullptr, 10);
}

// The 16-bit fields keep the number modulo 65536 (70000 gives 4464, -1 gives
// 65535), as the handheld's 16-bit words would.
std::uint16_t Number16(std::string_view text) {
    return static_cast<std::uint16_t>(LeadingNumber(text));
}

// Row numbers and the debug level saturate instead of wrapping, so a huge
// row stays huge rather than turning negative.
std::int32_t Number32(std::string_view text) {
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(LeadingNumber(text), kMin, kMax));
}

// Only an upper-case "Y" sets a flag.
std::uint16_t Flag(std::string_view value) {
    return !value.empty() && value[0] == 'Y' ? 1 : 0;
}

// The value of a line whose beginning equals key; it starts at valueAt
// (normally right after the key) and is empty when the line is shorter.
std::optional<std::string_view> ValueOf(std::string_view line, std::string_view key,
                                        std::size_t valueAt = std::string_view::npos) {
    if (!line.starts_with(key)) {
        return std::nullopt;
    }
    if (valueAt == std::string_view::npos) {
        valueAt = key.size();
    }
    return line.substr(std::min(valueAt, line.size()));
}

// The byte-wise "greater than one blank" test of a required field: empty
// text and a single blank fail.
bool ComparesAboveBlank(const std::string& text) {
    return text > " ";
}

// One prefix test of the interface code: the first `compared` characters of
// the code (all of it when shorter) must equal those of `text`.
struct PrefixTest {
    std::size_t compared;
    std::string_view text;
    std::uint16_t number;
};

// All tests run in this order and the last one that passes wins, which is why
// "INC" (13) beats "IN" (5) and "DATAPOINTE" (22) beats "DATA" (19).
constexpr PrefixTest kPrefixTests[] = {
    {2, "AV", 1},           {2, "CA", 2},       {2, "DA", 3},           {2, "EL", 4},
    {2, "IN", 5},           {3, "CMS", 6},      {2, "MU", 7},           {2, "AC", 8},
    {2, "QU", 9},           {7, "TAKTECH", 9},  {2, "RV", 10},          {2, "US", 11},
    {2, "SQ", 12},          {3, "INC", 13},     {3, "POW", 14},         {5, "SUMMI", 15},
    {4, "ODBC", 16},        {3, "OUR", 17},     {3, "PRA", 18},         {10, "MEGA", 23},
    {10, "LOGHH", 24},      {4, "DATA", 19},    {10, "DATAPOINTE", 22}, {7, "CUSTOM1", 20},
    {10, "THOROUGHBR", 21}, {5, "RAMAR", 25},   {6, "BANYON", 26},      {6, "LOCIS", 27},
    {5, "EXCEL", 28},       {4, "CSDC", 29},    {9, "RMSBADGER", 30},   {7, "CONNEKT", 31},
    {5, "CUBIC", 32},       {3, "WLB", 33},     {5, "UBPRO", 34},       {3, "SCA", 35},
    {9, "NORTHSTAR", 36},   {7, "JAYHAWK", 37},
};

bool PrefixMatches(std::string_view code, const PrefixTest& test) {
    return code.substr(0, test.compared) == test.text.substr(0, test.compared);
}

}  // namespace

struct WexalConfig::ReadState {
    // Name of the "Interface=" block the reader is in; empty before the first.
    std::string section;
    // The latest "Response=" line found no room, so its text has none either.
    bool responseDropped = false;
};

WexalConfig::WexalConfig() {
    Debug = 0;
    if (!ReadConfigurationFile()) {
        return;
    }
    ComputeInterfaceCode();
    CheckValidity();
}

WexalConfig::~WexalConfig() = default;

std::uint32_t WexalConfig::AddRouteMap(std::string_view text) {
    return columnMap_.Add(kRouteMapKind, text);
}

std::uint32_t WexalConfig::AddReadingMap(std::string_view text) {
    return columnMap_.Add(kReadingMapKind, text);
}

std::uint32_t WexalConfig::GetColumnNumber(std::uint32_t kind, std::string_view name,
                                           std::int32_t& out) const {
    return columnMap_.GetColumnNumber(kind, name, out);
}

std::uint32_t WexalConfig::GetColumnValue(std::uint32_t kind, std::string_view name,
                                          double& out) const {
    return columnMap_.GetColumnValue(kind, name, out);
}

bool WexalConfig::ReadConfigurationFile() {
    std::optional<std::string> folder;
    try {
        const wexal::registry::Registry registry = wexal::registry::Registry::CurrentUser();
        if (!registry.KeyExists(kRegistryKey)) {
            ErrorText = "Conduit not found in registry";
            return false;
        }
        folder = registry.ReadString(kRegistryKey, kPathValue);
    } catch (const std::exception&) {
        // A damaged or unreadable registry file hides the conduit's key.
        ErrorText = "Conduit not found in registry";
        return false;
    }
    if (!folder || folder->size() > kMaxPathChars) {
        ErrorText = "Path value in registry not found";
        return false;
    }

    std::string fileName = *folder;
    if (fileName.empty() || fileName.back() != '/') {
        fileName += '/';
    }
    fileName += kFileName;

    // Read whole, and only from a regular file: a FIFO in its place would
    // hold the sync for ever, a device such as /dev/zero feed it without end.
    std::string text;
    int error = 0;
    if (!wexal::files::ReadRegularFile(fileName, text, error)) {
        ErrorText = "Unable to open configuration file " + fileName;
        if (error == wexal::files::kNotRegularFile) {
            ErrorText += ": " + wexal::files::ErrorText(error);
        }
        return false;
    }
    std::istringstream in(std::string(wexal::text::WithoutByteOrderMark(text)));

    ReadState state;
    std::string line;
    while (std::getline(in, line)) {
        // The desktop ends lines with CR LF; the CR is part of the line end.
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        // A long line is taken as pieces of kMaxLineChars, each a line of its
        // own (an empty piece matches no key, so none is produced).
        const std::string_view whole(line);
        for (std::size_t at = 0; at < whole.size(); at += kMaxLineChars) {
            ApplyLine(whole.substr(at, kMaxLineChars), state);
        }
    }
    return true;
}

bool WexalConfig::InSelectedSection(const ReadState& state) const {
    return state.section == SelectedInterface;
}

void WexalConfig::ApplyLine(std::string_view line, ReadState& state) {
    // Keys in test order: the first one that takes the line ends the search.
    // A section key outside the selected interface's block does not take it.
    if (auto v = ValueOf(line, "SelectedInterface=")) {
        SelectedInterface = *v;
    } else if (auto v = ValueOf(line, "Interface=")) {
        state.section = *v;
    } else if (auto v = ValueOf(line, "Debug=")) {
        Debug = Number32(*v);
    } else if (auto v = ValueOf(line, "RoutePath="); v && InSelectedSection(state)) {
        RoutePath = *v;
    } else if (auto v = ValueOf(line, "ReadingsPath="); v && InSelectedSection(state)) {
        ReadingsPath = *v;
    } else if (auto v = ValueOf(line, "ExceptionsFile=")) {
        ExceptionsFile = *v;
    } else if (auto v = ValueOf(line, "Server="); v && InSelectedSection(state)) {
        Server = *v;
    } else if (auto v = ValueOf(line, "Database="); v && InSelectedSection(state)) {
        Database = *v;
    } else if (auto v = ValueOf(line, "UserName="); v && InSelectedSection(state)) {
        UserName = *v;
    } else if (auto v = ValueOf(line, "Password="); v && InSelectedSection(state)) {
        Password = *v;
    } else if (auto v = ValueOf(line, "RetainDownloadFilesByRoute=")) {
        RetainByRoute = Flag(*v);
    } else if (auto v = ValueOf(line, "ShowExpectedRange=")) {
        ShowExpectedRange = Flag(*v);
    } else if (auto v = ValueOf(line, "ShowPriorReadings=")) {
        ShowPriorReadings = Flag(*v);
    } else if (auto v = ValueOf(line, "OverrideAutoOff=")) {
        OverrideAutoOff = Flag(*v);
    } else if (auto v = ValueOf(line, "AutoOffMinutes=")) {
        AutoOffMinutes = Number16(*v);
    } else if (auto v = ValueOf(line, "RestorePIN", 11)) {
        // Only "RestorePIN" is compared; the value starts after one more
        // character, whatever it is.
        RestorePIN = Number16(*v);
    } else if (auto v = ValueOf(line, "RightToLeft=")) {
        RightToLeft = Flag(*v);
    } else if (auto v = ValueOf(line, "Journalling=")) {
        Journalling = Flag(*v);
    } else if (auto v = ValueOf(line, "MeterIDChoice=")) {
        MeterIDChoice = !v->empty() && v->front() == 'T' ? 1 : 0;
    } else if (auto v = ValueOf(line, "UseInitials=")) {
        UseInitials = Flag(*v);
    } else if (auto v = ValueOf(line, "CaptureExceptions=")) {
        CaptureExceptions = Flag(*v);
    } else if (auto v = ValueOf(line, "Response=")) {
        AddResponse(*v, state);
    } else if (auto v = ValueOf(line, "ResponseText=")) {
        SetResponseText(*v, state);
    } else if (auto v = ValueOf(line, "SelectedSpreadsheet=")) {
        selectedSpreadsheet_ = v->empty() ? '\0' : v->front();
    } else if (auto v = ValueOf(line, "Workbook");
               v && v->size() >= 2 && v->at(0) >= '0' && v->at(0) <= '4' && v->at(1) == '=') {
        workbooks_[v->at(0) - '0'] = v->substr(2);
    } else if (auto v = ValueOf(line, "Worksheet");
               v && v->size() >= 2 && v->at(0) >= '0' && v->at(0) <= '4' && v->at(1) == '=') {
        worksheets_[v->at(0) - '0'] = v->substr(2);
    } else if (auto v = ValueOf(line, "WorksheetDataStart=")) {
        WorksheetDataStart = Number32(*v);
    } else if (auto v = ValueOf(line, "WorksheetUsageRow=")) {
        WorksheetUsageRow = Number32(*v);
    } else if (auto v = ValueOf(line, "RouteMap")) {
        // Mappings count in every section.
        if (const std::size_t equals = v->find('='); equals != std::string_view::npos) {
            AddRouteMap(v->substr(equals + 1));
        }
    } else if (auto v = ValueOf(line, "ReadingMap")) {
        if (const std::size_t equals = v->find('='); equals != std::string_view::npos) {
            AddReadingMap(v->substr(equals + 1));
        }
    }
}

void WexalConfig::AddResponse(std::string_view code, ReadState& state) {
    // The arrays have room for 99 codes; later ones (and their texts) are
    // dropped rather than written past the end.
    if (ResponseCount >= kMaxResponseCodes) {
        state.responseDropped = true;
        return;
    }
    ++ResponseCount;
    Response[ResponseCount] = code;
    state.responseDropped = false;
}

void WexalConfig::SetResponseText(std::string_view text, const ReadState& state) {
    if (state.responseDropped) {
        return;
    }
    ResponseText[ResponseCount] = text;
}

void WexalConfig::ComputeInterfaceCode() {
    InterfaceCode = 0;
    for (const PrefixTest& test : kPrefixTests) {
        if (PrefixMatches(SelectedInterface, test)) {
            InterfaceCode = test.number;
        }
    }
}

void WexalConfig::CheckValidity() {
    Valid = 0;
    if (CaptureExceptions == 1 && ExceptionsFile.empty()) {
        return;
    }
    if (InterfaceCode >= 1 && InterfaceCode != kSqlInterface && InterfaceCode != kOdbcInterface) {
        Valid = ComparesAboveBlank(RoutePath) && ComparesAboveBlank(ReadingsPath);
    }
    if (InterfaceCode == kSqlInterface) {
        Valid = ComparesAboveBlank(Server) && ComparesAboveBlank(UserName) &&
                ComparesAboveBlank(Password) && ComparesAboveBlank(Database);
    }
    if (InterfaceCode == kOdbcInterface) {
        // The data-source name in Server is not required.
        Valid = ComparesAboveBlank(UserName) && ComparesAboveBlank(Password) &&
                ComparesAboveBlank(Database);
    }
    if (InterfaceCode == kExcelInterface) {
        // The chosen pair alone decides, whatever the paths gave.
        Valid = 0;
        if (selectedSpreadsheet_ >= '0' && selectedSpreadsheet_ <= '4') {
            const std::size_t chosen = selectedSpreadsheet_ - '0';
            Workbook = workbooks_[chosen];
            Worksheet = worksheets_[chosen];
            Valid = !Workbook.empty() && !Worksheet.empty();
        }
    }
}

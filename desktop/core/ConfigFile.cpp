// WexalDT.cfg: where it lives, how clsConfig writes it and reads it back.
// One line per item, "key=value", CR LF; blank values have no line.
#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "desktop/core/DesktopError.h"
#include "desktop/core/NumericText.h"
#include "desktop/core/RegistryStrings.h"
#include "desktop/core/clsConfig.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/RegularFile.h"
#include "platform/registry/Registry.h"
#include "platform/text/Utf8.h"

namespace wexal::desktop {

namespace {

// The options in the order the file holds them; AutoOffMinutes, the one
// number, has no text member.
struct OptionKey {
    std::string_view key;
    std::string clsConfig::*text;
};

constexpr OptionKey kOptionKeys[] = {
    {"SelectedInterface", &clsConfig::SelectedInterface},
    {"UseInitials", &clsConfig::UseInitials},
    {"ShowPriorReadings", &clsConfig::ShowPriorReadings},
    {"ShowExpectedRange", &clsConfig::ShowExpectedRange},
    {"RetainDownloadFilesByRoute", &clsConfig::RetainDownloadFilesByRoute},
    {"RightToLeft", &clsConfig::RightToLeft},
    {"OverrideAutoOff", &clsConfig::OverrideAutoOff},
    {"AutoOffMinutes", nullptr},
    {"Journalling", &clsConfig::Journalling},
    {"Debug", &clsConfig::DebugFlag},
    {"CaptureExceptions", &clsConfig::CaptureExceptions},
    {"ExceptionsFile", &clsConfig::ExceptionsFile},
    {"MeterIDChoice", &clsConfig::MeterIDChoice},
    {"SeparateExceptions", &clsConfig::SeparateExceptions},
    {"RestorePIN", &clsConfig::RestorePIN},
};

// The text lines of an interface block after its "Interface" line, in order.
struct InterfaceKey {
    std::string_view key;
    std::string InterfaceRec::*text;
};

constexpr InterfaceKey kInterfaceKeys[] = {
    {"Server", &InterfaceRec::Server},
    {"Database", &InterfaceRec::Database},
    {"UserName", &InterfaceRec::UserName},
    {"Password", &InterfaceRec::Password},
    {"RoutePath", &InterfaceRec::RoutePath},
    {"ReadingsPath", &InterfaceRec::ReadingsPath},
    {"ReadingsRollPath", &InterfaceRec::ReadingsRollPath},
};

// The lines of a response-code block; the first opens it.
struct ResponseKey {
    std::string_view key;
    std::string ResponseCodeRec::*text;
};

constexpr ResponseKey kResponseKeys[] = {
    {"Response", &ResponseCodeRec::Code},
    {"ResponseText", &ResponseCodeRec::Description},
    {"NoRead", &ResponseCodeRec::NoRead},
    {"Service", &ResponseCodeRec::Service},
};

// Only this exact name gets the workbook lines.
constexpr std::string_view kExcel = "EXCEL";

// The loader fills map slots 1 to this, in file order.
constexpr int kLastLoadedMapSlot = 49;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// One "key=value" line and CR LF, or nothing when the value is blank. A value
// ends at its first CR or LF: anything after it would become lines of its own.
void WriteKey(std::string& out, std::string_view key, std::string_view value) {
    value = TrimBlanks(value.substr(0, value.find_first_of("\r\n")));
    if (value.empty()) {
        return;
    }
    out += TrimBlanks(key);
    out += '=';
    out += value;
    out += "\r\n";
}

std::string SlotKey(std::string_view stem, std::size_t slot) {
    return std::string(stem) + std::to_string(slot);
}

void WriteInterface(std::string& out, const InterfaceRec& record) {
    WriteKey(out, "Interface", record.Name);
    for (const InterfaceKey& line : kInterfaceKeys) {
        WriteKey(out, line.key, record.*line.text);
    }
    if (record.Name != kExcel) {
        return;
    }
    WriteKey(out, "SelectedSpreadsheet", std::to_string(record.SelectedSpreadsheet));
    for (std::size_t slot = 0; slot < kWorkbookSlots; ++slot) {
        WriteKey(out, SlotKey("Workbook", slot), record.Workbook[slot]);
    }
    for (std::size_t slot = 0; slot < kWorkbookSlots; ++slot) {
        WriteKey(out, SlotKey("Worksheet", slot), record.Worksheet[slot]);
    }
    WriteKey(out, "WorksheetDataStart", std::to_string(record.WorksheetDataStart));
    WriteKey(out, "WorksheetUsageRow", std::to_string(record.WorksheetUsageRow));
    for (std::size_t slot = 0; slot < kMapSlots; ++slot) {
        if (!record.RouteMap[slot].empty()) {
            WriteKey(out, SlotKey("RouteMap", slot), record.RouteMap[slot]);
        }
    }
    for (std::size_t slot = 0; slot < kMapSlots; ++slot) {
        if (!record.ReadingMap[slot].empty()) {
            WriteKey(out, SlotKey("ReadingMap", slot), record.ReadingMap[slot]);
        }
    }
}

// A key the writer makes for a map slot: between `stem` and `stem` + "99" in
// byte order. The number itself means nothing to the loader.
bool IsMapKey(std::string_view key, std::string_view stem) {
    const std::string last = std::string(stem) + "99";
    return key >= stem && key <= std::string_view(last);
}

// The folder used when the registry names none.
std::filesystem::path FallbackFolder() {
    return registry::Registry::UserFolder();
}

// Whether the text holds anything but blanks and line ends: an empty file
// holds no settings that a save could lose.
bool HasContent(std::string_view text) {
    return text.find_first_not_of(" \t\r\n") != std::string_view::npos;
}

}  // namespace

// The state of one load: the block being read, held until the next block or
// the end of the file adds it to the tables.
class clsConfig::Loader {
  public:
    Loader(clsConfig& config, std::string file) : config_(config), file_(std::move(file)) {}

    void ApplyLine(std::string_view line) {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return;
        }
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (ApplyOption(key, value) || ApplyInterfaceLine(key, value) ||
            ApplyResponseLine(key, value)) {
            recognisedAny_ = true;
        }
    }

    // Whether any line so far had a key of the file.
    bool RecognisedAny() const { return recognisedAny_; }

    void Finish() {
        FlushInterface();
        FlushResponseCode();
    }

  private:
    bool ApplyResponseLine(std::string_view key, std::string_view value) {
        for (const ResponseKey& response : kResponseKeys) {
            if (key == response.key) {
                if (response.text == &ResponseCodeRec::Code) {
                    FlushResponseCode();
                }
                pendingCode_.*response.text = value;
                return true;
            }
        }
        return false;
    }

    bool ApplyOption(std::string_view key, std::string_view value) {
        for (const OptionKey& option : kOptionKeys) {
            if (key == option.key) {
                if (option.text == nullptr) {
                    config_.AutoOffMinutes = ToInteger16(value, key, file_);
                } else {
                    config_.*option.text = value;
                }
                return true;
            }
        }
        return false;
    }

    bool ApplyInterfaceLine(std::string_view key, std::string_view value) {
        if (key == "Interface") {
            FlushInterface();
            pending_.Name = value;
            routeMaps_ = 0;
            readingMaps_ = 0;
            return true;
        }
        for (const InterfaceKey& line : kInterfaceKeys) {
            if (key == line.key) {
                pending_.*line.text = value;
                return true;
            }
        }
        for (std::size_t slot = 0; slot < kWorkbookSlots; ++slot) {
            if (key == SlotKey("Workbook", slot)) {
                pending_.Workbook[slot] = value;
                return true;
            }
            if (key == SlotKey("Worksheet", slot)) {
                pending_.Worksheet[slot] = value;
                return true;
            }
        }
        if (key == "SelectedSpreadsheet") {
            pending_.SelectedSpreadsheet = LeadingInteger16(key, value);
        } else if (key == "WorksheetDataStart") {
            pending_.WorksheetDataStart = ToInteger16(value, key, file_);
        } else if (key == "WorksheetUsageRow") {
            pending_.WorksheetUsageRow = ToInteger16(value, key, file_);
        } else if (IsMapKey(key, "RouteMap")) {
            AddMapEntry(pending_.RouteMap, routeMaps_, value);
        } else if (IsMapKey(key, "ReadingMap")) {
            AddMapEntry(pending_.ReadingMap, readingMaps_, value);
        } else {
            return false;
        }
        return true;
    }

    // The number the value begins with, to the nearest whole number.
    std::int16_t LeadingInteger16(std::string_view key, std::string_view value) const {
        try {
            return RoundToInteger16(NumericValue(value), key, value, file_);
        } catch (const DesktopError& error) {
            throw DesktopError(error.Number(), error.Description(), std::string(key),
                               std::string(value), file_);
        }
    }

    static void AddMapEntry(MapSlots& slots, int& count, std::string_view value) {
        if (count < kLastLoadedMapSlot) {
            ++count;
            slots[static_cast<std::size_t>(count)] = value;
        }
    }

    void FlushInterface() {
        // Member lines before the first "Interface" line stay pending and so
        // join the first block.
        if (pending_.Name.empty()) {
            return;
        }
        config_.AddInterface(InterfaceRec{.Name = pending_.Name,
                                          .Server = pending_.Server,
                                          .UserName = pending_.UserName,
                                          .Password = pending_.Password,
                                          .Database = pending_.Database,
                                          .RoutePath = pending_.RoutePath,
                                          .ReadingsPath = pending_.ReadingsPath,
                                          .ReadingsRollPath = pending_.ReadingsRollPath});
        if (pending_.Name == kExcel) {
            // Goes to the first record named EXCEL in any letter case.
            config_.UpdateInterface(pending_.Name,
                                    {.SelectedSpreadsheet = pending_.SelectedSpreadsheet,
                                     .Workbook = pending_.Workbook,
                                     .Worksheet = pending_.Worksheet,
                                     .WorksheetDataStart = pending_.WorksheetDataStart,
                                     .WorksheetUsageRow = pending_.WorksheetUsageRow,
                                     .RouteMap = pending_.RouteMap,
                                     .ReadingMap = pending_.ReadingMap});
        }
        pending_ = {};
    }

    void FlushResponseCode() {
        if (pendingCode_.Code.empty()) {
            return;
        }
        config_.AddResponseCode(std::move(pendingCode_.Code), std::move(pendingCode_.Description),
                                std::move(pendingCode_.NoRead), std::move(pendingCode_.Service));
        pendingCode_ = {};
    }

    clsConfig& config_;
    const std::string file_;
    InterfaceRec pending_;
    int routeMaps_ = 0;
    int readingMaps_ = 0;
    ResponseCodeRec pendingCode_;
    bool recognisedAny_ = false;
};

std::optional<std::string> clsConfig::GetConfigFolder(std::string_view Version) {
    std::string folder;
    if (!ReadRegString(HKEY_CURRENT_USER, std::string(kRegistryKeyPrefix) + std::string(Version),
                       kPathValue, folder)) {
        return std::nullopt;
    }
    return folder;
}

void clsConfig::SaveConfigFolder(std::string_view Version, const std::string& Folder) {
    SetRegString(HKEY_CURRENT_USER, std::string(kRegistryKeyPrefix) + std::string(Version),
                 kPathValue, Folder);
}

std::string clsConfig::ConfigText() const {
    std::string out;
    for (const OptionKey& option : kOptionKeys) {
        WriteKey(out, option.key,
                 option.text == nullptr ? std::to_string(AutoOffMinutes) : this->*option.text);
    }
    // A record whose key is blank would have no opening line, and its other
    // lines would join the block before it.
    for (const InterfaceRec& record : mInterfaces) {
        if (!TrimBlanks(record.Name).empty()) {
            WriteInterface(out, record);
        }
    }
    for (const ResponseCodeRec& record : mResponseCodes) {
        if (!TrimBlanks(record.Code).empty()) {
            for (const ResponseKey& line : kResponseKeys) {
                WriteKey(out, line.key, record.*line.text);
            }
        }
    }
    return out;
}

bool clsConfig::SaveConfig() {
    if (mSavesRefused) {
        return false;
    }
    // A registry that cannot be read hides where the conduit looks: the
    // settings would land where it never reads them.
    const std::optional<std::string> named = GetConfigFolder(kVersion);
    if (!named) {
        return false;
    }
    std::string folder = *named;
    if (TrimBlanks(folder).empty()) {
        std::error_code error;
        try {
            folder = FallbackFolder().string();
        } catch (const std::exception&) {
            return false;
        }
        std::filesystem::create_directories(folder, error);
        if (error) {
            return false;
        }
        SaveConfigFolder(kVersion, folder);
    }
    try {
        files::ReplaceFileAtomically(folder + "/" + std::string(kFileName), ConfigText());
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void clsConfig::RefuseSaves(const std::string& file, std::string_view reason) {
    mSavesRefused = true;
    mLoadFailure = "Unable to open configuration file " + file + ": " + std::string(reason);
}

std::int16_t clsConfig::LoadConfig() {
    const std::optional<std::string> named = GetConfigFolder(kVersion);
    if (!named) {
        // Which file holds the settings is unknown, so none may be replaced.
        mSavesRefused = true;
        return 0;
    }
    std::string folder = *named;
    if (TrimBlanks(folder).empty()) {
        try {
            folder = FallbackFolder().string();
        } catch (const std::exception&) {
            return 0;
        }
    }
    const std::string file = folder + "/" + std::string(kFileName);
    // Only a regular file is read: a FIFO would wait for a writer for ever,
    // a device such as /dev/zero never end.
    std::string bytes;
    int error = 0;
    if (!files::ReadRegularFile(file, bytes, error)) {
        if (error != ENOENT) {
            RefuseSaves(file, files::ErrorText(error));
        }
        return 0;
    }

    RestorePIN = kDefaultRestorePIN;
    // Until the last line is in, what memory holds is not the whole file.
    const bool refusedBefore = mSavesRefused;
    mSavesRefused = true;
    Loader loader(*this, file);
    const std::string_view all = text::WithoutByteOrderMark(bytes);
    std::size_t start = 0;
    while (start < all.size()) {
        // CR LF, a lone LF and a lone CR each end a line.
        const std::size_t end = std::min(all.find_first_of("\r\n", start), all.size());
        loader.ApplyLine(all.substr(start, end - start));
        start = end + (all.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    loader.Finish();
    mSavesRefused = refusedBefore;
    // Text without one line of the file's own (another encoding, another
    // file): saving would replace it with what memory holds.
    if (!loader.RecognisedAny() && HasContent(all)) {
        RefuseSaves(file, "no configuration line in it");
    }
    return 0;
}

}  // namespace wexal::desktop

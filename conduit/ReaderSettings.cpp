// WexalConduit::WriteReaderDB: the handheld clock and the reader settings
// that the handheld application obeys.
#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>

#include "conduit/HHReader.h"
#include "conduit/WexalConduit.h"
#include "conduit/WexalConfig.h"
#include "platform/palm/SyncManager.h"

namespace {

// Only so much of the HotSync user name fits the handheld's settings screen.
constexpr std::size_t kUserNameChars = 6;
// Auto-off seconds stop below the value that means "never".
constexpr std::uint32_t kLongestAutoOff = 0xFFFE;

std::uint16_t AsFlag(std::uint16_t value) {
    return value != 0 ? 1 : 0;
}

// The user name of the HotSync, empty when it cannot be read.
std::string HotSyncUserName() {
    SyncUserId user{};
    user.userName[0] = '\0';
    SyncReadUserID(&user);
    return std::string(user.userName, strnlen(user.userName, sizeof user.userName));
}

std::uint16_t AutoOffSeconds(const WexalConfig& config) {
    if (config.OverrideAutoOff == 0) {
        return HHReader::kNeverAutoOff;
    }
    const std::uint32_t seconds = std::uint32_t{config.AutoOffMinutes} * 60;
    return static_cast<std::uint16_t>(std::min(seconds, kLongestAutoOff));
}

// Everything but the words that belong to the handheld application.
void SetSettings(HHReader& reader, const WexalConfig& config, const std::string& userName) {
    reader.Word5 = 0;
    reader.Word6 = 0;
    reader.ShowExpectedRange = AsFlag(config.ShowExpectedRange);
    reader.ShowPriorReadings = AsFlag(config.ShowPriorReadings);
    reader.UseInitials = AsFlag(config.UseInitials);
    reader.UseInitialsAgain = AsFlag(config.UseInitials);
    reader.RightToLeft = AsFlag(config.RightToLeft);
    reader.Word13 = 4;
    reader.Word14 = 0;
    reader.Word15 = 4;
    reader.Word16 = 0;
    reader.AutoOffSeconds = AutoOffSeconds(config);
    reader.Journalling = AsFlag(config.Journalling);
    reader.MeterIDChoice = AsFlag(config.MeterIDChoice);
    reader.RestorePIN = config.RestorePIN;
    reader.Word21 = 0;
    reader.Word22 = 0;
    reader.Word23 = 0;
    reader.Word24 = 0;
    reader.Text1.clear();
    reader.UserName = userName.substr(0, kUserNameChars);
    reader.CurrentRoute.clear();
    reader.Text4 = "1";
    reader.Text5.clear();
    reader.Text6.clear();
    reader.Text7.clear();
}

}  // namespace

std::int32_t WexalConduit::WriteReaderDB(const WexalConfig& config) {
    const std::time_t now = std::time(nullptr);
    const std::string userName = HotSyncUserName();
    SyncWriteSysDateTime(static_cast<std::uint32_t>(now));

    HHReader reader;
    if (reader.Open() == 0) {
        return 1;
    }
    if (reader.RecordCount() > 0) {
        // The handheld's own words must come back unchanged: a record that
        // cannot be read is left alone rather than joined by a second one.
        const std::int32_t result = reader.ReadByIndex(0);
        if (result != kSyncErrNone) {
            LogHandheldError("Error " + std::to_string(result) +
                             " occurred reading reader settings; settings not written");
            reader.Close();
            return 1;
        }
    } else {
        reader.Clear();
    }
    SetSettings(reader, config, userName);
    reader.Write();
    reader.Close();
    return 1;
}

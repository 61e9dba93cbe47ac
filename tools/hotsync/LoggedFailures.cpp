#include "tools/hotsync/LoggedFailures.h"

#include <algorithm>
#include <string_view>

namespace wexal::hotsync {
namespace {

// The conduit logs these with activity 22 although nothing failed: they say
// what there was to move. Counted as failures, every workbook sync and every
// sync without a new route file would end as a failed one.
constexpr std::string_view kReportsOfActivity22[] = {
    "Wexal conduit - No readings to upload",
    "Wexal - No file found to download",
    "Excel Interface: Uploaded Routes:",
    "Wexal Excel Interface downloaded ",
};

bool IsReport(const std::string& text) {
    return std::any_of(std::begin(kReportsOfActivity22), std::end(kReportsOfActivity22),
                       [&](std::string_view report) { return text.starts_with(report); });
}

}  // namespace

bool IsFailure(const synclog::Entry& entry) {
    return entry.activity == 17 || entry.activity == 21 ||
           (entry.activity == 22 && !IsReport(entry.text));
}

bool LogsAFailure(const std::vector<synclog::Entry>& entries) {
    return std::any_of(entries.begin(), entries.end(), IsFailure);
}

}  // namespace wexal::hotsync

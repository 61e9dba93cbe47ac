#include "conduit/RouteNameRefusal.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "conduit/HHCodes.h"
#include "conduit/HHDatabase.h"
#include "conduit/HHMeter.h"
#include "conduit/HHReader.h"
#include "conduit/HHRoute.h"
#include "conduit/TrailingWhiteSpace.h"
#include "conduit/formats/AnsiText.h"

namespace {

// The conduit's other databases on the handheld and what each holds.
struct KeptDatabase {
    const char* name;
    const char* holds;
};

constexpr KeptDatabase kKeptDatabases[] = {
    {HHReader::kDatabaseName, "the handheld's reader settings"},
    {HHCodes::kDatabaseName, "the handheld's response codes"},
    {HHRoute::kDatabaseName, "the handheld's route list"},
};

// The name as a log line can show it, in UTF-8: a control byte (a NUL above
// all, which would end the line's text) written as \xNN.
std::string Shown(std::string_view route) {
    std::string shown;
    for (const char c : route) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += AnsiToUtf8({&c, 1});
        }
    }
    return shown;
}

// Why the handheld cannot keep a route of this name, as a clause that
// follows the route's name in a log line; nothing when it can.
std::optional<std::string> RouteNameFault(const std::string& route) {
    // The handheld ends a database name at its first NUL byte.
    if (route.find('\0') != std::string::npos) {
        return "its name holds a NUL byte, which a handheld database name cannot hold";
    }
    const std::string database = HHMeter::DatabaseName(route);
    if (database.size() > HHDatabase::kMaxNameLength) {
        return "its name is longer than the " +
               std::to_string(HHDatabase::kMaxNameLength - HHMeter::DatabaseName("").size()) +
               " characters a handheld database name leaves for it";
    }
    // The handheld application finds the meters by the name in the route
    // list, which holds it without trailing white space. Names are compared
    // as the handheld compares them: byte by byte, letter case counting.
    std::string listed = route;
    TrimTrailingWhiteSpace(listed);
    for (const KeptDatabase& kept : kKeptDatabases) {
        if (HHMeter::DatabaseName(listed) == kept.name) {
            return std::string("its meter database would be ") + kept.name + ", " + kept.holds;
        }
    }
    return std::nullopt;
}

}  // namespace

bool RefusedRouteName(const std::string& route, const std::string& outcome,
                      const std::string& aftermath) {
    const std::optional<std::string> fault = RouteNameFault(route);
    if (!fault) {
        return false;
    }
    LogHandheldError("Wexal - Route " + Shown(route) + " " + outcome + ": " + *fault +
                     (aftermath.empty() ? "" : "; " + aftermath));
    return true;
}

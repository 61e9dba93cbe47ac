// What each interface number runs: its road and, for the text-file road, the
// vendor's upload, sort-order verification and download.
#pragma once

#include <cstdint>
#include <string>

class WexalConduit;

enum class InterfaceRoad {
    SingleFile,     // upload, purge, verify, download one route file
    FolderScan,     // upload, purge, then every route file of a folder
    SqlStub,        // number 12: nothing is exchanged
    SqlDataSource,  // number 16: the SQL link does the whole exchange
    Excel,          // number 28: the workbook transfer routines
};

// The vendor's routines. Members that take the interface number get it from
// `number`; the others ignore it. A negative upload result means a route's
// readings are still on the handheld.
struct TextFileRoutines {
    std::int32_t (*upload)(WexalConduit& conduit, const std::string& readingsPath,
                           std::int32_t captureExceptions, const std::string& exceptionsFile);
    std::int32_t (*verifySortOrder)(WexalConduit& conduit, const std::string& routeFile,
                                    std::int32_t number);
    std::int32_t (*download)(WexalConduit& conduit, const std::string& routeFile,
                             std::uint32_t retainByRoute, std::int32_t number);
};

struct InterfaceRow {
    std::uint16_t number;
    InterfaceRoad road;
    // The vendor's routines for the text-file roads; null while that vendor
    // is not supported.
    const TextFileRoutines* routines;
    const char* finishText;  // logged with activity 20; null: none
};

// The row of an interface number 1 to 37; null for any other number.
const InterfaceRow* FindInterface(std::uint16_t number);

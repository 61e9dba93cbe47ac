// The worksheet columns that the route download reads, as the route map of
// the configuration places them. The download reads them; the reading upload
// must keep out of them.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

class WexalConfig;

struct RouteMapColumn {
    const char* mapping;
    // As the map gives it: not yet checked against the used range.
    std::int64_t column;
};

// Every route field that the download reads from a column of its own and
// that the map gives a column, in the order the download checks them;
// fields without an entry, or set to "[None]", are left out.
std::vector<RouteMapColumn> RouteMapColumns(const WexalConfig& configuration,
                                            std::int32_t usageColumn);

// The column of one of those fields, or 0 when it is not among them.
std::int64_t ColumnOf(const std::vector<RouteMapColumn>& columns, std::string_view mapping);

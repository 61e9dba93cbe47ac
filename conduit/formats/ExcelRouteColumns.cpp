#include "conduit/formats/ExcelRouteColumns.h"

#include "conduit/WexalConfig.h"

namespace {

struct RouteColumnField {
    const char* mapping;
    // The entry is an offset from the usage column, not a column.
    bool offsetFromUsage;
};

// "MinReading" and "MaxReading" are percentages, and "Sequence", "Location",
// "LstReadingDate" and "ReadType" are never read: none of them names a column.
const RouteColumnField kRouteColumnFields[] = {
    {"House Number", false},   {"ServiceAddress", false}, {"MeterTagNbr", false},
    {"MeterSerialNbr", false}, {"BillingName", false},    {"MeterType", false},
    {"PrvReading", true},      {"Message", false},        {"Digits", false},
    {"UserDef", false},
};

}  // namespace

std::vector<RouteMapColumn> RouteMapColumns(const WexalConfig& configuration,
                                            std::int32_t usageColumn) {
    std::vector<RouteMapColumn> columns;
    for (const RouteColumnField& field : kRouteColumnFields) {
        std::int32_t value = 0;
        if (configuration.GetColumnNumber(kRouteMapKind, field.mapping, value) == kColumnMapOk) {
            columns.push_back({field.mapping, field.offsetFromUsage
                                                  ? std::int64_t{usageColumn} + value
                                                  : std::int64_t{value}});
        }
    }
    return columns;
}

std::int64_t ColumnOf(const std::vector<RouteMapColumn>& columns, std::string_view mapping) {
    for (const RouteMapColumn& column : columns) {
        if (mapping == column.mapping) {
            return column.column;
        }
    }
    return 0;
}

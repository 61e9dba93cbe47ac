#include "desktop/core/ExcelMapForms.h"

#include "desktop/core/ColumnMapEntry.h"
#include "desktop/core/DesktopError.h"
#include "desktop/core/NumericText.h"
#include "desktop/core/PlainDecimal.h"

namespace wexal::desktop {
namespace {

constexpr std::string_view kRequiredMarker = "(*)";

constexpr MapRow RowOf(std::string_view label) {
    const bool required = label.ends_with(kRequiredMarker);
    return {label, required ? label.substr(0, label.size() - kRequiredMarker.size()) : label,
            required};
}

constexpr std::array<MapRow, kRouteFieldRows> kRouteRows = {
    RowOf("MeterTagNbr"),       RowOf("MeterSerialNbr"), RowOf("MeterType"),
    RowOf("Sequence"),          RowOf("Digits"),         RowOf("BillingName"),
    RowOf("ServiceAddress(*)"), RowOf("House Number"),   RowOf("Location"),
    RowOf("Message"),           RowOf("LstReadingDate"), RowOf("ReadType"),
    RowOf("UserDef"),
};

constexpr std::array<MapRow, kReadingFieldRows> kReadingRows = {
    RowOf("CurReading"),    RowOf("ReadingDate"),   RowOf("ReadingTime"),
    RowOf("Response Code"), RowOf("Response Text"),
};

// The percentage as stored: the numeric value of the box in plain decimal,
// none for a number beyond any double.
std::optional<std::string> PercentOf(std::string_view text) {
    try {
        return PlainDecimal(NumericValue(text));
    } catch (const DesktopError&) {
        return std::nullopt;
    }
}

RouteMapSave Refuse(RouteMapSave::Refused why, std::string_view message, std::size_t row = 0) {
    RouteMapSave refused;
    refused.Refusal = why;
    refused.Message = message;
    refused.RefusedRow = row;
    return refused;
}

}  // namespace

const std::array<MapRow, kRouteFieldRows>& RouteFieldRows() {
    return kRouteRows;
}

const std::array<MapRow, kReadingFieldRows>& ReadingFieldRows() {
    return kReadingRows;
}

std::optional<std::int16_t> WorksheetRowOf(std::string_view text) {
    try {
        const std::int16_t row = RoundToInteger16(NumericValue(text));
        // 0 means "unset" to the conduit, also when a fraction rounds to it.
        return row != 0 ? std::optional<std::int16_t>(row) : std::nullopt;
    } catch (const DesktopError&) {
        return std::nullopt;
    }
}

RouteMapView RouteMapViewOf(const InterfaceRec& record) {
    RouteMapView view;
    view.StartingRow = std::to_string(record.WorksheetDataStart);
    view.UsageRow = std::to_string(record.WorksheetUsageRow);
    view.PreviousReading = OffsetChoiceOf(LookupMapField(record.RouteMap, kPreviousReadingField));
    view.MinimumPercent = LookupMapField(record.RouteMap, kMinimumPercentField);
    view.MaximumPercent = LookupMapField(record.RouteMap, kMaximumPercentField);
    for (std::size_t i = 0; i < kRouteRows.size(); ++i) {
        view.Columns[i] = ColumnItemOf(LookupMapField(record.RouteMap, kRouteRows[i].Field));
    }
    return view;
}

RouteMapSave SaveRouteMap(const RouteMapView& view) {
    using Refused = RouteMapSave::Refused;
    const std::optional<std::int16_t> start = WorksheetRowOf(view.StartingRow);
    if (!start) {
        return Refuse(Refused::kStartingRow, kStartingRowRequired);
    }
    const std::optional<std::int16_t> usage = WorksheetRowOf(view.UsageRow);
    if (!usage) {
        return Refuse(Refused::kUsageRow, kUsageRowRequired);
    }
    const std::optional<std::string> minimum = PercentOf(view.MinimumPercent);
    if (!minimum) {
        return Refuse(Refused::kMinimumPercent, ErrorDescription(kErrorOverflow));
    }
    const std::optional<std::string> maximum = PercentOf(view.MaximumPercent);
    if (!maximum) {
        return Refuse(Refused::kMaximumPercent, ErrorDescription(kErrorOverflow));
    }

    RouteMapSave saved;
    saved.WorksheetDataStart = *start;
    saved.WorksheetUsageRow = *usage;
    if (view.PreviousReading >= 0 && view.PreviousReading < static_cast<int>(kOffsetChoiceCount)) {
        saved.RouteMap[0] =
            MapEntry(kPreviousReadingField, OffsetChoices()[view.PreviousReading].Value);
    }
    saved.RouteMap[1] = MapEntry(kMinimumPercentField, *minimum);
    saved.RouteMap[2] = MapEntry(kMaximumPercentField, *maximum);
    std::size_t slot = 3;
    for (std::size_t i = 0; i < kRouteRows.size(); ++i) {
        const std::string column = ColumnOfItem(view.Columns[i]);
        if (column.empty()) {
            if (kRouteRows[i].Required) {
                return Refuse(Refused::kColumn, kRequiredColumns, i);
            }
            continue;
        }
        saved.RouteMap[slot++] = MapEntry(kRouteRows[i].Field, column);
    }
    return saved;
}

ReadingMapView ReadingMapViewOf(const MapSlots& readingMap) {
    ReadingMapView view{};
    for (std::size_t i = 0; i < kReadingRows.size(); ++i) {
        view[i] = OffsetChoiceOf(LookupMapField(readingMap, kReadingRows[i].Field));
    }
    return view;
}

MapSlots SaveReadingMap(const ReadingMapView& view) {
    MapSlots map{};
    std::size_t slot = 0;
    for (std::size_t i = 0; i < kReadingRows.size(); ++i) {
        // "[None]" and nothing selected write no entry.
        if (view[i] > 0 && view[i] < static_cast<int>(kOffsetChoiceCount)) {
            map[++slot] = MapEntry(kReadingRows[i].Field, OffsetChoices()[view[i]].Value);
        }
    }
    return map;
}

}  // namespace wexal::desktop

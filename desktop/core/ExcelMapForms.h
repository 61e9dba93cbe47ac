// What the two Excel mapping dialogs show and store, without the windows:
// the route map (worksheet rows, previous-reading position, expected-range
// percentages, columns of the route fields) and the reading map (positions of
// the five reading fields). The dialogs fill their controls from the views
// and hand their controls' state to the Save builders.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "desktop/core/clsConfig.h"

namespace wexal::desktop {

// One data row of a mapping dialog. A label ending in the marker "(*)" makes
// the row required; the field name is the label without the marker.
struct MapRow {
    std::string_view Label;
    std::string_view Field;
    bool Required = false;
};

inline constexpr std::size_t kRouteFieldRows = 13;
inline constexpr std::size_t kReadingFieldRows = 5;

// "MeterTagNbr" ... "ServiceAddress(*)", "House Number" ... "UserDef".
const std::array<MapRow, kRouteFieldRows>& RouteFieldRows();
// "CurReading", "ReadingDate", "ReadingTime", "Response Code", "Response Text".
const std::array<MapRow, kReadingFieldRows>& ReadingFieldRows();

inline constexpr std::string_view kPreviousReadingField = "PrvReading";
inline constexpr std::string_view kMinimumPercentField = "MinReading";
inline constexpr std::string_view kMaximumPercentField = "MaxReading";

inline constexpr std::string_view kStartingRowRequired = "Starting row is required";
inline constexpr std::string_view kUsageRowRequired = "\"Usage\" row is required";
inline constexpr std::string_view kRequiredColumns =
    "Data columns identified with (*) are required to be mapped";

// A worksheet row typed by the user: its numeric value taken to the nearest
// whole number (halves to even). None when that is 0 or does not fit a 16-bit
// signed number; negative rows are taken.
std::optional<std::int16_t> WorksheetRowOf(std::string_view text);

// The route dialog's controls. A list position of -1 is "nothing selected".
struct RouteMapView {
    std::string StartingRow;
    std::string UsageRow;
    int PreviousReading = 0;  // position among the offset choices
    std::string MinimumPercent;
    std::string MaximumPercent;
    std::array<int, kRouteFieldRows> Columns{};  // 0 "[None]", 1 "A" .. 26 "Z"
};

RouteMapView RouteMapViewOf(const InterfaceRec& record);

// The outcome of "Save" in the route dialog.
struct RouteMapSave {
    enum class Refused {
        kNothing,
        kStartingRow,
        kUsageRow,
        kMinimumPercent,
        kMaximumPercent,
        kColumn,  // the row in RefusedRow
    };
    Refused Refusal = Refused::kNothing;
    std::size_t RefusedRow = 0;  // from 0, with kColumn
    std::string Message;         // shown when refused
    std::int16_t WorksheetDataStart = 0;
    std::int16_t WorksheetUsageRow = 0;
    MapSlots RouteMap{};
};

// Rebuilds the whole route map from the controls: slot 0 the previous
// reading (empty when nothing is selected), slots 1 and 2 the percentages in
// plain decimal, then one slot per mapped row in row order. Refuses a missing
// starting or usage row, a percentage beyond any number ("Overflow") and an
// unmapped required row, in that order.
RouteMapSave SaveRouteMap(const RouteMapView& view);

// The reading dialog's lists: positions among the offset choices, -1 for
// nothing selected.
using ReadingMapView = std::array<int, kReadingFieldRows>;

ReadingMapView ReadingMapViewOf(const MapSlots& readingMap);
// The reading map rebuilt from slot 1 on, one slot per row set to a position
// other than "[None]", in row order.
MapSlots SaveReadingMap(const ReadingMapView& view);

}  // namespace wexal::desktop

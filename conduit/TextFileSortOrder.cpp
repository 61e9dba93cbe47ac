// The sort-order check of a route file: the download rebuilds a route's
// meter database each time the route starts, so a route that comes back
// after another one would lose its first block of meters.
#include <memory>
#include <optional>
#include <string>

#include "conduit/HHDatabase.h"
#include "conduit/TextFileRoad.h"
#include "conduit/TextFileVendors.h"
#include "conduit/formats/AnsiText.h"
#include "conduit/formats/RouteFileClaim.h"
#include "conduit/formats/VendorMeter.h"

namespace {

std::string OutOfOrderText(SortMessage message, std::int32_t index, const std::string& previous,
                           const std::string& route) {
    std::string text =
        "Wexal - Download file is not sequenced by route. Line = " + std::to_string(index);
    if (message == SortMessage::Long) {
        text += " " + AnsiToUtf8(previous) + " is > " + AnsiToUtf8(route);
    }
    return text;
}

}  // namespace

std::int32_t VerifyTextFileSortOrder(const TextFileVendor& vendor, const std::string& file) {
    // Named to the office as its route file, even while a sync holds it.
    const std::string routeFile = ClaimedRouteFile(file);
    std::unique_ptr<VendorMeter> reader = vendor.makeMeter();
    if (const std::int32_t opened = reader->Open(file); opened != 0) {
        LogRouteFileOpenError(opened, routeFile,
                              "Wexal - No file found to download during Sort Order Verification");
        return -1;
    }
    // A header read as a record is no meter; every record after it is one
    // the download stores. A file without any record is in order: refused,
    // it would stay in the route folder and stop every later sync (its
    // download reports it).
    if (vendor.headerIsFirstRecord) {
        const std::int32_t header = reader->Read();
        if (header == VendorMeter::kReadError) {
            LogRouteFileReadError(routeFile);
            return -1;
        }
        if (header != VendorMeter::kRecordRead) {
            return 0;
        }
    }
    std::optional<std::string> previous;
    std::int32_t index = 0;
    std::int32_t result = VendorMeter::kRecordRead;
    // Only the route is cut from each line: the order is all this pass sees.
    while ((result = reader->ReadField(vendor.routeField)) == VendorMeter::kRecordRead) {
        const std::string& route = reader->Field(vendor.routeField);
        if (!previous) {
            previous = route;
        }
        // Byte by byte, case-sensitive: route 10 sorts before route 9.
        const int order = previous->compare(route);
        if (order > 0) {
            LogHandheldError(OutOfOrderText(vendor.sortMessage, index, *previous, route));
            return -1;
        }
        if (order < 0) {
            previous = route;
        }
        ++index;
    }
    // A read error hides the rest of the file, which may well be unsorted.
    if (result == VendorMeter::kReadError) {
        LogRouteFileReadError(routeFile);
        return -1;
    }
    return 0;
}

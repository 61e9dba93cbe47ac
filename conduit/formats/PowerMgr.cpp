#include "conduit/formats/PowerMgr.h"

#include "conduit/formats/StandardLayouts.h"

namespace {

constexpr std::size_t kShortLine = 191;
constexpr std::size_t kLongLine = 204;
// What a short line lacks: no read type mark and an all-zero tag.
constexpr char kShortLineTail[] = " 000000000000";
static_assert(kShortLine + sizeof kShortLineTail - 1 == kLongLine);

}  // namespace

PowerMgrMeter::PowerMgrMeter() : VendorMeter(PowerMgrRouteLayout()) {}

VendorMeter::LineUse PowerMgrMeter::PrepareLine(std::string& line) {
    if (line.size() == kShortLine) {
        line.append(kShortLineTail);
        return LineUse::Record;
    }
    return line.size() == kLongLine ? LineUse::Record : LineUse::Skip;
}

PowerMgrReading::PowerMgrReading() : VendorReading(PowerMgrReadingsLayout()) {}

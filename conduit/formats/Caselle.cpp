#include "conduit/formats/Caselle.h"

#include "conduit/formats/StandardLayouts.h"

namespace {

// Only a line that reaches the end of the tag columns carries a tag and a
// read type of its own.
constexpr std::size_t kLineWithTag = 204;

}  // namespace

CaselleMeter::CaselleMeter() : VendorMeter(CaselleRouteLayout()) {}

std::int32_t CaselleMeter::Read(std::int32_t /*interfaceNumber*/) {
    return Read();
}

void CaselleMeter::AdjustFields(std::string_view line) {
    std::string& tag = MutableField(CodecField::MeterTagNbr);
    std::string& readType = MutableField(CodecField::ReadType);
    if (line.size() < kLineWithTag) {
        tag.clear();
        readType.assign(1, 'S');
    }
    // A meter read on its own schedule is known by its serial number.
    if (readType == "S") {
        tag = Field(CodecField::MeterSerialNbr);
    }
}

bool CaselleMeter::HooksChange(CodecField field) const {
    return field == CodecField::MeterTagNbr || field == CodecField::ReadType;
}

CaselleReading::CaselleReading() : VendorReading(CaselleReadingsLayout()) {}

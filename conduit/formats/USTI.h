// USTI: lines of 192 characters in both directions. One object reads the
// route file and writes the readings file; its field texts, mode letter and
// path serve both, and the mode follows the Open that succeeded last.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/formats/CodecRecord.h"
#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

// The record comes first among the bases so that it is built before, and
// outlives, the two parts that share it.
class USTIInterface : private CodecRecord, public VendorMeter, public VendorReading {
  public:
    USTIInterface();

    // Opens the route file for reading (mode D); the readings file, if any,
    // is closed first.
    std::int32_t Open(const std::string& path);
    // Opens the readings file for appending (mode U); the route file, if any,
    // is closed first.
    std::int32_t Open(const std::string& path, std::int32_t append);
    // Closes whichever file is open: 0, or -1 when the readings file could
    // not be completed.
    std::int32_t Close();

    // One record serves both directions: either part answers alike.
    using VendorMeter::Field;
    using VendorMeter::HasField;
    using VendorMeter::Path;

  protected:
    // A meter id holding ":D" marks a demand meter, whose tag is the number
    // in front of the mark.
    void AdjustFields(std::string_view line) override;
    bool HooksChange(CodecField field) const override;
};

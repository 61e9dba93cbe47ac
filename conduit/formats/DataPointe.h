// DataPointe: route lines with a user field and the route at column 0, the
// service id at 216 and readings that start at fixed columns; a "*P" or
// "*R" in the meter-number columns makes a demand or register reading with a
// tag of its own. Readings lines of 280 characters in the same frame.
#pragma once

#include <string_view>

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class DataPointeMeter : public VendorMeter {
  public:
    DataPointeMeter();

  protected:
    // The "*P" and "*R" markers of columns 67-68.
    void AdjustFields(std::string_view line) override;
    bool HooksChange(CodecField field) const override;
};

class DataPointeReading : public VendorReading {
  public:
    DataPointeReading();
};

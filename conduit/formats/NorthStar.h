// NorthStar: long route lines (fields up to column 296) with fixed 8-column
// readings; short readings lines of 60 characters with the meter's identity,
// the read date and the reading.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class NorthStarMeter : public VendorMeter {
  public:
    NorthStarMeter();

  protected:
    // A meter without a maximum reading is a demand meter; the sequence
    // becomes four digits.
    void FinishFields(std::string_view line) override;
    bool HooksChange(CodecField field) const override;

  private:
    // A spare character of the billing system's record; nothing reads it.
    [[maybe_unused]] char spare_ = '\0';
};

class NorthStarReading : public VendorReading {
  public:
    NorthStarReading();
};

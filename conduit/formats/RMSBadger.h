// RMSBadger: route files whose meter records begin with two blanks, with
// a two-part billing name and readings cut by a dial-digit count of at most
// six; readings lines that take the route from the write.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class RMSBadgerMeter : public VendorMeter {
  public:
    RMSBadgerMeter();

  protected:
    LineUse PrepareLine(std::string& line) override;
    // A count outside 1 to 6 reads six digits and says so in Digits.
    std::int64_t DigitCount(std::string_view line) override;
    // The read type follows the tag, once its blanks became zeros.
    void FinishFields(std::string_view line) override;
    bool HooksChange(CodecField field) const override;
};

class RMSBadgerReading : public VendorReading {
  public:
    RMSBadgerReading();

    using VendorReading::Write;
    // Writes one readings line for the meter of `route`, which the line
    // takes in place of the SelectedRoute field.
    std::int32_t Write(const std::string& route);
};

// AVR: a route file whose meters are the lines beginning with "A", the dial
// digits told by the zeros in front of the previous reading; a readings file
// with one "H" header line per route before its 288-character "A" lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class AVRMeter : public VendorMeter {
  public:
    AVRMeter();

  protected:
    // Headers, trailers and blank lines carry no meter.
    LineUse PrepareLine(std::string& line) override;
    std::int64_t DigitCount(std::string_view line) override;
    // Digits is the count settled from the line, in two digits.
    void AdjustFields(std::string_view line) override;
    bool HooksChange(CodecField field) const override;
};

class AVRReading : public VendorReading {
  public:
    AVRReading();

    // Appends the header line of the route named by SelectedRoute: results
    // as Write.
    std::int32_t WriteHeader();
};

// Connekt: route files whose meter records begin with two blanks or "00",
// with the route in one of two places; readings files that begin each
// route's lines with a header line "H" and take the route from the write.
#pragma once

#include <cstdint>
#include <string>

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class ConnektMeter : public VendorMeter {
  public:
    ConnektMeter();

  protected:
    LineUse PrepareLine(std::string& line) override;
    // The serial, route and previous reading fall back on other columns.
    void AdjustFields(std::string_view line) override;
    bool HooksChange(CodecField field) const override;
};

class ConnektReading : public VendorReading {
  public:
    ConnektReading();

    using VendorReading::Write;
    // Writes one readings line for the meter of `route`, which the line
    // takes in place of the SelectedRoute field.
    std::int32_t Write(const std::string& route);

  protected:
    // Every open of the readings file starts with the header line.
    void AfterOpen() override;
};

// Incode: a route file like the standard one moved two columns to the right,
// without a serial number and with its own digit caps; a 139-character
// readings line with a meter-type mark.
#pragma once

#include <string>
#include <string_view>

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class IncodeMeter : public VendorMeter {
  public:
    IncodeMeter();
};

class IncodeReading : public VendorReading {
  public:
    IncodeReading();

    // Demand meters ("D") are billed in ten-thousandths: the reading as a
    // decimal number times 10000, whole, in at least nine digits with zeros
    // in front ("12.5" gives 000125000). A reading too large for any number
    // comes back unchanged.
    static std::string DemandReading(std::string_view reading);
};

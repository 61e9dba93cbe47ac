// Infinitec: the standard route file with a long serial number and the tag
// at 191; readings lines with a meter type mark and the response text.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class InfinitecMeter : public VendorMeter {
  public:
    InfinitecMeter();
};

class InfinitecReading : public VendorReading {
  public:
    InfinitecReading();
};

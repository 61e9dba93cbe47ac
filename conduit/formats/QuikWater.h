// QuikWater: the standard route file and the standard readings line.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class QuikWaterMeter : public VendorMeter {
  public:
    QuikWaterMeter();
};

class QuikWaterReading : public VendorReading {
  public:
    QuikWaterReading();
};

// AccuFund: the standard route file and the standard readings line.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class AccuFundMeter : public VendorMeter {
  public:
    AccuFundMeter();
};

class AccuFundReading : public VendorReading {
  public:
    AccuFundReading();
};

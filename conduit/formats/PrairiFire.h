// PrairiFire: a wide route file of 223 characters; the wide readings line.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class PrairiFireMeter : public VendorMeter {
  public:
    PrairiFireMeter();
};

class PrairiFireReading : public VendorReading {
  public:
    PrairiFireReading();
};

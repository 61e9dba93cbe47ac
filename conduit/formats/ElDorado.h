// ElDorado: the standard route file; a readings line of 133 characters
// with the response code at 97.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class ElDoradoMeter : public VendorMeter {
  public:
    ElDoradoMeter();
};

class ElDoradoReading : public VendorReading {
  public:
    ElDoradoReading();
};

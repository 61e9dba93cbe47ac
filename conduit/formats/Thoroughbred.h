// Thoroughbred: the standard route file with a 17-character service id, a
// user field and the last reading date; the wide readings line.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class ThoroughbredMeter : public VendorMeter {
  public:
    ThoroughbredMeter();
};

class ThoroughbredReading : public VendorReading {
  public:
    ThoroughbredReading();
};

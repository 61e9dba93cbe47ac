// RAMAR: route lines with the route at column 1, the service id at 144 and
// a fixed 9-column previous reading, without sequence, digit count or
// limits; readings lines of 257 characters ending in a date-and-time stamp
// and the reading.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class RAMARMeter : public VendorMeter {
  public:
    RAMARMeter();
};

class RAMARReading : public VendorReading {
  public:
    RAMARReading();
};

// Datawest: the standard route file and the standard readings line.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class DatawestMeter : public VendorMeter {
  public:
    DatawestMeter();
};

class DatawestReading : public VendorReading {
  public:
    DatawestReading();
};

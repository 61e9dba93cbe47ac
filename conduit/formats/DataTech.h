// DataTech: the standard route file with the tag at 192 and the last
// reading date; readings lines with the response text.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class DataTechMeter : public VendorMeter {
  public:
    DataTechMeter();
};

class DataTechReading : public VendorReading {
  public:
    DataTechReading();
};

// MunicipalSoftware: the standard route file with a ten-character serial
// number; readings lines with a zero-filled reading and the response text.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class MunicipalSoftwareMeter : public VendorMeter {
  public:
    MunicipalSoftwareMeter();
};

class MunicipalSoftwareReading : public VendorReading {
  public:
    MunicipalSoftwareReading();
};

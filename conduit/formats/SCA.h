// SCA: route and readings lines of one frame: a 16-character service id,
// name, address and message of 30 characters, the readings by the meter's
// dial digits, the last read date as MMDD20YY at column 126, the route at
// 144 and the tag, read type and digit count at 173-185; readings lines of
// 249 characters.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class SCAMeter : public VendorMeter {
  public:
    SCAMeter();
};

class SCAReading : public VendorReading {
  public:
    SCAReading();
};

// LogHH: route files that begin with a header line, the service address at
// column 0 and the meter block at 77-123; readings lines in the same frame.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

// Reads the header like any line: the download takes its address.
class LogHHMeter : public VendorMeter {
  public:
    LogHHMeter();
};

class LogHHReading : public VendorReading {
  public:
    LogHHReading();
};

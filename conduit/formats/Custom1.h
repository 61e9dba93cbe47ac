// Custom1: route-file lines of up to 599 characters with fixed five-column
// readings and the service id at column 497; readings lines of 507
// characters in the same frame.
#pragma once

#include <string>

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class Custom1Meter : public VendorMeter {
  public:
    Custom1Meter();

  protected:
    // An empty line carries no meter: giving the previous record again would
    // put that meter twice on the handheld.
    LineUse PrepareLine(std::string& line) override;
};

class Custom1Reading : public VendorReading {
  public:
    Custom1Reading();
};

// OurTown: route and readings lines of one frame, the name at column 8, the
// meter and three 9-column readings from column 67 and the service id
// (route, sequence, account) at column 120; readings lines of 255
// characters.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class OurTownMeter : public VendorMeter {
  public:
    OurTownMeter();

  protected:
    // An empty line carries no meter. Taking it as the record before once
    // more would put that meter on the handheld twice, and its reading
    // twice into the readings file.
    LineUse PrepareLine(std::string& line) override;
};

class OurTownReading : public VendorReading {
  public:
    OurTownReading();
};

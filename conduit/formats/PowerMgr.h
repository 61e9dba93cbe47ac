// PowerMgr: the standard route file in lines of 191 or 204 characters, with
// a user field, the tag at 192 and the last reading date; the standard
// readings line with the user field in place of the tag.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class PowerMgrMeter : public VendorMeter {
  public:
    PowerMgrMeter();

  protected:
    // A line of any other length (an empty last line, a header or trailer)
    // carries no meter and is passed over.
    LineUse PrepareLine(std::string& line) override;
};

class PowerMgrReading : public VendorReading {
  public:
    PowerMgrReading();
};

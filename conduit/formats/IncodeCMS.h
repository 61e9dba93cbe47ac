// IncodeCMS: a short route file of 129 characters in an order of its own,
// and a compact readings line of 56 characters. Meter type R of the billing
// system is E on the handheld and goes back as R.
#pragma once

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class IncodeCMSMeter : public VendorMeter {
  public:
    IncodeCMSMeter();
};

class IncodeCMSReading : public VendorReading {
  public:
    IncodeCMSReading();

  protected:
    // A type beginning with E becomes "R" again.
    void BeforeWrite() override;
};

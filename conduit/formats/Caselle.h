// Caselle: the standard route file with a user field and a tag that
// depends on the read type; readings lines with serial number, user field
// and response text. Ten interface numbers share this one layout.
#pragma once

#include <cstdint>

#include "conduit/formats/VendorMeter.h"
#include "conduit/formats/VendorReading.h"

class CaselleMeter : public VendorMeter {
  public:
    CaselleMeter();

    using VendorMeter::Read;
    // The interface number selects nothing: every Caselle interface reads
    // the same layout.
    std::int32_t Read(std::int32_t interfaceNumber);

  protected:
    void AdjustFields(std::string_view line) override;
    bool HooksChange(CodecField field) const override;
};

class CaselleReading : public VendorReading {
  public:
    CaselleReading();
};

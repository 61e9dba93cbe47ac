#include "conduit/formats/PrairiFire.h"

#include "conduit/formats/StandardLayouts.h"

PrairiFireMeter::PrairiFireMeter() : VendorMeter(PrairiFireRouteLayout()) {}

PrairiFireReading::PrairiFireReading() : VendorReading(WideReadingsLayout()) {}

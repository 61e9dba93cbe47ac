#include "conduit/formats/AccuFund.h"

#include "conduit/formats/StandardLayouts.h"

AccuFundMeter::AccuFundMeter() : VendorMeter(StandardRouteLayout()) {}

AccuFundReading::AccuFundReading() : VendorReading(StandardReadingsLayout()) {}

#include "conduit/formats/QuikWater.h"

#include "conduit/formats/StandardLayouts.h"

QuikWaterMeter::QuikWaterMeter() : VendorMeter(StandardRouteLayout()) {}

QuikWaterReading::QuikWaterReading() : VendorReading(StandardReadingsLayout()) {}

#include "conduit/formats/ElDorado.h"

#include "conduit/formats/StandardLayouts.h"

ElDoradoMeter::ElDoradoMeter() : VendorMeter(StandardRouteLayout()) {}

ElDoradoReading::ElDoradoReading() : VendorReading(ElDoradoReadingsLayout()) {}

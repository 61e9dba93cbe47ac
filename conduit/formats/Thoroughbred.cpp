#include "conduit/formats/Thoroughbred.h"

#include "conduit/formats/StandardLayouts.h"

ThoroughbredMeter::ThoroughbredMeter() : VendorMeter(ThoroughbredRouteLayout()) {}

ThoroughbredReading::ThoroughbredReading() : VendorReading(WideReadingsLayout()) {}

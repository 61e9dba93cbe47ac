#include "conduit/formats/Infinitec.h"

#include "conduit/formats/StandardLayouts.h"

InfinitecMeter::InfinitecMeter() : VendorMeter(InfinitecRouteLayout()) {}

InfinitecReading::InfinitecReading() : VendorReading(InfinitecReadingsLayout()) {}

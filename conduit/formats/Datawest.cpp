#include "conduit/formats/Datawest.h"

#include "conduit/formats/StandardLayouts.h"

DatawestMeter::DatawestMeter() : VendorMeter(StandardRouteLayout()) {}

DatawestReading::DatawestReading() : VendorReading(StandardReadingsLayout()) {}

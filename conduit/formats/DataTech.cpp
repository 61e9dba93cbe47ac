#include "conduit/formats/DataTech.h"

#include "conduit/formats/StandardLayouts.h"

DataTechMeter::DataTechMeter() : VendorMeter(DataTechRouteLayout()) {}

DataTechReading::DataTechReading() : VendorReading(DataTechReadingsLayout()) {}

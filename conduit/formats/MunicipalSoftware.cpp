#include "conduit/formats/MunicipalSoftware.h"

#include "conduit/formats/StandardLayouts.h"

MunicipalSoftwareMeter::MunicipalSoftwareMeter() : VendorMeter(MunicipalSoftwareRouteLayout()) {}

MunicipalSoftwareReading::MunicipalSoftwareReading()
    : VendorReading(MunicipalSoftwareReadingsLayout()) {}

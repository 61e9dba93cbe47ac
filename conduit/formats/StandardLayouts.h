// The standard route-file layout shared by eight billing systems and its
// variants, and the standard readings line with its variants.
#pragma once

struct MeterLayout;
struct ReadingLayout;

// Route files: one meter per line, 191 characters in the standard layout.
const MeterLayout& StandardRouteLayout();  // AccuFund, Datawest, QuikWater, ElDorado
const MeterLayout& MunicipalSoftwareRouteLayout();
const MeterLayout& InfinitecRouteLayout();
const MeterLayout& CaselleRouteLayout();  // its tag and read type rules are CaselleMeter's
const MeterLayout& DataTechRouteLayout();
const MeterLayout& PowerMgrRouteLayout();  // its line lengths are PowerMgrMeter's
const MeterLayout& ThoroughbredRouteLayout();
const MeterLayout& PrairiFireRouteLayout();  // the wide line of 223 characters

// Readings lines.
const ReadingLayout& StandardReadingsLayout();  // AccuFund, Datawest, QuikWater
const ReadingLayout& ElDoradoReadingsLayout();
const ReadingLayout& PowerMgrReadingsLayout();
const ReadingLayout& CaselleReadingsLayout();
const ReadingLayout& DataTechReadingsLayout();
const ReadingLayout& MunicipalSoftwareReadingsLayout();
const ReadingLayout& InfinitecReadingsLayout();
const ReadingLayout& WideReadingsLayout();  // PrairiFire, Thoroughbred

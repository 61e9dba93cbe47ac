// The per-vendor members of the text-file road: each hands its vendor's
// policy row to the one implementation.
#include <utility>

#include "conduit/TextFileRoad.h"
#include "conduit/TextFileVendors.h"
#include "conduit/WexalConduit.h"

namespace v = text_file_vendors;

std::int32_t WexalConduit::UploadAccuFundRoute(std::string route, std::string readingsPath,
                                               std::uint32_t captureExceptions,
                                               std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kAccuFund, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadAccuFund(std::string readingsPath, std::uint32_t captureExceptions,
                                          std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kAccuFund, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyAccuFundSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kAccuFund, routeFile);
}
std::int32_t WexalConduit::DownloadAccuFund(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kAccuFund, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadCaselleRoute(std::string route, std::string readingsPath,
                                              std::uint32_t captureExceptions,
                                              std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kCaselle, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadCaselle(std::string readingsPath, std::uint32_t captureExceptions,
                                         std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kCaselle, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyCaselleSortOrder(std::string routeFile,
                                                  std::int32_t /*interfaceCode*/) {
    return VerifyTextFileSortOrder(v::kCaselle, routeFile);
}
std::int32_t WexalConduit::DownloadCaselle(std::string routeFile, std::uint32_t retainByRoute,
                                           std::uint32_t /*interfaceNumber*/) {
    return DownloadTextFile(*this, v::kCaselle, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadDataTechRoute(std::string route, std::string readingsPath,
                                               std::uint32_t captureExceptions,
                                               std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kDataTech, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadDataTech(std::string readingsPath, std::uint32_t captureExceptions,
                                          std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kDataTech, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyDataTechSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kDataTech, routeFile);
}
std::int32_t WexalConduit::DownloadDataTech(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kDataTech, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadDatawestRoute(std::string route, std::string readingsPath,
                                               std::uint32_t captureExceptions,
                                               std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kDatawest, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadDatawest(std::string readingsPath, std::uint32_t captureExceptions,
                                          std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kDatawest, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyDatawestSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kDatawest, routeFile);
}
std::int32_t WexalConduit::DownloadDatawest(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kDatawest, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadElDoradoRoute(std::string route, std::string readingsPath,
                                               std::uint32_t captureExceptions,
                                               std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kElDorado, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadElDorado(std::string readingsPath, std::uint32_t captureExceptions,
                                          std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kElDorado, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyElDoradoSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kElDorado, routeFile);
}
std::int32_t WexalConduit::DownloadElDorado(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kElDorado, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadInfinitecRoute(std::string route, std::string readingsPath,
                                                std::uint32_t captureExceptions,
                                                std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kInfinitec, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadInfinitec(std::string readingsPath,
                                           std::uint32_t captureExceptions,
                                           std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kInfinitec, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyInfinitecSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kInfinitec, routeFile);
}
std::int32_t WexalConduit::DownloadInfinitec(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kInfinitec, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadMunicipalSoftwareRoute(std::string route, std::string readingsPath,
                                                        std::uint32_t captureExceptions,
                                                        std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kMunicipalSoftware, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadMunicipalSoftware(std::string readingsPath,
                                                   std::uint32_t captureExceptions,
                                                   std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kMunicipalSoftware, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyMunicipalSoftwareSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kMunicipalSoftware, routeFile);
}
std::int32_t WexalConduit::DownloadMunicipalSoftware(std::string routeFile,
                                                     std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kMunicipalSoftware, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadPowerMgrRoute(std::string route, std::string readingsPath,
                                               std::uint32_t captureExceptions,
                                               std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kPowerMgr, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadPowerMgr(std::string readingsPath, std::uint32_t captureExceptions,
                                          std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kPowerMgr, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyPowerMgrSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kPowerMgr, routeFile);
}
std::int32_t WexalConduit::DownloadPowerMgr(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kPowerMgr, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadPrairiFireRoute(std::string route, std::string readingsPath,
                                                 std::uint32_t captureExceptions,
                                                 std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kPrairiFire, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadPrairiFire(std::string readingsPath,
                                            std::uint32_t captureExceptions,
                                            std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kPrairiFire, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyPrairiFireSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kPrairiFire, routeFile);
}
std::int32_t WexalConduit::DownloadPrairiFire(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kPrairiFire, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadQuikWaterRoute(std::string route, std::string readingsPath,
                                                std::uint32_t captureExceptions,
                                                std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kQuikWater, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadQuikWater(std::string readingsPath,
                                           std::uint32_t captureExceptions,
                                           std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kQuikWater, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyQuikWaterSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kQuikWater, routeFile);
}
std::int32_t WexalConduit::DownloadQuikWater(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kQuikWater, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadThoroughbredRoute(std::string route, std::string readingsPath,
                                                   std::uint32_t captureExceptions,
                                                   std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kThoroughbred, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadThoroughbred(std::string readingsPath,
                                              std::uint32_t captureExceptions,
                                              std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kThoroughbred, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyThoroughbredSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kThoroughbred, routeFile);
}
std::int32_t WexalConduit::DownloadThoroughbred(std::string routeFile,
                                                std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kThoroughbred, routeFile, retainByRoute);
}

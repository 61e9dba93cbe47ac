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

std::int32_t WexalConduit::UploadAVRRoute(std::string route, std::string readingsPath,
                                          std::uint32_t captureExceptions,
                                          std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kAVR, route, std::move(readingsPath), captureExceptions,
                               exceptionsFile);
}
std::int32_t WexalConduit::UploadAVR(std::string readingsPath, std::uint32_t captureExceptions,
                                     std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kAVR, readingsPath, captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::VerifyAVRSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kAVR, routeFile);
}
std::int32_t WexalConduit::DownloadAVR(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kAVR, routeFile, retainByRoute);
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

std::int32_t WexalConduit::UploadConnektRoute(std::string route, std::string readingsPath,
                                              std::uint32_t captureExceptions,
                                              std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kConnekt, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadConnekt(std::string readingsPath, std::uint32_t captureExceptions,
                                         std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kConnekt, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyConnektSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kConnekt, routeFile);
}
std::int32_t WexalConduit::DownloadConnekt(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kConnekt, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadCustom1Route(std::string route, std::string readingsPath,
                                              std::uint32_t captureExceptions,
                                              std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kCustom1, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadCustom1(std::string readingsPath, std::uint32_t captureExceptions,
                                         std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kCustom1, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyCustom1SortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kCustom1, routeFile);
}
std::int32_t WexalConduit::DownloadCustom1(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kCustom1, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadDataPointeRoute(std::string route, std::string readingsPath,
                                                 std::uint32_t captureExceptions,
                                                 std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kDataPointe, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadDataPointe(std::string readingsPath,
                                            std::uint32_t captureExceptions,
                                            std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kDataPointe, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyDataPointeSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kDataPointe, routeFile);
}
std::int32_t WexalConduit::DownloadDataPointe(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kDataPointe, routeFile, retainByRoute);
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

std::int32_t WexalConduit::UploadIncodeRoute(std::string route, std::string readingsPath,
                                             std::uint32_t captureExceptions,
                                             std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kIncode, route, std::move(readingsPath), captureExceptions,
                               exceptionsFile);
}
std::int32_t WexalConduit::UploadIncode(std::string readingsPath, std::uint32_t captureExceptions,
                                        std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kIncode, readingsPath, captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::VerifyIncodeSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kIncode, routeFile);
}
std::int32_t WexalConduit::DownloadIncode(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kIncode, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadIncodeCMSRoute(std::string route, std::string readingsPath,
                                                std::uint32_t captureExceptions,
                                                std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kIncodeCMS, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadIncodeCMS(std::string readingsPath,
                                           std::uint32_t captureExceptions,
                                           std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kIncodeCMS, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyIncodeCMSSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kIncodeCMS, routeFile);
}
std::int32_t WexalConduit::DownloadIncodeCMS(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kIncodeCMS, routeFile, retainByRoute);
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

std::int32_t WexalConduit::UploadLogHHRoute(std::string route, std::string readingsPath,
                                            std::uint32_t captureExceptions,
                                            std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kLogHH, route, std::move(readingsPath), captureExceptions,
                               exceptionsFile);
}
std::int32_t WexalConduit::UploadLogHH(std::string readingsPath, std::uint32_t captureExceptions,
                                       std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kLogHH, readingsPath, captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::VerifyLogHHSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kLogHH, routeFile);
}
std::int32_t WexalConduit::DownloadLogHH(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kLogHH, routeFile, retainByRoute);
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

std::int32_t WexalConduit::UploadNorthStarRoute(std::string route, std::string readingsPath,
                                                std::uint32_t captureExceptions,
                                                std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kNorthStar, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadNorthStar(std::string readingsPath,
                                           std::uint32_t captureExceptions,
                                           std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kNorthStar, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyNorthStarSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kNorthStar, routeFile);
}
std::int32_t WexalConduit::DownloadNorthStar(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kNorthStar, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadOurTownRoute(std::string route, std::string readingsPath,
                                              std::uint32_t captureExceptions,
                                              std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kOurTown, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadOurTown(std::string readingsPath, std::uint32_t captureExceptions,
                                         std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kOurTown, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyOurTownSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kOurTown, routeFile);
}
std::int32_t WexalConduit::DownloadOurTown(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kOurTown, routeFile, retainByRoute);
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

std::int32_t WexalConduit::UploadRAMARRoute(std::string route, std::string readingsPath,
                                            std::uint32_t captureExceptions,
                                            std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kRAMAR, route, std::move(readingsPath), captureExceptions,
                               exceptionsFile);
}
std::int32_t WexalConduit::UploadRAMAR(std::string readingsPath, std::uint32_t captureExceptions,
                                       std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kRAMAR, readingsPath, captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::VerifyRAMARSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kRAMAR, routeFile);
}
std::int32_t WexalConduit::DownloadRAMAR(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kRAMAR, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadRMSBadgerRoute(std::string route, std::string readingsPath,
                                                std::uint32_t captureExceptions,
                                                std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kRMSBadger, route, std::move(readingsPath),
                               captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::UploadRMSBadger(std::string readingsPath,
                                           std::uint32_t captureExceptions,
                                           std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kRMSBadger, readingsPath, captureExceptions,
                                exceptionsFile);
}
std::int32_t WexalConduit::VerifyRMSBadgerSortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kRMSBadger, routeFile);
}
std::int32_t WexalConduit::DownloadRMSBadger(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kRMSBadger, routeFile, retainByRoute);
}

std::int32_t WexalConduit::UploadSCARoute(std::string route, std::string readingsPath,
                                          std::uint32_t captureExceptions,
                                          std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kSCA, route, std::move(readingsPath), captureExceptions,
                               exceptionsFile);
}
std::int32_t WexalConduit::UploadSCA(std::string readingsPath, std::uint32_t captureExceptions,
                                     std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kSCA, readingsPath, captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::VerifySCASortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kSCA, routeFile);
}
std::int32_t WexalConduit::DownloadSCA(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kSCA, routeFile, retainByRoute);
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

std::int32_t WexalConduit::UploadUSTIRoute(std::string route, std::string readingsPath,
                                           std::uint32_t captureExceptions,
                                           std::string exceptionsFile) {
    return UploadTextFileRoute(*this, v::kUSTI, route, std::move(readingsPath), captureExceptions,
                               exceptionsFile);
}
std::int32_t WexalConduit::UploadUSTI(std::string readingsPath, std::uint32_t captureExceptions,
                                      std::string exceptionsFile) {
    return UploadTextFileRoutes(*this, v::kUSTI, readingsPath, captureExceptions, exceptionsFile);
}
std::int32_t WexalConduit::VerifyUSTISortOrder(std::string routeFile) {
    return VerifyTextFileSortOrder(v::kUSTI, routeFile);
}
std::int32_t WexalConduit::DownloadUSTI(std::string routeFile, std::uint32_t retainByRoute) {
    return DownloadTextFile(*this, v::kUSTI, routeFile, retainByRoute);
}

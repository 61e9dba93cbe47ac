// The conduit object: lives on the stack of OpenConduit for one sync and
// carries every transfer routine as a member.
#pragma once

#include <cstdint>
#include <string>

class HHMeter;
class WexalConfig;

class WexalConduit {
  public:
    WexalConduit() = default;
    virtual ~WexalConduit() = default;
    WexalConduit(const WexalConduit&) = delete;
    WexalConduit& operator=(const WexalConduit&) = delete;

    // Runs one whole sync: 1 when it ran to its end, 0 when it stopped early.
    std::int32_t Synchronize();

    // Reader settings and the handheld clock; always 1.
    std::int32_t WriteReaderDB(const WexalConfig& config);
    // Rebuilds the handheld's response codes; always 1.
    std::int32_t WriteResponseCodes(const WexalConfig& config);

    // Enters or refreshes one route of the route list: 0, or -1 when the
    // list cannot be opened or the entry not saved on the handheld. With
    // `folderLater` the saved list lasts only once the handheld's folder is
    // flushed (HHRoute::CloseFolderLater).
    std::int32_t UpdateRoute(std::string route, std::int32_t count, std::string status,
                             bool folderLater = false);
    // Removes finished routes from the route list; always 0.
    std::int32_t PurgeRoutes();

    // The SQL interface of number 12 has no exchange of its own; always 0.
    std::int32_t SqlInterface(std::string name, std::string userName, std::string password);

    // The workbook road (interface "EXCEL"), one worksheet standing for the
    // route "01":
    // UploadExcel: the readings of every route handed back ("U") into the
    //   worksheet; 0, or -1 when a route stays "U" for the next sync.
    // DownloadExcel: the worksheet's meters into every route asked for ("D");
    //   0, or -1 when a route could not be downloaded (it stays "D").
    // DownloadExcelRoute: the number of meters stored for the route, or -1
    //   when the worksheet could not be read or the meters not stored.
    std::int32_t UploadExcel(std::string workbook, std::string worksheet,
                             const WexalConfig& configuration);
    std::int32_t DownloadExcel(std::string workbook, std::string worksheet, std::string route,
                               const WexalConfig& configuration);
    std::int32_t DownloadExcelRoute(std::string workbook, std::string worksheet, std::string route,
                                    const WexalConfig& configuration);

    // Appends the exceptions-capture line of the meter (its first 20 fields)
    // to the file: 0, or -1 when the file cannot be opened or the line not
    // completed.
    std::int32_t WriteException(const HHMeter& meter, std::string path);

    // The text-file road of each vendor, all alike (TextFileRoad.h):
    // Upload<Vendor>Route: the readings of one route; the number of meters
    //   walked, or -1 when the route is to be uploaded again.
    // Upload<Vendor>: every route returned with readings; 0, or -1 when a
    //   route is left for the next sync.
    // Verify<Vendor>SortOrder: 0 when the route file is sorted by route.
    // Download<Vendor>: the route file onto the handheld; 0, or -1 when it
    //   cannot be opened or did not reach the handheld whole.
    // The Caselle group also takes its interface number; its layout does not
    // depend on it.
    std::int32_t UploadAccuFundRoute(std::string route, std::string readingsPath,
                                     std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadAccuFund(std::string readingsPath, std::uint32_t captureExceptions,
                                std::string exceptionsFile);
    std::int32_t VerifyAccuFundSortOrder(std::string routeFile);
    std::int32_t DownloadAccuFund(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadAVRRoute(std::string route, std::string readingsPath,
                                std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadAVR(std::string readingsPath, std::uint32_t captureExceptions,
                           std::string exceptionsFile);
    std::int32_t VerifyAVRSortOrder(std::string routeFile);
    std::int32_t DownloadAVR(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadCaselleRoute(std::string route, std::string readingsPath,
                                    std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadCaselle(std::string readingsPath, std::uint32_t captureExceptions,
                               std::string exceptionsFile);
    std::int32_t VerifyCaselleSortOrder(std::string routeFile, std::int32_t interfaceCode);
    std::int32_t DownloadCaselle(std::string routeFile, std::uint32_t retainByRoute,
                                 std::uint32_t interfaceNumber);
    std::int32_t UploadConnektRoute(std::string route, std::string readingsPath,
                                    std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadConnekt(std::string readingsPath, std::uint32_t captureExceptions,
                               std::string exceptionsFile);
    std::int32_t VerifyConnektSortOrder(std::string routeFile);
    std::int32_t DownloadConnekt(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadCustom1Route(std::string route, std::string readingsPath,
                                    std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadCustom1(std::string readingsPath, std::uint32_t captureExceptions,
                               std::string exceptionsFile);
    std::int32_t VerifyCustom1SortOrder(std::string routeFile);
    std::int32_t DownloadCustom1(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadDataPointeRoute(std::string route, std::string readingsPath,
                                       std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadDataPointe(std::string readingsPath, std::uint32_t captureExceptions,
                                  std::string exceptionsFile);
    std::int32_t VerifyDataPointeSortOrder(std::string routeFile);
    std::int32_t DownloadDataPointe(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadDataTechRoute(std::string route, std::string readingsPath,
                                     std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadDataTech(std::string readingsPath, std::uint32_t captureExceptions,
                                std::string exceptionsFile);
    std::int32_t VerifyDataTechSortOrder(std::string routeFile);
    std::int32_t DownloadDataTech(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadDatawestRoute(std::string route, std::string readingsPath,
                                     std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadDatawest(std::string readingsPath, std::uint32_t captureExceptions,
                                std::string exceptionsFile);
    std::int32_t VerifyDatawestSortOrder(std::string routeFile);
    std::int32_t DownloadDatawest(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadElDoradoRoute(std::string route, std::string readingsPath,
                                     std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadElDorado(std::string readingsPath, std::uint32_t captureExceptions,
                                std::string exceptionsFile);
    std::int32_t VerifyElDoradoSortOrder(std::string routeFile);
    std::int32_t DownloadElDorado(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadIncodeRoute(std::string route, std::string readingsPath,
                                   std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadIncode(std::string readingsPath, std::uint32_t captureExceptions,
                              std::string exceptionsFile);
    std::int32_t VerifyIncodeSortOrder(std::string routeFile);
    std::int32_t DownloadIncode(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadIncodeCMSRoute(std::string route, std::string readingsPath,
                                      std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadIncodeCMS(std::string readingsPath, std::uint32_t captureExceptions,
                                 std::string exceptionsFile);
    std::int32_t VerifyIncodeCMSSortOrder(std::string routeFile);
    std::int32_t DownloadIncodeCMS(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadInfinitecRoute(std::string route, std::string readingsPath,
                                      std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadInfinitec(std::string readingsPath, std::uint32_t captureExceptions,
                                 std::string exceptionsFile);
    std::int32_t VerifyInfinitecSortOrder(std::string routeFile);
    std::int32_t DownloadInfinitec(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadLogHHRoute(std::string route, std::string readingsPath,
                                  std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadLogHH(std::string readingsPath, std::uint32_t captureExceptions,
                             std::string exceptionsFile);
    std::int32_t VerifyLogHHSortOrder(std::string routeFile);
    std::int32_t DownloadLogHH(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadMunicipalSoftwareRoute(std::string route, std::string readingsPath,
                                              std::uint32_t captureExceptions,
                                              std::string exceptionsFile);
    std::int32_t UploadMunicipalSoftware(std::string readingsPath, std::uint32_t captureExceptions,
                                         std::string exceptionsFile);
    std::int32_t VerifyMunicipalSoftwareSortOrder(std::string routeFile);
    std::int32_t DownloadMunicipalSoftware(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadNorthStarRoute(std::string route, std::string readingsPath,
                                      std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadNorthStar(std::string readingsPath, std::uint32_t captureExceptions,
                                 std::string exceptionsFile);
    std::int32_t VerifyNorthStarSortOrder(std::string routeFile);
    std::int32_t DownloadNorthStar(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadOurTownRoute(std::string route, std::string readingsPath,
                                    std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadOurTown(std::string readingsPath, std::uint32_t captureExceptions,
                               std::string exceptionsFile);
    std::int32_t VerifyOurTownSortOrder(std::string routeFile);
    std::int32_t DownloadOurTown(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadPowerMgrRoute(std::string route, std::string readingsPath,
                                     std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadPowerMgr(std::string readingsPath, std::uint32_t captureExceptions,
                                std::string exceptionsFile);
    std::int32_t VerifyPowerMgrSortOrder(std::string routeFile);
    std::int32_t DownloadPowerMgr(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadPrairiFireRoute(std::string route, std::string readingsPath,
                                       std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadPrairiFire(std::string readingsPath, std::uint32_t captureExceptions,
                                  std::string exceptionsFile);
    std::int32_t VerifyPrairiFireSortOrder(std::string routeFile);
    std::int32_t DownloadPrairiFire(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadQuikWaterRoute(std::string route, std::string readingsPath,
                                      std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadQuikWater(std::string readingsPath, std::uint32_t captureExceptions,
                                 std::string exceptionsFile);
    std::int32_t VerifyQuikWaterSortOrder(std::string routeFile);
    std::int32_t DownloadQuikWater(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadRAMARRoute(std::string route, std::string readingsPath,
                                  std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadRAMAR(std::string readingsPath, std::uint32_t captureExceptions,
                             std::string exceptionsFile);
    std::int32_t VerifyRAMARSortOrder(std::string routeFile);
    std::int32_t DownloadRAMAR(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadRMSBadgerRoute(std::string route, std::string readingsPath,
                                      std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadRMSBadger(std::string readingsPath, std::uint32_t captureExceptions,
                                 std::string exceptionsFile);
    std::int32_t VerifyRMSBadgerSortOrder(std::string routeFile);
    std::int32_t DownloadRMSBadger(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadSCARoute(std::string route, std::string readingsPath,
                                std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadSCA(std::string readingsPath, std::uint32_t captureExceptions,
                           std::string exceptionsFile);
    std::int32_t VerifySCASortOrder(std::string routeFile);
    std::int32_t DownloadSCA(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadThoroughbredRoute(std::string route, std::string readingsPath,
                                         std::uint32_t captureExceptions,
                                         std::string exceptionsFile);
    std::int32_t UploadThoroughbred(std::string readingsPath, std::uint32_t captureExceptions,
                                    std::string exceptionsFile);
    std::int32_t VerifyThoroughbredSortOrder(std::string routeFile);
    std::int32_t DownloadThoroughbred(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadUSTIRoute(std::string route, std::string readingsPath,
                                 std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadUSTI(std::string readingsPath, std::uint32_t captureExceptions,
                            std::string exceptionsFile);
    std::int32_t VerifyUSTISortOrder(std::string routeFile);
    std::int32_t DownloadUSTI(std::string routeFile, std::uint32_t retainByRoute);
};

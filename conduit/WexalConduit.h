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

    // Enters or refreshes one route of the route list; always 0.
    std::int32_t UpdateRoute(std::string route, std::int32_t count, std::string status);
    // Removes finished routes from the route list; always 0.
    std::int32_t PurgeRoutes();

    // The SQL interface of number 12 has no exchange of its own; always 0.
    std::int32_t SqlInterface(std::string name, std::string userName, std::string password);

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
    std::int32_t UploadCaselleRoute(std::string route, std::string readingsPath,
                                    std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadCaselle(std::string readingsPath, std::uint32_t captureExceptions,
                               std::string exceptionsFile);
    std::int32_t VerifyCaselleSortOrder(std::string routeFile, std::int32_t interfaceCode);
    std::int32_t DownloadCaselle(std::string routeFile, std::uint32_t retainByRoute,
                                 std::uint32_t interfaceNumber);
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
    std::int32_t UploadInfinitecRoute(std::string route, std::string readingsPath,
                                      std::uint32_t captureExceptions, std::string exceptionsFile);
    std::int32_t UploadInfinitec(std::string readingsPath, std::uint32_t captureExceptions,
                                 std::string exceptionsFile);
    std::int32_t VerifyInfinitecSortOrder(std::string routeFile);
    std::int32_t DownloadInfinitec(std::string routeFile, std::uint32_t retainByRoute);
    std::int32_t UploadMunicipalSoftwareRoute(std::string route, std::string readingsPath,
                                              std::uint32_t captureExceptions,
                                              std::string exceptionsFile);
    std::int32_t UploadMunicipalSoftware(std::string readingsPath, std::uint32_t captureExceptions,
                                         std::string exceptionsFile);
    std::int32_t VerifyMunicipalSoftwareSortOrder(std::string routeFile);
    std::int32_t DownloadMunicipalSoftware(std::string routeFile, std::uint32_t retainByRoute);
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
    std::int32_t UploadThoroughbredRoute(std::string route, std::string readingsPath,
                                         std::uint32_t captureExceptions,
                                         std::string exceptionsFile);
    std::int32_t UploadThoroughbred(std::string readingsPath, std::uint32_t captureExceptions,
                                    std::string exceptionsFile);
    std::int32_t VerifyThoroughbredSortOrder(std::string routeFile);
    std::int32_t DownloadThoroughbred(std::string routeFile, std::uint32_t retainByRoute);
};

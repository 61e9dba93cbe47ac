#include "conduit/TextFileVendors.h"

#include <type_traits>

#include "conduit/WexalConduit.h"
#include "conduit/formats/AccuFund.h"
#include "conduit/formats/Caselle.h"
#include "conduit/formats/DataTech.h"
#include "conduit/formats/Datawest.h"
#include "conduit/formats/ElDorado.h"
#include "conduit/formats/Infinitec.h"
#include "conduit/formats/MunicipalSoftware.h"
#include "conduit/formats/PowerMgr.h"
#include "conduit/formats/PrairiFire.h"
#include "conduit/formats/QuikWater.h"
#include "conduit/formats/Thoroughbred.h"

namespace {

template <class Codec>
std::unique_ptr<VendorMeter> MakeMeter() {
    return std::make_unique<Codec>();
}

template <class Codec>
std::unique_ptr<VendorReading> MakeReading() {
    return std::make_unique<Codec>();
}

// The driver's calls, adapted to the members' own signatures: the members
// of the Caselle group also take the interface number.
template <auto upload>
std::int32_t CallUpload(WexalConduit& conduit, const std::string& readingsPath,
                        std::int32_t captureExceptions, const std::string& exceptionsFile) {
    return (conduit.*upload)(readingsPath, static_cast<std::uint32_t>(captureExceptions),
                             exceptionsFile);
}

template <auto verify>
std::int32_t CallVerify(WexalConduit& conduit, const std::string& routeFile, std::int32_t number) {
    if constexpr (std::is_invocable_v<decltype(verify), WexalConduit&, std::string, std::int32_t>) {
        return (conduit.*verify)(routeFile, number);
    } else {
        return (conduit.*verify)(routeFile);
    }
}

template <auto download>
std::int32_t CallDownload(WexalConduit& conduit, const std::string& routeFile,
                          std::uint32_t retainByRoute, std::int32_t number) {
    if constexpr (std::is_invocable_v<decltype(download), WexalConduit&, std::string, std::uint32_t,
                                      std::uint32_t>) {
        return (conduit.*download)(routeFile, retainByRoute, static_cast<std::uint32_t>(number));
    } else {
        return (conduit.*download)(routeFile, retainByRoute);
    }
}

template <auto upload, auto verify, auto download>
constexpr TextFileRoutines kRoutines = {&CallUpload<upload>, &CallVerify<verify>,
                                        &CallDownload<download>};

using C = CodecField;

constexpr CodecFieldMask kWithResponseText = kCommonReadingFields | FieldMask({C::ResponseText});
constexpr CodecFieldMask kWithResponseTextAndUserDef =
    kCommonReadingFields | FieldMask({C::ResponseText, C::UserDef});

}  // namespace

namespace text_file_vendors {

constinit const TextFileVendor kAccuFund = {
    .word = "AccuFund",
    .numbers = {8},
    .routines = kRoutines<&WexalConduit::UploadAccuFund, &WexalConduit::VerifyAccuFundSortOrder,
                          &WexalConduit::DownloadAccuFund>,
    .makeMeter = MakeMeter<AccuFundMeter>,
    .makeReading = MakeReading<AccuFundReading>,
    .rule = ExceptionRule::A,
    .readingFields = kCommonReadingFields,
};

constinit const TextFileVendor kCaselle = {
    .word = "Caselle",
    .numbers = {2, 10, 19, 26, 27, 29, 32, 33, 34, 37},
    .routines = kRoutines<&WexalConduit::UploadCaselle, &WexalConduit::VerifyCaselleSortOrder,
                          &WexalConduit::DownloadCaselle>,
    .makeMeter = MakeMeter<CaselleMeter>,
    .makeReading = MakeReading<CaselleReading>,
    .rule = ExceptionRule::C,
    .readingFields = kCommonReadingFields |
                     FieldMask({C::RouteSequence, C::ResponseText, C::MeterSerialNbr, C::UserDef}),
    .sortMessage = SortMessage::Long,
};

constinit const TextFileVendor kDataTech = {
    .word = "DataTech",
    .numbers = {15},
    .routines = kRoutines<&WexalConduit::UploadDataTech, &WexalConduit::VerifyDataTechSortOrder,
                          &WexalConduit::DownloadDataTech>,
    .makeMeter = MakeMeter<DataTechMeter>,
    .makeReading = MakeReading<DataTechReading>,
    .rule = ExceptionRule::C,
    .readingFields = kWithResponseText,
};

constinit const TextFileVendor kDatawest = {
    .word = "Datawest",
    .numbers = {3},
    .routines = kRoutines<&WexalConduit::UploadDatawest, &WexalConduit::VerifyDatawestSortOrder,
                          &WexalConduit::DownloadDatawest>,
    .makeMeter = MakeMeter<DatawestMeter>,
    .makeReading = MakeReading<DatawestReading>,
    .rule = ExceptionRule::A,
    .readingFields = kCommonReadingFields,
};

constinit const TextFileVendor kElDorado = {
    .word = "ElDorado",
    .numbers = {4},
    .routines = kRoutines<&WexalConduit::UploadElDorado, &WexalConduit::VerifyElDoradoSortOrder,
                          &WexalConduit::DownloadElDorado>,
    .makeMeter = MakeMeter<ElDoradoMeter>,
    .makeReading = MakeReading<ElDoradoReading>,
    .rule = ExceptionRule::A,
    .readingFields = kCommonReadingFields,
    .provisionalEntries = ProvisionalEntries::FirstRouteOnly,
};

constinit const TextFileVendor kInfinitec = {
    .word = "Infinitec",
    .numbers = {5},
    .routines = kRoutines<&WexalConduit::UploadInfinitec, &WexalConduit::VerifyInfinitecSortOrder,
                          &WexalConduit::DownloadInfinitec>,
    .makeMeter = MakeMeter<InfinitecMeter>,
    .makeReading = MakeReading<InfinitecReading>,
    .rule = ExceptionRule::A,
    .readingFields = kWithResponseText | FieldMask({C::MeterType}),
};

constinit const TextFileVendor kMunicipalSoftware = {
    .word = "MunicipalSoftware",
    .numbers = {7, 23},
    .routines = kRoutines<&WexalConduit::UploadMunicipalSoftware,
                          &WexalConduit::VerifyMunicipalSoftwareSortOrder,
                          &WexalConduit::DownloadMunicipalSoftware>,
    .makeMeter = MakeMeter<MunicipalSoftwareMeter>,
    .makeReading = MakeReading<MunicipalSoftwareReading>,
    .rule = ExceptionRule::B,
    .readingFields = kWithResponseText,
};

constinit const TextFileVendor kPowerMgr = {
    .word = "PowerMgr",
    .numbers = {14},
    .routines = kRoutines<&WexalConduit::UploadPowerMgr, &WexalConduit::VerifyPowerMgrSortOrder,
                          &WexalConduit::DownloadPowerMgr>,
    .makeMeter = MakeMeter<PowerMgrMeter>,
    .makeReading = MakeReading<PowerMgrReading>,
    .rule = ExceptionRule::B,
    .readingFields = kWithResponseTextAndUserDef,
};

constinit const TextFileVendor kPrairiFire = {
    .word = "PrairiFire",
    .numbers = {18},
    .routines = kRoutines<&WexalConduit::UploadPrairiFire, &WexalConduit::VerifyPrairiFireSortOrder,
                          &WexalConduit::DownloadPrairiFire>,
    .makeMeter = MakeMeter<PrairiFireMeter>,
    .makeReading = MakeReading<PrairiFireReading>,
    .rule = ExceptionRule::B,
    .readingFields = kWithResponseTextAndUserDef,
    .captureNotice = "going to write exception",
    .sortMessage = SortMessage::Long,
};

constinit const TextFileVendor kQuikWater = {
    .word = "QuikWater",
    .numbers = {9},
    .routines = kRoutines<&WexalConduit::UploadQuikWater, &WexalConduit::VerifyQuikWaterSortOrder,
                          &WexalConduit::DownloadQuikWater>,
    .makeMeter = MakeMeter<QuikWaterMeter>,
    .makeReading = MakeReading<QuikWaterReading>,
    .rule = ExceptionRule::A,
    .readingFields = kCommonReadingFields,
};

constinit const TextFileVendor kThoroughbred = {
    .word = "Thoroughbred",
    .numbers = {21},
    .routines =
        kRoutines<&WexalConduit::UploadThoroughbred, &WexalConduit::VerifyThoroughbredSortOrder,
                  &WexalConduit::DownloadThoroughbred>,
    .makeMeter = MakeMeter<ThoroughbredMeter>,
    .makeReading = MakeReading<ThoroughbredReading>,
    .rule = ExceptionRule::B,
    .readingFields = kWithResponseTextAndUserDef,
    .sortMessage = SortMessage::Long,
};

std::span<const TextFileVendor* const> All() {
    static constexpr const TextFileVendor* kAll[] = {
        &kAccuFund,          &kCaselle,  &kDataTech,   &kDatawest,  &kElDorado,    &kInfinitec,
        &kMunicipalSoftware, &kPowerMgr, &kPrairiFire, &kQuikWater, &kThoroughbred};
    return kAll;
}

}  // namespace text_file_vendors

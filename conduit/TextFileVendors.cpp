#include "conduit/TextFileVendors.h"

#include <cstdio>
#include <type_traits>

#include "conduit/HHMeter.h"
#include "conduit/WexalConduit.h"
#include "conduit/formats/AVR.h"
#include "conduit/formats/AccuFund.h"
#include "conduit/formats/Caselle.h"
#include "conduit/formats/Connekt.h"
#include "conduit/formats/Custom1.h"
#include "conduit/formats/DataPointe.h"
#include "conduit/formats/DataTech.h"
#include "conduit/formats/Datawest.h"
#include "conduit/formats/ElDorado.h"
#include "conduit/formats/Incode.h"
#include "conduit/formats/IncodeCMS.h"
#include "conduit/formats/Infinitec.h"
#include "conduit/formats/LogHH.h"
#include "conduit/formats/MunicipalSoftware.h"
#include "conduit/formats/NorthStar.h"
#include "conduit/formats/OurTown.h"
#include "conduit/formats/PowerMgr.h"
#include "conduit/formats/PrairiFire.h"
#include "conduit/formats/QuikWater.h"
#include "conduit/formats/RAMAR.h"
#include "conduit/formats/RMSBadger.h"
#include "conduit/formats/SCA.h"
#include "conduit/formats/Thoroughbred.h"
#include "conduit/formats/USTI.h"

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

// Connekt and RMSBadger: the meter block of the route file goes back whole.
constexpr CodecFieldMask kConnektFamilyFields =
    kWithResponseText |
    FieldMask({C::MeterSerialNbr, C::SelectedRoute, C::UserDef, C::RouteSequence, C::Digits,
               C::MeterType, C::PrvReading, C::MaxReading, C::MinReading});

// Their lines take the route from the write itself.
template <class Codec>
std::int32_t WriteForRoute(VendorReading& codec, const std::string& route) {
    return static_cast<Codec&>(codec).Write(route);
}

// AVR: every uploaded route starts with a header line naming it.
std::int32_t WriteAVRHeader(VendorReading& codec, const std::string& route) {
    auto& avr = static_cast<AVRReading&>(codec);
    avr.SetField(C::SelectedRoute, route);
    return avr.WriteHeader();
}

// Incode: the reading of a demand meter goes over in ten-thousandths; the
// meter record keeps its own text.
void ScaleIncodeDemandReading(const HHMeter& meter, const std::string& /*route*/,
                              VendorReading& codec) {
    if (IsSingleChar(meter.MeterType, 'D')) {
        codec.SetField(C::CurReading, IncodeReading::DemandReading(meter.CurReading));
    }
}

// IncodeCMS: its compact line has no room for the name and the address.
constexpr CodecFieldMask kIncodeCMSFields =
    (kCommonReadingFields & ~FieldMask({C::BillingName, C::ServiceAddress})) |
    FieldMask({C::MeterType});

// USTI: the billing system's name and account travel joined in the meter's
// BillingName, as two halves of 30 characters.
constexpr std::size_t kUSTINameHalf = 30;

std::string PaddedBehind(const std::string& text, std::size_t width) {
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

// USTI's readings line names its fields its own way.
void HandOverUSTIReading(const HHMeter& meter, const std::string& route, VendorReading& codec) {
    const std::string& name = meter.BillingName;
    codec.SetField(C::Route, route);
    codec.SetField(C::Service, meter.ServiceUniqueID);
    codec.SetField(C::BillingName, name.substr(0, kUSTINameHalf));
    codec.SetField(C::Account, name.size() > kUSTINameHalf
                                   ? name.substr(kUSTINameHalf, kUSTINameHalf)
                                   : std::string());
    codec.SetField(C::MeterID, meter.MeterTagNbr);
    codec.SetField(C::Address, meter.ServiceAddress);
    codec.SetField(C::MaxRead, meter.MaxReading);
    codec.SetField(C::MinRead, meter.MinReading);
    codec.SetField(C::PrvRead, meter.PrvReading);
    codec.SetField(C::Current, meter.CurReading);
}

// USTI's route file carries no sequence: meters are numbered within their
// route. Its current reading comes down with the meter.
void FillUSTIMeter(const VendorMeter& record, std::uint32_t meterNumber, HHMeter& meter) {
    char sequence[16];
    std::snprintf(sequence, sizeof sequence, "%03u", static_cast<unsigned>(meterNumber));
    meter.ServiceUniqueID = record.Field(C::Service);
    meter.MeterTagNbr = record.Field(C::MeterTagNbr);
    meter.MeterSerialNbr = record.Field(C::MeterID);
    meter.MeterType = record.Field(C::MeterType);
    meter.RouteSequence = sequence;
    meter.Digits = record.Field(C::Digits);
    meter.PrvReading = record.Field(C::PrvRead);
    meter.MaxReading = record.Field(C::MaxRead);
    meter.MinReading = record.Field(C::MinRead);
    meter.CurReading = record.Field(C::Current);
    meter.BillingName = PaddedBehind(record.Field(C::BillingName), kUSTINameHalf) +
                        PaddedBehind(record.Field(C::Account), kUSTINameHalf);
    meter.ServiceAddress = record.Field(C::Address);
    meter.Message = record.Field(C::Message);
    meter.Status = "U";
    meter.ReadType = record.Field(C::ReadType);
    meter.UserDef = record.Field(C::UserDef);
}

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

constinit const TextFileVendor kAVR = {
    .word = "AVR",
    .numbers = {1},
    .routines = kRoutines<&WexalConduit::UploadAVR, &WexalConduit::VerifyAVRSortOrder,
                          &WexalConduit::DownloadAVR>,
    .makeMeter = MakeMeter<AVRMeter>,
    .makeReading = MakeReading<AVRReading>,
    .rule = ExceptionRule::A,
    .readingFields = kCommonReadingFields | FieldMask({C::SelectedRoute, C::RouteSequence,
                                                       C::MeterSerialNbr, C::MeterType}),
    .writeRouteHeader = WriteAVRHeader,
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

constinit const TextFileVendor kConnekt = {
    .word = "Connekt",
    .numbers = {31},
    .routines = kRoutines<&WexalConduit::UploadConnekt, &WexalConduit::VerifyConnektSortOrder,
                          &WexalConduit::DownloadConnekt>,
    .makeMeter = MakeMeter<ConnektMeter>,
    .makeReading = MakeReading<ConnektReading>,
    .rule = ExceptionRule::B,
    .readingFields = kConnektFamilyFields,
    .starInReadingsPath = true,
    .writeReading = WriteForRoute<ConnektReading>,
    .sortMessage = SortMessage::Long,
    .comesWithHeader = true,
};

constinit const TextFileVendor kCustom1 = {
    .word = "Custom1",
    .numbers = {20},
    .routines = kRoutines<&WexalConduit::UploadCustom1, &WexalConduit::VerifyCustom1SortOrder,
                          &WexalConduit::DownloadCustom1>,
    .makeMeter = MakeMeter<Custom1Meter>,
    .makeReading = MakeReading<Custom1Reading>,
    .rule = ExceptionRule::B,
    .readingFields =
        kWithResponseText | FieldMask({C::SelectedRoute, C::MeterSerialNbr, C::MaxReading,
                                       C::MinReading, C::RouteSequence, C::Digits, C::PrvReading}),
    .sortMessage = SortMessage::Long,
};

constinit const TextFileVendor kDataPointe = {
    .word = "DataPointe",
    .numbers = {22},
    .routines = kRoutines<&WexalConduit::UploadDataPointe, &WexalConduit::VerifyDataPointeSortOrder,
                          &WexalConduit::DownloadDataPointe>,
    .makeMeter = MakeMeter<DataPointeMeter>,
    .makeReading = MakeReading<DataPointeReading>,
    .rule = ExceptionRule::B,
    .readingFields = kWithResponseText |
                     FieldMask({C::RouteSequence, C::MeterType, C::MeterSerialNbr, C::MaxReading,
                                C::MinReading, C::Message, C::Digits, C::UserDef}),
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
};

constinit const TextFileVendor kIncode = {
    .word = "Incode",
    .numbers = {13},
    .routines = kRoutines<&WexalConduit::UploadIncode, &WexalConduit::VerifyIncodeSortOrder,
                          &WexalConduit::DownloadIncode>,
    .makeMeter = MakeMeter<IncodeMeter>,
    .makeReading = MakeReading<IncodeReading>,
    .rule = ExceptionRule::A,
    .readingFields = kCommonReadingFields | FieldMask({C::MeterType}),
    .adjustReading = ScaleIncodeDemandReading,
};

constinit const TextFileVendor kIncodeCMS = {
    .word = "IncodeCMS",
    .numbers = {6},
    .routines = kRoutines<&WexalConduit::UploadIncodeCMS, &WexalConduit::VerifyIncodeCMSSortOrder,
                          &WexalConduit::DownloadIncodeCMS>,
    .makeMeter = MakeMeter<IncodeCMSMeter>,
    .makeReading = MakeReading<IncodeCMSReading>,
    .rule = ExceptionRule::A,
    .readingFields = kIncodeCMSFields,
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

constinit const TextFileVendor kLogHH = {
    .word = "LogHH",
    .numbers = {24},
    .routines = kRoutines<&WexalConduit::UploadLogHH, &WexalConduit::VerifyLogHHSortOrder,
                          &WexalConduit::DownloadLogHH>,
    .makeMeter = MakeMeter<LogHHMeter>,
    .makeReading = MakeReading<LogHHReading>,
    .rule = ExceptionRule::B,
    .readingFields =
        kWithResponseText | FieldMask({C::SelectedRoute, C::UserDef, C::RouteSequence, C::MeterType,
                                       C::PrvReading, C::MaxReading, C::MinReading}),
    .starInReadingsPath = true,
    .sortMessage = SortMessage::Long,
    .headerIsFirstRecord = true,
    .comesWithHeader = true,
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

constinit const TextFileVendor kNorthStar = {
    .word = "NorthStar",
    .numbers = {36},
    .routines = kRoutines<&WexalConduit::UploadNorthStar, &WexalConduit::VerifyNorthStarSortOrder,
                          &WexalConduit::DownloadNorthStar>,
    .makeMeter = MakeMeter<NorthStarMeter>,
    .makeReading = MakeReading<NorthStarReading>,
    .rule = ExceptionRule::B,
    .readingFields =
        kWithResponseText |
        FieldMask({C::MeterType, C::UserDef, C::Message, C::PrvReading, C::MeterSerialNbr,
                   C::RouteSequence, C::MaxReading, C::MinReading, C::ReadType, C::Digits}),
    .sortMessage = SortMessage::Long,
};

constinit const TextFileVendor kOurTown = {
    .word = "OurTown",
    .numbers = {17},
    .routines = kRoutines<&WexalConduit::UploadOurTown, &WexalConduit::VerifyOurTownSortOrder,
                          &WexalConduit::DownloadOurTown>,
    .makeMeter = MakeMeter<OurTownMeter>,
    .makeReading = MakeReading<OurTownReading>,
    .rule = ExceptionRule::B,
    .readingFields = kWithResponseText |
                     FieldMask({C::MeterSerialNbr, C::MaxReading, C::MinReading, C::RouteSequence}),
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

constinit const TextFileVendor kRAMAR = {
    .word = "RAMAR",
    .numbers = {25},
    .routines = kRoutines<&WexalConduit::UploadRAMAR, &WexalConduit::VerifyRAMARSortOrder,
                          &WexalConduit::DownloadRAMAR>,
    .makeMeter = MakeMeter<RAMARMeter>,
    .makeReading = MakeReading<RAMARReading>,
    .rule = ExceptionRule::B,
    .readingFields = kWithResponseTextAndUserDef | FieldMask({C::SelectedRoute}),
    .sortMessage = SortMessage::Long,
};

constinit const TextFileVendor kRMSBadger = {
    .word = "RMSBadger",
    .numbers = {30},
    .routines = kRoutines<&WexalConduit::UploadRMSBadger, &WexalConduit::VerifyRMSBadgerSortOrder,
                          &WexalConduit::DownloadRMSBadger>,
    .makeMeter = MakeMeter<RMSBadgerMeter>,
    .makeReading = MakeReading<RMSBadgerReading>,
    .rule = ExceptionRule::B,
    .readingFields = kConnektFamilyFields,
    .starInReadingsPath = true,
    .writeReading = WriteForRoute<RMSBadgerReading>,
    .sortMessage = SortMessage::Long,
    .comesWithHeader = true,
};

constinit const TextFileVendor kSCA = {
    .word = "SCA",
    .numbers = {35},
    .routines = kRoutines<&WexalConduit::UploadSCA, &WexalConduit::VerifySCASortOrder,
                          &WexalConduit::DownloadSCA>,
    .makeMeter = MakeMeter<SCAMeter>,
    .makeReading = MakeReading<SCAReading>,
    .rule = ExceptionRule::B,
    .readingFields =
        kWithResponseTextAndUserDef |
        FieldMask({C::SelectedRoute, C::Message, C::PrvReading, C::MeterSerialNbr, C::RouteSequence,
                   C::MaxReading, C::MinReading, C::ReadType, C::Digits}),
    .sortMessage = SortMessage::Long,
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

constinit const TextFileVendor kUSTI = {
    .word = "USTI",
    .numbers = {11},
    .routines = kRoutines<&WexalConduit::UploadUSTI, &WexalConduit::VerifyUSTISortOrder,
                          &WexalConduit::DownloadUSTI>,
    .makeMeter = MakeMeter<USTIInterface>,
    .makeReading = MakeReading<USTIInterface>,
    .rule = ExceptionRule::A,
    // The rest goes over under USTI's own field names.
    .readingFields =
        FieldMask({C::Message, C::ResponseCode, C::Digits, C::ReadingDate, C::ReadingTime}),
    .adjustReading = HandOverUSTIReading,
    .noReadingsText = "Wexal conduit - No readings to upload",
    .routeField = C::Route,
    .provisionalEntries = ProvisionalEntries::None,
    .fillMeter = FillUSTIMeter,
};

std::span<const TextFileVendor* const> All() {
    static constexpr const TextFileVendor* kAll[] = {&kAccuFund,
                                                     &kCaselle,
                                                     &kDataTech,
                                                     &kDatawest,
                                                     &kElDorado,
                                                     &kInfinitec,
                                                     &kMunicipalSoftware,
                                                     &kPowerMgr,
                                                     &kPrairiFire,
                                                     &kQuikWater,
                                                     &kThoroughbred,
                                                     &kConnekt,
                                                     &kLogHH,
                                                     &kRMSBadger,
                                                     &kNorthStar,
                                                     &kOurTown,
                                                     &kRAMAR,
                                                     &kSCA,
                                                     &kUSTI,
                                                     &kAVR,
                                                     &kCustom1,
                                                     &kDataPointe,
                                                     &kIncode,
                                                     &kIncodeCMS};
    return kAll;
}

const TextFileVendor* ForNumber(std::uint16_t number) {
    for (const TextFileVendor* vendor : All()) {
        for (std::uint16_t own : vendor->numbers) {
            if (own != 0 && own == number) {
                return vendor;
            }
        }
    }
    return nullptr;
}

}  // namespace text_file_vendors

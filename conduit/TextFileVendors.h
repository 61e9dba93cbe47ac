// The billing vendors of the text-file road, one policy row each. The road's
// upload, sort-order check and download are written once; a row says what
// one vendor changes in them: its codecs, its exception rule, the fields its
// readings line takes, and a few named steps of its own.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>

#include "conduit/ExceptionRule.h"
#include "conduit/InterfaceTable.h"
#include "conduit/formats/CodecField.h"

class HHMeter;
class VendorMeter;
class VendorReading;

// A set of codec fields, one bit per CodecField.
using CodecFieldMask = std::uint64_t;
static_assert(kCodecFieldCount <= 64);

constexpr CodecFieldMask FieldMask(std::initializer_list<CodecField> fields) {
    CodecFieldMask set = 0;
    for (CodecField field : fields) {
        set |= CodecFieldMask{1} << static_cast<unsigned>(field);
    }
    return set;
}

constexpr bool InMask(CodecFieldMask set, CodecField field) {
    return (set >> static_cast<unsigned>(field) & 1U) != 0;
}

// What every readings line but two takes from the meter record.
inline constexpr CodecFieldMask kCommonReadingFields =
    FieldMask({CodecField::ServiceUniqueID, CodecField::BillingName, CodecField::ServiceAddress,
               CodecField::ResponseCode, CodecField::ReadingDate, CodecField::CurReading,
               CodecField::ReadingTime, CodecField::MeterTagNbr, CodecField::Intials});

// The two wordings of an unsorted route file.
enum class SortMessage {
    Short,  // the record's index
    Long,   // the index and both routes
};

// Whether a route file's first route gets the provisional route-list entry
// (no meters yet, status "R") when its first meter is met
// (TextFileDownload.cpp).
enum class ProvisionalEntries {
    FirstRoute,
    None,
};

struct TextFileVendor {
    const char* word;  // completes the routine names: Upload<word>Route, ...
    // Interface numbers that select this vendor; 0 ends the list.
    std::array<std::uint16_t, 10> numbers;
    // What the sync driver calls; the interface table points here.
    TextFileRoutines routines;

    std::unique_ptr<VendorMeter> (*makeMeter)();
    std::unique_ptr<VendorReading> (*makeReading)();

    // Upload of one route.
    ExceptionRule rule;
    // Codec fields filled from the meter field of the same name before each
    // write; SelectedRoute receives the route's name.
    CodecFieldMask readingFields;
    // Replace each "*" of the readings path by the UserDef of the route's
    // first meter, or by the route's name when that is empty (path
    // separators in it become "_"; "." and ".." refuse the route).
    bool starInReadingsPath = false;
    // Shown in a message box before each capture; null: no box.
    const char* captureNotice = nullptr;
    // Written once per route when its first meter has been read; null: none.
    // 0 written, non-zero failed (a failed readings write).
    std::int32_t (*writeRouteHeader)(VendorReading& codec, const std::string& route) = nullptr;
    // Last changes to the codec's fields after the field list was handed
    // over (scaled readings, split fields); null: none.
    void (*adjustReading)(const HHMeter& meter, const std::string& route,
                          VendorReading& codec) = nullptr;
    // Writes one readings line; null: VendorReading::Write.
    std::int32_t (*writeReading)(VendorReading& codec, const std::string& route) = nullptr;

    // Upload loop: logged with activity 22 when no route was uploaded; null:
    // nothing logged.
    const char* noReadingsText = nullptr;

    // Sort-order check.
    SortMessage sortMessage = SortMessage::Short;
    // The codec reads the file's first line, whatever it holds, as a header
    // record: the check discards it, and the download does not store it but
    // gives its ServiceAddress (trailing white space removed) to every meter
    // as UserDef. A header that is no meter line is no record at all.
    bool headerIsFirstRecord = false;

    // Download.
    CodecField routeField = CodecField::SelectedRoute;
    ProvisionalEntries provisionalEntries = ProvisionalEntries::FirstRoute;
    // The files begin with a header, never a meter (read as the first
    // record, or passed over as no meter line): a file without meters is
    // logged.
    bool comesWithHeader = false;
    // Fills the meter record from the codec's record; null: the common fill.
    // `meterNumber` is the record's place among the route's records read
    // from the file, from 1 (a meter the handheld refused keeps its number).
    void (*fillMeter)(const VendorMeter& record, std::uint32_t meterNumber,
                      HHMeter& meter) = nullptr;
};

namespace text_file_vendors {

extern const TextFileVendor kAccuFund;
extern const TextFileVendor kAVR;
extern const TextFileVendor kCaselle;
extern const TextFileVendor kConnekt;
extern const TextFileVendor kCustom1;
extern const TextFileVendor kDataPointe;
extern const TextFileVendor kDataTech;
extern const TextFileVendor kDatawest;
extern const TextFileVendor kElDorado;
extern const TextFileVendor kIncode;
extern const TextFileVendor kIncodeCMS;
extern const TextFileVendor kInfinitec;
extern const TextFileVendor kLogHH;
extern const TextFileVendor kMunicipalSoftware;
extern const TextFileVendor kNorthStar;
extern const TextFileVendor kOurTown;
extern const TextFileVendor kPowerMgr;
extern const TextFileVendor kPrairiFire;
extern const TextFileVendor kQuikWater;
extern const TextFileVendor kRAMAR;
extern const TextFileVendor kRMSBadger;
extern const TextFileVendor kSCA;
extern const TextFileVendor kThoroughbred;
extern const TextFileVendor kUSTI;

// Every row above.
std::span<const TextFileVendor* const> All();
// The row of a text-file interface number; null for any other number.
const TextFileVendor* ForNumber(std::uint16_t number);

}  // namespace text_file_vendors

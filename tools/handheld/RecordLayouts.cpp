#include "tools/handheld/RecordLayouts.h"

#include <algorithm>
#include <cstring>

namespace wexal::handheld {

namespace {

constexpr std::string_view kMeterDatabasePrefix = "route";

struct DatabaseLayout {
    std::string_view databaseName;
    std::string_view layoutName;
};

// Exact names first: "routeDB" also begins with the meter databases' prefix.
constexpr DatabaseLayout kDatabaseLayouts[] = {
    {"readerDB", "reader"},
    {"rcodesDB", "codes"},
    {"routeDB", "routes"},
};

}  // namespace

const std::vector<RecordLayout>& RecordLayouts() {
    // Words the handheld application keeps or the conduit sets to a constant
    // have no name of their own: they are word1 to word24 by position.
    static const std::vector<RecordLayout> layouts = {
        {"meter",
         "meter record",
         {},
         {"ServiceUniqueID", "MeterTagNbr", "MeterSerialNbr", "MeterType",      "RouteSequence",
          "Digits",          "PrvReading",  "MaxReading",     "MinReading",     "CurReading",
          "ReadingDate",     "ReadingTime", "BillingName",    "ServiceAddress", "Message",
          "Status",          "Intials",     "ResponseCode",   "ResponseText",   "LstReadingDate",
          "ReadType",        "UserDef"}},
        {"reader",
         "reader settings",
         {"Word1",
          "Word2",
          "Word3",
          "Word4",
          "Word5",
          "Word6",
          "Word7",
          "ShowExpectedRange",  // offset 14
          "ShowPriorReadings",
          "UseInitials",
          "UseInitialsAgain",
          "RightToLeft",
          "Word13",
          "Word14",
          "Word15",
          "Word16",
          "AutoOffSeconds",  // offset 32; 0xFFFF: not overridden
          "Journalling",
          "MeterIDChoice",
          "RestorePIN",
          "Word21",
          "Word22",
          "Word23",
          "Word24"},
         {"Text1", "UserName", "CurrentRoute", "Text4", "Text5", "Text6", "Text7"}},
        {"codes", "response code", {}, {"Code", "Spare", "Text"}},
        {"routes",
         "route list entry",
         {"MeterCount", "Word2", "Word3", "LastIndex"},
         {"RouteName", "DownloadStamp", "Text1", "Text2", "Status"}},
    };
    return layouts;
}

const RecordLayout* FindLayout(std::string_view name) {
    const auto& layouts = RecordLayouts();
    auto it = std::find_if(layouts.begin(), layouts.end(),
                           [&](const RecordLayout& l) { return l.name == name; });
    return it == layouts.end() ? nullptr : &*it;
}

const RecordLayout* LayoutForDatabase(std::string_view databaseName) {
    for (const DatabaseLayout& d : kDatabaseLayouts) {
        if (d.databaseName == databaseName) {
            return FindLayout(d.layoutName);
        }
    }
    if (databaseName.starts_with(kMeterDatabasePrefix)) {
        return FindLayout("meter");
    }
    return nullptr;
}

std::string LayoutNames() {
    std::string names;
    for (const RecordLayout& l : RecordLayouts()) {
        names += (names.empty() ? "" : "|") + std::string(l.name);
    }
    return names;
}

DecodedLayoutRecord DecodeWithLayout(const RecordLayout& layout,
                                     const std::vector<uint8_t>& bytes) {
    DecodedLayoutRecord rec;
    const std::size_t size = bytes.size();
    std::size_t pos = 0;
    for (std::string_view name : layout.words) {
        DecodedField f;
        f.name = name;
        f.isWord = true;
        if (size - pos >= 2) {
            f.state = DecodedField::State::Present;
            f.word = static_cast<uint16_t>((bytes[pos] << 8) | bytes[pos + 1]);
            pos += 2;
        } else if (pos < size) {
            f.state = DecodedField::State::Incomplete;
            f.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end());
            pos = size;
        }
        rec.fields.push_back(std::move(f));
    }
    for (std::string_view name : layout.texts) {
        DecodedField f;
        f.name = name;
        f.isWord = false;
        if (pos < size) {
            const auto* begin = bytes.data() + pos;
            const auto* nul = static_cast<const uint8_t*>(std::memchr(begin, 0, size - pos));
            const auto* end = nul != nullptr ? nul : bytes.data() + size;
            f.bytes.assign(begin, end);
            f.state =
                nul != nullptr ? DecodedField::State::Present : DecodedField::State::Incomplete;
            pos = nul != nullptr ? pos + f.bytes.size() + 1 : size;
        }
        rec.fields.push_back(std::move(f));
    }
    rec.rest.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end());
    return rec;
}

}  // namespace wexal::handheld

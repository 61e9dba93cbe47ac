// read: plays the meter reader on one route, as the handheld application does.
//
// Every meter visited gets a reading (or an exception with a response code),
// the date and time of the visit and the reader's initials; the route is then
// handed back to the conduit with status "U". Readings that are not given are
// drawn at random within the meter's expected range, from a generator that
// `--seed` makes repeatable: each meter takes one draw in index order, so a
// meter's reading does not depend on which other meters were given readings.
//
// Nothing is written until every meter record has been worked out; the meter
// database is saved first, then the route list, each file atomically.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "tools/handheld/Command.h"
#include "tools/handheld/Format.h"
#include "tools/handheld/RecordLayouts.h"

namespace wexal::handheld {

namespace {

using wexal::palm::HandheldStore;
using wexal::palm::PdbDatabase;

const std::string kRouteListName = "routeDB";
const std::string kCodesName = "rcodesDB";
const std::string kMeterDatabasePrefix = "route";

// The conduit reads each record into a buffer of this size.
constexpr std::size_t kMaxRecordSize = 512;
// Largest usage added to the previous reading of a meter without a usable range.
constexpr uint64_t kMaxSmallUsage = 99;
// Widest register that readings are padded to.
constexpr uint64_t kMaxRegisterWidth = 10;
// Longer whole numbers are not readings (and would not fit 64 bits).
constexpr std::size_t kMaxNumberDigits = 18;

struct Exception {
    std::string code;
    std::optional<std::string> text;  // none given: the text of the code in rcodesDB
};

struct ReadRequest {
    std::string route;
    std::optional<std::string> initials;
    std::optional<std::string> date;  // YYMMDD
    std::optional<std::string> time;  // HHMM
    std::optional<uint64_t> seed;
    std::map<std::size_t, std::string> readings;  // by meter index, as entered
    std::map<std::size_t, Exception> exceptions;  // by meter index
    bool onlyListed = false;
};

bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A record of one of the handheld application's layouts, its fields by name.
class FieldRecord {
  public:
    FieldRecord(const RecordLayout& layout, const std::vector<uint8_t>& bytes)
        : decoded_(DecodeWithLayout(layout, bytes)) {}

    // The first field that the record does not hold whole; nullptr when none.
    const DecodedField* FirstDamaged() const {
        for (const DecodedField& f : decoded_.fields) {
            if (f.state != DecodedField::State::Present) {
                return &f;
            }
        }
        return nullptr;
    }
    // A text as far as the record holds it.
    const std::string& Get(std::string_view name) const {
        return decoded_.fields[IndexOf(name)].bytes;
    }
    void Set(std::string_view name, std::string value) {
        DecodedField& f = decoded_.fields[IndexOf(name)];
        f.state = DecodedField::State::Present;
        f.bytes = std::move(value);
    }
    // Words, texts with their NULs, then the bytes that followed the last field.
    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> bytes;
        for (const DecodedField& f : decoded_.fields) {
            if (f.isWord) {
                bytes.push_back(static_cast<uint8_t>(f.word >> 8));
                bytes.push_back(static_cast<uint8_t>(f.word & 0xFF));
            } else {
                bytes.insert(bytes.end(), f.bytes.begin(), f.bytes.end());
                bytes.push_back(0);
            }
        }
        bytes.insert(bytes.end(), decoded_.rest.begin(), decoded_.rest.end());
        return bytes;
    }

  private:
    std::size_t IndexOf(std::string_view name) const {
        for (std::size_t i = 0; i < decoded_.fields.size(); ++i) {
            if (decoded_.fields[i].name == name) {
                return i;
            }
        }
        throw std::logic_error("no field " + std::string(name) + " in the layout");
    }

    DecodedLayoutRecord decoded_;
};

const RecordLayout& Layout(std::string_view name) {
    const RecordLayout* layout = FindLayout(name);
    if (layout == nullptr) {
        throw std::logic_error("no layout " + std::string(name));
    }
    return *layout;
}

// A record of the database, checked whole before it is changed.
FieldRecord WholeRecord(std::string_view layoutName, const std::vector<uint8_t>& bytes,
                        const std::string& what) {
    FieldRecord record(Layout(layoutName), bytes);
    if (const DecodedField* f = record.FirstDamaged()) {
        throw CommandError(
            what + " is damaged: " + std::string(f->name) +
            (f->state == DecodedField::State::Missing ? " is missing" : " is cut short"));
    }
    return record;
}

std::vector<uint8_t> CheckedBytes(const FieldRecord& record, const std::string& what) {
    std::vector<uint8_t> bytes = record.Bytes();
    if (bytes.size() > kMaxRecordSize) {
        throw CommandError(what + " would be " + std::to_string(bytes.size()) +
                           " bytes, more than the " + std::to_string(kMaxRecordSize) +
                           " bytes that the conduit reads");
    }
    return bytes;
}

// --- Arguments ---

bool TakeFlag(std::vector<std::string>& args, const std::string& name) {
    return std::erase(args, name) > 0;
}

// Every "OPTION INDEX=VALUE" of a repeatable option, by meter index.
template <typename Value, typename Parse>
std::map<std::size_t, Value> TakeIndexed(std::vector<std::string>& args, const std::string& option,
                                         const std::string& form, Parse parse) {
    std::map<std::size_t, Value> values;
    std::string arg;
    while (TakeOption(args, option, &arg)) {
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos) {
            throw UsageError(option + " takes " + form + ", not \"" + arg + "\"");
        }
        const std::size_t index = ParseCount(arg.substr(0, eq), option + " index");
        if (!values.emplace(index, parse(arg.substr(eq + 1))).second) {
            throw UsageError(option + " names meter " + std::to_string(index) + " twice");
        }
    }
    return values;
}

std::string EnteredReading(const std::string& text) {
    if (!AllDigits(text)) {
        throw UsageError("--meter reading must be digits: \"" + text + "\"");
    }
    return text;
}

Exception EnteredException(const std::string& text) {
    const std::size_t colon = text.find(':');
    Exception e{text.substr(0, colon), std::nullopt};
    if (colon != std::string::npos) {
        e.text = text.substr(colon + 1);
    }
    if (e.code.empty()) {
        throw UsageError("--exception needs a response code: \"" + text + "\"");
    }
    return e;
}

bool IsDate(const std::string& text) {
    if (text.size() != 6 || !AllDigits(text)) {
        return false;
    }
    using namespace std::chrono;
    const year_month_day date{year{2000 + std::stoi(text.substr(0, 2))},
                              month{static_cast<unsigned>(std::stoi(text.substr(2, 2)))},
                              day{static_cast<unsigned>(std::stoi(text.substr(4, 2)))}};
    return date.ok();
}

bool IsTime(const std::string& text) {
    return text.size() == 4 && AllDigits(text) && std::stoi(text.substr(0, 2)) < 24 &&
           std::stoi(text.substr(2, 2)) < 60;
}

ReadRequest ParseRequest(CommandContext& c) {
    ReadRequest r;
    std::string value;
    if (TakeOption(c.args, "--initials", &value)) {
        r.initials = value;
    }
    if (TakeOption(c.args, "--date", &value)) {
        if (!IsDate(value)) {
            throw UsageError("--date must be a date YYMMDD: \"" + value + "\"");
        }
        r.date = value;
    }
    if (TakeOption(c.args, "--time", &value)) {
        if (!IsTime(value)) {
            throw UsageError("--time must be a time HHMM: \"" + value + "\"");
        }
        r.time = value;
    }
    if (TakeOption(c.args, "--seed", &value)) {
        r.seed = ParseCount(value, "--seed");
    }
    r.readings = TakeIndexed<std::string>(c.args, "--meter", "INDEX=READING", EnteredReading);
    r.exceptions =
        TakeIndexed<Exception>(c.args, "--exception", "INDEX=CODE[:TEXT]", EnteredException);
    const bool all = TakeFlag(c.args, "--all");
    r.onlyListed = TakeFlag(c.args, "--only-listed");
    if (all && r.onlyListed) {
        throw UsageError("--all and --only-listed exclude each other");
    }
    if (r.onlyListed && r.readings.empty() && r.exceptions.empty()) {
        throw UsageError("--only-listed needs --meter or --exception");
    }
    if (c.args.empty() || c.args.front().rfind("--", 0) == 0) {
        RejectLeftoverArgs(c);  // an unknown option is the clearer complaint
        throw UsageError("missing route name");
    }
    r.route = c.args.front();
    c.args.erase(c.args.begin());
    RejectLeftoverArgs(c);
    return r;
}

// --- Readings ---

// A reading text as a whole number: blanks around it ignored, a fraction
// dropped ("1234.5" is 1234). nullopt when it is no number.
std::optional<uint64_t> WholeNumber(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    const std::size_t dot = text.find('.');
    std::string_view whole = text.substr(0, dot);
    if (!AllDigits(whole) || (dot != std::string_view::npos && dot + 1 < text.size() &&
                              !AllDigits(text.substr(dot + 1)))) {
        return std::nullopt;
    }
    whole.remove_prefix(std::min(whole.find_first_not_of('0'), whole.size()));
    if (whole.size() > kMaxNumberDigits) {
        return std::nullopt;
    }
    return whole.empty() ? 0 : std::stoull(std::string(whole));
}

// The register width that `Digits` gives: 1 to 10, or 0 when it gives none.
std::size_t RegisterWidth(const std::string& digits) {
    std::optional<uint64_t> width = WholeNumber(digits);
    return width && *width >= 1 && *width <= kMaxRegisterWidth ? *width : 0;
}

std::string Padded(const std::string& digits, std::size_t width) {
    return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

// A drawn reading as the register shows it: its last `width` digits (the
// register rolls over), zeros in front.
std::string RegisterText(uint64_t value, std::size_t width) {
    std::string digits = std::to_string(value);
    if (width != 0 && digits.size() > width) {
        digits.erase(0, digits.size() - width);
    }
    return Padded(digits, width);
}

// An entered reading padded to the register; refused when the register cannot show it.
std::string EnteredRegisterText(const std::string& entered, std::size_t width, std::size_t index) {
    if (width == 0) {
        return entered;
    }
    const std::string significant =
        entered.substr(std::min(entered.find_first_not_of('0'), entered.size() - 1));
    if (significant.size() > width) {
        throw CommandError("reading " + entered + " for meter " + std::to_string(index) +
                           " has more than its " + std::to_string(width) + " digits");
    }
    return Padded(significant, width);
}

// A reading within [MinReading, MaxReading]; previous reading plus a small
// usage when that range is empty or unreadable.
uint64_t DrawnReading(const FieldRecord& meter, uint64_t draw) {
    const std::optional<uint64_t> low = WholeNumber(meter.Get("MinReading"));
    const std::optional<uint64_t> high = WholeNumber(meter.Get("MaxReading"));
    if (low && high && *low <= *high) {
        return *low + draw % (*high - *low + 1);
    }
    return WholeNumber(meter.Get("PrvReading")).value_or(0) + draw % (kMaxSmallUsage + 1);
}

// --- The visit ---

struct Visit {
    std::string date;
    std::string time;
    std::string initials;
    uint64_t seed = 0;
};

// `now`: the handheld's clock, which stamps the readings in local time.
Visit VisitFor(const ReadRequest& request, const HandheldStore& store, std::time_t now) {
    Visit v;
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%y%m%d", &local);
    v.date = request.date.value_or(text);
    // The handheld stamps HHMMSS, as the billing systems' readings lines and
    // workbooks take the time; a time given in minutes is at their start.
    std::strftime(text, sizeof text, "%H%M%S", &local);
    v.time = request.time ? *request.time + "00" : std::string(text);
    v.initials = request.initials ? *request.initials : store.UserName().substr(0, 3);
    if (request.seed) {
        v.seed = *request.seed;
    } else {
        std::random_device device;
        v.seed = (static_cast<uint64_t>(device()) << 32) | device();
    }
    return v;
}

struct RouteEntry {
    std::size_t index = 0;
    FieldRecord record;
};

RouteEntry FindRoute(const PdbDatabase& routes, const std::string& route) {
    for (std::size_t i = 0; i < routes.records.size(); ++i) {
        FieldRecord record(Layout("routes"), routes.records[i].data);
        if (record.Get("RouteName") == route) {
            return {i, WholeRecord("routes", routes.records[i].data,
                                   "the " + kRouteListName + " record of route \"" + route + "\"")};
        }
    }
    throw CommandError("route \"" + route + "\" is not in " + kRouteListName);
}

PdbDatabase LoadMeters(const CommandContext& c, const HandheldStore& store,
                       const std::string& route) {
    const std::string name = kMeterDatabasePrefix + route;
    try {
        return LoadDatabase(c, store, name);
    } catch (const CommandError&) {
        throw CommandError("route \"" + route + "\" has no meter database \"" + name + "\"");
    }
}

// The exceptions with their texts, those not given taken from rcodesDB.
std::map<std::size_t, Exception> ResolveExceptions(const CommandContext& c,
                                                   const HandheldStore& store,
                                                   std::map<std::size_t, Exception> exceptions) {
    std::optional<PdbDatabase> codes;
    for (auto& [index, e] : exceptions) {
        if (e.text) {
            continue;
        }
        if (!codes) {
            codes = store.Exists(kCodesName) ? LoadDatabase(c, store, kCodesName) : PdbDatabase{};
        }
        for (const wexal::palm::PdbRecord& r : codes->records) {
            FieldRecord code(Layout("codes"), r.data);
            if (code.Get("Code") == e.code) {
                e.text = code.Get("Text");
                break;
            }
        }
        if (!e.text) {
            throw CommandError("response code \"" + e.code + "\" is not in " + kCodesName +
                               "; give --exception " + std::to_string(index) + "=" + e.code +
                               ":TEXT");
        }
    }
    return exceptions;
}

void CheckIndexes(const ReadRequest& request, const std::string& meterDb, std::size_t count) {
    auto check = [&](std::size_t index, const char* option) {
        if (index >= count) {
            throw CommandError(std::string(option) + " " + std::to_string(index) + ": " + meterDb +
                               " holds " + std::to_string(count) +
                               (count == 1 ? " meter" : " meters"));
        }
    };
    for (const auto& entry : request.readings) {
        check(entry.first, "--meter");
    }
    for (const auto& entry : request.exceptions) {
        check(entry.first, "--exception");
    }
}

// Fills in one visited meter as the reader does on the handheld.
void TakeReading(FieldRecord& meter, std::size_t index, const ReadRequest& request,
                 const std::map<std::size_t, Exception>& exceptions, const Visit& visit,
                 uint64_t draw) {
    const std::size_t width = RegisterWidth(meter.Get("Digits"));
    const auto entered = request.readings.find(index);
    const auto exception = exceptions.find(index);
    std::string reading;
    if (entered != request.readings.end()) {
        reading = EnteredRegisterText(entered->second, width, index);
    } else if (exception == exceptions.end()) {
        reading = RegisterText(DrawnReading(meter, draw), width);
    }
    meter.Set("CurReading", reading);
    meter.Set("ReadingDate", visit.date);
    meter.Set("ReadingTime", visit.time);
    meter.Set("Intials", visit.initials);
    const bool isException = exception != exceptions.end();
    meter.Set("Status", isException ? "E" : "R");
    meter.Set("ResponseCode", isException ? exception->second.code : "");
    meter.Set("ResponseText", isException ? *exception->second.text : "");
}

std::string MeterLine(std::size_t index, const FieldRecord& meter, bool visited) {
    std::string line = "  meter " + std::to_string(index) + "  id " +
                       QuoteText(meter.Get("ServiceUniqueID")) + "  reading " +
                       QuoteText(meter.Get("CurReading")) + "  status " +
                       QuoteText(meter.Get("Status"));
    if (meter.Get("Status") == "E") {
        line += "  response " + QuoteText(meter.Get("ResponseCode")) + " " +
                QuoteText(meter.Get("ResponseText"));
    }
    return line + (visited ? "\n" : "  (not visited)\n");
}

void MarkModified(PdbDatabase& db, int64_t now) {
    db.header.modificationDate = wexal::palm::UnixToPalmTime(now);
    db.header.modificationNumber += 1;
}

int Read(CommandContext& c) {
    ReadRequest request = ParseRequest(c);
    HandheldStore store = OpenHandheld(c);
    wexal::palm::HandheldLock lock = store.Lock();
    const int64_t now = store.Clock().Now(std::time(nullptr));
    const Visit visit = VisitFor(request, store, static_cast<std::time_t>(now));

    PdbDatabase routes = LoadDatabase(c, store, kRouteListName);
    RouteEntry route = FindRoute(routes, request.route);
    PdbDatabase meters = LoadMeters(c, store, request.route);
    const std::string& meterDb = meters.header.name;
    CheckIndexes(request, meterDb, meters.records.size());
    const std::map<std::size_t, Exception> exceptions =
        ResolveExceptions(c, store, request.exceptions);

    std::ostringstream lines;
    std::mt19937_64 generator(visit.seed);
    for (std::size_t i = 0; i < meters.records.size(); ++i) {
        const uint64_t draw = generator();
        wexal::palm::PdbRecord& r = meters.records[i];
        const bool visited =
            !request.onlyListed || request.readings.count(i) > 0 || exceptions.count(i) > 0;
        if (!visited) {
            lines << MeterLine(i, FieldRecord(Layout("meter"), r.data), false);
            continue;
        }
        const std::string what = "meter " + std::to_string(i) + " of " + meterDb;
        FieldRecord meter = WholeRecord("meter", r.data, what);
        TakeReading(meter, i, request, exceptions, visit, draw);
        r.data = CheckedBytes(meter, what);
        r.attributes |= wexal::palm::kPdbRecAttrDirty;
        lines << MeterLine(i, meter, true);
    }

    const std::string formerStatus = route.record.Get("Status");
    route.record.Set("Status", "U");
    wexal::palm::PdbRecord& routeRecord = routes.records[route.index];
    routeRecord.data = CheckedBytes(
        route.record, "the " + kRouteListName + " record of route \"" + request.route + "\"");
    routeRecord.attributes |= wexal::palm::kPdbRecAttrDirty;

    MarkModified(meters, now);
    MarkModified(routes, now);
    store.Save(meters);
    store.Save(routes);

    c.out << "Route " << QuoteText(request.route) << ": " << meters.records.size()
          << (meters.records.size() == 1 ? " meter" : " meters") << " in " << QuoteText(meterDb)
          << "; date " << visit.date << ", time " << visit.time << ", initials "
          << QuoteText(visit.initials) << ", seed " << visit.seed << "\n"
          << lines.str() << "Route " << QuoteText(request.route) << " handed back: status "
          << QuoteText(formerStatus) << " -> " << QuoteText("U") << "\n";
    return 0;
}

// The reader asks for a listed route, as the handheld application does for
// the links that download on request (status D).
int Request(CommandContext& c) {
    if (c.args.empty() || c.args.front().rfind("--", 0) == 0) {
        throw UsageError("missing route name");
    }
    const std::string name = c.args.front();
    c.args.erase(c.args.begin());
    RejectLeftoverArgs(c);

    HandheldStore store = OpenHandheld(c);
    wexal::palm::HandheldLock lock = store.Lock();
    const int64_t now = store.Clock().Now(std::time(nullptr));
    PdbDatabase routes = LoadDatabase(c, store, kRouteListName);
    RouteEntry route = FindRoute(routes, name);
    const std::string formerStatus = route.record.Get("Status");
    route.record.Set("Status", "D");
    wexal::palm::PdbRecord& routeRecord = routes.records[route.index];
    routeRecord.data =
        CheckedBytes(route.record, "the " + kRouteListName + " record of route \"" + name + "\"");
    routeRecord.attributes |= wexal::palm::kPdbRecAttrDirty;
    MarkModified(routes, now);
    store.Save(routes);
    c.out << "Route " << QuoteText(name) << " requested: status " << QuoteText(formerStatus)
          << " -> " << QuoteText("D") << "\n";
    return 0;
}

}  // namespace

void AddReadingCommands(std::vector<Command>& commands) {
    commands.push_back(
        {"read",
         "ROUTE [--meter INDEX=READING]... [--exception INDEX=CODE[:TEXT]]... "
         "[--all|--only-listed] [--seed N] [--date YYMMDD] [--time HHMM] [--initials XYZ]",
         "read a route's meters and hand it back (status U): meters not listed get a random "
         "reading in range unless --only-listed; INDEX counts from 0; TEXT defaults to rcodesDB's",
         Read});
    commands.push_back({"request", "ROUTE",
                        "ask for a listed route to be downloaded at the next sync (status D)",
                        Request});
}

}  // namespace wexal::handheld

// `handheld DIR read`: the meter reader's visit to a route, run as a program on
// a handheld built through the store, its records checked afterwards.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/palm/HandheldStore.h"
#include "platform/palm/PdbFile.h"
#include "tests/platform/palm/PalmTestUtil.h"
#include "tests/support/TempDir.h"

namespace wexal::palm {
namespace {

namespace fs = std::filesystem;
using testing::CommandResult;
using testing::ShellQuote;

using Fields = std::map<std::string, std::string>;

const std::vector<std::string> kMeterTexts = {
    "ServiceUniqueID", "MeterTagNbr", "MeterSerialNbr", "MeterType",      "RouteSequence",
    "Digits",          "PrvReading",  "MaxReading",     "MinReading",     "CurReading",
    "ReadingDate",     "ReadingTime", "BillingName",    "ServiceAddress", "Message",
    "Status",          "Intials",     "ResponseCode",   "ResponseText",   "LstReadingDate",
    "ReadType",        "UserDef"};
const std::vector<std::string> kRouteTexts = {"RouteName", "DownloadStamp", "Text1", "Text2",
                                              "Status"};
// All that a visit may change in a meter record.
const std::vector<std::string> kVisitFields = {"CurReading",  "ReadingDate", "ReadingTime",
                                               "Status",      "Intials",     "ResponseCode",
                                               "ResponseText"};

// Big-endian words, then the named texts in order, each with its NUL.
std::vector<uint8_t> Pack(const std::vector<uint16_t>& words, const std::vector<std::string>& names,
                          Fields fields) {
    std::vector<uint8_t> bytes;
    for (uint16_t w : words) {
        bytes.insert(bytes.end(), {static_cast<uint8_t>(w >> 8), static_cast<uint8_t>(w)});
    }
    for (const std::string& name : names) {
        bytes.insert(bytes.end(), fields[name].begin(), fields[name].end());
        bytes.push_back(0);
    }
    return bytes;
}

Fields UnpackMeter(const std::vector<uint8_t>& bytes) {
    Fields fields;
    std::string all(bytes.begin(), bytes.end());
    std::size_t pos = 0;
    for (const std::string& name : kMeterTexts) {
        std::size_t nul = all.find('\0', pos);
        EXPECT_NE(nul, std::string::npos) << name;
        fields[name] = all.substr(pos, nul - pos);
        pos = nul + 1;
    }
    EXPECT_EQ(pos, all.size()) << "bytes after the last text";
    return fields;
}

Fields Meter(const std::string& id, const std::string& digits, const std::string& previous,
             const std::string& min, const std::string& max, const std::string& status = "U") {
    Fields f = {{"ServiceUniqueID", id},  {"MeterTagNbr", "T" + id}, {"Digits", digits},
                {"PrvReading", previous}, {"MinReading", min},       {"MaxReading", max},
                {"Status", status},       {"ReadType", "S"}};
    if (status == "E") {
        f["ResponseCode"] = "DG";
        f["ResponseText"] = "Dog";
    }
    return f;
}

std::vector<uint8_t> RouteRecord(const std::string& name, uint16_t meters,
                                 const std::string& status) {
    return Pack({meters, 0, 0, static_cast<uint16_t>(meters - 1)}, kRouteTexts,
                {{"RouteName", name},
                 {"DownloadStamp", "311015"},
                 {"Text1", "      "},
                 {"Text2", "      "},
                 {"Status", status}});
}

PdbDatabase Database(const std::string& name, std::vector<PdbRecord> records) {
    PdbDatabase db;
    db.header.name = name;
    db.header.type = FourCC("DATA");
    db.header.creator = FourCC("TLWX");
    db.header.uniqueIdSeed = 0x400;
    db.records = std::move(records);
    return db;
}

// Route "North" as downloaded, record ids out of order. Meter 2 was an
// exception and is read again; its range is backwards, so its reading comes
// from the previous one and its 4-digit register may roll over. Meter 4's
// blank readings came as "0".
const std::vector<PdbRecord> kNorth = {
    {0x03, 0x101, Pack({}, kMeterTexts, Meter("S-100", "05", "01500", "01520", "01600"))},
    {0x00, 0x0A0, Pack({}, kMeterTexts, Meter("S-200", "10", "12", "n/a", ""))},
    {0x10, 0x333, Pack({}, kMeterTexts, Meter("S-300", "04", "9990", "9999", "0010", "E"))},
    {0x00, 0x002, Pack({}, kMeterTexts, Meter("S-400", "", "  700.5", " 700", " 705 "))},
    {0x00, 0x103, Pack({}, kMeterTexts, Meter("S-500", "06", "0", "0", "0"))},
};

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class HandheldReadTest : public ::testing::Test {
  protected:
    void SetUp() override { Build(); }

    // Routes East (no meter database) and North listed, meters for the
    // unlisted route West, one response code.
    void Build() {
        fs::remove_all(Dir());
        HandheldStore store = HandheldStore::Init(Dir(), "Alice Smith");
        store.Create(Database("routeDB", {{0, 1, RouteRecord("East", 3, "R")},
                                          {0, 2, RouteRecord("North", 5, "R")}}));
        store.Create(Database("routeNorth", kNorth));
        store.Create(Database("routeWest", {kNorth[0]}));
        store.Create(Database("rcodesDB", {{0, 1,
                                            Pack({}, {"Code", "Spare", "Text"},
                                                 {{"Code", "NH"}, {"Text", "No access"}})}}));
    }

    std::string Dir() const { return (dir_ / "hh").string(); }
    HandheldStore Store() const { return HandheldStore(Dir()); }

    CommandResult Read(const std::string& args, const std::string& environment = "") const {
        return testing::RunCommand(environment + ShellQuote(WEXAL_HANDHELD_TOOL) + " " +
                                   ShellQuote(Dir()) + " read " + args);
    }

    std::vector<Fields> Meters() const {
        std::vector<Fields> meters;
        for (const PdbRecord& r : Store().Load("routeNorth").records) {
            meters.push_back(UnpackMeter(r.data));
        }
        return meters;
    }
    std::vector<std::string> Readings() const {
        std::vector<std::string> readings;
        for (const Fields& m : Meters()) {
            readings.push_back(m.at("CurReading"));
        }
        return readings;
    }

    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const fs::directory_entry& e : fs::directory_iterator(Dir())) {
            files[e.path().filename().string()] = wexal::testing::ReadFile(e.path());
        }
        return files;
    }

    wexal::testing::TempDir dir_;
};

// Meter i of North is as downloaded but for the visit's fields.
void ExpectOnlyVisitFieldsChanged(std::size_t i, Fields after) {
    Fields before = UnpackMeter(kNorth[i].data);
    for (const std::string& name : kVisitFields) {
        before.erase(name);
        after.erase(name);
    }
    EXPECT_EQ(after, before) << "meter " << i;
}

TEST_F(HandheldReadTest, VisitReadsEveryMeterAndHandsTheRouteBack) {
    const uint32_t modificationNumber = Store().Load("routeNorth").header.modificationNumber;
    CommandResult r = Read("North --date 240131 --time 0915 --initials JQ --seed 7");
    ASSERT_EQ(r.status, 0) << r.output;

    PdbDatabase meters = Store().Load("routeNorth");
    ASSERT_EQ(meters.records.size(), kNorth.size());
    EXPECT_EQ(meters.header.modificationNumber, modificationNumber + 1);
    for (std::size_t i = 0; i < kNorth.size(); ++i) {
        EXPECT_EQ(meters.records[i].uniqueId, kNorth[i].uniqueId);
        EXPECT_EQ(meters.records[i].attributes, kNorth[i].attributes | kPdbRecAttrDirty);
        Fields m = UnpackMeter(meters.records[i].data);
        ExpectOnlyVisitFieldsChanged(i, m);
        EXPECT_EQ(m["Status"] + m["ReadingDate"] + m["ReadingTime"] + m["Intials"],
                  "R240131091500JQ");
        EXPECT_EQ(m["ResponseCode"] + m["ResponseText"], "");  // meter 2's exception is gone
        EXPECT_TRUE(Contains(r.output, "meter " + std::to_string(i) + "  id \"" +
                                           m["ServiceUniqueID"] + "\"  reading \"" +
                                           m["CurReading"] + "\"  status \"R\""))
            << r.output;
    }

    PdbDatabase routes = Store().Load("routeDB");
    ASSERT_EQ(routes.records.size(), 2u);
    EXPECT_EQ(routes.records[0].data, RouteRecord("East", 3, "R"));
    EXPECT_EQ(routes.records[1].data, RouteRecord("North", 5, "U"));
    EXPECT_TRUE(Contains(r.output, "status \"R\" -> \"U\"")) << r.output;
}

TEST_F(HandheldReadTest, RequestAsksForAListedRouteOnly) {
    const auto request = [this](const std::string& route) {
        return testing::RunCommand(ShellQuote(WEXAL_HANDHELD_TOOL) + " " + ShellQuote(Dir()) +
                                   " request " + route);
    };
    CommandResult r = request("East");
    ASSERT_EQ(r.status, 0) << r.output;
    PdbDatabase routes = Store().Load("routeDB");
    EXPECT_EQ(routes.records[0].data, RouteRecord("East", 3, "D"));
    EXPECT_EQ(routes.records[1].data, RouteRecord("North", 5, "R"));

    const auto before = Files();
    EXPECT_NE(request("West").status, 0) << "West has meters but is not listed";
    EXPECT_EQ(Files(), before);
}

TEST_F(HandheldReadTest, DrawnReadingsStayInRangeWithTheRegisterWidth) {
    for (int seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Build();
        ASSERT_EQ(Read("North --seed " + std::to_string(seed)).status, 0);
        std::vector<std::string> readings = Readings();
        ASSERT_EQ(readings.size(), 5u);
        for (const std::string& reading : readings) {
            ASSERT_EQ(reading.find_first_not_of("0123456789"), std::string::npos) << reading;
        }
        ASSERT_EQ(readings[0].size(), 5u);
        EXPECT_TRUE(std::stoi(readings[0]) >= 1520 && std::stoi(readings[0]) <= 1600);
        // No usable range: a little above the previous reading.
        ASSERT_EQ(readings[1].size(), 10u);
        EXPECT_TRUE(std::stoll(readings[1]) >= 12 && std::stoll(readings[1]) <= 12 + 99);
        ASSERT_EQ(readings[2].size(), 4u);
        EXPECT_TRUE(std::stoi(readings[2]) >= 9990 || std::stoi(readings[2]) <= 89);
        // Blanks and fraction ignored; no register width, no padding.
        EXPECT_TRUE(readings[3].size() == 3 && readings[3] >= "700" && readings[3] <= "705")
            << readings[3];
        EXPECT_EQ(readings[4], "000000");
    }
}

TEST_F(HandheldReadTest, SeedRepeatsTheReadings) {
    ASSERT_EQ(Read("North --seed 42").status, 0);
    const std::vector<std::string> first = Readings();
    Build();
    ASSERT_EQ(Read("North --seed 42").status, 0);
    EXPECT_EQ(Readings(), first);

    // An entered reading leaves the other meters' draws as they were.
    Build();
    ASSERT_EQ(Read("North --seed 42 --meter 0=1555").status, 0);
    std::vector<std::string> entered = Readings();
    entered[0] = first[0];
    EXPECT_EQ(entered, first);

    // Without --seed the seed is printed, and repeats the run.
    Build();
    CommandResult r = Read("North");
    ASSERT_EQ(r.status, 0) << r.output;
    const std::vector<std::string> unseeded = Readings();
    const std::size_t at = r.output.find(", seed ") + 7;
    Build();
    ASSERT_EQ(Read("North --seed " + r.output.substr(at, r.output.find('\n') - at)).status, 0);
    EXPECT_EQ(Readings(), unseeded);
}

TEST_F(HandheldReadTest, EnteredReadingsAndExceptionsOnlyListed) {
    CommandResult r = Read("North --only-listed --meter 0=1555 --meter 1=0007 --exception 2=NH " +
                           ShellQuote("--exception=3=XX:Gate: locked") + " --meter 3=702");
    ASSERT_EQ(r.status, 0) << r.output;
    std::vector<Fields> m = Meters();
    ASSERT_EQ(m.size(), 5u);
    // Entered readings are padded to the register like drawn ones.
    EXPECT_EQ(m[0]["CurReading"] + m[0]["Status"], "01555R");
    EXPECT_EQ(m[1]["CurReading"] + m[1]["Status"], "0000000007R");
    // An exception without a reading, its text from rcodesDB.
    EXPECT_EQ(m[2]["CurReading"], "");
    EXPECT_EQ(m[2]["Status"] + m[2]["ResponseCode"] + m[2]["ResponseText"], "ENHNo access");
    EXPECT_FALSE(m[2]["ReadingDate"].empty());
    // An exception with a reading and a text of its own, colon kept.
    EXPECT_EQ(m[3]["CurReading"] + m[3]["Status"] + m[3]["ResponseText"], "702EGate: locked");
    for (std::size_t i = 0; i < 4; ++i) {
        ExpectOnlyVisitFieldsChanged(i, m[i]);
    }
    // Meter 4 was not listed.
    const PdbDatabase meters = Store().Load("routeNorth");
    EXPECT_EQ(meters.records[4].data, kNorth[4].data);
    EXPECT_EQ(meters.records[4].attributes, kNorth[4].attributes);
    EXPECT_TRUE(Contains(r.output,
                         "meter 4  id \"S-500\"  reading \"\"  status \"U\"  (not "
                         "visited)"))
        << r.output;
    EXPECT_TRUE(Contains(r.output, "status \"E\"  response \"NH\" \"No access\"\n")) << r.output;
    EXPECT_EQ(Store().Load("routeDB").records[1].data, RouteRecord("North", 5, "U"));
}

TEST_F(HandheldReadTest, DateTimeAndInitialsComeFromTheHandheld) {
    Store().SetClock(1614834360, std::time(nullptr));  // 2021-03-04 05:06:00 UTC
    ASSERT_EQ(Read("North", "TZ=UTC ").status, 0);
    // The handheld's clock runs on from where it was set, so a slow machine
    // may see a few seconds pass before the reading: only the minute is fixed.
    Fields m = Meters()[0];
    EXPECT_EQ(m["ReadingDate"] + " " + m["ReadingTime"].substr(0, 4) + " " + m["Intials"],
              "210304 0506 Ali");
    EXPECT_EQ(m["ReadingTime"].size(), 6u);
    ASSERT_EQ(Read("North", "TZ=XYZ-2 ").status, 0);  // two hours east
    EXPECT_EQ(Meters()[0]["ReadingTime"].substr(0, 4), "0706");
}

TEST_F(HandheldReadTest, RefusedRequestsChangeNothing) {
    HandheldStore store = Store();
    PdbDatabase routes = store.Load("routeDB");
    routes.records.push_back({0, 3, RouteRecord("Cut", 1, "R")});
    store.Save(routes);
    PdbRecord cut = kNorth[0];
    cut.data.resize(cut.data.size() - 2);  // ReadType without its NUL
    store.Create(Database("routeCut", {cut}));

    const std::pair<std::string, std::string> failures[] = {
        {"West", "route \"West\" is not in routeDB"},
        {"north", "route \"north\" is not in routeDB"},
        {"East", "route \"East\" has no meter database \"routeEast\""},
        {"Cut", "meter 0 of routeCut is damaged: ReadType is cut short"},
        {"North --meter 5=1", "--meter 5: routeNorth holds 5 meters"},
        {"North --exception 9=NH", "--exception 9: routeNorth holds 5 meters"},
        {"North --meter 0=123456", "reading 123456 for meter 0 has more than its 5 digits"},
        {"North --exception 0=ZZ", "response code \"ZZ\" is not in rcodesDB"},
        {"North --exception 0=XX:" + std::string(500, 'x'), "more than the 512 bytes"},
    };
    const std::pair<std::string, std::string> misuses[] = {
        {"North --meter 0=12a", "--meter reading must be digits"},
        {"North --meter 0", "--meter takes INDEX=READING"},
        {"North --meter 0=1 --meter 0=2", "--meter names meter 0 twice"},
        {"North --exception 0=:text", "--exception needs a response code"},
        {"North --date 230229", "--date must be a date YYMMDD"},
        {"North --time 2400", "--time must be a time HHMM"},
        {"North --all --only-listed --meter 0=1", "exclude each other"},
        {"North --only-listed", "--only-listed needs --meter or --exception"},
        {"North --fast", "unknown option --fast"},
        {"", "missing route name"},
    };
    const std::map<std::string, std::string> before = Files();
    for (const auto& [args, message] : failures) {
        CommandResult r = Read(args);
        EXPECT_EQ(r.status, 1) << r.output;
        EXPECT_TRUE(Contains(r.output, message)) << r.output;
    }
    for (const auto& [args, message] : misuses) {
        CommandResult r = Read(args);
        EXPECT_EQ(r.status, 2) << r.output;
        EXPECT_TRUE(Contains(r.output, message)) << r.output;
        EXPECT_TRUE(Contains(r.output, "\nusage: handheld DIR read ROUTE")) << r.output;
    }
    {
        HandheldLock sync = store.Lock();
        EXPECT_TRUE(Contains(Read("North").output, "in use"));
    }
    EXPECT_EQ(Files(), before);

    ASSERT_TRUE(store.Delete("routeDB"));
    CommandResult r = Read("North");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(Contains(r.output, "no database \"routeDB\"")) << r.output;
}

}  // namespace
}  // namespace wexal::palm

#include "tests/conduit/formats/SqlLinkTestBed.h"

#include <ctime>

#include "conduit/HHMeter.h"
#include "conduit/HHReader.h"
#include "conduit/HHRoute.h"
#include "conduit/formats/WexalIfcOdbc.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/palm/SyncManager.h"

namespace wexal::testing {
namespace {

const std::pair<const char*, std::string HHMeter::*> kMeterFields[] = {
    {"ServiceUniqueID", &HHMeter::ServiceUniqueID},
    {"MeterTagNbr", &HHMeter::MeterTagNbr},
    {"MeterSerialNbr", &HHMeter::MeterSerialNbr},
    {"MeterType", &HHMeter::MeterType},
    {"RouteSequence", &HHMeter::RouteSequence},
    {"Digits", &HHMeter::Digits},
    {"PrvReading", &HHMeter::PrvReading},
    {"MaxReading", &HHMeter::MaxReading},
    {"MinReading", &HHMeter::MinReading},
    {"CurReading", &HHMeter::CurReading},
    {"ReadingDate", &HHMeter::ReadingDate},
    {"ReadingTime", &HHMeter::ReadingTime},
    {"BillingName", &HHMeter::BillingName},
    {"ServiceAddress", &HHMeter::ServiceAddress},
    {"Message", &HHMeter::Message},
    {"Status", &HHMeter::Status},
    {"Intials", &HHMeter::Intials},
    {"ResponseCode", &HHMeter::ResponseCode},
    {"ResponseText", &HHMeter::ResponseText},
    {"LstReadingDate", &HHMeter::LstReadingDate},
    {"ReadType", &HHMeter::ReadType},
    {"UserDef", &HHMeter::UserDef},
};

std::string StampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[16] = {};
    std::strftime(stamp, sizeof stamp, "%d%H%M", &local);
    return stamp;
}

}  // namespace

void SqlLinkTest::SetUp() {
    BillingDatabaseTest::SetUp();
    if (IsSkipped()) {
        return;
    }
    bed_.BeginSession();
    msgbox::SetCapture([this](const std::string& caption, const std::string& text) {
        boxes_.emplace_back(caption, text);
    });
}

void SqlLinkTest::TearDown() {
    msgbox::SetCapture({});
    bed_.EndSession();
}

std::int32_t SqlLinkTest::Sync(const std::string& password, const std::string& dataSource) {
    WexalIfc_ODBC link;
    link.SetParameter("DSN", dataSource);
    link.SetParameter("UID", kBillingUser);
    link.SetParameter("PWD", password);
    syncStartStamp_ = StampNow();
    const std::int32_t result = link.Run();
    syncEndStamp_ = StampNow();
    return result;
}

bool SqlLinkTest::StampedDuringSync(const std::string& stamp) const {
    return stamp == syncStartStamp_ || stamp == syncEndStamp_;
}

std::vector<std::string> SqlLinkTest::SyncLogLines() {
    bed_.EndSession();
    bed_.BeginSession();
    return bed_.LogLines();
}

void SqlLinkTest::PutRoute(const RouteEntry& route) {
    HHRoute list;
    ASSERT_EQ(list.Open(), 1);
    list.Clear();
    list.RouteName = route.name;
    list.Status = route.status;
    list.MeterCount = route.meterCount;
    list.Word2 = route.word2;
    list.Word3 = route.word3;
    list.LastIndex = route.lastIndex;
    list.DownloadStamp = route.stamp;
    list.Text1 = route.text1;
    list.Text2 = route.text2;
    EXPECT_EQ(list.Write(), 0);
    list.Close();
}

std::vector<RouteEntry> SqlLinkTest::Routes() {
    std::vector<RouteEntry> routes;
    HHRoute list;
    EXPECT_EQ(list.Open(), 1);
    for (std::uint32_t i = 0; i < list.RecordCount(); ++i) {
        EXPECT_EQ(list.ReadByIndex(static_cast<std::uint16_t>(i)), 0);
        routes.push_back(RouteEntry{list.RouteName, list.Status, list.MeterCount, list.Word2,
                                    list.Word3, list.LastIndex, list.DownloadStamp, list.Text1,
                                    list.Text2});
    }
    list.Close();
    return routes;
}

RouteEntry SqlLinkTest::Route(const std::string& name) {
    std::vector<RouteEntry> found;
    for (RouteEntry& route : Routes()) {
        if (route.name == name) {
            found.push_back(std::move(route));
        }
    }
    EXPECT_EQ(found.size(), 1u) << "route " << name;
    return found.empty() ? RouteEntry{} : found.front();
}

std::vector<std::string> SqlLinkTest::RouteNames() {
    std::vector<std::string> names;
    for (const RouteEntry& route : Routes()) {
        names.push_back(route.name);
    }
    return names;
}

void SqlLinkTest::PutMeters(const std::string& route, const std::vector<MeterFields>& meters) {
    HHMeter database;
    ASSERT_EQ(database.Open(route), 1);
    for (const MeterFields& meter : meters) {
        database.Clear();
        for (const auto& [name, field] : kMeterFields) {
            const auto value = meter.find(name);
            database.*field = value == meter.end() ? "" : value->second;
        }
        EXPECT_EQ(database.Write(), 0);
    }
    database.Close();
}

std::vector<MeterFields> SqlLinkTest::Meters(const std::string& route) {
    std::vector<MeterFields> meters;
    HHMeter database;
    EXPECT_EQ(database.Open(route), 1);
    for (std::uint32_t i = 0; i < database.RecordCount(); ++i) {
        EXPECT_EQ(database.ReadByIndex(static_cast<std::uint16_t>(i)), 0);
        MeterFields meter;
        for (const auto& [name, field] : kMeterFields) {
            meter[name] = database.*field;
        }
        meters.push_back(std::move(meter));
    }
    database.Close();
    return meters;
}

bool SqlLinkTest::HasMeterDatabase(const std::string& route) {
    SyncFindDbByNameParams params{0x40, 0, nullptr};
    const std::string name = HHMeter::DatabaseName(route);
    params.name = name.c_str();
    SyncFindDbResult result{};
    return SyncFindDbByName(&params, &result) == 0;
}

void SqlLinkTest::PutReaderSettings() {
    HHReader reader;
    ASSERT_EQ(reader.Open(), 1);
    reader.Clear();
    reader.Word1 = 11;
    reader.Word7 = 77;
    reader.AutoOffSeconds = 300;
    reader.UserName = "UNIT01";
    reader.Text4 = "1";
    EXPECT_EQ(reader.Write(), 0);
    reader.Close();
}

std::string SqlLinkTest::CurrentRoute() {
    HHReader reader;
    EXPECT_EQ(reader.Open(), 1);
    EXPECT_EQ(reader.RecordCount(), 1u);
    EXPECT_EQ(reader.ReadByIndex(0), 0);
    reader.Close();
    EXPECT_EQ(reader.Word1, 11);
    EXPECT_EQ(reader.Word7, 77);
    EXPECT_EQ(reader.AutoOffSeconds, 300);
    return reader.CurrentRoute;
}

}  // namespace wexal::testing

// An office with an AccuFund-style billing system for whole syncs: its
// configuration, route files in the standard layout, the readings taken on
// the handheld between syncs, and what the sync left in files and on the
// handheld.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "conduit/HHMeter.h"
#include "conduit/HHRoute.h"
#include "conduit/WexalConduit.h"
#include "tests/conduit/ConduitTestBed.h"

namespace wexal::testing {

// One meter of a route file in the standard layout.
struct RouteMeter {
    std::string route{};
    std::string sequence = "7";
    std::string service = "00000000000001234";
    std::string name = "JONES MARY";
    std::string address = "12 ELM ST";
    std::string tag = "TAG0000001";
    std::string digits = "06";
    std::string max = "200000";
    std::string min = "100";
    std::string previous = "150000";
};

// The standard route-file line (191 characters) and its CR LF.
inline std::string StandardRouteLine(const RouteMeter& meter) {
    std::string line(191, ' ');
    const auto put = [&line](std::size_t column, const std::string& text) {
        line.replace(column, text.size(), text);
    };
    const auto putRight = [&put](std::size_t lastColumn, const std::string& text) {
        put(lastColumn + 1 - text.size(), text);
    };
    put(0, meter.service);
    put(17, meter.name);
    put(47, meter.address);
    put(108, "W");
    put(109, meter.tag);
    putRight(151, meter.max);
    putRight(160, meter.min);
    put(169, meter.route);
    put(174, meter.sequence);
    put(180, meter.digits);
    putRight(190, meter.previous);
    return line + "\r\n";
}

// What the handheld recorded for one meter.
struct Reading {
    std::string status = "R";
    std::string current{};
    std::string date{};
    std::string time{};
    std::string initials{};
    std::string responseCode{};
    std::string responseText{};
};

// The texts of one record: NUL-terminated texts after `numberBytes` bytes.
inline std::vector<std::string> RecordTexts(const std::string& record, std::size_t numberBytes) {
    std::vector<std::string> texts;
    std::size_t at = numberBytes;
    while (at < record.size()) {
        const std::size_t nul = record.find('\0', at);
        texts.push_back(record.substr(at, nul - at));
        at = nul == std::string::npos ? record.size() : nul + 1;
    }
    return texts;
}

class TextFileOffice {
  public:
    explicit TextFileOffice(const std::string& interface = "ACCUFUND") : interface_(interface) {
        Configure(RouteFile(), Readings());
    }

    ConduitTestBed& Bed() { return bed_; }
    std::filesystem::path RouteFile() const { return bed_.Folder() / "route.txt"; }
    std::filesystem::path Readings() const { return bed_.Folder() / "readings.txt"; }
    std::filesystem::path Exceptions() const { return bed_.Folder() / "exceptions.txt"; }
    std::filesystem::path History(int number) const {
        const std::string digits = std::to_string(number);
        return bed_.Folder() /
               ("PriorD" + std::string(2 - std::min<std::size_t>(2, digits.size()), '0') + digits);
    }

    // `more`: further lines of the configuration.
    void Configure(const std::filesystem::path& routeFile, const std::filesystem::path& readings,
                   const std::filesystem::path& exceptions = {},
                   const std::vector<std::string>& more = {}) {
        std::vector<std::string> lines = {
            "SelectedInterface=" + interface_,
            "CaptureExceptions=Y",
            "ExceptionsFile=" + (exceptions.empty() ? Exceptions() : exceptions).string(),
            "Interface=" + interface_,
            "RoutePath=" + routeFile.string(),
            "ReadingsPath=" + readings.string()};
        lines.insert(lines.end(), more.begin(), more.end());
        bed_.WriteConfig(lines);
    }

    void WriteRouteFile(const std::vector<RouteMeter>& meters) const {
        std::string text;
        for (const RouteMeter& meter : meters) {
            text += StandardRouteLine(meter);
        }
        WriteFile(RouteFile(), text);
    }

    // One whole sync; the log lines it added, as "activity text".
    std::vector<std::string> Sync(std::int32_t* result = nullptr) {
        const std::size_t before = bed_.Log().size();
        bed_.BeginSession();
        WexalConduit conduit;
        const std::int32_t outcome = conduit.Synchronize();
        bed_.EndSession();
        if (result != nullptr) {
            *result = outcome;
        }
        const std::vector<std::string> all = bed_.LogLines();
        return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
    }

    // The reader's work on one route: readings stored into its meters in
    // order, then the route handed back with `routeStatus`.
    void TakeReadings(const std::string& route, const std::vector<Reading>& readings,
                      const std::string& routeStatus = "U") {
        bed_.BeginSession();
        {
            HHMeter meters;
            meters.Open(route);
            for (std::size_t i = 0; i < readings.size(); ++i) {
                meters.ReadByIndex(static_cast<std::uint16_t>(i));
                meters.Status = readings[i].status;
                meters.CurReading = readings[i].current;
                meters.ReadingDate = readings[i].date;
                meters.ReadingTime = readings[i].time;
                meters.Intials = readings[i].initials;
                meters.ResponseCode = readings[i].responseCode;
                meters.ResponseText = readings[i].responseText;
                meters.Write();
            }
            meters.Close();
        }
        SetRouteStatus(route, routeStatus);
        bed_.EndSession();
    }

    // Needs an open session.
    static void SetRouteStatus(const std::string& route, const std::string& status) {
        HHRoute list;
        list.Open();
        for (std::uint32_t i = 0; i < list.RecordCount(); ++i) {
            list.ReadByIndex(static_cast<std::uint16_t>(i));
            if (list.RouteName == route) {
                list.Status = status;
                list.Write();
            }
        }
        list.Close();
    }

    // Route list entries as "name count status".
    std::vector<std::string> RouteList() const {
        std::vector<std::string> entries;
        for (const std::string& record : bed_.Records("routeDB")) {
            const auto count = static_cast<unsigned>(static_cast<unsigned char>(record[0]) << 8 |
                                                     static_cast<unsigned char>(record[1]));
            const std::vector<std::string> texts = RecordTexts(record, 8);
            entries.push_back(texts.at(0) + " " + std::to_string(count) + " " + texts.at(4));
        }
        return entries;
    }

    // The 22 texts of each meter of a route.
    std::vector<std::vector<std::string>> Meters(const std::string& route) const {
        std::vector<std::vector<std::string>> meters;
        for (const std::string& record : bed_.Records(HHMeter::DatabaseName(route))) {
            meters.push_back(RecordTexts(record, 0));
        }
        return meters;
    }

  private:
    std::string interface_;
    ConduitTestBed bed_;
};

}  // namespace wexal::testing

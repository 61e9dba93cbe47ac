// Routes of numbered meters for whole text-file syncs whose readings are
// counted: each meter's service is made of its route and its number, and the
// reader reads a whole route with one value.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/conduit/BillingFileLines.h"
#include "tests/conduit/TextFileOffice.h"

namespace wexal::testing {

// Seventeen digits: the route, then the meter.
inline std::string ServiceId(const std::string& route, int meter) {
    char id[24];
    std::snprintf(id, sizeof id, "1%06d%010d", std::stoi(route), meter);
    return id;
}

// `count` meters of the route, each with a service of its own.
inline std::vector<RouteMeter> RouteOf(const std::string& route, int count) {
    std::vector<RouteMeter> meters;
    for (int meter = 0; meter < count; ++meter) {
        meters.push_back({.route = route,
                          .sequence = std::to_string(meter + 1),
                          .service = ServiceId(route, meter)});
    }
    return meters;
}

inline std::vector<RouteMeter> RoutesOf(const std::vector<std::pair<std::string, int>>& routes) {
    std::vector<RouteMeter> meters;
    for (const auto& [route, count] : routes) {
        const std::vector<RouteMeter> more = RouteOf(route, count);
        meters.insert(meters.end(), more.begin(), more.end());
    }
    return meters;
}

// The reader reads every meter of the route with `value`, marking every
// `exceptionEvery`th one (0: none) an exception, and hands the route back.
// The readings' keys are added to `expected`, the exceptions' to
// `exceptions` when given.
inline void ReadRoute(TextFileOffice& office, const std::string& route, int count,
                      const std::string& value, KeyCounts& expected, int exceptionEvery = 0,
                      KeyCounts* exceptions = nullptr) {
    std::vector<Reading> readings;
    for (int meter = 0; meter < count; ++meter) {
        const bool exception = exceptionEvery != 0 && meter % exceptionEvery == 0;
        readings.push_back({.status = exception ? "E" : "R",
                            .current = value,
                            .date = "240315",
                            .time = "0900",
                            .responseCode = exception ? "01" : "",
                            .responseText = exception ? "Dog" : ""});
        const std::string key = ReadingKey(ServiceId(route, meter), value);
        ++expected[key];
        if (exception && exceptions != nullptr) {
            ++(*exceptions)[key];
        }
    }
    office.TakeReadings(route, readings);
}

// Every expected line once, and whole lines only.
inline void ExpectEachLineOnce(const FileLines& lines, const KeyCounts& expected) {
    EXPECT_EQ(lines.badLines, 0u);
    EXPECT_FALSE(lines.cutLast);
    const auto wrong = Mismatches(lines.keys, expected);
    EXPECT_TRUE(wrong.empty()) << wrong.size() << " lines lost or doubled, first " << wrong.front();
}

inline void ExpectEachReadingOnce(const std::filesystem::path& readings,
                                  const KeyCounts& expected) {
    ExpectEachLineOnce(StandardReadingLines(ReadFile(readings)), expected);
}

inline bool HasJournal(const std::filesystem::path& file) {
    return std::filesystem::exists(file.string() + ".pending");
}

}  // namespace wexal::testing

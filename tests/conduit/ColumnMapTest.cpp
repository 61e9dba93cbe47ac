#include "conduit/ColumnMap.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ColumnMapTest, ColumnNumbersFromLettersAndOffsets) {
    ColumnMap map;
    map.Add(kRouteMapKind, "House Number/C");
    map.Add(kRouteMapKind, "PrvReading/-1");
    map.Add(kRouteMapKind, "Location/ABCD");
    map.Add(kReadingMapKind, "CurReading/+2");
    map.Add(kReadingMapKind, "ReadingDate/+100");
    map.Add(kReadingMapKind, "ReadingTime/0");

    std::int32_t out = 0;
    EXPECT_EQ(map.GetColumnNumber(kRouteMapKind, "House Number", out), kColumnMapOk);
    EXPECT_EQ(out, 3);
    EXPECT_EQ(map.GetColumnNumber(kReadingMapKind, "House Number", out), kColumnNotMapped);
    EXPECT_EQ(out, -1);
    EXPECT_EQ(map.GetColumnNumber(kRouteMapKind, "house number", out), kColumnNotMapped);

    map.GetColumnNumber(kRouteMapKind, "PrvReading", out);
    EXPECT_EQ(out, -1);
    map.GetColumnNumber(kRouteMapKind, "Location", out);
    EXPECT_EQ(out, 731);  // kept as "ABC"
    map.GetColumnNumber(kReadingMapKind, "CurReading", out);
    EXPECT_EQ(out, 2);
    map.GetColumnNumber(kReadingMapKind, "ReadingDate", out);
    EXPECT_EQ(out, 10);  // kept as "+10"
    out = 99;
    map.GetColumnNumber(kReadingMapKind, "ReadingTime", out);
    EXPECT_EQ(out, 0);  // the usage column itself
}

TEST(ColumnMapTest, ColumnValuesAsNumbers) {
    ColumnMap map;
    // Percentages are read whole, though columns keep three characters.
    const std::pair<const char*, double> cases[] = {{"-20", -20.0},   {"50", 50.0},
                                                    {"12.5", 12.5},   {"3.75", 3.75},
                                                    {"1000", 1000.0}, {"1e999", 0.0}};
    for (const auto& [text, number] : cases) {
        map.Add(kRouteMapKind, std::string("Field") + text + "/" + text);
    }
    double value = 7.5;
    for (const auto& [text, number] : cases) {
        EXPECT_EQ(map.GetColumnValue(kRouteMapKind, std::string("Field") + text, value),
                  kColumnMapOk);
        EXPECT_EQ(value, number) << text;
    }
    map.Add(kRouteMapKind, "MinReading/-20");
    value = 7.5;
    EXPECT_EQ(map.GetColumnValue(kReadingMapKind, "MinReading", value), kColumnNotMapped);
    EXPECT_EQ(value, 7.5);
}

// The desktop writes "[None]" as an entry without a column.
TEST(ColumnMapTest, EntryWithoutAColumnIsNotMapped) {
    ColumnMap map;
    map.Add(kRouteMapKind, "PrvReading/");
    map.Add(kRouteMapKind, "PrvReading/+1");
    map.Add(kRouteMapKind, "MinReading/");

    std::int32_t out = 7;
    EXPECT_EQ(map.GetColumnNumber(kRouteMapKind, "PrvReading", out), kColumnNotMapped);
    EXPECT_EQ(out, -1);
    double value = 7.5;
    EXPECT_EQ(map.GetColumnValue(kRouteMapKind, "MinReading", value), kColumnNotMapped);
    EXPECT_EQ(value, 7.5);
}

TEST(ColumnMapTest, LettersCountFromAWrappingAt65536) {
    const std::pair<const char*, int> cases[] = {{"A", 1},    {"Z", 26},    {"AA", 27}, {"AZ", 52},
                                                 {"ZZ", 702}, {"AAA", 703}, {"", 0},    {"a", 33}};
    for (const auto& [letters, number] : cases) {
        EXPECT_EQ(ColumnMap::ColumnLettersToNumber(letters), number) << letters;
    }
    // ZZZZ is 475254: the sum wraps instead of overflowing.
    EXPECT_EQ(ColumnMap::ColumnLettersToNumber("ZZZZ"), 475254 % 65536);
}

TEST(ColumnMapTest, SplitsAtTheLastSlashAndDropsMalformedText) {
    ColumnMap map;
    EXPECT_EQ(map.Add(kRouteMapKind, "x/y/C"), kColumnMapOk);
    EXPECT_EQ(map.Add(kRouteMapKind, "no slash"), kColumnMapOk);
    EXPECT_EQ(map.Add(kRouteMapKind, "/C"), kColumnMapOk);
    ASSERT_EQ(map.Count(), 1u);
    EXPECT_EQ(map.Entries()[0].name, "x/y");
    EXPECT_EQ(map.Entries()[0].column, "C");
}

TEST(ColumnMapTest, FirstAddedWinsAndRoomDoubles) {
    ColumnMap map;
    EXPECT_EQ(map.Capacity(), 10u);
    map.Add(kRouteMapKind, "Field/B");
    for (int i = 1; i < 21; ++i) {
        map.Add(i % 2 ? kReadingMapKind : kRouteMapKind, "Field" + std::to_string(i) + "/A");
        if (i == 9) {
            EXPECT_EQ(map.Capacity(), 10u);
        }
        if (i == 10) {
            EXPECT_EQ(map.Capacity(), 20u);
        }
    }
    EXPECT_EQ(map.Count(), 21u);
    EXPECT_EQ(map.Capacity(), 40u);
    for (int i = 1; i < 21; ++i) {
        EXPECT_EQ(map.Entries()[i].name, "Field" + std::to_string(i));
    }
    map.Add(kRouteMapKind, "Field/C");
    std::int32_t out = 0;
    map.GetColumnNumber(kRouteMapKind, "Field", out);
    EXPECT_EQ(out, 2);
}

}  // namespace

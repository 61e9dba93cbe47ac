// The Excel mappings as the dialogs keep them: the offset choices, the
// lookup of a field in a stored map, what a stored map shows and what Save
// writes.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "desktop/core/ColumnMapEntry.h"
#include "desktop/core/ExcelMapForms.h"
#include "desktop/core/PlainDecimal.h"

namespace wexal::desktop {
namespace {

MapSlots Slots(const std::vector<std::string>& entries) {
    MapSlots slots{};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        slots[i] = entries[i];
    }
    return slots;
}

std::vector<std::string> Used(const MapSlots& slots) {
    std::vector<std::string> used;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (!slots[i].empty()) {
            used.push_back(std::to_string(i) + " " + slots[i]);
        }
    }
    return used;
}

TEST(ColumnMapEntryTest, SixteenOffsetChoicesSplitAtTheirSlash) {
    std::vector<std::string> seen;
    for (const OffsetChoice& choice : OffsetChoices()) {
        seen.push_back(std::string(choice.Text) + "|" + std::string(choice.Shown) + "|" +
                       std::string(choice.Value));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "[None]|[None]|", "Usage Col/0|Usage Col|0", "1 Right/+1|1 Right|+1",
                        "1 Left/-1|1 Left|-1", "2 Right/+2|2 Right|+2", "2 Left/-2|2 Left|-2",
                        "3 Right/+3|3 Right|+3", "3 Left/-3|3 Left|-3", "4 Right/+4|4 Right|+4",
                        "4 Left/-4|4 Left|-4", "5 Right/+5|5 Right|+5", "5 Left/-5|5 Left|-5",
                        "6 Right/+6|6 Right|+6", "6 Left/-6|6 Left|-6", "7 Right/+7|7 Right|+7",
                        "7 Left/-7|7 Left|-7"}));
    EXPECT_EQ(OffsetChoiceOf(""), 0);
    EXPECT_EQ(OffsetChoiceOf("-7"), 15);
    EXPECT_EQ(OffsetChoiceOf("+9"), -1);
    EXPECT_EQ(OffsetChoiceOf("C"), -1);
}

TEST(ColumnMapEntryTest, LookupTakesTheFirstSlotThatBeginsWithTheName) {
    const MapSlots map = Slots({"", "MeterTagNbr/D", "House Number/A", "MeterTagNbr/E", "Location",
                                "Message:Q", "sequence/B", "Digits/"});
    struct Case {
        const char* field;
        const char* value;
    };
    for (const Case& c : {Case{"MeterTagNbr", "D"}, Case{"House Number", "A"}, Case{"Location", ""},
                          Case{"Message", "Q"}, Case{"Sequence", ""}, Case{"Digits", ""},
                          Case{"UserDef", ""}, Case{"House", "Number/A"}}) {
        SCOPED_TRACE(c.field);
        EXPECT_EQ(LookupMapField(map, c.field), c.value);
    }
}

TEST(ColumnMapEntryTest, ColumnListItemsOfStoredValues) {
    struct Case {
        const char* value;
        int item;
    };
    for (const Case& c : {Case{"A", 1}, Case{"Z", 26}, Case{"C", 3}, Case{"AB", 1}, Case{"c", 0},
                          Case{"5", 0}, Case{"", 0}, Case{"[None]", 0}, Case{"+1", 0}}) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ColumnItemOf(c.value), c.item);
    }
    EXPECT_EQ(ColumnOfItem(1), "A");
    EXPECT_EQ(ColumnOfItem(26), "Z");
    EXPECT_EQ(ColumnOfItem(0), "");
    EXPECT_EQ(ColumnOfItem(-1), "");
}

TEST(ExcelMapFormsTest, WorksheetRowsAreWholeNonZeroSixteenBitNumbers) {
    struct Case {
        const char* text;
        std::optional<std::int16_t> row;
    };
    for (const Case& c :
         {Case{"12abc", 12}, Case{" 1 2", 12}, Case{"abc", std::nullopt}, Case{"", std::nullopt},
          Case{"0", std::nullopt}, Case{"0.4", std::nullopt}, Case{"2.5", 2}, Case{"3.5", 4},
          Case{"-3", -3}, Case{"&H10", 16}, Case{"32767", 32767}, Case{"-32768", -32768},
          Case{"32768", std::nullopt}, Case{"99999", std::nullopt}, Case{"1e999", std::nullopt}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WorksheetRowOf(c.text), c.row);
    }
}

TEST(ExcelMapFormsTest, PercentagesInPlainDecimal) {
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c :
         {Case{10, "10"}, Case{12.5, "12.5"}, Case{0, "0"}, Case{-0.0, "0"}, Case{-20, "-20"},
          Case{1e20, "100000000000000000000"}, Case{0.0001, "0.0001"}, Case{0.1, "0.1"},
          Case{1.0 / 3, "0.3333333333333333"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(PlainDecimal(c.value), c.text);
    }
}

// What the dialog tests cannot pick: stored values that select nothing and
// are then not written again.
TEST(ExcelMapFormsTest, ValuesThatSelectNothingAreNotSavedAgain) {
    InterfaceRec stored;
    stored.WorksheetDataStart = 2;
    stored.WorksheetUsageRow = 1;
    stored.RouteMap = Slots(
        {"PrvReading/+9", "MinReading/12.5 %", "MaxReading/x", "ServiceAddress/B", "Hand Added/C"});
    const RouteMapView view = RouteMapViewOf(stored);
    EXPECT_EQ(view.PreviousReading, -1);
    const RouteMapSave saved = SaveRouteMap(view);
    ASSERT_EQ(saved.Refusal, RouteMapSave::Refused::kNothing) << saved.Message;
    EXPECT_EQ(Used(saved.RouteMap), (std::vector<std::string>{"1 MinReading/12.5", "2 MaxReading/0",
                                                              "3 ServiceAddress/B"}));

    const ReadingMapView reading = ReadingMapViewOf(
        Slots({"CurReading/G", "Response Text/+7", "ReadingTime/", "Hand Added/+1"}));
    EXPECT_EQ(reading, (ReadingMapView{-1, 0, 0, 0, 14}));
    EXPECT_EQ(Used(SaveReadingMap(reading)), (std::vector<std::string>{"1 Response Text/+7"}));
}

}  // namespace
}  // namespace wexal::desktop

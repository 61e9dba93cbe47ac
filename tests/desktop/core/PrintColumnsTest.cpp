// The report's column printer and page layout on a surface that records what
// is printed where.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "desktop/core/ExceptionsPageDrawing.h"
#include "desktop/core/PrintColumns.h"

namespace {

using namespace wexal::desktop;

// Every character is 0.1 inch wide and every line 0.25 inch high at 10 pt
// (scaled with the size), so positions can be checked exactly.
class RecordingSurface final : public ReportSurface {
  public:
    struct Printed {
        std::string text;
        float x;
        float y;
        ReportFont font;
    };

    RecordingSurface() {
        font_.Name = "Sans";
        font_.Size = 10;
    }
    void Clear() override { printed.clear(); }
    float CurrentX() const override { return x_; }
    float CurrentY() const override { return y_; }
    void SetCurrentX(float x) override { x_ = x; }
    void SetCurrentY(float y) override { y_ = y; }
    ReportFont Font() const override { return font_; }
    void SetFont(const ReportFont& font) override { font_ = font; }
    float TextWidth(std::string_view text) const override {
        return 0.1F * static_cast<float>(text.size());
    }
    void Print(std::string_view text) override {
        printed.push_back({std::string(text), x_, y_, font_});
        y_ += 0.025F * font_.Size;
    }

    std::vector<Printed> printed;

  private:
    ReportFont font_;
    float x_ = 0;
    float y_ = 0;
};

TEST(PrintColumnsTest, StyleTokensSetFontAndAlignmentForTheCallOnly) {
    RecordingSurface surface;
    surface.SetCurrentX(3);
    surface.SetCurrentY(4);
    const ReportFont before = surface.Font();

    const float below = PrintColumns(surface, 1, 2, "BOLD|12", {"ab", "cd"});
    ASSERT_EQ(surface.printed.size(), 2U);
    EXPECT_TRUE(surface.printed[0].font.Bold);
    EXPECT_EQ(surface.printed[0].font.Size, 12);
    EXPECT_FLOAT_EQ(surface.printed[0].x, 1);
    EXPECT_FLOAT_EQ(surface.printed[0].y, 2);
    EXPECT_FLOAT_EQ(surface.printed[1].y, 2.3F);
    EXPECT_FLOAT_EQ(below, 2.6F);
    EXPECT_EQ(surface.Font(), before);
    EXPECT_FLOAT_EQ(surface.CurrentX(), 3);
    EXPECT_FLOAT_EQ(surface.CurrentY(), 4);

    struct Case {
        const char* style;
        float x;  // of the text "abcd", 0.4 inch wide, printed at X = 5
        ReportFont font;
    };
    const ReportFont plain = before;
    auto with = [&](auto change) {
        ReportFont font = plain;
        change(font);
        return font;
    };
    const std::vector<Case> cases = {
        {"", 5, plain},
        {"right", 4.6F, plain},
        {"center", 4.8F, plain},
        {"right|CENTER", 4.8F, plain},  // the later alignment counts
        {"italic", 5, with([](ReportFont& f) { f.Italic = true; })},
        {"8", 5, with([](ReportFont& f) { f.Size = 8; })},
        {"100", 5, with([](ReportFont& f) { f.Size = 100; })},  // sorts between 1 and 99
        {"9A", 5, with([](ReportFont& f) { f.Name = "9A"; })},
        {"Courier New|bold", 5, with([](ReportFont& f) {
             f.Name = "Courier New";
             f.Bold = true;
         })},
        {"box|line|circle|picture|", 5, plain},
    };
    for (const Case& c : cases) {
        surface.Clear();
        PrintColumns(surface, 5, 1, c.style, {"abcd"});
        ASSERT_EQ(surface.printed.size(), 1U) << c.style;
        EXPECT_FLOAT_EQ(surface.printed[0].x, c.x) << c.style;
        EXPECT_EQ(surface.printed[0].font, c.font) << c.style;
        EXPECT_EQ(surface.Font(), plain) << c.style;
    }

    surface.Clear();
    EXPECT_EQ(PrintColumns(surface, 1, 1, "bold", {}), 0);
    EXPECT_TRUE(surface.printed.empty());
}

TEST(ExceptionsPageDrawingTest, HeaderAndEntriesStandAtTheirInches) {
    RecordingSurface surface;
    PageHeader header{"12/9/26", "17:45", 2};
    PageEntry entry;
    entry.Slot = 3;
    entry.Record.Service = "1001";
    entry.Record.ExpectLo = "50";
    entry.Record.ExpectHi = "100";
    entry.Record.ResponseCode = "03";
    entry.Record.ResponseText = "Gate locked";
    entry.Record.Reader = "JMR";
    entry.Reason = "Gate locked";
    DrawExceptionsPage(surface, header, {entry});

    auto find = [&](const std::string& text, float x) -> const RecordingSurface::Printed* {
        for (const auto& p : surface.printed) {
            if (p.text == text && std::abs(p.x - x) < 1e-4F) {
                return &p;
            }
        }
        return nullptr;
    };
    struct Where {
        std::string text;
        float x;
        float y;
        bool bold;
    };
    const float line = 0.25F;
    const std::vector<Where> expected = {
        {"Date: 12/9/26", 0.5F, 0.5F, false},
        {"Time: 17:45", 0.5F, 0.5F + line, false},
        {"Readings Exception Report", 4.25F - 1.25F, 0.5F, false},
        {"Page: 2", 7.75F - 0.7F, 0.5F, false},
        {"Service", 0.5F, 3, true},
        {"Response", 0.5F, 3 + 5 * line, true},
        {"Previous", 2.4F, 3, true},
        {"Expect Lo", 3.7F, 3, true},
        {"Expect Hi", 3.7F, 3 + line, true},
        {"Owner", 5.2F, 3, true},
        {"Reader", 5.2F, 3 + 3 * line, true},
        {"1001", 1.1F, 3, false},
        {"03 Gate locked", 1.1F, 3 + 5 * line, false},
        {"50", 4.4F, 3, false},
        {"100", 4.4F, 3 + line, false},
        {"JMR", 5.8F, 3 + 3 * line, false},
        {"Gate locked", 7.3F, 3, true},
    };
    for (const Where& w : expected) {
        const auto* printed = find(w.text, w.x);
        ASSERT_NE(printed, nullptr) << w.text;
        EXPECT_NEAR(printed->y, w.y, 1e-4) << w.text;
        EXPECT_EQ(printed->font.Bold, w.bold) << w.text;
    }
    // Header, then 9 columns of 6 + 4 + 2 + 4 labels and 6 + 4 + 2 + 4 + 1 values.
    EXPECT_EQ(surface.printed.size(), 4U + 33U);
}

}  // namespace

#include "conduit/ExceptionLine.h"

#include <algorithm>
#include <array>

#include "conduit/LineBreaks.h"
#include "conduit/MeterRecordFields.h"

namespace {

enum class Align { Left, Right };

struct Column {
    std::size_t width;
    Align align;
};

// The first 20 meter record fields, in record order.
constexpr std::array<Column, 20> kColumns = {{
    {20, Align::Left},   // ServiceUniqueID
    {20, Align::Left},   // MeterTagNbr
    {10, Align::Left},   // MeterSerialNbr
    {1, Align::Right},   // MeterType
    {4, Align::Right},   // RouteSequence
    {2, Align::Right},   // Digits
    {10, Align::Right},  // PrvReading
    {10, Align::Right},  // MaxReading
    {10, Align::Right},  // MinReading
    {10, Align::Right},  // CurReading
    {6, Align::Left},    // ReadingDate
    {6, Align::Left},    // ReadingTime
    {60, Align::Left},   // BillingName
    {60, Align::Left},   // ServiceAddress
    {60, Align::Left},   // Message
    {1, Align::Right},   // Status
    {10, Align::Left},   // Intials
    {2, Align::Right},   // ResponseCode
    {60, Align::Left},   // ResponseText
    {6, Align::Left},    // LstReadingDate
}};

constexpr std::size_t TotalWidth() {
    std::size_t total = 0;
    for (const Column& column : kColumns) {
        total += column.width;
    }
    return total;
}
static_assert(TotalWidth() == kExceptionLineWidth);

}  // namespace

std::string FormatExceptionLine(const HHMeter& meter) {
    std::string line;
    line.reserve(kExceptionLineWidth + 2);
    for (std::size_t index = 0; index < kColumns.size(); ++index) {
        const Column& column = kColumns[index];
        // Like "%-20.20s" / "%10.10s": the first `width` characters, padded.
        const std::string& text = meter.*kMeterRecordFields[index];
        const std::size_t kept = std::min(text.size(), column.width);
        const std::size_t padding = column.width - kept;
        if (column.align == Align::Right) {
            line.append(padding, ' ');
        }
        const std::size_t start = line.size();
        line.append(text, 0, kept);
        BlankLineBreaks(line, start);
        if (column.align == Align::Left) {
            line.append(padding, ' ');
        }
    }
    line += "\r\n";
    return line;
}

// The named field texts that route-file and readings-file codecs carry.
// Meter fields bear the names of the handheld's meter record; the route
// travels as SelectedRoute; the rest belong to single vendors' layouts.
#pragma once

#include <cstdint>

enum class CodecField : std::uint8_t {
    // The 22 meter record fields, in record order.
    ServiceUniqueID,
    MeterTagNbr,
    MeterSerialNbr,
    MeterType,
    RouteSequence,
    Digits,
    PrvReading,
    MaxReading,
    MinReading,
    CurReading,
    ReadingDate,
    ReadingTime,
    BillingName,
    ServiceAddress,
    Message,
    Status,
    Intials,
    ResponseCode,
    ResponseText,
    LstReadingDate,
    ReadType,
    UserDef,
    // The route a meter belongs to.
    SelectedRoute,
    // Fields of single vendors' layouts.
    Route,
    Service,
    Account,
    MeterID,
    Address,
    MaxRead,
    MinRead,
    PrvRead,
    Current,
    Count
};

inline constexpr std::size_t kCodecFieldCount = static_cast<std::size_t>(CodecField::Count);
inline constexpr std::size_t kMeterRecordFieldCount = 22;

// The meter record field at position `index` (0 to 21) of the record.
constexpr CodecField MeterRecordField(std::size_t index) {
    return static_cast<CodecField>(index);
}

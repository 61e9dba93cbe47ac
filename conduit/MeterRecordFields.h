// The texts of a meter record in record order, which is also the order of
// the first codec fields (CodecField::ServiceUniqueID to CodecField::UserDef).
#pragma once

#include <array>
#include <string>

#include "conduit/HHMeter.h"
#include "conduit/formats/CodecField.h"

inline constexpr std::array<std::string HHMeter::*, HHMeter::kTextCount> kMeterRecordFields = {
    &HHMeter::ServiceUniqueID, &HHMeter::MeterTagNbr,    &HHMeter::MeterSerialNbr,
    &HHMeter::MeterType,       &HHMeter::RouteSequence,  &HHMeter::Digits,
    &HHMeter::PrvReading,      &HHMeter::MaxReading,     &HHMeter::MinReading,
    &HHMeter::CurReading,      &HHMeter::ReadingDate,    &HHMeter::ReadingTime,
    &HHMeter::BillingName,     &HHMeter::ServiceAddress, &HHMeter::Message,
    &HHMeter::Status,          &HHMeter::Intials,        &HHMeter::ResponseCode,
    &HHMeter::ResponseText,    &HHMeter::LstReadingDate, &HHMeter::ReadType,
    &HHMeter::UserDef};
static_assert(kMeterRecordFieldCount == HHMeter::kTextCount);

// The meter text that the codec field of the same name stands for; null for
// codec fields that are no meter record field.
inline const std::string* MeterRecordField(const HHMeter& meter, CodecField field) {
    const auto index = static_cast<std::size_t>(field);
    return index < kMeterRecordFields.size() ? &(meter.*kMeterRecordFields[index]) : nullptr;
}

#include "conduit/formats/MeterLayout.h"

#include <utility>

void MeterLayout::SetField(CodecField field, std::vector<LinePiece> pieces) {
    for (FieldRule& rule : fields) {
        if (rule.field == field) {
            rule.pieces = std::move(pieces);
            return;
        }
    }
    fields.push_back({field, std::move(pieces)});
}

void MeterLayout::SetReading(ReadingRule rule) {
    for (ReadingRule& reading : readings) {
        if (reading.field == rule.field) {
            reading = rule;
            return;
        }
    }
    readings.push_back(rule);
}

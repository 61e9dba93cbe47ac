#include "conduit/ColumnMap.h"

#include <cmath>
#include <cstdlib>
#include <new>
#include <utility>

#include "conduit/formats/LeadingNumber.h"

ColumnMap::ColumnMap() {
    entries_.reserve(kInitialCapacity);
}

ColumnMap::~ColumnMap() = default;

std::uint32_t ColumnMap::Add(std::uint32_t kind, std::string_view text) {
    // The last "/" splits, so a field name may itself hold a "/".
    const std::size_t slash = text.rfind('/');
    if (slash == std::string_view::npos || slash == 0) {
        return kColumnMapOk;
    }
    try {
        ColumnMapEntry entry;
        entry.kind = kind;
        entry.name = std::string(text.substr(0, slash));
        entry.value = std::string(text.substr(slash + 1));
        entry.column = entry.value.substr(0, kColumnChars);
        if (entries_.size() == capacity_) {
            // reserve either succeeds or leaves the entries as they were.
            entries_.reserve(capacity_ * 2);
            capacity_ *= 2;
        }
        entries_.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        return kColumnMapOutOfMemory;
    }
    return kColumnMapOk;
}

const ColumnMapEntry* ColumnMap::Find(std::uint32_t kind, std::string_view name) const {
    for (const ColumnMapEntry& entry : entries_) {
        if (entry.kind == kind && entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

const ColumnMapEntry* ColumnMap::FindMapped(std::uint32_t kind, std::string_view name) const {
    // The desktop writes a field set to "[None]" as an entry without a
    // column; read as letters it would be 0, the usage column itself.
    const ColumnMapEntry* entry = Find(kind, name);
    return entry != nullptr && !entry->column.empty() ? entry : nullptr;
}

std::uint32_t ColumnMap::GetColumnNumber(std::uint32_t kind, std::string_view name,
                                         std::int32_t& out) const {
    out = -1;
    const ColumnMapEntry* entry = FindMapped(kind, name);
    if (entry == nullptr) {
        return kColumnNotMapped;
    }
    const std::string& column = entry->column;
    if (!column.empty() && (column[0] == '+' || column[0] == '-')) {
        // At most three characters: the number always fits.
        out = static_cast<std::int32_t>(std::strtol(column.c_str(), nullptr, 10));
    } else if (column == "0") {
        // The desktop writes "0" for the usage column itself; as letters it
        // would be the meaningless column 65520.
        out = 0;
    } else {
        out = ColumnLettersToNumber(column);
    }
    return kColumnMapOk;
}

std::uint32_t ColumnMap::GetColumnValue(std::uint32_t kind, std::string_view name,
                                        double& out) const {
    const ColumnMapEntry* entry = FindMapped(kind, name);
    if (entry == nullptr) {
        return kColumnNotMapped;
    }
    out = LeadingDecimal(entry->value);
    // A hand-edited "1e999" would reach the handheld as an expected range of
    // "inf" or "nan".
    if (!std::isfinite(out)) {
        out = 0;
    }
    return kColumnMapOk;
}

std::uint16_t ColumnMap::ColumnLettersToNumber(std::string_view letters) {
    std::uint16_t number = 0;
    std::uint16_t power = 1;
    for (auto it = letters.rbegin(); it != letters.rend(); ++it) {
        const int digit = static_cast<unsigned char>(*it) - 64;
        // Conversions to the 16-bit type keep the arithmetic modulo 65536.
        number = static_cast<std::uint16_t>(number + digit * power);
        power = static_cast<std::uint16_t>(power * 26);
    }
    return number;
}

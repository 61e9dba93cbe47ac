// The Excel column mappings of the configuration: which worksheet column holds
// which meter field. Each mapping arrives as "field/column", where the column
// is letters ("C"), a signed offset from the usage column ("+2", "-1", or "0"
// for the usage column itself) or a number such as a percentage ("-20").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Kinds of mapping: RouteMap lines describe the route download, ReadingMap
// lines the reading upload.
inline constexpr std::uint32_t kRouteMapKind = 1;
inline constexpr std::uint32_t kReadingMapKind = 0;

// Results of adding and looking up mappings (the system error codes the
// callers already test for).
inline constexpr std::uint32_t kColumnMapOk = 0;
inline constexpr std::uint32_t kColumnNotMapped = 2;
inline constexpr std::uint32_t kColumnMapOutOfMemory = 8;

struct ColumnMapEntry {
    std::uint8_t inUse = 1;
    std::uint32_t kind = kReadingMapKind;
    std::string name;
    // Column letters and offsets count by their first three characters only.
    std::string column;
    // The whole value as written: a percentage such as "12.5" or "1000" must
    // reach the handheld as the clerk typed it.
    std::string value;
};

class ColumnMap {
  public:
    static constexpr std::size_t kInitialCapacity = 10;
    static constexpr std::size_t kColumnChars = 3;

    ColumnMap();
    ColumnMap(const ColumnMap&) = default;
    ColumnMap& operator=(const ColumnMap&) = default;
    ColumnMap(ColumnMap&&) = default;
    ColumnMap& operator=(ColumnMap&&) = default;
    virtual ~ColumnMap();

    // Adds "field/column", split at the last "/". Text without a "/", or with
    // its only "/" in front, is dropped. kColumnMapOk, or
    // kColumnMapOutOfMemory when the room cannot grow (the map is unchanged).
    std::uint32_t Add(std::uint32_t kind, std::string_view text);

    // The first entry added for this kind and exact name, or null.
    const ColumnMapEntry* Find(std::uint32_t kind, std::string_view name) const;

    // out := -1, then the column's number: letters count from A = 1, "+n" and
    // "-n" give the signed offset, "0" the offset 0. kColumnNotMapped when the
    // field has no entry or its first entry has no column ("[None]").
    std::uint32_t GetColumnNumber(std::uint32_t kind, std::string_view name,
                                  std::int32_t& out) const;
    // out := the whole value read as a decimal number (leading part, "." as
    // the point in every locale); left alone when the field is not mapped
    // (kColumnNotMapped), as above.
    std::uint32_t GetColumnValue(std::uint32_t kind, std::string_view name, double& out) const;

    // Base-26 letters, read from the right, each character counting its code
    // minus 64 (so A = 1, Z = 26, AA = 27); characters are not checked and
    // the sum wraps at 65536.
    static std::uint16_t ColumnLettersToNumber(std::string_view letters);

    std::size_t Count() const { return entries_.size(); }
    // Room before the next growth: 10 at the start, doubled whenever full.
    std::size_t Capacity() const { return capacity_; }
    const std::vector<ColumnMapEntry>& Entries() const { return entries_; }

  private:
    // Find, but null also for an entry without a column.
    const ColumnMapEntry* FindMapped(std::uint32_t kind, std::string_view name) const;

    std::vector<ColumnMapEntry> entries_;
    std::size_t capacity_ = kInitialCapacity;
};

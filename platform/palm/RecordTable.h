// The records of a database held open by the sync library, in one buffer:
// the file image they were loaded from, with records that are added or grow
// appended behind it. Nothing is allocated per record, and the unique ids
// are found through one sorted table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/palm/PdbFile.h"

namespace wexal::palm {

class RecordTable {
  public:
    RecordTable() = default;
    // An empty table that keeps its records in `buffer`'s storage.
    explicit RecordTable(std::vector<uint8_t> buffer);
    // Takes over the file image of a record database; its records stay
    // where the image has them. A unique id that an earlier record holds
    // already, and 0, are not found by Find (the first record keeps it).
    explicit RecordTable(PdbImage&& image);

    std::size_t Count() const { return entries_.size(); }
    std::span<const uint8_t> Data(std::size_t index) const;
    uint8_t Attributes(std::size_t index) const { return entries_[index].attributes; }
    uint32_t UniqueId(std::size_t index) const { return entries_[index].uniqueId; }
    // The record as SerializePdb takes it.
    PdbEntryView View(std::size_t index) const;
    // The index of the record that holds `uniqueId`.
    std::optional<std::size_t> Find(uint32_t uniqueId) const;

    // `uniqueId` must be held by no record.
    void Append(uint32_t uniqueId, uint8_t attributes, std::span<const uint8_t> data);
    void Replace(std::size_t index, uint8_t attributes, std::span<const uint8_t> data);
    // Gives the record an id that no record holds.
    void SetUniqueId(std::size_t index, uint32_t uniqueId);
    // Linear in the record count: deletes are rare.
    void Erase(std::size_t index);

    // Empties the table and gives its buffer for another one: a sync opens
    // database after database of about one size, and fresh memory for each
    // would be paged in anew. The buffer keeps its length (its bytes mean
    // nothing now), so that a file read into it overwrites them rather than
    // having them zeroed first.
    std::vector<uint8_t> TakeBuffer();

  private:
    struct Entry {
        std::size_t offset;
        std::size_t size;
        uint32_t uniqueId;
        uint8_t attributes;
    };
    struct IdPlace {
        uint32_t uniqueId;
        uint32_t index;
        bool operator<(const IdPlace& other) const { return uniqueId < other.uniqueId; }
    };

    void AddId(uint32_t uniqueId, std::size_t index);
    void RemoveId(uint32_t uniqueId, std::size_t index);
    // Stores `data` behind what the buffer holds; gives its offset.
    std::size_t Store(std::span<const uint8_t> data);
    // Drops the bytes no record uses any more once they outweigh the
    // records, so that rewriting records keeps the buffer within twice
    // their size.
    void CompactIfWasteful();

    std::vector<uint8_t> bytes_;
    std::vector<Entry> entries_;
    std::vector<IdPlace> ids_;  // sorted by id
    std::size_t unused_ = 0;    // bytes of bytes_ that no record uses
};

}  // namespace wexal::palm

#include "platform/palm/RecordTable.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace wexal::palm {

namespace {

// Below this the buffer is not worth compacting.
constexpr std::size_t kCompactionFloor = 64 * 1024;

}  // namespace

RecordTable::RecordTable(std::vector<uint8_t> buffer) : bytes_(std::move(buffer)) {
    bytes_.clear();
}

RecordTable::RecordTable(PdbImage&& image) : bytes_(std::move(image.bytes)) {
    const std::vector<PdbEntry>& entries = image.layout.entries;
    entries_.reserve(entries.size());
    ids_.reserve(entries.size());
    std::size_t used = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PdbEntry& e = entries[i];
        entries_.push_back({e.place.offset, e.place.size, e.uniqueId, e.attributes});
        used += e.place.size;
        if (e.uniqueId != 0) {
            ids_.push_back({e.uniqueId, static_cast<uint32_t>(i)});
        }
    }
    unused_ = bytes_.size() - used;
    // The first record that holds an id keeps it.
    std::stable_sort(ids_.begin(), ids_.end());
    ids_.erase(
        std::unique(ids_.begin(), ids_.end(),
                    [](const IdPlace& a, const IdPlace& b) { return a.uniqueId == b.uniqueId; }),
        ids_.end());
}

std::span<const uint8_t> RecordTable::Data(std::size_t index) const {
    const Entry& e = entries_[index];
    return {bytes_.data() + e.offset, e.size};
}

PdbEntryView RecordTable::View(std::size_t index) const {
    PdbEntryView view;
    view.attributes = entries_[index].attributes;
    view.uniqueId = entries_[index].uniqueId;
    view.data = Data(index);
    return view;
}

std::optional<std::size_t> RecordTable::Find(uint32_t uniqueId) const {
    // Ids are handed out one after another: most tables hold a run of them.
    if (!ids_.empty() && uniqueId >= ids_.front().uniqueId) {
        const std::size_t guess = uniqueId - ids_.front().uniqueId;
        if (guess < ids_.size() && ids_[guess].uniqueId == uniqueId) {
            return ids_[guess].index;
        }
    }
    const auto it = std::lower_bound(ids_.begin(), ids_.end(), IdPlace{uniqueId, 0});
    if (uniqueId == 0 || it == ids_.end() || it->uniqueId != uniqueId) {
        return std::nullopt;
    }
    return it->index;
}

void RecordTable::AddId(uint32_t uniqueId, std::size_t index) {
    const IdPlace place{uniqueId, static_cast<uint32_t>(index)};
    // New ids mostly come in rising order: they go at the end.
    if (ids_.empty() || ids_.back() < place) {
        ids_.push_back(place);
    } else {
        ids_.insert(std::lower_bound(ids_.begin(), ids_.end(), place), place);
    }
}

void RecordTable::RemoveId(uint32_t uniqueId, std::size_t index) {
    const auto it = std::lower_bound(ids_.begin(), ids_.end(), IdPlace{uniqueId, 0});
    if (it != ids_.end() && it->uniqueId == uniqueId && it->index == index) {
        ids_.erase(it);
    }
}

std::size_t RecordTable::Store(std::span<const uint8_t> data) {
    const std::size_t offset = bytes_.size();
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return offset;
}

void RecordTable::Append(uint32_t uniqueId, uint8_t attributes, std::span<const uint8_t> data) {
    entries_.push_back({Store(data), data.size(), uniqueId, attributes});
    AddId(uniqueId, entries_.size() - 1);
}

void RecordTable::Replace(std::size_t index, uint8_t attributes, std::span<const uint8_t> data) {
    Entry& e = entries_[index];
    e.attributes = attributes;
    if (data.size() <= e.size) {
        if (!data.empty()) {
            std::memmove(bytes_.data() + e.offset, data.data(), data.size());
        }
        unused_ += e.size - data.size();
    } else {
        unused_ += e.size;
        e.offset = Store(data);
    }
    e.size = data.size();
    CompactIfWasteful();
}

void RecordTable::SetUniqueId(std::size_t index, uint32_t uniqueId) {
    RemoveId(entries_[index].uniqueId, index);
    entries_[index].uniqueId = uniqueId;
    AddId(uniqueId, index);
}

void RecordTable::Erase(std::size_t index) {
    unused_ += entries_[index].size;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    std::erase_if(ids_, [index](const IdPlace& place) { return place.index == index; });
    for (IdPlace& place : ids_) {
        if (place.index > index) {
            --place.index;
        }
    }
    CompactIfWasteful();
}

std::vector<uint8_t> RecordTable::TakeBuffer() {
    std::vector<uint8_t> buffer = std::move(bytes_);
    *this = RecordTable();
    return buffer;
}

void RecordTable::CompactIfWasteful() {
    const std::size_t used = bytes_.size() - unused_;
    if (unused_ < kCompactionFloor || unused_ < used) {
        return;
    }
    std::vector<uint8_t> compact;
    compact.reserve(used);
    for (Entry& e : entries_) {
        const uint8_t* data = bytes_.data() + e.offset;
        e.offset = compact.size();
        compact.insert(compact.end(), data, data + e.size);
    }
    bytes_ = std::move(compact);
    unused_ = 0;
}

}  // namespace wexal::palm

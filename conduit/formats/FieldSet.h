// A set of codec fields: which fields a layout holds, trims or zero-fills.
#pragma once

#include <bitset>
#include <cstddef>
#include <initializer_list>

#include "conduit/formats/CodecField.h"

class FieldSet {
  public:
    FieldSet() = default;
    FieldSet(std::initializer_list<CodecField> fields) {
        for (CodecField field : fields) {
            Add(field);
        }
    }

    bool Has(CodecField field) const { return bits_.test(Index(field)); }
    void Add(CodecField field) { bits_.set(Index(field)); }
    void Remove(CodecField field) { bits_.reset(Index(field)); }
    bool Empty() const { return bits_.none(); }

  private:
    static std::size_t Index(CodecField field) { return static_cast<std::size_t>(field); }

    std::bitset<kCodecFieldCount> bits_;
};

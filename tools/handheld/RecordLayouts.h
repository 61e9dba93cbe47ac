// The record layouts of the handheld application's four kinds of database,
// and a decoder that names the fields of a record.
//
// Every record is its big-endian 16-bit words back to back, then its texts,
// each followed by one NUL byte. The decoder never reads past the record:
// fields that the record does not reach are reported missing, a word cut in
// half or a text without its NUL as incomplete, and bytes after the last
// field are handed back as they are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wexal::handheld {

struct RecordLayout {
    std::string_view name;         // as `--layout` takes it
    std::string_view description;  // e.g. "meter record"
    std::vector<std::string_view> words;
    std::vector<std::string_view> texts;
};

// meter, reader, codes, routes.
const std::vector<RecordLayout>& RecordLayouts();
// nullptr when there is no layout of that name.
const RecordLayout* FindLayout(std::string_view name);
// The layout for a database name: "readerDB", "rcodesDB", "routeDB", and any
// other name beginning "route" (the meters of one route). nullptr otherwise.
const RecordLayout* LayoutForDatabase(std::string_view databaseName);
// "meter|reader|codes|routes".
std::string LayoutNames();

struct DecodedField {
    enum class State {
        Present,
        Missing,     // the record ends before the field
        Incomplete,  // the record ends inside the field (word) or before its NUL (text)
    };
    std::string_view name;
    bool isWord = false;
    State state = State::Missing;
    uint16_t word = 0;
    std::string bytes;  // a text, or what there is of an incomplete word
};

struct DecodedLayoutRecord {
    std::vector<DecodedField> fields;  // one per field of the layout, in order
    std::string rest;                  // bytes after the last field
};

DecodedLayoutRecord DecodeWithLayout(const RecordLayout& layout, const std::vector<uint8_t>& bytes);

}  // namespace wexal::handheld

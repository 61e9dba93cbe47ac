// The records of an open database in one buffer, against a model of one
// vector per record: what it holds and the file image it writes.
#include "platform/palm/RecordTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/palm/PdbFile.h"

namespace wexal::palm {
namespace {

std::vector<uint8_t> Bytes(std::size_t size, std::size_t seed) {
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(seed * 31 + i);
    }
    return bytes;
}

PdbDatabase Model() {
    PdbDatabase db;
    db.header.name = "routeModel";
    db.header.type = FourCC("DATA");
    db.header.creator = FourCC("TLWX");
    db.appInfo = Bytes(5, 1);
    return db;
}

std::vector<uint8_t> Image(const PdbDatabase& model, const RecordTable& table) {
    return SerializePdb(model.header, model.appInfo, model.sortInfo, table.Count(),
                        [&table](std::size_t i) { return table.View(i); });
}

void ExpectSame(const PdbDatabase& model, const RecordTable& table) {
    ASSERT_EQ(table.Count(), model.records.size());
    for (std::size_t i = 0; i < table.Count(); ++i) {
        const PdbRecord& r = model.records[i];
        ASSERT_EQ(std::vector<uint8_t>(table.Data(i).begin(), table.Data(i).end()), r.data) << i;
        ASSERT_EQ(table.UniqueId(i), r.uniqueId) << i;
        ASSERT_EQ(table.Attributes(i), r.attributes) << i;
        ASSERT_EQ(table.Find(r.uniqueId), i) << i;
    }
    EXPECT_EQ(Image(model, table), SerializePdb(model));
}

// Every record rewritten larger, smaller, empty and the same size, some
// deleted: rewrites that outgrow a record move it behind the others and the
// buffer is compacted on the way.
void RewriteAndDelete(PdbDatabase& model, RecordTable& table, std::size_t round) {
    for (std::size_t i = 0; i < model.records.size(); ++i) {
        const std::size_t size = (i + round) % 4 == 0   ? 0
                                 : (i + round) % 4 == 1 ? model.records[i].data.size()
                                                        : (i * 7 + round * 13) % 300;
        const auto attributes = static_cast<uint8_t>((i + round) % 16);
        model.records[i].data = Bytes(size, i + round);
        model.records[i].attributes = attributes;
        table.Replace(i, attributes, model.records[i].data);
    }
    for (std::size_t i = model.records.size(); i-- > 0;) {
        if ((i + round) % 5 == 0) {
            model.records.erase(model.records.begin() + static_cast<std::ptrdiff_t>(i));
            table.Erase(i);
        }
    }
}

TEST(RecordTableTest, HoldsAndWritesWhatAVectorPerRecordWould) {
    PdbDatabase model = Model();
    // A buffer handed on from another database keeps none of its bytes.
    RecordTable table(Bytes(4000, 9));
    ExpectSame(model, table);
    for (uint32_t id = 1; id <= 3000; ++id) {
        model.records.push_back({static_cast<uint8_t>(id % 3), id, Bytes(id % 200, id)});
        table.Append(id, model.records.back().attributes, model.records.back().data);
    }
    ExpectSame(model, table);
    RewriteAndDelete(model, table, 1);
    ExpectSame(model, table);

    // Loaded from its file, rewritten again, with ids set out of order.
    PdbImage image;
    image.bytes = SerializePdb(model);
    image.layout = ParsePdbLayout(image.bytes.data(), image.bytes.size());
    RecordTable loaded(std::move(image));
    ExpectSame(model, loaded);
    RewriteAndDelete(model, loaded, 2);
    loaded.SetUniqueId(0, 0xFFFFFF);
    model.records[0].uniqueId = 0xFFFFFF;
    loaded.Append(5, 0, Bytes(10, 5));
    model.records.push_back({0, 5, Bytes(10, 5)});
    ExpectSame(model, loaded);
    EXPECT_FALSE(loaded.Find(1));
    EXPECT_FALSE(loaded.Find(0));

    // Emptied, and back to nothing.
    while (loaded.Count() > 0) {
        loaded.Erase(0);
        model.records.erase(model.records.begin());
    }
    ExpectSame(model, loaded);
    // Its buffer, handed on with whatever bytes it held, starts a table of
    // no records.
    EXPECT_EQ(RecordTable(loaded.TakeBuffer()).Count(), 0u);
}

TEST(RecordTableTest, TheFirstRecordOfARepeatedIdKeepsIt) {
    PdbDatabase model = Model();
    model.records = {{0, 7, Bytes(3, 1)}, {0, 0, Bytes(3, 2)}, {0, 7, Bytes(3, 3)}};
    PdbImage image;
    image.bytes = SerializePdb(model);
    image.layout = ParsePdbLayout(image.bytes.data(), image.bytes.size());
    const RecordTable table(std::move(image));
    EXPECT_EQ(table.Find(7), 0u);
    EXPECT_FALSE(table.Find(0));
    EXPECT_EQ(table.UniqueId(2), 7u);
}

}  // namespace
}  // namespace wexal::palm

// The table of references and the uses of an item.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include "model/catalogue.h"
#include "model/commands.h"
#include "model/references.h"
#include "model/workspace.h"

namespace {

using qb::Bytes;

Bytes Rec(std::size_t size, std::initializer_list<std::pair<std::size_t, std::uint32_t>> words = {}) {
    Bytes bytes(size, 0);
    qb::RecordView r(bytes);
    for (const auto& [offset, value] : words) EXPECT_TRUE(r.setU32(offset, value));
    return bytes;
}

// Every field of the table lies inside a record of its type as New item makes it (its whole
// run, at full room), names types the catalogue knows, and reads no count or switch outside it.
TEST(References, EveryFieldLiesInsideItsRecord) {
    std::size_t entries = 0;
    for (const qb::Reference& ref : qb::AllReferences()) {
        SCOPED_TRACE(testing::Message() << "type " << ref.referrerType << " " << ref.what);
        ++entries;
        const std::size_t size = qb::NewItemRecord(ref.referrerType, 0).size();
        ASSERT_GT(size, 0u);
        EXPECT_NE(qb::FindObjectType(ref.targets[0]), nullptr);
        if (ref.targets[1]) EXPECT_NE(qb::FindObjectType(ref.targets[1]), nullptr);
        if (ref.room != qb::kUnbounded && ref.count != qb::RunCount::BehindRun) {
            EXPECT_LE(ref.first + (ref.room - 1) * ref.stride + ref.field + 4, size);
            EXPECT_LE(ref.first + ref.room * ref.stride, size);
        }
        if (ref.count == qb::RunCount::CountAt || ref.count == qb::RunCount::BehindRun)
            EXPECT_LE(ref.countAt + 4, size);
        if (ref.when.offset != qb::kNoWord) EXPECT_LE(ref.when.offset + 4, size);
        EXPECT_FALSE(qb::ReferencesOf(ref.referrerType).empty());
    }
    EXPECT_GT(entries, 150u);
    EXPECT_TRUE(qb::ReferencesOf(2).empty());
    EXPECT_TRUE(qb::ReferencesOf(0xFFFFFFFFu).empty());
}

class Uses : public ::testing::Test {
protected:
    void SetUp() override {
        qb::ResetWorkspace();
        p_ = qb::AppendProject(qb::InitProjectRecord(5, "Uses", "/nonexistent/Uses"));
    }
    void TearDown() override { qb::ResetWorkspace(); }
    std::int32_t Add(std::uint32_t type, const Bytes& data, std::int32_t id = -1) {
        return qb::AddObject(*qb::ProjectAt(p_), type, 0, data, "item", id);
    }
    std::vector<std::int32_t> UsesOf(std::int32_t id) { return qb::ItemUses(*qb::ProjectAt(p_), id); }
    int p_ = 0;
};

// Items of other game types, fields that name without keeping, project order, and what is no
// use: a record naming itself, a field of another type, a sound switched off, a run's count.
TEST_F(Uses, EveryFieldNamingTheItemInProjectOrder) {
    const std::int32_t sheet = Add(3, Rec(276));
    const std::int32_t sound = Add(5, Rec(272));
    const std::int32_t map = Add(6, Rec(16));
    const std::uint32_t s = std::uint32_t(sheet);
    const std::int32_t element = Add(507, Rec(952, {{8, s}, {852 - 8, 1}, {848, std::uint32_t(sound)}}));
    const std::int32_t board = Add(508, Rec(24084, {{0, std::uint32_t(map)}, {4, 2},
                                                    {8 + 48, std::uint32_t(element)}}));
    const std::int32_t main = Add(500, Rec(1928, {{1004, 3}, {1008 + 2 * 8, s},
                                                  {1772, std::uint32_t(board)}}));
    const std::int32_t car = Add(109, Rec(248, {{23 * 8, s}, {196, std::uint32_t(sound)}}));
    Add(7, Rec(948, {{12, 2}, {20 + 2 * 8, s}}));         // a frame past the count
    Add(11, Rec(16, {{0, s}}));                           // a type that names nothing
    Add(6, Rec(20, {{0, 1}, {4, 1}, {12, s}}));           // names a backgrounds bitmap only
    Add(1, Rec(1396, {{1088, 0}, {1092, std::uint32_t(sound)}}));  // switched off
    const std::int32_t room = Add(208, Rec(1788, {{4, std::uint32_t(map)}}));

    EXPECT_EQ(UsesOf(sheet), (std::vector<std::int32_t>{element, main, car}));
    EXPECT_EQ(UsesOf(map), (std::vector<std::int32_t>{board, room}));
    EXPECT_EQ(UsesOf(element), (std::vector<std::int32_t>{board}));
    EXPECT_EQ(UsesOf(board), (std::vector<std::int32_t>{main}));
    // The car's four sounds share one switch, off here; the element's sound pair is on.
    EXPECT_EQ(UsesOf(sound), (std::vector<std::int32_t>{element}));
    qb::FindObject(car, p_)->record().setU32(192, 1);
    EXPECT_EQ(UsesOf(sound), (std::vector<std::int32_t>{element, car}));
    // Uses that do not keep the item: the sheet, the map and the element stay deletable.
    for (std::int32_t id : {map, element}) EXPECT_TRUE(qb::IsObjectDeletable(p_, *qb::FindObject(id, p_)));
    EXPECT_FALSE(qb::IsObjectDeletable(p_, *qb::FindObject(sheet, p_)));  // the main's slot sprite
    qb::FindObject(main, p_)->record().setU32(1004, 2);
    EXPECT_TRUE(qb::IsObjectDeletable(p_, *qb::FindObject(sheet, p_)));
    EXPECT_EQ(UsesOf(sheet), (std::vector<std::int32_t>{element, car}));
    // An enemy firing itself is no use of itself; an unknown ID and ID 0 have none.
    const std::int32_t enemy = Add(7, Rec(948));
    qb::FindObject(enemy, p_)->record().setU32(820, std::uint32_t(enemy));
    EXPECT_TRUE(UsesOf(enemy).empty());
    EXPECT_TRUE(UsesOf(999).empty());
    Add(3, Rec(276), 0);
    EXPECT_TRUE(UsesOf(0).empty());
}

TEST_F(Uses, HostileCountsAndShortRecordsReadOnlyWhatIsHeld) {
    const std::int32_t element = Add(507, Rec(952));
    const std::int32_t map = Add(6, Rec(16));
    // Claims two billion pieces, holds three; claims a huge map, holds one cell.
    const std::int32_t board = Add(508, Rec(8 + 3 * 48, {{4, 0x7FFFFFFFu}, {8 + 2 * 48, std::uint32_t(element)}}));
    Add(508, Rec(8 + 3 * 48 - 1, {{4, 3}}));
    Add(6, Rec(16, {{0, 0xFFFFFFFFu}, {4, 0xFFFFFFFFu}, {12, std::uint32_t(map) << 16}}));
    Add(8, Rec(16, {{4, 0x7FFFFFFFu}}));
    Add(508, Rec(2));
    EXPECT_EQ(UsesOf(element), (std::vector<std::int32_t>{board}));
    EXPECT_TRUE(UsesOf(map).empty());  // a map's cells name backgrounds bitmaps, not maps
}

} // namespace

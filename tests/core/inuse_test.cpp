// Deletability: which objects Delete item may remove, and which stay because another record of
// the project refers to them. Offsets are the record formats' own, written out here.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "model/commands.h"
#include "model/record.h"
#include "model/workspace.h"

namespace {

using qb::Bytes;

class InUse : public ::testing::Test {
protected:
    void SetUp() override {
        qb::ResetWorkspace();
        p_ = qb::AppendProject(qb::InitProjectRecord(0, "Rules", "/nonexistent/Rules"));
    }
    void TearDown() override { qb::ResetWorkspace(); }

    // A record of size bytes with u32 words put at the given offsets.
    static Bytes Rec(std::size_t size,
                     std::initializer_list<std::pair<std::size_t, std::uint32_t>> words = {}) {
        Bytes bytes(size, 0);
        qb::RecordView r(bytes);
        for (const auto& [offset, value] : words) EXPECT_TRUE(r.setU32(offset, value));
        return bytes;
    }
    std::int32_t Add(std::uint32_t type, const Bytes& data = {}, std::int32_t id = -1) {
        return qb::AddObject(*qb::ProjectAt(p_), type, 0, data, "item", id);
    }
    bool Deletable(std::int32_t id) {
        const qb::ObjectRecord* o = qb::FindObject(id, p_);
        EXPECT_NE(o, nullptr);
        return o && qb::IsObjectDeletable(p_, *o);
    }
    void Remove(std::int32_t id) { qb::DeleteObject(p_, id); }

    int p_ = 0;
};

TEST_F(InUse, TypesThatAreNeverOrAlwaysDeletable) {
    // The Main parameters of every game type stay: nothing could make them again.
    for (std::uint32_t type : {0u, 1u, 100u, 200u, 300u, 400u, 401u, 500u, 600u, 15u, 99u, 999u})
        EXPECT_FALSE(Deletable(Add(type, Rec(16)))) << type;
    for (std::uint32_t type : {104u, 108u, 109u, 120u, 121u, 207u, 208u, 209u, 214u, 301u, 308u,
                               507u, 508u})
        EXPECT_TRUE(Deletable(Add(type, Rec(16)))) << type;
    // Always-deletable types stay so even when something names them.
    const std::int32_t background = Add(104, Rec(268));
    Add(6, Rec(32, {{0, 1}, {4, 1}, {12, std::uint32_t(background) << 16}}));
    EXPECT_TRUE(Deletable(background));
}

TEST_F(InUse, UnreferencedItemsAreDeletable) {
    for (std::uint32_t type = 2; type <= 14; ++type) EXPECT_TRUE(Deletable(Add(type, Rec(64))));
    // References from objects of other projects do not count.
    const int other = qb::AppendProject(qb::InitProjectRecord(0, "Other", "/nonexistent/Other"));
    const std::int32_t ship = Add(9, Rec(272), 40);
    qb::AddObject(*qb::ProjectAt(other), 1, 1, Rec(1396, {{404, 40}}), "Main parameters", 1);
    EXPECT_TRUE(Deletable(ship));
}

TEST_F(InUse, FontsBitmapIsTheDefaultFontUnlessTheCustomFontIsUsed) {
    const std::int32_t font = Add(2, Rec(268));
    const std::int32_t main = Add(1, Rec(1396, {{960, std::uint32_t(font)}, {1128, 1}}));
    EXPECT_TRUE(Deletable(font));
    qb::RecordView(*qb::FindObjectData(*qb::ProjectAt(p_), main)).setU32(1128, 0);
    EXPECT_FALSE(Deletable(font));
    // Only the low half names the item.
    qb::RecordView(*qb::FindObjectData(*qb::ProjectAt(p_), main))
        .setU32(960, 0x00070000u | std::uint32_t(font));
    EXPECT_FALSE(Deletable(font));
    // A record too short to hold the custom-font flag cannot decide: nothing is protected.
    Remove(main);
    Add(1, Rec(1100, {{960, std::uint32_t(font)}}));
    EXPECT_TRUE(Deletable(font));
}

TEST_F(InUse, SpritesBitmapUsedByShootEmUpMainFrames) {
    const std::int32_t sheet = Add(3, Rec(276));
    for (std::size_t frame : {968u, 992u, 1020u, 1096u, 1104u, 1112u, 1120u}) {
        const std::int32_t main = Add(1, Rec(1396, {{frame, std::uint32_t(sheet)}}));
        EXPECT_FALSE(Deletable(sheet)) << frame;
        Remove(main);
    }
    // The game-over sprite and a frame's cell bytes do not count.
    Add(1, Rec(1396, {{1064, std::uint32_t(sheet)}, {972, std::uint32_t(sheet)}}));
    EXPECT_TRUE(Deletable(sheet));
}

TEST_F(InUse, SpritesBitmapUsedByCountedRuns) {
    const std::int32_t sheet = Add(3, Rec(276));
    struct Run {
        std::uint32_t type;
        std::size_t size, countAt, first, capacity;
        bool freeBehind;  // the frame slot behind the run belongs to no counted run
    };
    const Run runs[] = {
        {7, 948, 12, 20, 100, true},  // enemy sprites
        {9, 272, 0, 8, 10, true},     // ship straight sprites (turn count 0 here)
        {9, 272, 4, 88, 10, false},   // ship left sprites: the right ones share the count
        {9, 272, 4, 168, 10, true},   // ship right sprites
        {10, 152, 20, 24, 10, true},  // fire sprites
        {12, 256, 0, 4, 30, true},    // explosion sprites
        {14, 840, 4, 8, 100, true},   // bonus sprites
    };
    for (const Run& run : runs) {
        SCOPED_TRACE(testing::Message() << "type " << run.type << " frames at " << run.first);
        const std::uint32_t s = std::uint32_t(sheet);
        // The last frame in use protects the sheet...
        std::int32_t id = Add(run.type, Rec(run.size, {{run.countAt, 3}, {run.first + 2 * 8, s}}));
        EXPECT_FALSE(Deletable(sheet));
        Remove(id);
        // ...a frame past the count does not...
        id = Add(run.type, Rec(run.size, {{run.countAt, 2}, {run.first + 2 * 8, s}}));
        EXPECT_TRUE(Deletable(sheet));
        Remove(id);
        // ...nor does any frame when the count is negative.
        id = Add(run.type, Rec(run.size, {{run.countAt, 0xFFFFFFFFu}, {run.first, s}}));
        EXPECT_TRUE(Deletable(sheet));
        Remove(id);
        // A huge count reads no further than the run's own frames.
        id = Add(run.type, Rec(run.size, {{run.countAt, 0x7FFFFFFFu},
                                          {run.first + (run.capacity - 1) * 8, s}}));
        EXPECT_FALSE(Deletable(sheet));
        Remove(id);
        if (run.freeBehind) {
            id = Add(run.type, Rec(run.size, {{run.countAt, 0x7FFFFFFFu},
                                              {run.first + run.capacity * 8, s}}));
            EXPECT_TRUE(Deletable(sheet));
            Remove(id);
        }
    }
}

TEST_F(InUse, SpritesBitmapWithShortRecordsAndHugeCounts) {
    const std::int32_t sheet = Add(3, Rec(276));
    // An enemy record cut after three frames, claiming two billion of them.
    Add(7, Rec(20 + 3 * 8, {{12, 0x7FFFFFFFu}, {20 + 2 * 8, std::uint32_t(sheet)}}));
    EXPECT_FALSE(Deletable(sheet));
    qb::ResetWorkspace();
    SetUp();
    const std::int32_t other = Add(3, Rec(276));
    Add(7, Rec(22, {{12, 0x7FFFFFFFu}}));  // not even one whole frame
    Add(9, Rec(6));                          // too short for any count
    Add(12, Rec(4, {{0, 1000}}));
    EXPECT_TRUE(Deletable(other));
}

TEST_F(InUse, BackgroundsBitmapUsedByMapCells) {
    const std::int32_t tiles = Add(4, Rec(268));
    // A 3 x 2 map; the cell of column 2, row 1 is the last one.
    const std::int32_t map =
        Add(6, Rec(16 + 4 * 6, {{0, 3}, {4, 2}, {8, 32}, {12 + 4 * 5, (std::uint32_t(tiles) << 16) | 0x0102}}));
    EXPECT_FALSE(Deletable(tiles));
    Remove(map);
    // Cells holding the ID only in their low half never protect it.
    Add(6, Rec(16 + 4 * 6, {{0, 3}, {4, 2}, {12, std::uint32_t(tiles)}, {16, std::uint32_t(tiles)}}));
    EXPECT_TRUE(Deletable(tiles));
    // The zero word behind the cells is not a cell.
    Add(6, Rec(16 + 4 * 6, {{0, 3}, {4, 2}, {12 + 4 * 6, std::uint32_t(tiles) << 16}}));
    EXPECT_TRUE(Deletable(tiles));
}

TEST_F(InUse, BackgroundsBitmapMapWithHugeDimensions) {
    const std::int32_t tiles = Add(4, Rec(268));
    // Claims 65535 x 65535 cells but holds two: only those are read.
    Add(6, Rec(20, {{0, 0xFFFFu}, {4, 0xFFFFu}, {16, std::uint32_t(tiles) << 16}}));
    EXPECT_FALSE(Deletable(tiles));
    qb::ResetWorkspace();
    SetUp();
    const std::int32_t unused = Add(4, Rec(268));
    Add(6, Rec(16, {{0, 0xFFFFFFFFu}, {4, 0xFFFFFFFFu}}));
    Add(6, Rec(8, {{0, 5}, {4, 5}}));
    EXPECT_TRUE(Deletable(unused));
}

TEST_F(InUse, BackgroundsBitmapWithALargeId) {
    // The cell's high half holds IDs up to 65535.
    const std::int32_t tiles = Add(4, Rec(268), 40000);
    Add(6, Rec(20, {{0, 1}, {4, 1}, {12, 40000u << 16}}));
    EXPECT_FALSE(Deletable(tiles));
}

TEST_F(InUse, AudioDataUsedByEnabledSounds) {
    const std::int32_t sound = Add(5, Rec(272));
    const std::uint32_t s = std::uint32_t(sound);
    struct Pair {
        std::uint32_t type;
        std::size_t size, pair;
    };
    const Pair pairs[] = {
        {13, 2808, 2264}, {10, 152, 116}, {7, 948, 844}, {7, 948, 836}, {12, 256, 244},
        {14, 840, 832},  // the bonus sound keeps its item too
        {1, 1396, 1088},  // the shoot'em-up background sound
    };
    for (const Pair& pr : pairs) {
        SCOPED_TRACE(testing::Message() << "type " << pr.type << " pair at " << pr.pair);
        std::int32_t id = Add(pr.type, Rec(pr.size, {{pr.pair, 1}, {pr.pair + 4, s}}));
        EXPECT_FALSE(Deletable(sound));
        Remove(id);
        id = Add(pr.type, Rec(pr.size, {{pr.pair, 1}, {pr.pair + 4, 0x00010000u | s}}));
        EXPECT_FALSE(Deletable(sound));  // low half only
        Remove(id);
        for (std::uint32_t flag : {0u, 2u}) {  // switched off, or not exactly on
            id = Add(pr.type, Rec(pr.size, {{pr.pair, flag}, {pr.pair + 4, s}}));
            EXPECT_TRUE(Deletable(sound));
            Remove(id);
        }
        // A record cut between the flag and the ID holds no reference.
        id = Add(pr.type, Rec(pr.pair + 6, {{pr.pair, 1}}));
        EXPECT_TRUE(Deletable(sound));
        Remove(id);
    }
}

TEST_F(InUse, AudioDataUsedByALevelSoundBehindItsEntries) {
    const std::int32_t sound = Add(5, Rec(272));
    const std::uint32_t s = std::uint32_t(sound);
    std::int32_t level = Add(8, Rec(16 + 2 * 40, {{4, 2}, {88, 1}, {92, s}}));
    EXPECT_FALSE(Deletable(sound));
    Remove(level);
    level = Add(8, Rec(16, {{8, 1}, {12, s}}));  // no entries: the pair sits at 8
    EXPECT_FALSE(Deletable(sound));
    Remove(level);
    // The pair is sought behind the entries, not at a fixed place.
    level = Add(8, Rec(16 + 2 * 40, {{4, 2}, {8, 1}, {12, s}}));
    EXPECT_TRUE(Deletable(sound));
    Remove(level);
    // Counts that put the pair outside the record (huge, negative) find nothing and stop.
    Add(8, Rec(16 + 2 * 40, {{4, 0x7FFFFFFFu}, {88, 1}, {92, s}}));
    Add(8, Rec(16 + 2 * 40, {{4, 0xFFFFFFFFu}, {0, 1}, {4 + 4, s}}));
    Add(8, Rec(48, {{4, 1}, {44, 1}}));  // the pair would lie behind the record
    EXPECT_TRUE(Deletable(sound));
}

TEST_F(InUse, MapUsedAsALevelBackground) {
    const std::int32_t map = Add(6, Rec(16));
    const std::int32_t level = Add(8, Rec(48, {{0, 0x00050000u | std::uint32_t(map)}}));
    EXPECT_FALSE(Deletable(map));
    Remove(level);
    Add(108, Rec(1016, {{0, std::uint32_t(map)}}));  // tracks do not protect maps
    Add(1, Rec(1396, {{0, std::uint32_t(map)}}));
    EXPECT_TRUE(Deletable(map));
}

TEST_F(InUse, EnemiesAndBonusesPlacedByLevelWaves) {
    const std::int32_t enemy = Add(7, Rec(948), 9);
    const std::int32_t bonus = Add(14, Rec(840), 10);
    std::int32_t level = Add(8, Rec(16 + 2 * 40, {{4, 2}, {48 + 4, 9}}));
    EXPECT_FALSE(Deletable(enemy));
    Remove(level);
    level = Add(8, Rec(16 + 40, {{4, 1}, {12, 65536 + 10}}));
    EXPECT_FALSE(Deletable(bonus));
    EXPECT_TRUE(Deletable(enemy));
    Remove(level);
    // Only the low half of the entry's word counts, whichever kind of entry it is.
    level = Add(8, Rec(16 + 2 * 40, {{4, 2}, {12, 65536 + 9}, {48 + 4, 10}}));
    EXPECT_FALSE(Deletable(enemy));
    EXPECT_FALSE(Deletable(bonus));
    Remove(level);
    // Entries past the count, and the word at 820 of a level, do not count.
    Add(8, Rec(16 + 2 * 40, {{4, 1}, {48 + 4, 9}}));
    Add(8, Rec(948, {{4, 0}, {820, 9}}));
    EXPECT_TRUE(Deletable(enemy));
    // A hostile count reads only the entries the record holds.
    Add(8, Rec(16 + 3 * 40, {{4, 0x7FFFFFFFu}, {8 + 2 * 40 + 4, 9}}));
    EXPECT_FALSE(Deletable(enemy));
}

TEST_F(InUse, LevelDataListedInTheLevelList) {
    const std::int32_t level = Add(8, Rec(48));
    const std::int32_t main = Add(1, Rec(1396, {{0, 3}, {4 + 2 * 4, std::uint32_t(level)}}));
    EXPECT_FALSE(Deletable(level));
    // Removed from the list (count lowered: the stale entry no longer counts), it may go.
    qb::RecordView(*qb::FindObjectData(*qb::ProjectAt(p_), main)).setU32(0, 2);
    EXPECT_TRUE(Deletable(level));
    // A count above the 100 entries never reads the fields behind the list.
    Remove(main);
    Add(1, Rec(1396, {{0, 0xFFFFu}, {404, std::uint32_t(level)}, {412, std::uint32_t(level)}}));
    EXPECT_TRUE(Deletable(level));
    Add(1, Rec(1396, {{0, 0x7FFFFFFFu}, {4 + 99 * 4, std::uint32_t(level)}}));
    EXPECT_FALSE(Deletable(level));
}

TEST_F(InUse, ShipAndFire) {
    const std::int32_t ship = Add(9, Rec(272));
    const std::int32_t fire = Add(10, Rec(152));
    const std::int32_t main = Add(1, Rec(1396, {{404, std::uint32_t(ship)}, {412, std::uint32_t(fire)}}));
    EXPECT_FALSE(Deletable(ship));
    EXPECT_FALSE(Deletable(fire));
    Remove(main);
    EXPECT_TRUE(Deletable(ship));
    EXPECT_TRUE(Deletable(fire));

    // A fire that selects itself as next power does not keep itself.
    qb::RecordView(*qb::FindObjectData(*qb::ProjectAt(p_), fire)).setU32(104, 1);
    qb::RecordView(*qb::FindObjectData(*qb::ProjectAt(p_), fire)).setU32(108, std::uint32_t(fire));
    EXPECT_TRUE(Deletable(fire));
    // Another fire does, while its next power is selected.
    const std::int32_t stronger = Add(10, Rec(152, {{104, 1}, {108, std::uint32_t(fire)}}));
    EXPECT_FALSE(Deletable(fire));
    qb::RecordView(*qb::FindObjectData(*qb::ProjectAt(p_), stronger)).setU32(104, 0);
    EXPECT_TRUE(Deletable(fire));
    // A bonus changes the shot only with bonus type 2.
    const std::int32_t bonus = Add(14, Rec(840, {{812, 1}, {816, std::uint32_t(fire)}}));
    EXPECT_TRUE(Deletable(fire));
    qb::RecordView(*qb::FindObjectData(*qb::ProjectAt(p_), bonus)).setU32(812, 2);
    EXPECT_FALSE(Deletable(fire));
}

TEST_F(InUse, VectorialAnimations) {
    const std::int32_t path = Add(11, Rec(16));
    const std::uint32_t v = std::uint32_t(path);
    // The low half of an enemy's word keeps the item whatever its type of animation; the high
    // half only with animation type 3.
    for (std::uint32_t animationType : {0u, 3u}) {
        std::int32_t enemy = Add(7, Rec(948, {{0, v}, {4, animationType}}));
        EXPECT_FALSE(Deletable(path)) << animationType;
        Remove(enemy);
    }
    std::int32_t enemy = Add(7, Rec(948, {{0, v << 16}, {4, 3}}));
    EXPECT_FALSE(Deletable(path));
    Remove(enemy);
    enemy = Add(7, Rec(948, {{0, v << 16}, {4, 0}}));
    EXPECT_TRUE(Deletable(path));
    Remove(enemy);
    for (std::uint32_t type : {14u, 10u}) {
        const std::int32_t id = Add(type, Rec(200, {{0, v}}));
        EXPECT_FALSE(Deletable(path)) << type;
        Remove(id);
    }
    Add(14, Rec(840, {{0, v << 16}}));  // a bonus names it in the low half only
    Add(9, Rec(272, {{0, v}}));
    EXPECT_TRUE(Deletable(path));
}

TEST_F(InUse, ExplosionAnimations) {
    const std::int32_t boom = Add(12, Rec(256));
    const std::uint32_t b = std::uint32_t(boom);
    std::int32_t id = Add(7, Rec(948, {{828, b}}));
    EXPECT_FALSE(Deletable(boom));
    Remove(id);
    id = Add(9, Rec(272, {{248, b}}));
    EXPECT_FALSE(Deletable(boom));
    Remove(id);
    // An enemy's beat animation and Willy's explosion keep theirs too: the engine would be
    // left naming nothing.
    id = Add(7, Rec(948, {{876, b}}));
    EXPECT_FALSE(Deletable(boom));
    Remove(id);
    id = Add(209, Rec(1104, {{0, 0x00010000u | b}}));
    EXPECT_FALSE(Deletable(boom));
    Remove(id);
    Add(7, Rec(948, {{832, b}, {880, b}}));  // points and radius are no references
    Add(209, Rec(1104, {{4, b}}));
    Add(7, Rec(876 + 2, {}));                // a record cut inside the beat word
    EXPECT_TRUE(Deletable(boom));
}

TEST_F(InUse, EnemiesFiredByOtherEnemies) {
    const std::int32_t bullet = Add(7, Rec(948));
    const std::int32_t shooter = Add(7, Rec(948, {{820, 0x00050000u | std::uint32_t(bullet)}}));
    EXPECT_FALSE(Deletable(bullet));
    EXPECT_TRUE(Deletable(shooter));
    // An enemy that fires itself may still go.
    qb::RecordView(*qb::FindObjectData(*qb::ProjectAt(p_), shooter)).setU32(820, std::uint32_t(shooter));
    EXPECT_TRUE(Deletable(shooter));
    EXPECT_TRUE(Deletable(bullet));
}

TEST_F(InUse, SplashBitmaps) {
    const std::int32_t splash = Add(13, Rec(2808));
    for (std::size_t field : {956u, 1048u}) {
        const std::int32_t main = Add(1, Rec(1396, {{field, std::uint32_t(splash)}}));
        EXPECT_FALSE(Deletable(splash)) << field;
        Remove(main);
    }
    Add(11, Rec(888, {{536, std::uint32_t(splash)}}));  // a record of another kind
    EXPECT_TRUE(Deletable(splash));
}

// Every game type's Main parameters keep what they name: fonts, splash screens, backgrounds and
// maps by ID, sprite sheets through their sprite frames (the counted runs as far as their
// count), sounds while switched on. One field of each kind per game type, then once removed.
TEST_F(InUse, WhatEveryMainParametersRecordNames) {
    struct Case {
        std::uint32_t mainType;
        std::size_t size;
        std::uint32_t targetType;
        std::size_t field;               // where the ID goes (a sound pair's ID word)
        std::size_t countAt = 0;         // a counted run: its count word
        std::uint32_t count = 0;
        std::size_t flag = 0;            // a sound pair's enabled word
    };
    const Case cases[] = {
        {600, 888, 13, 536},            // jigsaw: splash
        {600, 888, 4, 556},             // background with the jigsaw
        {600, 888, 4, 560},             // background without it
        {600, 888, 5, 852, 0, 0, 848},  // background sound
        {600, 888, 5, 884, 0, 0, 880},  // finish sound
        {100, 1208, 13, 940},           // racing: splash
        {100, 1208, 2, 1140},           // info font
        {100, 1208, 3, 1028 + 8 * 2, 1024, 3},  // third logo sprite
        {100, 1208, 3, 1192 + 8},       // second fx on/off sprite
        {100, 1208, 5, 1172, 0, 0, 1168},       // music
        {200, 1040, 13, 712},           // platform: game-finished splash
        {200, 1040, 2, 556},            // default font
        {200, 1040, 3, 560},            // life sprite
        {200, 1040, 5, 728, 0, 0, 724}, // starting sound
        {300, 12316, 2, 12312},         // soccer: opponent score font
        {300, 12316, 13, 7876},         // lose splash
        {300, 12316, 3, 652 + 8 * 15, 648, 2},  // 16th running frame of 8 x 2
        {300, 12316, 3, 11908 + 8 * 4, 11904, 5},  // fifth arrow frame
        {500, 1928, 6, 908 + 4 * 8},    // curling: the ninth further map
        {500, 1928, 6, 1812},           // layer 2 alpha map
        {500, 1928, 2, 820},            // other players' font
        {500, 1928, 3, 1008 + 8 * 19, 1004, 20},  // last slot sprite
        {500, 1928, 5, 1920, 0, 0, 1916},         // game finished sound
    };
    for (const Case& c : cases) {
        SetUp();
        const std::int32_t target = Add(c.targetType, Rec(64));
        Bytes record = Rec(c.size, {{c.field, std::uint32_t(target) | 0x00070000u}});
        qb::RecordView r(record);
        if (c.countAt) r.setU32(c.countAt, c.count);
        if (c.flag) r.setU32(c.flag, 1);
        const std::int32_t main = Add(c.mainType, record);
        EXPECT_FALSE(Deletable(target)) << c.mainType << " at " << c.field;
        // A shorter run, or a sound switched off, no longer keeps it.
        if (c.countAt) {
            qb::FindObject(main, p_)->record().setU32(c.countAt, c.count - 1);
            EXPECT_TRUE(Deletable(target)) << c.mainType << " at " << c.field;
        }
        if (c.flag) {
            qb::FindObject(main, p_)->record().setU32(c.flag, 0);
            EXPECT_TRUE(Deletable(target)) << c.mainType << " at " << c.field;
        }
        Remove(main);
        EXPECT_TRUE(Deletable(target)) << c.mainType << " at " << c.field;
    }
    // The jigsaw's default font counts while the custom font is not used, as the shoot'em-up's.
    SetUp();
    const std::int32_t font = Add(2, Rec(264));
    const std::int32_t jigsaw = Add(600, Rec(888, {{540, std::uint32_t(font)}, {544, 1}}));
    EXPECT_TRUE(Deletable(font));
    qb::FindObject(jigsaw, p_)->record().setU32(544, 0);
    EXPECT_FALSE(Deletable(font));
}

TEST_F(InUse, ReferrersWithoutDataAndIdZero) {
    const std::int32_t ship = Add(9, Rec(272));
    // A Main parameters object without a data block is not examined.
    Add(1, Bytes{});
    EXPECT_TRUE(Deletable(ship));
    // An object whose ID is 0 (a hand-edited file) is named by every empty field; 0 means none.
    const std::int32_t zero = Add(9, Rec(272), 0);
    Add(1, Rec(1396));
    EXPECT_EQ(zero, 0);
    EXPECT_TRUE(Deletable(0));
}

} // namespace

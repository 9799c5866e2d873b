// Validation before a build: every check, its order, the last-failure-wins rule, the settings
// copied from each Main parameters type, and records that are shorter or hold counts that
// point anywhere.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "build/validate.h"
#include "model/catalogue.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/curling_main.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/jigsaw_main.h"
#include "model/layouts/level.h"
#include "model/layouts/platform_main.h"
#include "model/layouts/racing_main.h"
#include "model/layouts/ship.h"
#include "model/layouts/shootemup_main.h"
#include "model/layouts/soccer_main.h"
#include "model/workspace.h"

namespace L = qb::layout;
using qb::Bytes;
using qb::BuildSettings;
using qb::ProjectRecord;
using qb::RecordView;

namespace {

struct Project {
    ProjectRecord record;
    explicit Project(std::uint32_t gameType = qb::game::ShootEmUp) { record.tipoGioco = gameType; }

    // Appends an item of the type with a zero record of size bytes and answers a view of it.
    RecordView add(std::uint32_t type, std::size_t size, const std::string& description = "item") {
        qb::AddObject(record, type, 0, Bytes(size, 0), description, -1);
        return record.objects.back().record();
    }
    // Validates, and holds the list of every problem beside the one error: the error is the
    // last of the list, and the build's list adds only the game-area check.
    BuildSettings validate() const {
        const BuildSettings settings = qb::ValidateProject(record);
        const std::vector<qb::Problem> all = qb::ValidationProblems(record);
        EXPECT_EQ(settings.error, all.empty() ? std::string() : all.back().message);
        BuildSettings withArea = settings;
        qb::CheckGameArea(record, withArea);
        const std::vector<qb::Problem> build = qb::BuildProblems(record);
        EXPECT_EQ(withArea.error, build.empty() ? std::string() : build.back().message);
        EXPECT_GE(build.size(), all.size());
        EXPECT_LE(build.size(), all.size() + 1);
        return settings;
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const qb::Problem& problem : qb::ValidationProblems(record))
            out.push_back(problem.message);
        return out;
    }
};

// A shoot'em-up Main parameters record that passes every check.
void FillCompleteShootEmUpMain(RecordView r) {
    namespace M = L::shootemup_main;
    r.setU32(M::kPlayerShip, 2);
    r.setU32(M::kPlayerFire, 3);
    r.setI32(M::kLevelCount, 1);
    r.setU32(M::kSplashStart, 4);
    r.setU32(M::kSplashEnd, 5);
    r.setU32(M::kDefaultFont, 6);
    r.setI32(M::kGameAreaWidth, 640);
    r.setI32(M::kGameAreaHeight, 480);
}

const std::string kNoSprite = "#error 'no sprite': ";
const std::string kNoSound = "#error 'no sound': ";

TEST(ValidateProject, CompleteShootEmUpPassesAndGivesItsSettings) {
    Project p;
    p.add(0, 0, "Parameters");
    RecordView main = p.add(1, L::shootemup_main::kSize, "Main parameters");
    FillCompleteShootEmUpMain(main);
    main.setU32(L::shootemup_main::kResourceLocation, 1);
    main.setText(L::shootemup_main::kResourcePath, 260, "http://example.org/res");
    main.setText(L::shootemup_main::kLoadingDescription, 260, "Loading, wait...");
    main.setU32(L::shootemup_main::kGameAreaPreset, 3);

    const BuildSettings s = p.validate();
    EXPECT_EQ(s.error, "");
    EXPECT_EQ(s.dimX, 640);
    EXPECT_EQ(s.dimY, 480);
    EXPECT_EQ(s.compilazioneTipo, 1u);
    EXPECT_EQ(s.sPathExternalFiles, "http://example.org/res/");
    EXPECT_EQ(s.descriptionWhileLoading, "Loading, wait...");
    EXPECT_EQ(s.engineTemplate, 3u);
    EXPECT_EQ(s.nExternalObj, 0u);
}

TEST(ValidateProject, ShootEmUpMainChecksRunInOrderAndTheLastFailureWins) {
    namespace M = L::shootemup_main;
    struct Case {
        std::function<void(RecordView)> spoil;
        std::string literal;
    };
    const Case cases[] = {
        {[](RecordView r) { r.setU32(M::kResourceLocation, 1); }, "#error 'site path not difined!': "},
        {[](RecordView r) { r.setU32(M::kPlayerShip, 0x00070000); }, "#error 'no player's ship!': "},
        {[](RecordView r) { r.setU32(M::kPlayerFire, 0); }, "#error 'no fire for player's ship!': "},
        {[](RecordView r) { r.setI32(M::kLevelCount, -1); }, "#error 'at least one level!': "},
        {[](RecordView r) { r.setU32(M::kSplashStart, 0); }, "#error 'no splash title!': "},
        {[](RecordView r) { r.setU32(M::kSplashEnd, 0); }, "#error 'no splash end!': "},
        {[](RecordView r) { r.setU32(M::kDefaultFont, 0); }, "#error 'no default font!': "},
    };
    for (const Case& c : cases) {
        Project p;
        RecordView main = p.add(1, M::kSize, "Main parameters");
        FillCompleteShootEmUpMain(main);
        c.spoil(main);
        EXPECT_EQ(p.validate().error, c.literal + "Main parameters");
    }

    // A custom font stands in for the default font.
    Project custom;
    RecordView main = custom.add(1, M::kSize, "M");
    FillCompleteShootEmUpMain(main);
    main.setU32(M::kDefaultFont, 0);
    main.setU32(M::kUseCustomFont, 1);
    EXPECT_EQ(custom.validate().error, "");

    // Everything missing: the last check in order is the one reported.
    Project empty;
    empty.add(1, M::kSize, "M");
    EXPECT_EQ(empty.validate().error, "#error 'no default font!': M");
    // The site path is only needed for resources at a specific path.
    Project embedded;
    main = embedded.add(1, M::kSize, "M");
    FillCompleteShootEmUpMain(main);
    main.setU32(M::kResourceLocation, 2);
    EXPECT_EQ(embedded.validate().error, "");
}

// One item checked alone: the description is "it".
std::string ErrorOf(std::uint32_t type, std::size_t size, const std::function<void(RecordView)>& fill) {
    Project p;
    fill(p.add(type, size, "it"));
    return p.validate().error;
}

TEST(ValidateProject, ItemChecksOfEveryType) {
    namespace E = L::enemy;
    // A complete enemy, then each way to spoil it.
    auto enemy = [](RecordView r) {
        r.setU16(E::kVectorialAnimation1, 5);
        r.setI32(E::kSpriteCount, 2);
        r.setU32(L::sprite_frame::At(E::kSprites, 0), 3);
        r.setU32(L::sprite_frame::At(E::kSprites, 1), 3);
        r.setI32(E::kShield, 2);
        r.setU32(E::kExplosion, 9);
        r.setU32(E::kBeatAnimation, 9);
    };
    EXPECT_EQ(ErrorOf(7, E::kSize, enemy), "");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU16(E::kVectorialAnimation1, 0); }),
              "#error 'no animation': it");
    // Animation 2 is needed only for the type that loops it.
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(E::kAnimationType, 2); }), "");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(E::kAnimationType, 3); }),
              "#error 'no animation': it");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(E::kExplosion, 0); }),
              "#error 'no explosion': it");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(E::kExplosion, 0); r.setI32(E::kShield, 0); }),
              "");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(E::kBeatAnimation, 0); }),
              "#error 'no shield': it");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(E::kBeatAnimation, 0); r.setI32(E::kShield, 1); }),
              "");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(L::sprite_frame::At(E::kSprites, 1), 0x10000); }),
              kNoSprite + "it");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(E::kFireSound, 1); }), kNoSound + "it");
    EXPECT_EQ(ErrorOf(7, E::kSize, [&](RecordView r) { enemy(r); r.setU32(E::kFireSound, 1); r.setU32(E::kFireSound + 4, 8); }),
              "");

    namespace S = L::ship;
    auto ship = [](RecordView r) {
        r.setU32(S::kExplosion, 4);
        r.setI32(S::kStraightCount, 1);
        r.setI32(S::kTurnCount, 1);
        r.setU32(S::kStraightSprites, 3);
        r.setU32(S::kLeftSprites, 3);
        r.setU32(S::kRightSprites, 3);
    };
    EXPECT_EQ(ErrorOf(9, S::kSize, ship), "");
    EXPECT_EQ(ErrorOf(9, S::kSize, [&](RecordView r) { ship(r); r.setU32(S::kExplosion, 0); }), "#error 'no explosion': it");
    EXPECT_EQ(ErrorOf(9, S::kSize, [&](RecordView r) { ship(r); r.setU32(S::kStraightSprites, 0); }), kNoSprite + "it");
    EXPECT_EQ(ErrorOf(9, S::kSize, [&](RecordView r) { ship(r); r.setU32(S::kLeftSprites, 0); }), kNoSprite + "it");
    EXPECT_EQ(ErrorOf(9, S::kSize, [&](RecordView r) { ship(r); r.setU32(S::kRightSprites, 0); }), kNoSprite + "it");

    namespace F = L::ship_fire;
    auto fire = [](RecordView r) { r.setI32(F::kSpriteCount, 1); r.setU32(F::kSprites, 3); };
    EXPECT_EQ(ErrorOf(10, F::kSize, fire), "");
    EXPECT_EQ(ErrorOf(10, F::kSize, [&](RecordView r) { fire(r); r.setU32(F::kNextPowerSelected, 1); }),
              "#error 'no next power': it");
    EXPECT_EQ(ErrorOf(10, F::kSize, [&](RecordView r) { fire(r); r.setU32(F::kSprites, 0); }), kNoSprite + "it");
    EXPECT_EQ(ErrorOf(10, F::kSize, [&](RecordView r) { fire(r); r.setU32(F::kSound, 1); }), kNoSound + "it");

    namespace X = L::explosion;
    EXPECT_EQ(ErrorOf(12, X::kSize, [](RecordView r) { r.setI32(X::kSpriteCount, 1); }), kNoSprite + "it");
    EXPECT_EQ(ErrorOf(12, X::kSize, [](RecordView r) { r.setU32(X::kSound, 1); }), kNoSound + "it");

    EXPECT_EQ(ErrorOf(13, L::splash_bitmap::kSize, [](RecordView r) { r.setU32(L::splash_bitmap::kSound, 7); }),
              kNoSound + "it");

    namespace B = L::bonus;
    auto bonus = [](RecordView r) { r.setU32(B::kVectorialAnimation, 2); };
    EXPECT_EQ(ErrorOf(14, B::kSize, bonus), "");
    EXPECT_EQ(ErrorOf(14, B::kSize, [&](RecordView r) { bonus(r); r.setU32(B::kBonusType, 2); }), "#error 'no fire': it");
    EXPECT_EQ(ErrorOf(14, B::kSize, [&](RecordView r) { bonus(r); r.setU32(B::kBonusType, 1); }), "");
    EXPECT_EQ(ErrorOf(14, B::kSize, [&](RecordView r) { bonus(r); r.setU32(B::kSound, 1); }), kNoSound + "it");
    // Neither sprite nor animation: the later check wins.
    EXPECT_EQ(ErrorOf(14, B::kSize, [](RecordView r) { r.setI32(B::kSpriteCount, 3); }), "#error 'no animation': it");

    // Types without checks are passed over, whatever they hold.
    for (std::uint32_t type : {0u, 6u, 11u, 108u, 208u, 508u})
        EXPECT_EQ(ErrorOf(type, 64, [](RecordView) {}), "") << type;
}

TEST(ValidateProject, OnlyTheFailureOfTheLaterItemIsReported) {
    Project p;
    p.add(9, L::ship::kSize, "first ship");            // no explosion
    p.add(14, L::bonus::kSize, "second bonus");         // no animation
    p.add(4, L::backgrounds_bitmap::kSize, "picture");  // no check
    EXPECT_EQ(p.validate().error, "#error 'no animation': second bonus");
    // Every failure is listed, in item and check order.
    EXPECT_EQ(p.messages(), (std::vector<std::string>{"#error 'no explosion': first ship",
                                                      "#error 'no animation': second bonus"}));
    p.record.objects[0].record().setI32(L::ship::kStraightCount, 1);  // a frame without sheet
    EXPECT_EQ(p.messages(), (std::vector<std::string>{"#error 'no explosion': first ship",
                                                      "#error 'no sprite': first ship",
                                                      "#error 'no animation': second bonus"}));

    // The literal and a description of 254 characters fit together.
    Project longName;
    const std::string description(254, 'd');
    longName.add(10, L::ship_fire::kSize, description);
    longName.record.objects.back().record().setU32(L::ship_fire::kNextPowerSelected, 1);
    EXPECT_EQ(longName.validate().error, "#error 'no next power': " + description);
}

TEST(ValidateProject, FrameCountsThatAreZeroNegativeOrTooLarge) {
    namespace S = L::ship;
    // Zero and negative counts never report a missing sprite, whatever the frames hold.
    for (std::int32_t count : {0, -1, INT32_MIN}) {
        EXPECT_EQ(ErrorOf(9, S::kSize, [&](RecordView r) {
                      r.setU32(S::kExplosion, 1);
                      r.setI32(S::kStraightCount, count);
                      r.setI32(S::kTurnCount, count);
                  }),
                  "")
            << count;
    }
    // A count larger than the record holds: the frames past its end have no sprite. The
    // record is filled with non-zero bytes so only the missing frames can fail.
    for (std::int32_t count : {34, 1000, INT32_MAX}) {
        const std::string error = ErrorOf(12, L::explosion::kSize, [&](RecordView r) {
            for (std::size_t i = 0; i < r.size(); ++i) r.setU8(i, 1);
            r.setI32(L::explosion::kSpriteCount, count);
        });
        EXPECT_EQ(error, kNoSprite + "it") << count;
    }
    // Exactly as many frames as fit: all of them are read and found.
    EXPECT_EQ(ErrorOf(12, L::explosion::kSize, [](RecordView r) {
                  for (std::size_t i = 0; i < r.size(); ++i) r.setU8(i, 1);
                  r.setI32(L::explosion::kSpriteCount, 31);  // (256 - 4) / 8
              }),
              "");
    // AllFramesHaveSprite looks at the low 16 bits only.
    Bytes frames(16, 0);
    RecordView v(frames);
    v.setU32(0, 1);
    v.setU32(8, 0xFFFF0000u);
    EXPECT_TRUE(qb::AllFramesHaveSprite(qb::ConstRecordView(frames), 0, 1));
    EXPECT_FALSE(qb::AllFramesHaveSprite(qb::ConstRecordView(frames), 0, 2));
    EXPECT_FALSE(qb::AllFramesHaveSprite(qb::ConstRecordView(frames), 100, 1));
}

TEST(ValidateProject, LevelSoundLiesBehindItsEntries) {
    namespace V = L::level;
    // Two entries: the sound pair is at 88 and 92, not at a fixed offset.
    EXPECT_EQ(ErrorOf(8, V::SizeFor(2), [](RecordView r) {
                  r.setU32(V::kBackgroundMap, 1);
                  r.setI32(V::kEntryCount, 2);
                  r.setU32(88, 1);
              }),
              kNoSound + "it");
    EXPECT_EQ(ErrorOf(8, V::SizeFor(2), [](RecordView r) {
                  r.setU32(V::kBackgroundMap, 1);
                  r.setI32(V::kEntryCount, 2);
                  r.setU32(88, 1);
                  r.setU32(92, 5);
              }),
              "");
    // A switch at 8 with two entries is an entry field, not the sound.
    EXPECT_EQ(ErrorOf(8, V::SizeFor(2), [](RecordView r) {
                  r.setU32(V::kBackgroundMap, 1);
                  r.setI32(V::kEntryCount, 2);
                  r.setU32(8, 1);
              }),
              "");
    // No entries: offsets 8 and 12.
    EXPECT_EQ(ErrorOf(8, V::SizeFor(0), [](RecordView r) { r.setU32(V::kBackgroundMap, 1); r.setU32(8, 1); }),
              kNoSound + "it");
    EXPECT_EQ(ErrorOf(8, V::SizeFor(0), [](RecordView) {}), "#error 'no background': it");
    // Counts that point outside the record read zero there: no sound error, nothing read
    // past the record.
    for (std::int32_t count : {-1, 3, 1000000, INT32_MAX, INT32_MIN}) {
        EXPECT_EQ(ErrorOf(8, V::SizeFor(2), [&](RecordView r) {
                      for (std::size_t i = 0; i < r.size(); ++i) r.setU8(i, 0xFF);
                      r.setI32(V::kEntryCount, count);
                  }),
                  "")
            << count;
    }
}

TEST(ValidateProject, RecordsShorterThanTheirChecksReadZero) {
    // Hand-edited files can hold records of any size; what they lack reads as zero.
    EXPECT_EQ(ErrorOf(1, 3, [](RecordView) {}), "#error 'no default font!': it");
    EXPECT_EQ(ErrorOf(9, 1, [](RecordView) {}), "#error 'no explosion': it");
    EXPECT_EQ(ErrorOf(7, 3, [](RecordView r) { r.setU16(0, 0xFFFF); }), "#error 'no animation': it");
    EXPECT_EQ(ErrorOf(8, 6, [](RecordView r) { r.setU32(0, 1); }), "");
    // One frame counted, but the record ends inside it.
    EXPECT_EQ(ErrorOf(14, 9, [](RecordView r) { r.setU8(0, 1); r.setI32(4, 1); r.setU8(8, 1); }),
              kNoSprite + "it");
    // An item without a data record is not there at all.
    EXPECT_EQ(ErrorOf(9, 0, [](RecordView) {}), "");
    Project p;
    p.add(1, 700, "short main").setI32(L::shootemup_main::kGameAreaWidth, 700);
    const BuildSettings s = p.validate();
    EXPECT_EQ(s.dimX, 700);
    EXPECT_EQ(s.dimY, 0);  // 692 lies inside the record, and is zero
    EXPECT_EQ(s.descriptionWhileLoading, "");
    EXPECT_EQ(s.engineTemplate, 0u);
}

TEST(ValidateProject, ResourcePathGetsOneTrailingSlash) {
    const std::pair<std::string, std::string> cases[] = {
        {"http://a/b", "http://a/b/"}, {"http://a/b/", "http://a/b/"},
        {"C:\\res\\", "C:\\res\\/"},   {"", ""},
        {std::string(259, 'p'), std::string(259, 'p') + "/"},
    };
    for (const auto& [stored, expected] : cases) {
        Project p(qb::game::Jigsaw);
        p.add(600, L::jigsaw_main::kSize).setText(L::jigsaw_main::kResourcePath, 260, stored);
        EXPECT_EQ(p.validate().sPathExternalFiles, expected) << stored;
    }
}

TEST(ValidateProject, SettingsOfEveryMainParametersType) {
    struct Case {
        std::uint32_t type;
        std::size_t size, width, height, location, path, loading;
    };
    const Case cases[] = {
        {100, L::racing_main::kSize, 672, 676, 408, 412, 680},
        {300, L::soccer_main::kSize, 524, 528, 0, 4, 264},
        {500, L::curling_main::kSize, 524, 528, 0, 4, 264},
        {600, L::jigsaw_main::kSize, 264, 268, 0, 4, 276},
    };
    for (const Case& c : cases) {
        Project p;
        RecordView r = p.add(c.type, c.size);
        r.setI32(c.width, 777);
        r.setI32(c.height, -5);
        r.setU32(c.location, 2);
        r.setText(c.path, 260, "res");
        r.setText(c.loading, 260, "wait");
        // Only the shoot'em-up picks an engine by its game-area preset.
        r.setU32(c.type == 600 ? L::jigsaw_main::kGameAreaPreset : c.size - 4, 4);
        const BuildSettings s = p.validate();
        EXPECT_EQ(s.error, "") << c.type;
        EXPECT_EQ(s.dimX, 777) << c.type;
        EXPECT_EQ(s.dimY, -5) << c.type;
        EXPECT_EQ(s.compilazioneTipo, 2u) << c.type;
        EXPECT_EQ(s.sPathExternalFiles, "res/") << c.type;
        EXPECT_EQ(s.descriptionWhileLoading, "wait") << c.type;
        EXPECT_EQ(s.engineTemplate, 0u) << c.type;
    }
    // The platform game's height is the game height plus the information area.
    Project platform(qb::game::Platform);
    RecordView r = platform.add(200, L::platform_main::kSize);
    r.setI32(L::platform_main::kGameWidth, 512);
    r.setI32(L::platform_main::kGameHeight, 384);
    r.setI32(L::platform_main::kInfoHeight, 64);
    r.setU32(L::platform_main::kResourceLocation, 1);
    r.setText(L::platform_main::kResourcePath, 260, "x");
    const BuildSettings s = platform.validate();
    EXPECT_EQ(s.dimX, 512);
    EXPECT_EQ(s.dimY, 448);
    EXPECT_EQ(s.compilazioneTipo, 1u);
    EXPECT_EQ(s.sPathExternalFiles, "x/");
    // No Main parameters item at all: the cleared values.
    Project none;
    none.add(9, L::ship::kSize).setU32(L::ship::kExplosion, 1);
    const BuildSettings cleared = none.validate();
    EXPECT_EQ(cleared.error, "");
    EXPECT_EQ(cleared.dimX, 0);
    EXPECT_EQ(cleared.compilazioneTipo, 0u);
    EXPECT_EQ(cleared.sPathExternalFiles, "");
}

TEST(ValidateProject, FileBackedItemsAreCountedByTypeAlone) {
    Project p;
    for (std::uint32_t type : {2u, 3u, 4u, 5u, 13u, 104u, 6u, 11u, 0u, 3u})
        p.add(type, type == 13 ? L::splash_bitmap::kSize : 268);  // file names all empty
    EXPECT_EQ(p.validate().nExternalObj, 7u);
}

TEST(CheckGameArea, ShootEmUpNeedsAtLeast320By256AndTheMessageWins) {
    Project p;
    RecordView main = p.add(1, L::shootemup_main::kSize, "M");
    FillCompleteShootEmUpMain(main);
    main.setU32(L::shootemup_main::kPlayerShip, 0);
    main.setI32(L::shootemup_main::kGameAreaWidth, 319);
    BuildSettings s = p.validate();
    EXPECT_EQ(s.error, "#error 'no player's ship!': M");
    qb::CheckGameArea(p.record, s);
    EXPECT_EQ(s.error, "#error 'Game area' too small!");

    main.setU32(L::shootemup_main::kPlayerShip, 1);
    main.setI32(L::shootemup_main::kGameAreaWidth, 320);
    main.setI32(L::shootemup_main::kGameAreaHeight, 255);
    s = p.validate();
    qb::CheckGameArea(p.record, s);
    EXPECT_EQ(s.error, "#error 'Game area' too small!");
    main.setI32(L::shootemup_main::kGameAreaHeight, 256);
    s = p.validate();
    qb::CheckGameArea(p.record, s);
    EXPECT_EQ(s.error, "");

    // Other game types have no minimum.
    Project racing(qb::game::Racing);
    racing.add(100, L::racing_main::kSize).setI32(L::racing_main::kGameAreaWidth, 319);
    s = racing.validate();
    qb::CheckGameArea(racing.record, s);
    EXPECT_EQ(s.error, "");
}

// Generated projects: items of every checked type with records of random words (mostly small
// values, so that switches, counts and IDs take the values the checks look at), some short.
TEST(ValidationProblems, GeneratedProjectsListEveryFailureEndingWithTheOneError) {
    std::mt19937 random(17);
    const std::uint32_t types[] = {1, 7, 8, 9, 10, 12, 13, 14, 2, 3, 6, 100, 600};
    std::size_t listed = 0, longest = 0;
    for (int round = 0; round < 300; ++round) {
        Project p(round % 3 == 0 ? qb::game::Racing : qb::game::ShootEmUp);
        const int items = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < items; ++i) {
            const std::uint32_t type = types[random() % std::size(types)];
            const std::size_t full = type == 1     ? L::shootemup_main::kSize
                                     : type == 100 ? L::racing_main::kSize
                                     : type == 600 ? L::jigsaw_main::kSize
                                                   : 2400;
            const std::size_t size = random() % 5 == 0 ? random() % full : full;
            RecordView r = p.add(type, size, "item " + std::to_string(i));
            for (std::size_t at = 0; at + 4 <= size; at += 4) {
                const std::uint32_t roll = random() % 10;
                r.setU32(at, roll < 5 ? 0u : roll < 9 ? random() % 4 : random());
            }
        }
        p.validate();  // holds the error beside the list
        const std::vector<qb::Problem> all = qb::ValidationProblems(p.record);
        // In project order: each problem's item lies at or after the previous one's.
        std::size_t position = 0;
        for (const qb::Problem& problem : all) {
            std::size_t at = position;
            while (at < p.record.objects.size() &&
                   p.record.objects[at].IDoggetto != problem.objectId)
                ++at;
            ASSERT_LT(at, p.record.objects.size()) << problem.message;
            position = at;
            EXPECT_EQ(problem.message.substr(0, 8), "#error '");
            EXPECT_FALSE(problem.advice.empty());
        }
        listed += all.size();
        longest = std::max(longest, all.size());
    }
    EXPECT_GT(listed, 300u);  // the generated projects do fail, and often more than once
    EXPECT_GT(longest, 3u);
}

} // namespace

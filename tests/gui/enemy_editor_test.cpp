// "Enemies data": the animation-type rules with "Have to destroy it to complete level", the
// directional type, both vectorial animations in their halves of field 0, the hidden groups
// passing through, and damaged records.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "editors/shootemup/enemy_editor.h"
#include "model/catalogue.h"
#include "model/layouts/enemy.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

using namespace qbtest;
namespace E = qb::layout::enemy;

namespace {

QLineEdit* Box(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
QWidget* W(QDialog* d, const char* name) { return Child<QWidget>(d, name); }
QRadioButton* Radio(QDialog* d, const char* name) { return Child<QRadioButton>(d, name); }
bool OkEnabled(QDialog* d) {
    return Child<QDialogButtonBox>(d, "buttons")->button(QDialogButtonBox::Ok)->isEnabled();
}
// Checked and enabled state of the five type buttons, as "c/e" pairs.
std::string Types(QDialog* d) {
    std::string out;
    for (const char* name : {"spriteCycleRadioButton", "backgroundCycleRadioButton", "directionalRadioButton",
                             "loopAnimation2RadioButton", "cycleWithLoopRadioButton"}) {
        out += Radio(d, name)->isChecked() ? 'x' : '-';
        out += Radio(d, name)->isEnabled() ? 'e' : 'd';
        out += ' ';
    }
    return out;
}

struct EnemyTest : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Enemies", qb::game::ShootEmUp);
    qb::RecordView record(std::int32_t id) { return Object(project, id).record(); }
};

} // namespace

TEST_F(EnemyTest, TypeRulesFollowTheDestroyFlagAndEveryFieldIsStored) {
    NewItemOfType(project, 11, "Straight");
    const std::int32_t path1 = NewItemOfType(project, 11, "Zigzag");
    const std::int32_t path2 = NewItemOfType(project, 11, "Circle");
    const std::int32_t boom = NewItemOfType(project, 12, "Boom");
    const std::int32_t flash = NewItemOfType(project, 12, "Flash");
    const std::int32_t shoot = NewItemOfType(project, 5, "Shoot");
    const std::int32_t enemy = NewItemOfType(project, 7);
    ASSERT_NE(enemy, 0);
    // What the dialog keeps out of sight must come back unchanged.
    qb::RecordView r = record(enemy);
    r.setU32(E::kShieldSound, 1);
    r.setU32(E::kShieldSound + 4, static_cast<std::uint32_t>(shoot));
    r.setI32(E::kExitTimeout, 40);
    r.setI32(E::kExitTimeoutDecrease, 3);
    r.setU32(E::kExitEvenIfVisible, 1);
    r.setU32(E::kExitMode, 1);
    r.setI32(E::kMinimumTimeout, 9);
    r.setI32(E::kSpriteRadius, 14);
    r.setU32(E::kReserved + 60, 0xDEADBEEF);
    Edit(project, enemy, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Enemies data");
        EXPECT_EQ(Box(d, "spriteCountLineEdit")->text(), "8");
        EXPECT_EQ(Box(d, "shieldLineEdit")->text(), "1");
        EXPECT_EQ(Types(d), "xe -e -e -d -e ");
        EXPECT_FALSE(W(d, "vectorialAnimation2ComboBox")->isEnabled());
        EXPECT_FALSE(W(d, "directionalRadioButton")->isVisibleTo(d));
        for (const char* hidden : {"shieldAudioGroupBox", "multiscrollGroupBox", "backgroundCollisionGroupBox"})
            EXPECT_FALSE(W(d, hidden)->isVisibleTo(d)) << hidden;

        auto* destroy = Child<QCheckBox>(d, "destroyToCompleteCheckBox");
        destroy->click();
        EXPECT_EQ(Types(d), "-d -d -d xe -d ");
        EXPECT_TRUE(W(d, "vectorialAnimation2ComboBox")->isEnabled());
        destroy->click();
        EXPECT_EQ(Types(d), "xe -e -e -d -e ");
        Radio(d, "cycleWithLoopRadioButton")->click();
        destroy->click();
        EXPECT_EQ(Types(d), "-d -d -d xe -d ");

        Box(d, "spriteCountLineEdit")->setText("101");
        EXPECT_FALSE(OkEnabled(d));
        EXPECT_FALSE(W(d, "editSpritesButton")->isEnabled());
        Box(d, "spriteCountLineEdit")->setText("100");
        EXPECT_TRUE(OkEnabled(d));

        Child<QComboBox>(d, "vectorialAnimation1ComboBox")->setCurrentIndex(1);
        Child<QComboBox>(d, "vectorialAnimation2ComboBox")->setCurrentIndex(2);
        Child<QComboBox>(d, "explosionComboBox")->setCurrentIndex(0);
        Child<QComboBox>(d, "beatAnimationComboBox")->setCurrentIndex(1);
        auto* fire = Child<QComboBox>(d, "fireEnemyComboBox");
        ASSERT_EQ(fire->count(), 1);  // this enemy itself
        fire->setCurrentIndex(0);
        Child<QCheckBox>(d, "mirrorFireCheckBox")->click();
        Child<QCheckBox>(d, "touchBottomCheckBox")->click();
        Child<QCheckBox>(d, "fireEnableSoundCheckBox")->click();
        Child<QComboBox>(d, "fireStartingSoundComboBox")->setCurrentIndex(0);
        Box(d, "shieldLineEdit")->setText("3");
        Box(d, "pointsLineEdit")->setText("250");
        Ok(d);
    });
    qb::Bytes saved = SavedRecord(project, enemy);
    qb::RecordView s(saved);
    ASSERT_EQ(saved.size(), E::kSize);
    EXPECT_EQ(s.u32(E::kVectorialAnimations),
              (static_cast<std::uint32_t>(path1) << 16) + static_cast<std::uint32_t>(path2));
    EXPECT_EQ(s.u16(E::kVectorialAnimation1), path1);
    EXPECT_EQ(s.u16(E::kVectorialAnimation2), path2);
    EXPECT_EQ(s.u32(E::kAnimationType), E::kLoopAnimation2);
    EXPECT_EQ(s.u32(E::kDestroyToComplete), 1u);
    EXPECT_EQ(s.i32(E::kSpriteCount), 100);
    EXPECT_EQ(s.i32(E::kShield), 3);
    EXPECT_EQ(s.i32(E::kPoints), 250);
    EXPECT_EQ(s.u32(E::kExplosion), static_cast<std::uint32_t>(boom));
    EXPECT_EQ(s.u32(E::kBeatAnimation), static_cast<std::uint32_t>(flash));
    EXPECT_EQ(s.u32(E::kFireEnemy), static_cast<std::uint32_t>(enemy));
    EXPECT_EQ(s.u32(E::kMirrorFire), 1u);
    EXPECT_EQ(s.u32(E::kTouchBottomRestarts), 1u);
    EXPECT_EQ(s.u32(E::kFireSound), 1u);
    EXPECT_EQ(s.u32(E::kFireSound + 4), static_cast<std::uint32_t>(shoot));
    EXPECT_EQ(s.u32(E::kShieldSound), 1u);
    EXPECT_EQ(s.u32(E::kShieldSound + 4), static_cast<std::uint32_t>(shoot));
    EXPECT_EQ(s.i32(E::kExitTimeout), 40);
    EXPECT_EQ(s.i32(E::kExitTimeoutDecrease), 3);
    EXPECT_EQ(s.u32(E::kExitEvenIfVisible), 1u);
    EXPECT_EQ(s.u32(E::kExitMode), 1u);
    EXPECT_EQ(s.i32(E::kMinimumTimeout), 9);
    EXPECT_EQ(s.i32(E::kSpriteRadius), 14);
    EXPECT_EQ(s.u32(E::kReserved + 60), 0xDEADBEEFu);

    // Reopened without the flag stored, type 3 goes back to "Sprite cycle animation".
    record(enemy).setU32(E::kDestroyToComplete, 0);
    Edit(project, enemy, [&](QDialog* d) {
        EXPECT_EQ(Types(d), "xe -e -e -d -e ");
        EXPECT_EQ(Child<QComboBox>(d, "vectorialAnimation2ComboBox")->currentIndex(), 2);
        Ok(d);
    });
    EXPECT_EQ(record(enemy).u32(E::kAnimationType), E::kSpriteCycle);
}

TEST_F(EnemyTest, DirectionalEnemiesHaveEightSpritesPickedByDirection) {
    qb::BindPixbridge(BinDir().string());
    NewItemOfType(project, 3);
    const std::int32_t enemy = NewItemOfType(project, 7);
    record(enemy).setU32(E::kAnimationType, E::kDirectional);
    record(enemy).setI32(E::kSpriteCount, 3);
    Edit(project, enemy, [&](QDialog* d) {
        EXPECT_TRUE(W(d, "directionalRadioButton")->isVisibleTo(d));
        EXPECT_EQ(Types(d), "-e -e xe -d -e ");
        EXPECT_EQ(Box(d, "spriteCountLineEdit")->text(), "8");
        EXPECT_FALSE(W(d, "spriteCountLineEdit")->isEnabled());
        WithModalDialog([&] { Child<QPushButton>(d, "editSpritesButton")->click(); },
                        [&](QDialog* sprites) {
                            EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 8");
                            EXPECT_NE(sprites->findChild<QWidget*>("directionPictures"), nullptr);
                            Child<QPushButton>(sprites, "cancelButton")->click();
                        });
        // Another type frees the count again.
        Radio(d, "spriteCycleRadioButton")->click();
        EXPECT_TRUE(W(d, "spriteCountLineEdit")->isEnabled());
        Radio(d, "directionalRadioButton")->click();
        Ok(d);
    });
    EXPECT_EQ(record(enemy).i32(E::kSpriteCount), 8);
    EXPECT_EQ(record(enemy).u32(E::kAnimationType), E::kDirectional);
}

TEST_F(EnemyTest, ShortRecordsAndDeletedItemsNeverStopTheEditor) {
    const std::int32_t path = NewItemOfType(project, 11);
    const std::int32_t boom = NewItemOfType(project, 12);
    const std::int32_t enemy = NewItemOfType(project, 7);
    record(enemy).setU32(E::kVectorialAnimations, (static_cast<std::uint32_t>(path) << 16) | 0x7777u);
    record(enemy).setU32(E::kExplosion, static_cast<std::uint32_t>(boom));
    qb::DeleteObject(project, path);
    qb::DeleteObject(project, boom);
    Object(project, enemy).lpDatiOggetto.resize(E::kOlderSize);
    Edit(project, enemy, [&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "vectorialAnimation1ComboBox")->currentIndex(), -1);
        EXPECT_EQ(Child<QComboBox>(d, "vectorialAnimation2ComboBox")->currentIndex(), -1);
        EXPECT_EQ(Child<QComboBox>(d, "explosionComboBox")->currentIndex(), -1);
        Ok(d);
    });
    EXPECT_EQ(Object(project, enemy).lpDatiOggetto.size(), E::kOlderSize);
    EXPECT_EQ(record(enemy).u32(E::kVectorialAnimations), 0u);
    EXPECT_EQ(record(enemy).u32(E::kExplosion), 0u);

    Object(project, enemy).lpDatiOggetto.resize(10);
    Edit(project, enemy, [&](QDialog* d) {
        EXPECT_EQ(Box(d, "spriteCountLineEdit")->text(), "0");
        EXPECT_FALSE(OkEnabled(d));
        Cancel(d);
    });
    EXPECT_EQ(Object(project, enemy).lpDatiOggetto.size(), 10u);
}

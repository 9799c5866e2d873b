// "Explosion data" and "Bonus data": count ranges, the hidden frames-repeated field, the sound
// pair, the bonus-type rules and what they keep, combos naming deleted items.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "editors/shootemup/explosion_bonus.h"
#include "model/catalogue.h"
#include "model/layouts/explosion_bonus.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

using namespace qbtest;
namespace X = qb::layout::explosion;
namespace B = qb::layout::bonus;

namespace {

QLineEdit* Box(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
QWidget* W(QDialog* d, const char* name) { return Child<QWidget>(d, name); }
bool OkEnabled(QDialog* d) {
    return Child<QDialogButtonBox>(d, "buttons")->button(QDialogButtonBox::Ok)->isEnabled();
}

struct ExplosionBonusTest : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Booms", qb::game::ShootEmUp);
    qb::RecordView record(std::int32_t id) { return Object(project, id).record(); }
};

// Which of the four effect controls are enabled, as "score speed shot restart" flags.
std::string Enabled(QDialog* d) {
    std::string out;
    for (const char* name : {"scoreLineEdit", "speedLineEdit", "typeOfShotComboBox", "restartCheckBox"})
        out += W(d, name)->isEnabled() ? '1' : '0';
    return out;
}

} // namespace

TEST_F(ExplosionBonusTest, ExplosionCountRangeHiddenFieldAndSound) {
    qb::BindPixbridge(BinDir().string());
    NewItemOfType(project, 3);
    const std::int32_t sound = NewItemOfType(project, 5, "Boom");
    const std::int32_t explosion = NewItemOfType(project, 12);
    ASSERT_NE(explosion, 0);
    record(explosion).setI32(X::kRepeatedFrames, 7);
    Edit(project, explosion, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Explosion data");
        EXPECT_EQ(Box(d, "spriteCountLineEdit")->text(), "1");
        EXPECT_FALSE(Child<QCheckBox>(d, "enableSoundCheckBox")->isChecked());
        EXPECT_FALSE(W(d, "startingSoundComboBox")->isEnabled());
        EXPECT_FALSE(W(d, "repeatedFramesLineEdit")->isVisibleTo(d));
        EXPECT_FALSE(W(d, "repeatedFramesLabel")->isVisibleTo(d));
        EXPECT_TRUE(OkEnabled(d));
        Box(d, "spriteCountLineEdit")->setText("31");
        EXPECT_FALSE(OkEnabled(d));
        EXPECT_FALSE(W(d, "editSpritesButton")->isEnabled());
        Box(d, "spriteCountLineEdit")->setText("30");
        EXPECT_TRUE(OkEnabled(d));
        // "Edit sprites" opens on the 30 frames at offset 4.
        WithModalDialog([&] { Child<QPushButton>(d, "editSpritesButton")->click(); },
                        [&](QDialog* sprites) {
                            EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 30");
                            Child<QPushButton>(sprites, "cancelButton")->click();
                        });
        Child<QCheckBox>(d, "enableSoundCheckBox")->click();
        EXPECT_TRUE(W(d, "startingSoundComboBox")->isEnabled());
        Child<QComboBox>(d, "startingSoundComboBox")->setCurrentIndex(0);
        Ok(d);
    });
    qb::Bytes saved = SavedRecord(project, explosion);
    qb::RecordView r(saved);
    EXPECT_EQ(saved.size(), X::kSize);
    EXPECT_EQ(r.i32(X::kSpriteCount), 30);
    EXPECT_EQ(r.u32(X::kSound), 1u);
    EXPECT_EQ(r.u32(X::kSound + 4), static_cast<std::uint32_t>(sound));
    EXPECT_EQ(r.i32(X::kRepeatedFrames), 7);
}

TEST_F(ExplosionBonusTest, BonusTypeRulesEnableTheirControlsAndEveryValueIsKept) {
    const std::int32_t path = NewItemOfType(project, 11, "Zigzag");
    const std::int32_t laser = NewItemOfType(project, 10, "Laser");
    const std::int32_t bonus = NewItemOfType(project, 14);
    ASSERT_NE(bonus, 0);
    Edit(project, bonus, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Bonus data");
        EXPECT_TRUE(Child<QRadioButton>(d, "scoreIncreasesRadioButton")->isChecked());
        EXPECT_EQ(Box(d, "spriteCountLineEdit")->text(), "1");
        EXPECT_EQ(Box(d, "scoreLineEdit")->text(), "100");
        EXPECT_EQ(Box(d, "speedLineEdit")->text(), "1");
        EXPECT_EQ(Enabled(d), "1000");
        EXPECT_EQ(Child<QComboBox>(d, "vectorialAnimationComboBox")->currentIndex(), -1);

        Child<QRadioButton>(d, "speedIncreasesRadioButton")->click();
        EXPECT_EQ(Enabled(d), "0100");
        Box(d, "speedLineEdit")->setText("4");
        Child<QRadioButton>(d, "typeOfShotRadioButton")->click();
        EXPECT_EQ(Enabled(d), "0011");
        Child<QComboBox>(d, "typeOfShotComboBox")->setCurrentIndex(0);
        Child<QCheckBox>(d, "restartCheckBox")->click();
        Box(d, "scoreLineEdit")->setText("250");  // disabled but stored
        Child<QRadioButton>(d, "lostAllBonusRadioButton")->click();
        EXPECT_EQ(Enabled(d), "0000");
        Child<QComboBox>(d, "vectorialAnimationComboBox")->setCurrentIndex(0);

        Box(d, "spriteCountLineEdit")->setText("101");
        EXPECT_FALSE(OkEnabled(d));
        EXPECT_FALSE(W(d, "editSpritesButton")->isEnabled());
        Box(d, "spriteCountLineEdit")->setText("100");
        EXPECT_TRUE(OkEnabled(d));
        Ok(d);
    });
    {
        qb::Bytes saved = SavedRecord(project, bonus);
        qb::RecordView r(saved);
        EXPECT_EQ(saved.size(), B::kSize);
        EXPECT_EQ(r.u32(B::kBonusType), B::kLoseAllBonus);
        EXPECT_EQ(r.u32(B::kVectorialAnimation), static_cast<std::uint32_t>(path));
        EXPECT_EQ(r.i32(B::kSpriteCount), 100);
        EXPECT_EQ(r.u32(B::kShot), static_cast<std::uint32_t>(laser));
        EXPECT_EQ(r.u32(B::kRestartIfChanged), 1u);
        EXPECT_EQ(r.i32(B::kScore), 250);
        EXPECT_EQ(r.i32(B::kSpeed), 4);
        EXPECT_EQ(r.u32(B::kUnused808), 0u);
    }

    // Reopened: the rules of the stored type apply at once; items deleted since show nothing
    // and store 0; a type no button has is kept and leaves the controls enabled.
    qb::DeleteObject(project, path);
    record(bonus).setU32(B::kUnused808, 0x12345678);
    Edit(project, bonus, [&](QDialog* d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "lostAllBonusRadioButton")->isChecked());
        EXPECT_EQ(Enabled(d), "0000");
        EXPECT_EQ(Child<QComboBox>(d, "vectorialAnimationComboBox")->currentIndex(), -1);
        Ok(d);
    });
    EXPECT_EQ(record(bonus).u32(B::kVectorialAnimation), 0u);
    EXPECT_EQ(record(bonus).u32(B::kUnused808), 0x12345678u);
    record(bonus).setU32(B::kBonusType, 9);
    Edit(project, bonus, [&](QDialog* d) {
        for (const char* name : {"scoreIncreasesRadioButton", "speedIncreasesRadioButton",
                                 "typeOfShotRadioButton", "lostAllBonusRadioButton"})
            EXPECT_FALSE(Child<QRadioButton>(d, name)->isChecked()) << name;
        EXPECT_EQ(Enabled(d), "1111");
        Ok(d);
    });
    EXPECT_EQ(record(bonus).u32(B::kBonusType), 9u);
}

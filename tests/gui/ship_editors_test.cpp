// "Ship data" and "Ship fire data": the count rules over the edit buttons and OK, the three
// sprite animations at their offsets with the count typed now, the item combos, the hidden
// fields passing through, and damaged records.
#include <QApplication>
#include <QCheckBox>
#include <QMouseEvent>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <tuple>

#include "editors/shootemup/ship_editors.h"
#include "model/catalogue.h"
#include "model/layouts/bitmaps.h"
#include "model/layouts/ship.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

using namespace qbtest;
namespace S = qb::layout::ship;
namespace F = qb::layout::ship_fire;

namespace {

QLineEdit* Box(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
QWidget* W(QDialog* d, const char* name) { return Child<QWidget>(d, name); }
// Picks the sheet's top-left cell for the current frame of the sprite animation editor.
void PickFirstCell(QDialog* sprites) {
    QWidget* view = Child<QWidget>(sprites, "sheetView");
    const QPoint p(5, 5);
    for (auto [type, button, held] :
         {std::tuple{QEvent::MouseMove, Qt::NoButton, Qt::MouseButtons(Qt::NoButton)},
          std::tuple{QEvent::MouseButtonPress, Qt::LeftButton, Qt::MouseButtons(Qt::LeftButton)},
          std::tuple{QEvent::MouseButtonRelease, Qt::LeftButton, Qt::MouseButtons(Qt::NoButton)}}) {
        QMouseEvent event(type, QPointF(p), QPointF(view->mapToGlobal(p)), button, held, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
}
bool OkEnabled(QDialog* d) {
    return Child<QDialogButtonBox>(d, "buttons")->button(QDialogButtonBox::Ok)->isEnabled();
}

struct ShipTest : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Ships", qb::game::ShootEmUp);
    qb::RecordView record(std::int32_t id) { return Object(project, id).record(); }
};

} // namespace

TEST_F(ShipTest, ShipCountsGateTheirButtonsAndOkAndEveryFieldIsStored) {
    const std::int32_t bang = NewItemOfType(project, 12, "Bang");
    const std::int32_t boom = NewItemOfType(project, 12, "Boom");
    const std::int32_t ship = NewItemOfType(project, 9);
    ASSERT_NE(ship, 0);
    record(ship).setI32(S::kSpriteRadius, 33);  // hidden: must pass through
    Edit(project, ship, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Ship data");
        EXPECT_EQ(Box(d, "straightCountLineEdit")->text(), "1");
        EXPECT_EQ(Box(d, "turnCountLineEdit")->text(), "1");
        EXPECT_EQ(Box(d, "xiLineEdit")->text(), "16");
        EXPECT_EQ(Box(d, "xfLineEdit")->text(), "624");
        EXPECT_EQ(Box(d, "yiLineEdit")->text(), "16");
        EXPECT_EQ(Box(d, "yfLineEdit")->text(), "464");
        EXPECT_FALSE(W(d, "backgroundCollisionGroupBox")->isVisibleTo(d));
        for (const char* b : {"editSpritesButton", "editLeftSpritesButton", "editRightSpritesButton"})
            EXPECT_TRUE(W(d, b)->isEnabled()) << b;
        EXPECT_TRUE(OkEnabled(d));

        auto* turn = Box(d, "turnCountLineEdit");
        for (const char* bad : {"11", "0", "-3", "x"}) {
            turn->setText(bad);
            EXPECT_FALSE(W(d, "editLeftSpritesButton")->isEnabled()) << bad;
            EXPECT_FALSE(W(d, "editRightSpritesButton")->isEnabled()) << bad;
            EXPECT_TRUE(W(d, "editSpritesButton")->isEnabled()) << bad;
            EXPECT_FALSE(OkEnabled(d)) << bad;
        }
        turn->setText("3");
        EXPECT_TRUE(W(d, "editLeftSpritesButton")->isEnabled());
        EXPECT_TRUE(OkEnabled(d));
        Box(d, "straightCountLineEdit")->setText("10 ");
        EXPECT_TRUE(OkEnabled(d));

        auto* explosion = Child<QComboBox>(d, "explosionComboBox");
        EXPECT_EQ(explosion->count(), 2);
        EXPECT_EQ(explosion->currentIndex(), -1);
        explosion->setCurrentIndex(1);
        Box(d, "xiLineEdit")->setText("-5");
        Box(d, "yfLineEdit")->setText("400");
        Box(d, "itemNameLineEdit")->setText("Viper");
        Ok(d);
    });
    qb::Bytes saved = SavedRecord(project, ship);
    qb::RecordView r(saved);
    EXPECT_EQ(saved.size(), S::kSize);
    EXPECT_EQ(r.i32(S::kStraightCount), 10);
    EXPECT_EQ(r.i32(S::kTurnCount), 3);
    EXPECT_EQ(r.u32(S::kExplosion), static_cast<std::uint32_t>(boom));
    EXPECT_EQ(r.i32(S::kAreaXi), -5);
    EXPECT_EQ(r.i32(S::kAreaXf), 624);
    EXPECT_EQ(r.i32(S::kAreaYf), 400);
    EXPECT_EQ(r.i32(S::kSpriteRadius), 33);
    EXPECT_EQ(Object(project, ship).sDescrizione, "Viper");
    (void)bang;
}

TEST_F(ShipTest, EachSpriteButtonEditsItsOwnAnimationWithTheCountTypedNow) {
    qb::BindPixbridge(BinDir().string());
    const std::int32_t sheet = NewItemOfType(project, 3);
    const std::int32_t ship = NewItemOfType(project, 9);
    struct Case {
        const char* count;
        const char* button;
        const char* typed;
        std::size_t offset;
    } cases[] = {{"straightCountLineEdit", "editSpritesButton", "4", S::kStraightSprites},
                 {"turnCountLineEdit", "editLeftSpritesButton", "2", S::kLeftSprites},
                 {"turnCountLineEdit", "editRightSpritesButton", "3", S::kRightSprites}};
    for (const Case& c : cases) {
        const qb::Bytes before = Object(project, ship).lpDatiOggetto;
        Edit(project, ship, [&](QDialog* d) {
            Box(d, c.count)->setText(c.typed);
            WithModalDialog([&] { Child<QPushButton>(d, c.button)->click(); },
                            [&](QDialog* sprites) {
                                EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(),
                                          QString("Sprite 1 of %1").arg(c.typed));
                                PickFirstCell(sprites);
                                Child<QPushButton>(sprites, "okAndSaveButton")->click();
                            });
            Cancel(d);  // the frames are saved already; the count typed is not
        });
        qb::Bytes saved = SavedRecord(project, ship);
        qb::RecordView r(saved);
        const int n = std::atoi(c.typed);
        EXPECT_EQ(r.u32(c.offset), static_cast<std::uint32_t>(sheet)) << c.button;
        EXPECT_EQ(r.i32(S::kStraightCount), 1);
        EXPECT_EQ(r.i32(S::kTurnCount), 1);
        // Only the N frames of that animation were written back: the rest is as before.
        for (std::size_t i = 0; i < saved.size(); ++i) {
            if (i < c.offset || i >= c.offset + 8 * static_cast<std::size_t>(n)) {
                EXPECT_EQ(saved[i], before[i]) << i;
            }
        }
    }
}

TEST_F(ShipTest, DamagedShipRecordsShowWhatTheyCanAndNeverWritePastTheirAnimations) {
    const std::int32_t explosion = NewItemOfType(project, 12);
    const std::int32_t ship = NewItemOfType(project, 9);
    record(ship).setI32(S::kStraightCount, 1000);
    record(ship).setU32(S::kExplosion, static_cast<std::uint32_t>(explosion));
    qb::DeleteObject(project, explosion);
    Edit(project, ship, [&](QDialog* d) {
        EXPECT_EQ(Box(d, "straightCountLineEdit")->text(), "1000");
        EXPECT_FALSE(W(d, "editSpritesButton")->isEnabled());
        EXPECT_TRUE(W(d, "editLeftSpritesButton")->isEnabled());
        EXPECT_FALSE(OkEnabled(d));
        EXPECT_EQ(Child<QComboBox>(d, "explosionComboBox")->currentIndex(), -1);
        Box(d, "straightCountLineEdit")->setText("2");
        Ok(d);
    });
    EXPECT_EQ(record(ship).i32(S::kStraightCount), 2);
    EXPECT_EQ(record(ship).u32(S::kExplosion), 0u);

    // A record cut short opens with what it holds and stays its size.
    Object(project, ship).lpDatiOggetto.resize(100);
    Edit(project, ship, [&](QDialog* d) {
        EXPECT_EQ(Box(d, "straightCountLineEdit")->text(), "2");
        EXPECT_EQ(Box(d, "xiLineEdit")->text(), "0");
        Ok(d);
    });
    EXPECT_EQ(Object(project, ship).lpDatiOggetto.size(), 100u);
}

TEST_F(ShipTest, FireChainsToItselfKeepsHiddenFieldsAndTheNextPowerWhenCleared) {
    const std::int32_t laser = NewItemOfType(project, 10, "Laser");
    const std::int32_t fire = NewItemOfType(project, 10, "Spread");
    NewItemOfType(project, 5, "Pew");
    const std::int32_t pew2 = NewItemOfType(project, 5, "Zap");
    ASSERT_NE(fire, 0);
    record(fire).setI32(F::kLostFirePoints, -250);
    record(fire).setU32(F::kLoopSound, 1);
    record(fire).setU32(F::kWord0, 0xABCD);
    Edit(project, fire, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Ship fire data");
        EXPECT_EQ(Box(d, "verticalSpeedLineEdit")->text(), "20");
        EXPECT_EQ(Box(d, "maxSpritesLineEdit")->text(), "5");
        EXPECT_EQ(Box(d, "minimalDistanceLineEdit")->text(), "2");
        EXPECT_EQ(Box(d, "destructionPowerLineEdit")->text(), "1");
        EXPECT_EQ(Box(d, "spriteCountLineEdit")->text(), "1");
        EXPECT_FALSE(W(d, "lostFireGroupBox")->isVisibleTo(d));
        EXPECT_TRUE(Child<QCheckBox>(d, "loopSoundCheckBox")->isChecked());
        auto* select = Child<QCheckBox>(d, "selectNextPowerCheckBox");
        auto* next = Child<QComboBox>(d, "nextPowerComboBox");
        EXPECT_FALSE(select->isChecked());
        EXPECT_FALSE(next->isEnabled());
        EXPECT_FALSE(W(d, "startingSoundComboBox")->isEnabled());

        Box(d, "spriteCountLineEdit")->setText("11");
        EXPECT_FALSE(W(d, "editSpritesButton")->isEnabled());
        EXPECT_FALSE(OkEnabled(d));
        Box(d, "spriteCountLineEdit")->setText("6");
        EXPECT_TRUE(OkEnabled(d));

        select->click();
        EXPECT_TRUE(next->isEnabled());
        ASSERT_EQ(next->count(), 2);
        next->setCurrentIndex(1);  // itself
        Child<QCheckBox>(d, "autofireCheckBox")->click();
        Child<QCheckBox>(d, "enableSoundCheckBox")->click();
        Child<QComboBox>(d, "startingSoundComboBox")->setCurrentIndex(1);
        Box(d, "verticalOffsetLineEdit")->setText("-12");
        Box(d, "horizontalSpritesLineEdit")->setText("3");
        Box(d, "horizontalDistanceLineEdit")->setText("14");
        Box(d, "verticalDistanceLineEdit")->setText("2");
        Box(d, "horizontalSpeedLineEdit")->setText("-4");
        Ok(d);
    });
    {
        qb::Bytes saved = SavedRecord(project, fire);
        qb::RecordView r(saved);
        EXPECT_EQ(r.u32(F::kWord0), 0xABCDu);
        EXPECT_EQ(r.i32(F::kSpriteCount), 6);
        EXPECT_EQ(r.u32(F::kAutofire), 1u);
        EXPECT_EQ(r.u32(F::kNextPowerSelected), 1u);
        EXPECT_EQ(r.u32(F::kNextPower), static_cast<std::uint32_t>(fire));
        EXPECT_EQ(r.u32(F::kSound), 1u);
        EXPECT_EQ(r.u32(F::kSound + 4), static_cast<std::uint32_t>(pew2));
        EXPECT_EQ(r.i32(F::kVerticalOffset), -12);
        EXPECT_EQ(r.i32(F::kHorizontalSprites), 3);
        EXPECT_EQ(r.i32(F::kHorizontalDistance), 14);
        EXPECT_EQ(r.i32(F::kVerticalDistance), 2);
        EXPECT_EQ(r.i32(F::kHorizontalSpeed), -4);
        EXPECT_EQ(r.i32(F::kLostFirePoints), -250);
        EXPECT_EQ(r.u32(F::kLoopSound), 1u);
    }

    // Clearing "Select next power:" stores the flag 0 and keeps the chosen power.
    Edit(project, fire, [&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "nextPowerComboBox")->currentIndex(), 1);
        Child<QCheckBox>(d, "selectNextPowerCheckBox")->click();
        EXPECT_FALSE(W(d, "nextPowerComboBox")->isEnabled());
        Ok(d);
    });
    EXPECT_EQ(record(fire).u32(F::kNextPowerSelected), 0u);
    EXPECT_EQ(record(fire).u32(F::kNextPower), static_cast<std::uint32_t>(fire));

    // Checked with no power chosen: stored as it is (the build reports it).
    Edit(project, laser, [&](QDialog* d) {
        Child<QCheckBox>(d, "selectNextPowerCheckBox")->click();
        Ok(d);
    });
    EXPECT_EQ(record(laser).u32(F::kNextPowerSelected), 1u);
    EXPECT_EQ(record(laser).u32(F::kNextPower), 0u);
}

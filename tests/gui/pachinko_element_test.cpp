// "Pachinko's element": a new element's defaults, every control on its field, the animation count
// kept within the 100 frames, and a type no radio has.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "editors/curling/pachinko_element.h"
#include "model/catalogue.h"
#include "model/layouts/pachinko.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

using namespace qbtest;
namespace E = qb::layout::pachinko_element;

namespace {

struct PachinkoElementTest : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Pegs", qb::game::Curling);
    std::int32_t element = NewItemOfType(project, 507);
    qb::RecordView record() { return Object(project, element).record(); }
};

void Type(QDialog* d, const char* name, const char* text) { Child<QLineEdit>(d, name)->setText(text); }

TEST_F(PachinkoElementTest, ANewElementOpensAsANormalPegAndOkStoresEveryControl) {
    const std::int32_t bump = NewItemOfType(project, 5, "Bump");
    ASSERT_NE(bump, 0);
    int refreshed = 0;
    qb::ui::SetTreeRefresher([&](std::int32_t id, int p) {
        ++refreshed;
        EXPECT_EQ(id, element);
        EXPECT_EQ(p, project);
    });
    Edit(project, element, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Pachinko's element");
        EXPECT_EQ(Child<QLineEdit>(d, "itemNameLineEdit")->text(), "Pachinko element informations");
        auto* peg = Child<QRadioButton>(d, "elementType2RadioButton");
        EXPECT_TRUE(peg->isChecked());
        EXPECT_EQ(peg->text(), "chiodo normale (collisioni)");
        EXPECT_EQ(Child<QRadioButton>(d, "elementType17RadioButton")->text(),
                  "Cerchio partenza tiro (collisioni come chiodi)");
        int numbers = 0;
        for (QLineEdit* e : d->findChildren<QLineEdit*>())
            if (e->objectName() != "itemNameLineEdit") {
                ++numbers;
                EXPECT_EQ(e->text(), "0") << e->objectName().toStdString();
            }
        EXPECT_EQ(numbers, 10);
        for (QCheckBox* box : d->findChildren<QCheckBox*>())
            EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
        EXPECT_FALSE(Child<QComboBox>(d, "collisionSoundComboBox")->isEnabled());
        for (QLabel* label : d->findChildren<QLabel*>()) {
            if (label->objectName().endsWith("Label") && label->objectName() != "itemNameLabel") {
                EXPECT_NE(label->buddy(), nullptr) << label->objectName().toStdString();
            }
        }

        Child<QLineEdit>(d, "itemNameLineEdit")->setText("Spring");
        Child<QRadioButton>(d, "elementType1RadioButton")->click();
        const std::pair<const char*, const char*> typed[] = {
            {"deactivatedOffsetXLineEdit", "-3"}, {"deactivatedOffsetYLineEdit", "4"},
            {"animationCountLineEdit", "6"},      {"animationOffsetXLineEdit", "5"},
            {"animationOffsetYLineEdit", "-6"},   {"radiusLineEdit", "12"},
            {"scoreLineEdit", "250"},             {"brakeLineEdit", "9000"},
            {"activatedOffsetXLineEdit", "7"},    {"activatedOffsetYLineEdit", " 8z"}};
        for (const auto& [name, text] : typed) Type(d, name, text);
        for (const char* box : {"paintDeactivatedCheckBox", "paintActivatedCheckBox",
                                "lightToPassCheckBox", "incrementsMultiplierCheckBox",
                                "collisionSoundCheckBox"})
            Child<QCheckBox>(d, box)->click();
        EXPECT_TRUE(Child<QComboBox>(d, "collisionSoundComboBox")->isEnabled());
        Child<QComboBox>(d, "collisionSoundComboBox")->setCurrentIndex(0);
        Ok(d);
    });
    qb::ui::SetTreeRefresher({});
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(Object(project, element).sDescrizione, "Spring");
    qb::RecordView r = record();
    EXPECT_EQ(r.u32(E::kType), 1u);
    EXPECT_EQ(r.u32(E::kPaintDeactivated), 1u);
    EXPECT_EQ(r.i32(E::kDeactivatedOffsetX), -3);
    EXPECT_EQ(r.i32(E::kDeactivatedOffsetY), 4);
    EXPECT_EQ(r.i32(E::kAnimationCount), 6);
    EXPECT_EQ(r.i32(E::kAnimationOffsetX), 5);
    EXPECT_EQ(r.i32(E::kAnimationOffsetY), -6);
    EXPECT_EQ(r.i32(E::kRadius), 12);
    EXPECT_EQ(r.i32(E::kScore), 250);
    EXPECT_EQ(r.u32(E::kCollisionSound), 1u);
    EXPECT_EQ(r.u32(E::kCollisionSound + 4), static_cast<std::uint32_t>(bump));
    EXPECT_EQ(r.i32(E::kBrake), 9000);
    EXPECT_EQ(r.u32(E::kPaintActivated), 1u);
    EXPECT_EQ(r.i32(E::kActivatedOffsetX), 7);
    EXPECT_EQ(r.i32(E::kActivatedOffsetY), 8);
    EXPECT_EQ(r.u32(E::kLightToPass), 1u);
    EXPECT_EQ(r.u32(E::kPointsOnlyIfOff), 0u);
    EXPECT_EQ(r.u32(E::kIncrementsMultiplier), 1u);
    EXPECT_EQ(Object(project, element).lpDatiOggetto.size(), E::kSize);
    EXPECT_EQ(SavedRecord(project, element), Object(project, element).lpDatiOggetto);
}

TEST_F(PachinkoElementTest, AnimationCountStaysWithinTheHundredFramesAndIsStoredOnlyOnOk) {
    qb::BindPixbridge(BinDir().string());
    NewItemOfType(project, 3, "Sheet");
    Edit(project, element, [&](QDialog* d) {
        Type(d, "animationCountLineEdit", "150");
        WithModalDialog([&] { Child<QPushButton>(d, "animationSpritesButton")->click(); },
                        [&](QDialog* sprites) {
                            EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 100");
                            sprites->reject();
                        });
        EXPECT_EQ(Child<QLineEdit>(d, "animationCountLineEdit")->text(), "100");
        EXPECT_EQ(record().i32(E::kAnimationCount), 0);
        WithModalDialog([&] { Child<QPushButton>(d, "activatedSpriteButton")->click(); },
                        [&](QDialog* sprites) {
                            EXPECT_EQ(Child<QLabel>(sprites, "frameLabel")->text(), "Sprite 1 of 1");
                            sprites->reject();
                        });
        Cancel(d);
    });
    EXPECT_EQ(record().i32(E::kAnimationCount), 0);

    Edit(project, element, [&](QDialog* d) {
        Type(d, "animationCountLineEdit", "-2");
        Ok(d);
    });
    EXPECT_EQ(record().i32(E::kAnimationCount), 0);
    Edit(project, element, [&](QDialog* d) {
        Type(d, "animationCountLineEdit", "1000");
        Ok(d);
    });
    EXPECT_EQ(record().i32(E::kAnimationCount), 100);
}

TEST_F(PachinkoElementTest, ATypeNoRadioHasIsKeptAndAnOlderShortRecordIsNotOverrun) {
    record().setU32(E::kType, 40);
    Edit(project, element, [&](QDialog* d) {
        for (std::uint32_t t = 0; t < E::kTypeCount; ++t)
            EXPECT_FALSE(Child<QRadioButton>(d, QString("elementType%1RadioButton").arg(t))->isChecked()) << t;
        Ok(d);
    });
    EXPECT_EQ(record().u32(E::kType), 40u);

    // Records of older versions end before the reserved block; nothing is written past them.
    Object(project, element).lpDatiOggetto.resize(E::kOlderSize);
    Edit(project, element, [&](QDialog* d) {
        Child<QRadioButton>(d, "elementType16RadioButton")->click();
        Child<QCheckBox>(d, "incrementsMultiplierCheckBox")->click();
        Ok(d);
    });
    EXPECT_EQ(Object(project, element).lpDatiOggetto.size(), E::kOlderSize);
    EXPECT_EQ(record().u32(E::kType), 16u);
    EXPECT_EQ(record().u32(E::kIncrementsMultiplier), 1u);
}

} // namespace

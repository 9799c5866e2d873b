// The picture item editors on real records: "Sprites bitmap parameters" and both variants of
// "Background bitmap parameters".
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "imaging/bitmap_editors.h"
#include "model/catalogue.h"
#include "model/layouts/bitmaps.h"
#include "support/editor_fixture.h"

using namespace qb;
using qbtest::Cancel;
using qbtest::Child;
using qbtest::Ok;

namespace {

namespace sprites = layout::sprites_bitmap;
namespace backgrounds = layout::backgrounds_bitmap;

class BitmapEditorTest : public ::testing::Test {
protected:
    void Open(std::uint32_t gameType, std::uint32_t type) {
        project = qbtest::NewProject("Pictures", gameType);
        item = qbtest::NewItemOfType(project, type);
        ASSERT_NE(item, 0);
        ui::SetTreeRefresher([this](std::int32_t id, int index) { refreshed.emplace_back(id, index); });
        ui::SetPreviewRepainter([this] { ++repaints; });
    }
    void TearDown() override {
        ui::SetTreeRefresher(nullptr);
        ui::SetPreviewRepainter(nullptr);
    }

    ObjectRecord& Item() { return qbtest::Object(project, item); }
    RecordView Record() { return Item().record(); }
    void Edit(const std::function<void(QDialog*)>& act) { qbtest::Edit(project, item, act); }

    qbtest::TempAppFolder app;
    int project = -1;
    std::int32_t item = 0;
    std::vector<std::pair<std::int32_t, int>> refreshed;
    int repaints = 0;
};

QLineEdit* Line(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }

} // namespace

TEST_F(BitmapEditorTest, SpritesDialogShowsTheNewItemAndStoresEveryField) {
    Open(game::ShootEmUp, 3);
    const std::string path = Record().text(sprites::kPath, kPathField);
    Edit([&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Sprites bitmap parameters");
        EXPECT_EQ(Line(d, "pathFileLineEdit")->text().toStdString(), path);
        EXPECT_TRUE(Line(d, "pathFileLineEdit")->isReadOnly());
        EXPECT_EQ(Line(d, "itemNameLineEdit")->text().toStdString(), Item().sDescrizione);
        EXPECT_EQ(Line(d, "minimalDimensionLineEdit")->text(), "32");
        EXPECT_FALSE(Child<QCheckBox>(d, "alphaChannelCheckBox")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(d, "rotationActiveCheckBox")->isChecked());
        // The rotation angles pass through a hidden edit.
        EXPECT_TRUE(Line(d, "rotationAnglesLineEdit")->isHidden());
        EXPECT_TRUE(Child<QLabel>(d, "rotationAnglesLabel")->isHidden());
        EXPECT_EQ(Line(d, "rotationAnglesLineEdit")->text(), "16");

        Line(d, "minimalDimensionLineEdit")->setText("  -16px");
        Child<QCheckBox>(d, "alphaChannelCheckBox")->click();
        Child<QCheckBox>(d, "rotationActiveCheckBox")->click();
        Line(d, "itemNameLineEdit")->setText("Ships");
        Ok(d);
    });
    EXPECT_EQ(Record().i32(sprites::kCellSize), -16);  // no range is checked
    EXPECT_EQ(Record().u32(sprites::kAlpha), 1u);
    EXPECT_EQ(Record().u32(sprites::kRotation), 1u);
    EXPECT_EQ(Record().i32(sprites::kRotationAngles), 16);
    EXPECT_EQ(Record().text(sprites::kPath, kPathField), path);
    EXPECT_EQ(Item().sDescrizione, "Ships");
    ASSERT_EQ(refreshed.size(), 1u);
    EXPECT_EQ(refreshed[0], std::make_pair(item, project));
    EXPECT_EQ(repaints, 1);
    // The project file was saved with the new values.
    EXPECT_NE(qbtest::ReadFile(app.projects() / "Pictures" / "project.ini").find("Ships"), std::string::npos);
}

TEST_F(BitmapEditorTest, SpritesDialogReadsNumbersLikeTheEditBoxAndCancelKeepsEverything) {
    Open(game::ShootEmUp, 3);
    Record().setI32(sprites::kRotationAngles, -7);
    Record().setU32(sprites::kAlpha, 5);  // any non-zero value shows checked
    const Bytes before = Item().lpDatiOggetto;
    const std::string name = Item().sDescrizione;
    Edit([&](QDialog* d) {
        EXPECT_TRUE(Child<QCheckBox>(d, "alphaChannelCheckBox")->isChecked());
        EXPECT_EQ(Line(d, "rotationAnglesLineEdit")->text(), "-7");
        Line(d, "minimalDimensionLineEdit")->setText("99");
        Line(d, "itemNameLineEdit")->setText("Changed");
        Cancel(d);
    });
    EXPECT_EQ(Item().lpDatiOggetto, before);
    EXPECT_EQ(Item().sDescrizione, name);
    EXPECT_TRUE(refreshed.empty());
    EXPECT_EQ(repaints, 1);  // the preview is repainted after Cancel too

    Edit([&](QDialog* d) {
        // Only the first 29 characters count; text that does not start with a number is 0.
        Line(d, "minimalDimensionLineEdit")->setText(QString(28, ' ') + "7" + "5");
        Ok(d);
    });
    EXPECT_EQ(Record().i32(sprites::kCellSize), 7);
    EXPECT_EQ(Record().u32(sprites::kAlpha), 1u);
    Edit([&](QDialog* d) {
        Line(d, "minimalDimensionLineEdit")->setText("cells: 32");
        Ok(d);
    });
    EXPECT_EQ(Record().i32(sprites::kCellSize), 0);
}

TEST_F(BitmapEditorTest, EditBitmapStartsTheImageProgramOnThePathAsOneArgument) {
    Open(game::ShootEmUp, 3);
    const std::string spaced = (app.projects() / "Pictures" / "My Sprites.png").string();
    Record().setText(sprites::kPath, kPathField, spaced);
    const Bytes before = Item().lpDatiOggetto;
    Edit([&](QDialog* d) {
        Child<QPushButton>(d, "editBitmapButton")->click();
        EXPECT_TRUE(d->isVisible());  // the dialog stays open
        Cancel(d);
    });
    ASSERT_EQ(app.desktop.started.size(), 1u);
    const std::vector<std::string> expected{GetPreference("editImagesApp"), spaced};
    EXPECT_EQ(app.desktop.started[0], expected);
    EXPECT_EQ(Item().lpDatiOggetto, before);
}

TEST_F(BitmapEditorTest, ShootEmUpBackgroundsKeepTheirHiddenKind) {
    Open(game::ShootEmUp, 4);
    for (std::uint32_t kind : {1u, 0u, 7u}) {
        Record().setU32(backgrounds::kGroundKind, kind);
        Edit([&](QDialog* d) {
            EXPECT_EQ(d->windowTitle(), "Background bitmap parameters");
            EXPECT_TRUE(Child<QGroupBox>(d, "groundKindGroupBox")->isHidden());
            EXPECT_EQ(Child<QRadioButton>(d, "groundKind0RadioButton")->text(), "Terreno calpestabile");
            EXPECT_EQ(Child<QRadioButton>(d, "groundKind1RadioButton")->text(), "Muro (quadrato)");
            EXPECT_EQ(d->findChild<QRadioButton*>("groundKind2RadioButton"), nullptr);
            EXPECT_EQ(Line(d, "pieceDimensionLineEdit")->text(), "32");
            Line(d, "pieceDimensionLineEdit")->setText("48");
            Ok(d);
        });
        EXPECT_EQ(Record().u32(backgrounds::kGroundKind), kind);
        EXPECT_EQ(Record().i32(backgrounds::kTileSize), 48);
        Record().setI32(backgrounds::kTileSize, 32);
    }
    EXPECT_EQ(repaints, 3);
}

TEST_F(BitmapEditorTest, RacingBackgroundsOfferThirteenKinds) {
    Open(game::Racing, 104);
    Record().setU32(backgrounds::kGroundKind, 20);  // no button names it
    Edit([&](QDialog* d) {
        EXPECT_FALSE(Child<QGroupBox>(d, "groundKindGroupBox")->isHidden());
        EXPECT_EQ(Child<QRadioButton>(d, "groundKind10RadioButton")->text(),
                  QString::fromUtf8("(platform) Muro animato verso s\xc3\xb9"));
        EXPECT_EQ(Child<QRadioButton>(d, "groundKind12RadioButton")->text(), "(circuiti) Erba");
        for (int kind = 0; kind < 13; ++kind)
            EXPECT_FALSE(Child<QRadioButton>(d, QString("groundKind%1RadioButton").arg(kind))->isChecked());
        Ok(d);
    });
    EXPECT_EQ(Record().u32(backgrounds::kGroundKind), 20u);

    Edit([&](QDialog* d) {
        Child<QRadioButton>(d, "groundKind12RadioButton")->click();
        Ok(d);
    });
    EXPECT_EQ(Record().u32(backgrounds::kGroundKind), 12u);

    Edit([&](QDialog* d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "groundKind12RadioButton")->isChecked());
        Child<QRadioButton>(d, "groundKind5RadioButton")->click();
        EXPECT_FALSE(Child<QRadioButton>(d, "groundKind12RadioButton")->isChecked());
        Cancel(d);
    });
    EXPECT_EQ(Record().u32(backgrounds::kGroundKind), 12u);

    Edit([&](QDialog* d) {
        Child<QRadioButton>(d, "groundKind5RadioButton")->click();
        Ok(d);
    });
    EXPECT_EQ(Record().u32(backgrounds::kGroundKind), 5u);
}

TEST_F(BitmapEditorTest, ShortRecordsOpenAndStoreOnlyWhatFits) {
    Open(game::ShootEmUp, 3);
    Item().lpDatiOggetto.resize(262);  // path and half a cell size
    Edit([&](QDialog* d) {
        EXPECT_EQ(Line(d, "minimalDimensionLineEdit")->text(), "0");
        Line(d, "minimalDimensionLineEdit")->setText("64");
        Child<QCheckBox>(d, "alphaChannelCheckBox")->click();
        Ok(d);
    });
    EXPECT_EQ(Item().lpDatiOggetto.size(), 262u);
}

// A whole shoot'em-up made through the dialogs, as a user makes it — sprite sheet, tile set,
// painted map, ship, fire, explosion, path, enemy, bonus, a level of three waves, the main
// parameters listing the level — and compiled: validation finds nothing and the game carries
// the project file as saved.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <gtest/gtest.h>

#include "build/build.h"
#include "build/gamefile.h"
#include "build/validate.h"
#include "model/catalogue.h"
#include "model/layouts/level.h"
#include "model/layouts/map.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;

namespace {

void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
void ClickAt(QWidget* w, QPoint p) {
    Send(w, QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton);
    Send(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
    Send(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
}
void Click(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }
void Type(QDialog* d, const char* name, const QString& text) { Child<QLineEdit>(d, name)->setText(text); }
void Choose(QDialog* d, const char* name, int index) { Child<QComboBox>(d, name)->setCurrentIndex(index); }

// Presses button in d and, in the sprite animation editor it opens, gives every one of its frames
// the sheet's cell (column, 0).
void PickSprites(QDialog* d, const char* button, int column) {
    WithModalDialog([&] { Click(d, button); },
                    [&](QDialog* sprites) {
                        QWidget* sheet = Child<QWidget>(sprites, "sheetView");
                        auto* next = Child<QPushButton>(sprites, "nextFrameButton");
                        for (int i = 0; i < 8; ++i) {
                            ClickAt(sheet, {column * 32 + 5, 5});
                            next->click();
                        }
                        Click(sprites, "okAndSaveButton");
                    });
}

} // namespace

TEST(ShootEmUpGame, MadeThroughTheDialogsItValidatesAndCompiles) {
    TempAppFolder app;
    qb::BindPixbridge(BinDir().string());
    const int p = NewProject("Star shooter", qb::game::ShootEmUp);
    NewItemOfType(p, 3, "Sprites");
    NewItemOfType(p, 4, "Tiles");
    NewItemOfType(p, 5, "Blast");
    NewItemOfType(p, 13, "Title");
    NewItemOfType(p, 13, "The end");
    NewItemOfType(p, 2, "Font");

    // The map, painted all over with one tile.
    const std::int32_t map = NewItemOfType(p, 6, "Deep space");
    Edit(p, map, [&](QDialog* d) {
        WithModalDialog([&] { Click(d, "editMapButton"); },
                        [&](QDialog* painter) {
                            ClickAt(Child<QWidget>(painter, "tilePickerView"), {5, 5});
                            Click(painter, "fillButton");
                            Click(painter, "okAndSaveButton");
                        });
        Ok(d);
    });
    EXPECT_NE(qb::RecordView(Object(p, map).lpDatiOggetto).u32(qb::layout::map::kCells), 0u);

    const std::int32_t explosion = NewItemOfType(p, 12, "Explosion");
    Edit(p, explosion, [&](QDialog* d) {
        Type(d, "spriteCountLineEdit", "3");
        PickSprites(d, "editSpritesButton", 4);
        Click(d, "enableSoundCheckBox");
        Choose(d, "startingSoundComboBox", 0);
        Ok(d);
    });

    const std::int32_t path = NewItemOfType(p, 11, "Swoop");
    Edit(p, path, [&](QDialog* d) {
        QWidget* area = Child<QWidget>(d, "pathArea");
        ClickAt(area, {60, 120});
        ClickAt(area, {260, 200});
        ClickAt(area, {160, 330});
        Ok(d);
    });

    const std::int32_t ship = NewItemOfType(p, 9, "Viper");
    Edit(p, ship, [&](QDialog* d) {
        Type(d, "turnCountLineEdit", "2");
        PickSprites(d, "editSpritesButton", 0);
        PickSprites(d, "editLeftSpritesButton", 1);
        PickSprites(d, "editRightSpritesButton", 2);
        Choose(d, "explosionComboBox", 0);
        Ok(d);
    });

    const std::int32_t fire = NewItemOfType(p, 10, "Laser");
    Edit(p, fire, [&](QDialog* d) {
        PickSprites(d, "editSpritesButton", 3);
        Click(d, "autofireCheckBox");
        Ok(d);
    });

    const std::int32_t enemy = NewItemOfType(p, 7, "Saucer");
    Edit(p, enemy, [&](QDialog* d) {
        PickSprites(d, "editSpritesButton", 5);
        Choose(d, "vectorialAnimation1ComboBox", 0);
        Choose(d, "explosionComboBox", 0);
        Choose(d, "fireEnemyComboBox", 0);
        Type(d, "pointsLineEdit", "50");
        Ok(d);
    });

    const std::int32_t bonus = NewItemOfType(p, 14, "Power-up");
    Edit(p, bonus, [&](QDialog* d) {
        PickSprites(d, "editSpritesButton", 6);
        Choose(d, "vectorialAnimationComboBox", 0);
        Click(d, "typeOfShotRadioButton");
        Choose(d, "typeOfShotComboBox", 0);
        Ok(d);
    });

    const std::int32_t level = NewItemOfType(p, 8, "Level 1");
    Edit(p, level, [&](QDialog* d) {
        Choose(d, "backgroundMapComboBox", 0);
        for (int y : {400, 1200}) {
            Choose(d, "enemieTypeComboBox", 0);
            Type(d, "numberOfEnemiesLineEdit", "5");
            Type(d, "xMapPositionLineEdit", "160");
            Type(d, "yMapPositionLineEdit", QString::number(y));
            Click(d, "oneShotRadioButton");
            Click(d, "addNewButton");
        }
        Click(d, "bonusRadioButton");
        Choose(d, "bonusTypeComboBox", 0);
        Type(d, "xMapPositionLineEdit", "96");
        Type(d, "yMapPositionLineEdit", "800");
        Click(d, "addNewButton");
        EXPECT_EQ(Child<QListWidget>(d, "wavesListWidget")->count(), 3);
        Ok(d);
    });
    EXPECT_EQ(Object(p, level).lpDatiOggetto.size(), qb::layout::level::SizeFor(3));

    Edit(p, ObjectOfType(p, 1), [&](QDialog* d) {
        Choose(d, "playerSpritesComboBox", 0);
        Choose(d, "playerFireComboBox", 0);
        Choose(d, "splashTitleComboBox", 0);
        Choose(d, "splashEndComboBox", 1);
        Choose(d, "defaultFontComboBox", 0);
        Choose(d, "levelComboBox", 0);
        Click(d, "addLevelButton");
        Ok(d);
    });

    EXPECT_EQ(qb::ValidateProject(p).error, "");
    ASSERT_TRUE(qb::BuildGame(p, qb::BuildMode::Compile))
        << (app.messages.texts.empty() ? "" : app.messages.texts.back());
    const fs::path folder = qb::ProjectAt(p)->sPathProgetto;
    qb::GameFileContents contents;
    std::string error;
    ASSERT_TRUE(qb::ReadGameFile((folder / "Release" / "Game.swf").string(), contents, &error)) << error;
    EXPECT_EQ(contents.projectText, ReadFile(folder / "project.ini"));
}

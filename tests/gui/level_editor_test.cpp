// "Level data": the wave list in descending Y order, "Change" and "Delete", the enabling rules,
// "Choose from map" by the map's coordinate rules, the arrows over the map, the list lines, and
// damaged levels.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "editors/shootemup/level_editor.h"
#include "imaging/map_view.h"
#include "model/catalogue.h"
#include "model/layouts/enemy.h"
#include "model/layouts/explosion_bonus.h"
#include "model/layouts/level.h"
#include "model/layouts/vectorial.h"
#include "platform/pictures.h"
#include "support/map_fixture.h"

using namespace qbtest;
namespace L = qb::layout::level;
namespace WE = qb::layout::level::entry;
namespace V = qb::layout::vectorial;

namespace {

QLineEdit* Box(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
QWidget* W(QDialog* d, const char* name) { return Child<QWidget>(d, name); }
QComboBox* Combo(QDialog* d, const char* name) { return Child<QComboBox>(d, name); }
void Click(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }
bool OkEnabled(QDialog* d) {
    return Child<QDialogButtonBox>(d, "buttons")->button(QDialogButtonBox::Ok)->isEnabled();
}
QStringList Lines(QDialog* d) {
    QStringList out;
    auto* list = Child<QListWidget>(d, "wavesListWidget");
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}
void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

struct LevelTest : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Levels", qb::game::ShootEmUp);
    qb::RecordView record(std::int32_t id) { return Object(project, id).record(); }

    std::int32_t path(std::uint32_t type, const std::string& name) {
        const std::int32_t id = NewItemOfType(project, 11, name);
        record(id).setU32(V::kType, type);
        return id;
    }
    std::int32_t enemy(const std::string& name, std::int32_t animation, std::int32_t fire = 0) {
        const std::int32_t id = NewItemOfType(project, 7, name);
        record(id).setU32(qb::layout::enemy::kVectorialAnimations, static_cast<std::uint32_t>(animation) << 16);
        record(id).setU32(qb::layout::enemy::kFireEnemy, static_cast<std::uint32_t>(fire));
        return id;
    }
    std::int32_t bonus(const std::string& name, std::int32_t animation) {
        const std::int32_t id = NewItemOfType(project, 14, name);
        record(id).setU32(qb::layout::bonus::kVectorialAnimation, static_cast<std::uint32_t>(animation));
        return id;
    }
    // Composes a wave in the dialog and adds it.
    void addEnemyWave(QDialog* d, int enemyIndex, int y, int enemies = 1, int x = 0) {
        Click(d, "enemieRadioButton");
        Combo(d, "enemieTypeComboBox")->setCurrentIndex(enemyIndex);
        Box(d, "numberOfEnemiesLineEdit")->setText(QString::number(enemies));
        Box(d, "xMapPositionLineEdit")->setText(QString::number(x));
        Box(d, "yMapPositionLineEdit")->setText(QString::number(y));
        Click(d, "addNewButton");
    }
};

} // namespace

TEST_F(LevelTest, WavesStayInDescendingYOrderAndChangeTakesOneOut) {
    qb::BindPixbridge(BinDir().string());
    AddTileSet(project, 320, 320, 32, 0);
    const std::int32_t map = AddMap(project, 20, 200, 32, "Space");
    const std::int32_t down = path(V::kFromTop, "Down");
    const std::int32_t side = path(V::kFromLeft, "Side");
    const std::int32_t shooter = enemy("Shooter", down);
    record(shooter).setU32(qb::layout::enemy::kFireEnemy, static_cast<std::uint32_t>(shooter));
    enemy("Drone", side);   // fires nothing
    bonus("Star", down);
    const std::int32_t level = NewItemOfType(project, 8);
    ASSERT_EQ(Object(project, level).lpDatiOggetto.size(), 48u);

    Edit(project, level, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Level data");
        EXPECT_FALSE(OkEnabled(d));
        EXPECT_FALSE(W(d, "addNewButton")->isEnabled());
        EXPECT_TRUE(Child<QRadioButton>(d, "enemieRadioButton")->isChecked());
        EXPECT_FALSE(W(d, "bonusWaveRows")->isVisibleTo(d));
        EXPECT_EQ(Box(d, "shotTimeoutLineEdit")->text(), "5000");
        EXPECT_EQ(Box(d, "enemiesDistanceLineEdit")->text(), "1000");
        Combo(d, "backgroundMapComboBox")->setCurrentIndex(0);
        EXPECT_TRUE(OkEnabled(d));
        EXPECT_EQ(Child<qb::ui::MapView>(d, "mapView")->mapItemId(), map);

        // A shooting enemy from the top: both map positions, shots and the timeout rule.
        Combo(d, "enemieTypeComboBox")->setCurrentIndex(0);
        EXPECT_TRUE(W(d, "addNewButton")->isEnabled());
        EXPECT_TRUE(W(d, "xMapPositionLineEdit")->isEnabled());
        EXPECT_FALSE(W(d, "yScreenPositionLineEdit")->isEnabled());
        EXPECT_TRUE(W(d, "oneShotRadioButton")->isEnabled());
        EXPECT_FALSE(W(d, "shotTimeoutLineEdit")->isEnabled());
        Click(d, "continueShotsRadioButton");
        EXPECT_TRUE(W(d, "shotTimeoutLineEdit")->isEnabled());
        Box(d, "numberOfEnemiesLineEdit")->setText("4");
        Box(d, "yMapPositionLineEdit")->setText("100");
        Click(d, "addNewButton");
        // The group is reset after "Add new".
        EXPECT_EQ(Combo(d, "enemieTypeComboBox")->currentIndex(), -1);
        EXPECT_TRUE(Child<QRadioButton>(d, "noShotsRadioButton")->isChecked());

        // A drone from the left fires nothing: "No shots" forced, the shots group locked.
        Combo(d, "enemieTypeComboBox")->setCurrentIndex(1);
        EXPECT_TRUE(Child<QRadioButton>(d, "noShotsRadioButton")->isChecked());
        EXPECT_FALSE(W(d, "oneShotRadioButton")->isEnabled());
        EXPECT_FALSE(W(d, "xMapPositionLineEdit")->isEnabled());
        EXPECT_TRUE(W(d, "yScreenPositionLineEdit")->isEnabled());
        Box(d, "yMapPositionLineEdit")->setText("300");
        Box(d, "yScreenPositionLineEdit")->setText("260");
        Click(d, "addNewButton");

        addEnemyWave(d, 0, 200);
        Click(d, "bonusRadioButton");
        EXPECT_TRUE(W(d, "bonusWaveRows")->isVisibleTo(d));
        EXPECT_FALSE(W(d, "enemyWaveRows")->isVisibleTo(d));
        Combo(d, "bonusTypeComboBox")->setCurrentIndex(0);
        Box(d, "xMapPositionLineEdit")->setText("64");
        Box(d, "yMapPositionLineEdit")->setText("200");
        Click(d, "addNewButton");
        EXPECT_EQ(Lines(d), (QStringList{
                                "Drone Y map position: 300 number of enemies: 1 No shots",
                                "Shooter Y map position: 200 number of enemies: 1 No shots",
                                "Star Y map position: 200",
                                "Shooter Y map position: 100 number of enemies: 4 Enemies distance: 1000 "
                                "Continue shots (Every 5000 seconds)"}));

        // "Change" takes the second wave into the group and out of the list.
        auto* list = Child<QListWidget>(d, "wavesListWidget");
        list->setCurrentRow(1);
        Click(d, "changeButton");
        EXPECT_TRUE(Child<QRadioButton>(d, "enemieRadioButton")->isChecked());
        EXPECT_EQ(Combo(d, "enemieTypeComboBox")->currentIndex(), 0);
        EXPECT_EQ(Box(d, "yMapPositionLineEdit")->text(), "200");
        EXPECT_EQ(Lines(d).size(), 3);
        list->setCurrentRow(0);
        Click(d, "deleteButton");
        EXPECT_EQ(Lines(d).size(), 2);
        Child<QCheckBox>(d, "enableSoundCheckBox")->click();
        Ok(d);  // the changed wave was not added again: it is dropped
    });
    qb::Bytes saved = SavedRecord(project, level);
    qb::RecordView r(saved);
    ASSERT_EQ(saved.size(), L::SizeFor(2));
    EXPECT_EQ(r.u32(L::kBackgroundMap), static_cast<std::uint32_t>(map));
    EXPECT_EQ(r.i32(L::kEntryCount), 2);
    EXPECT_EQ(r.u32(L::EntryOffset(0) + WE::kSubject), WE::kBonusBase + 0u + static_cast<std::uint32_t>(
                                                            qbtest::ObjectOfType(project, 14)));
    EXPECT_EQ(r.i32(L::EntryOffset(0) + WE::kMapX), 64);
    EXPECT_EQ(r.i32(L::EntryOffset(1) + WE::kEnemyCount), 4);
    EXPECT_EQ(r.u32(L::EntryOffset(1) + WE::kShots), WE::kContinuousShots);
    EXPECT_EQ(r.i32(L::EntryOffset(1) + WE::kShotTimeout), 5000);
    EXPECT_EQ(r.i32(L::EntryOffset(1) + WE::kEnemyDistance), 1000);
    EXPECT_EQ(r.u32(L::SoundOffset(2)), 1u);
    EXPECT_EQ(r.u32(L::SoundOffset(2) + 4), 0u);
}

TEST_F(LevelTest, ChooseFromMapAndTheArrowsFollowTheMapCoordinates) {
    qb::BindPixbridge(BinDir().string());
    AddTileSet(project, 320, 320, 32, 0);
    AddMap(project, 20, 200, 32, "Space");
    const std::int32_t down = path(V::kFromTop, "Down");
    const std::int32_t side = path(V::kFromLeft, "Side");
    enemy("Diver", down);
    enemy("Drone", side);
    const std::int32_t level = NewItemOfType(project, 8);
    Edit(project, level, [&](QDialog* d) {
        Combo(d, "backgroundMapComboBox")->setCurrentIndex(0);
        auto* view = Child<qb::ui::MapView>(d, "mapView");
        QWidget* area = view->area();
        // Scrolled to the map's bottom: rows 190..199 are shown, the top edge at map Y 320.
        view->verticalBar()->setValue(view->verticalBar()->maximum());
        ASSERT_EQ(view->firstRow(), 190);
        Combo(d, "enemieTypeComboBox")->setCurrentIndex(0);
        auto* choose = Child<QPushButton>(d, "chooseFromMapButton");
        choose->click();
        EXPECT_TRUE(choose->isChecked());
        Send(area, QEvent::MouseMove, {100, 250}, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(Box(d, "xMapPositionLineEdit")->text(), "100");
        EXPECT_EQ(Box(d, "yMapPositionLineEdit")->text(), "70");   // (200 - 190) * 32 - 250
        // The composed wave is a yellow arrow pointing down from there.
        QImage shot = area->grab().toImage();
        EXPECT_EQ(shot.pixel(100, 250 + 15), qRgb(255, 255, 0));
        Send(area, QEvent::MouseButtonPress, {100, 250}, Qt::LeftButton, Qt::LeftButton);
        EXPECT_FALSE(choose->isChecked());
        Send(area, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(Box(d, "yMapPositionLineEdit")->text(), "70");
        Click(d, "addNewButton");
        shot = area->grab().toImage();
        EXPECT_EQ(shot.pixel(100, 250 + 15), qRgb(0, 255, 0));     // listed: green
        EXPECT_EQ(shot.pixel(100 + 2, 250 + 15), qRgb(0, 0, 0));   // the black outline beside it
        Child<QListWidget>(d, "wavesListWidget")->setCurrentRow(0);
        EXPECT_EQ(area->grab().toImage().pixel(100, 250 + 15), qRgb(255, 0, 0));

        // From the left: Y map from the pointer, Y screen from the view's top edge.
        Combo(d, "enemieTypeComboBox")->setCurrentIndex(1);
        choose->click();
        Send(area, QEvent::MouseMove, {200, 120}, Qt::NoButton, Qt::NoButton);
        EXPECT_EQ(Box(d, "yMapPositionLineEdit")->text(), "200");
        EXPECT_EQ(Box(d, "yScreenPositionLineEdit")->text(), "320");
        EXPECT_EQ(Box(d, "xMapPositionLineEdit")->text(), "0");
        choose->click();
        Click(d, "addNewButton");
        shot = area->grab().toImage();
        EXPECT_EQ(shot.pixel(15, 119), qRgb(0, 255, 0));   // the arrow at the left edge
        EXPECT_EQ(shot.pixel(2, 119 - 60), qRgb(0, 255, 0));  // the line up to the top edge
        Cancel(d);
    });
    EXPECT_EQ(Object(project, level).lpDatiOggetto, qb::Bytes(48, 0));
}

TEST_F(LevelTest, DamagedLevelsAndMissingItemsAreShownAndKept) {
    AddMap(project, 20, 20, 32, "Map");
    const std::int32_t down = path(V::kFromTop, "Down");
    const std::int32_t gone = enemy("Gone", down);
    const std::int32_t lost = enemy("Lost path", down);
    const std::int32_t level = NewItemOfType(project, 8);
    qb::Bytes b(L::SizeFor(3), 0);
    qb::RecordView r(b);
    r.setU32(L::kBackgroundMap, 0x00010000u | static_cast<std::uint32_t>(qbtest::ObjectOfType(project, 6)));
    r.setI32(L::kEntryCount, 3);
    r.setU32(L::EntryOffset(0) + WE::kSubject, static_cast<std::uint32_t>(gone));
    r.setI32(L::EntryOffset(0) + WE::kMapY, 50);
    r.setU32(L::EntryOffset(1) + WE::kSubject, static_cast<std::uint32_t>(down));  // not an enemy
    r.setU32(L::EntryOffset(2) + WE::kSubject, WE::kBonusBase + 77);
    r.setU32(L::SoundOffset(3), 1);
    Object(project, level).lpDatiOggetto = b;
    qb::DeleteObject(project, gone);
    record(lost).setU32(qb::layout::enemy::kVectorialAnimations, 0x7777u << 16);
    Edit(project, level, [&](QDialog* d) {
        EXPECT_EQ(Lines(d).join("|").toStdString(), (QStringList{QString("<missing enemy %1> Y map position: 50 number of enemies: 0 No shots").arg(gone),
                                         QString("<missing enemy %1> Y map position: 0 number of enemies: 0 No shots").arg(down),
                                         "<missing bonus 77> Y map position: 0"}).join("|").toStdString());
        Child<QWidget>(d, "mapView")->grab();
        // An enemy whose path is gone cannot be placed.
        Combo(d, "enemieTypeComboBox")->setCurrentIndex(0);
        EXPECT_FALSE(W(d, "addNewButton")->isEnabled());
        Ok(d);
    });
    qb::Bytes saved = Object(project, level).lpDatiOggetto;
    ASSERT_EQ(saved.size(), b.size());
    EXPECT_TRUE(std::equal(saved.begin() + 4, saved.end(), b.begin() + 4));
    EXPECT_EQ(qb::RecordView(saved).u32(L::kBackgroundMap), qbtest::ObjectOfType(project, 6) + 0u);

    // A count beyond the record, then a negative one: only the held waves, no sound read.
    for (std::int32_t claimed : {1000, -5}) {
        qb::Bytes shorter(L::SizeFor(1), 0);
        qb::RecordView s(shorter);
        s.setI32(L::kEntryCount, claimed);
        s.setU32(L::EntryOffset(0) + WE::kSubject, 12345);
        s.setU32(L::SoundOffset(1), 1);
        Object(project, level).lpDatiOggetto = shorter;
        Edit(project, level, [&](QDialog* d) {
            EXPECT_EQ(Lines(d).size(), claimed > 0 ? 1 : 0);
            EXPECT_FALSE(Child<QCheckBox>(d, "enableSoundCheckBox")->isChecked());
            Combo(d, "backgroundMapComboBox")->setCurrentIndex(0);
            Ok(d);
        });
        const std::size_t n = claimed > 0 ? 1 : 0;
        EXPECT_EQ(Object(project, level).lpDatiOggetto.size(), L::SizeFor(n));
        EXPECT_EQ(qb::RecordView(Object(project, level).lpDatiOggetto).i32(L::kEntryCount), static_cast<int>(n));
    }
}

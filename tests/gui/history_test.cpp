// Undo last change, Redo and the History dialog in the main window: a deleted picture and a map
// emptied by a new tile size come back with one key, also after the editor was started again.
#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/history_dialog.h"
#include "editors/common/sound_editor.h"
#include "model/history.h"
#include "model/layouts/map.h"
#include "support/map_fixture.h"
#include "support/shell_support.h"

namespace fs = std::filesystem;
using namespace qbtest;
using qb::app::Command;
using qb::app::NodeKind;
namespace map = qb::layout::map;

namespace {

class HistoryTest : public ShellTest {
protected:
    QAction* action(const char* name) const {
        auto* a = window->findChild<QAction*>(name);
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    // A key pressed in the main window, as the user does.
    void key(int key, Qt::KeyboardModifiers modifiers) {
        QApplication::setActiveWindow(window.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), static_cast<Qt::Key>(key), modifiers);
        Settle();
    }
    void restartEditor() {
        window.reset();
        while (qb::Workspace().projectCount() > 0) qb::CloseProject(0);
        SetUp();
        ASSERT_EQ(qb::LoadProject("Game"), 0);
        refresh(-1, 0);
    }
    std::string folder() const { return (app.projects() / "Game").string(); }
};

TEST_F(HistoryTest, OneKeyBringsBackADeletedPictureAndAnEmptiedMap) {
    NewProject("Game", 0);
    refresh(-1, 0);
    EXPECT_EQ(action("undoLastChangeAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(action("redoAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    EXPECT_EQ(action("undoLastChangeAction")->text(), "Undo last change");

    // A picture of the user's own, then Delete item.
    select(GroupId(0, 3), 0);
    click(Command::NewItem);
    const std::int32_t sprite = current()->objectId;
    const fs::path png = app.projects() / "Game" / "Sprites.png";
    QImage picture(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96; ++x) picture.setPixel(x, y, qRgb(x * 2, y * 3, 200));
    ASSERT_TRUE(picture.save(QString::fromStdString(png.string()), "PNG"));
    const std::string pictureBytes = ReadFile(png);
    select(sprite, 0);
    click(Command::DeleteItem);
    ASSERT_FALSE(fs::exists(png));
    ASSERT_EQ(qb::FindObject(sprite, 0), nullptr);

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(png), pictureBytes);
    ASSERT_NE(qb::FindObject(sprite, 0), nullptr);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->kind, NodeKind::Object);
    EXPECT_EQ(current()->objectId, sprite);

    // A painted map, emptied by a new tile size in its editor.
    const std::int32_t mapId = AddMap(0, 8, 6, 32, "Level map");
    SetCell(Object(0, mapId).lpDatiOggetto, 3, 4, 0x00020101u);
    ASSERT_TRUE(qb::SaveProject(0));
    const qb::Bytes painted = SavedRecord(0, mapId);
    refresh(mapId, 0);
    clickWithDialog(Command::EditItem, [&](QDialog* d) {
        Child<QLineEdit>(d, "pieceDimensionLineEdit")->setText("16");
        Ok(d);  // "Those values will initialize the map, continue?" answered OK
    });
    qb::Bytes emptied = SavedRecord(0, mapId);
    ASSERT_EQ(qb::ConstRecordView(emptied).i32(map::kTileSize), 16);
    ASSERT_EQ(CellAt(emptied, 3, 4), 0u);
    select(-1, 0);  // the project node: Undo works on the selected project

    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(SavedRecord(0, mapId), painted);
    EXPECT_EQ(Object(0, mapId).lpDatiOggetto, painted);
    EXPECT_EQ(current()->objectId, mapId);

    // The editor is started again: Redo and Undo go on where they were.
    restartEditor();
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(SavedRecord(0, mapId), emptied);
    EXPECT_EQ(CellAt(Object(0, mapId).lpDatiOggetto, 3, 4), 0u);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(SavedRecord(0, mapId), painted);

    // The History dialog: newest first; restoring the version before Delete item is a change
    // that Undo takes back.
    std::vector<qb::HistoryVersion> versions;
    ASSERT_TRUE(qb::ListHistory(folder(), versions));
    int beforeDelete = 0;
    for (const qb::HistoryVersion& v : versions)
        if (v.what == "Delete item Sprites") beforeDelete = v.number;
    ASSERT_GT(beforeDelete, 0);
    const std::string iniNow = ReadFile(app.projects() / "Game" / "project.ini");
    WithModalDialog([&] { action("historyAction")->trigger(); }, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "History");
        auto* list = Child<QTreeWidget>(d, "versionsList");
        ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(versions.size()));
        EXPECT_EQ(list->topLevelItem(0)->text(0).toInt(), versions.back().number);
        EXPECT_EQ(list->topLevelItem(0)->text(2).toStdString(), versions.back().what);
        auto* restore = Child<QPushButton>(d, "restoreButton");
        EXPECT_FALSE(restore->isEnabled());
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(0).toInt() == beforeDelete)
                list->setCurrentItem(list->topLevelItem(i));
        ASSERT_TRUE(restore->isEnabled());
        restore->click();
    });
    EXPECT_EQ(ReadFile(png), pictureBytes);
    EXPECT_EQ(qb::FindObject(mapId, 0), nullptr);  // the map came later
    EXPECT_NE(qb::FindObject(sprite, 0), nullptr);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(app.projects() / "Game" / "project.ini"), iniNow);
    EXPECT_NE(qb::FindObject(mapId, 0), nullptr);
    EXPECT_EQ(app.messages.texts.size(), 2u);  // the delete question and the map question

    // Nothing selected: told so, nothing changes.
    selectRoot();
    app.messages.texts.clear();
    key(Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(app.messages.texts.size(), 1u);
    EXPECT_EQ(ReadFile(app.projects() / "Game" / "project.ini"), iniNow);
}

// "Import sound" replaces the item's MP3 at once, even when the dialog is then cancelled: the
// sound it replaced comes back with Undo.
TEST_F(HistoryTest, ImportedSoundIsUndone) {
    NewProject("Game", 0);
    const std::int32_t sound = NewItemOfType(0, 5);
    const fs::path mp3 = app.projects() / "Game" / "AudioSound.mp3";
    const std::string original = ReadFile(mp3);
    ASSERT_FALSE(original.empty());
    WriteFile(app.path() / "other.mp3", "ID3 another sound");
    qb::ui::SetOpenFileDialog([&](const qb::ui::OpenFileRequest&) {
        return qb::ui::OpenFileAnswer{QString::fromStdString((app.path() / "other.mp3").string()), 0};
    });
    refresh(sound, 0);
    clickWithDialog(Command::EditItem, [&](QDialog* d) {
        Child<QPushButton>(d, "importSoundPushButton")->click();
        Cancel(d);
    });
    qb::ui::SetOpenFileDialog(nullptr);
    ASSERT_EQ(ReadFile(mp3), "ID3 another sound");
    std::vector<qb::HistoryVersion> versions;
    ASSERT_TRUE(qb::ListHistory(folder(), versions));
    EXPECT_EQ(versions.back().what, "Import sound AudioSound");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ReadFile(mp3), original);
    EXPECT_EQ(current()->objectId, sound);
}

} // namespace

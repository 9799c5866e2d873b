// The project tree: its node table, where items are placed, what a refresh selects and opens,
// which buttons each kind of selection enables (with their pictures), and the picture preview.
#include <QAction>
#include <QCheckBox>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <cstdlib>
#include <thread>

#include "app/preview_pane.h"
#include "support/shell_support.h"

namespace fs = std::filesystem;
using namespace qbtest;
using qb::app::Command;
using qb::app::CommandSet;
using qb::app::NodeKind;

namespace {

class ProjectTreeTest : public ShellTest {
protected:
    // The enabled buttons, as a set of commands.
    CommandSet enabledButtons() const {
        CommandSet set;
        for (const auto& info : qb::app::Commands())
            if (button(info.command)->isEnabled()) set.set(static_cast<std::size_t>(info.command));
        return set;
    }
    static CommandSet Set(std::initializer_list<Command> commands) {
        CommandSet set;
        set.set(static_cast<std::size_t>(Command::Preferences));
        set.set(static_cast<std::size_t>(Command::Help));
        for (Command c : commands) set.set(static_cast<std::size_t>(c));
        return set;
    }
};

TEST_F(ProjectTreeTest, TheTableHoldsTheRootTheProjectsAndTheirObjects) {
    auto nodes = qb::app::BuildProjectNodes();
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0].label, "Workspace");
    EXPECT_EQ(nodes[0].id, 0);
    EXPECT_EQ(nodes[0].parentId, -1);
    EXPECT_EQ(nodes[0].projectIndex, -1);
    EXPECT_EQ(nodes[0].objectId, -1);

    NewProject("One", qb::game::Jigsaw);      // 8 objects
    NewProject("Two", qb::game::ShootEmUp);   // 17 objects
    nodes = qb::app::BuildProjectNodes();
    ASSERT_EQ(nodes.size(), 1u + 1 + 8 + 1 + 17);
    EXPECT_EQ(nodes[1].label, "Project: One");
    EXPECT_EQ(nodes[1].id, 1);
    EXPECT_EQ(nodes[1].parentId, 0);
    // The second project's node follows the last object node of the first.
    EXPECT_EQ(nodes[10].label, "Project: Two");
    EXPECT_EQ(nodes[10].id, nodes[9].id + 1);
    EXPECT_EQ(nodes[10].projectIndex, 1);
    // Groups hang under their project, the Main parameters under its "Parameters" group.
    EXPECT_EQ(nodes[2].label, "Parameters");
    EXPECT_EQ(nodes[2].parentId, 1);
    EXPECT_EQ(nodes[9].label, "Main parameters");
    EXPECT_EQ(nodes[9].parentId, nodes[2].id);
}

TEST_F(ProjectTreeTest, ItemsWithoutTheirGroupAndDuplicateGroupsArePlacedAsTheTableSays) {
    const int p = NewProject("Hand made", qb::game::Jigsaw);
    qb::ProjectRecord& project = *qb::ProjectAt(p);
    // A track (108) in a jigsaw project has no group: it goes under "Workspace".
    const std::int32_t track = qb::AddObject(project, 108, 0, qb::Bytes(1016, 0), "Lost track", -1);
    // A second "Fonts bitmap" group: a font goes under the last one.
    const std::int32_t secondFonts = qb::AddObject(project, 0, 2, qb::Bytes(), "More fonts", -1);
    const std::int32_t font = qb::AddObject(project, 2, 0, qb::Bytes(268, 0), "A font", -1);
    refresh(track, p);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->parentId, 0);
    EXPECT_EQ(current()->item->parent(), tree()->nodes().front().item);
    EXPECT_EQ(node(font, p)->parentId, node(secondFonts, p)->id);
    EXPECT_EQ(node(font, p)->item->parent()->text(0), "More fonts");
}

TEST_F(ProjectTreeTest, MusicGameObjectsGoToTheirOwnGroup) {
    const int p = NewProject("Tunes", qb::game::Music);
    refresh(MainParametersId(p), p);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->label, "Main parameters");
    EXPECT_EQ(node(current()->objectId, p)->item->parent()->text(0), "Parameters");
}

TEST_F(ProjectTreeTest, LongLabelsAreCutTo255Characters) {
    const int p = NewProject("Long", qb::game::Jigsaw);
    qb::ProjectAt(p)->sNomeProgetto = std::string(254, 'n');
    refresh(-1, p);
    EXPECT_EQ(current()->label.size(), 255u);
    EXPECT_EQ(current()->label.substr(0, 9), "Project: ");
    EXPECT_EQ(current()->item->text(0).size(), 255);
}

TEST_F(ProjectTreeTest, RefreshSelectsTheNamedNodeAndOpensOnlyItsAncestors) {
    const int a = NewProject("A", qb::game::Jigsaw);
    const int b = NewProject("B", qb::game::Jigsaw);
    refresh(-1, -1);
    EXPECT_EQ(current()->kind, NodeKind::Root);
    refresh(-1, b);
    EXPECT_EQ(current()->label, "Project: B");
    EXPECT_TRUE(tree()->nodes().front().item->isExpanded());
    const std::int32_t main = MainParametersId(a);
    refresh(main, a);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->objectId, main);
    EXPECT_EQ(current()->projectIndex, a);
    EXPECT_TRUE(current()->item->parent()->isExpanded());
    EXPECT_TRUE(node(-1, a)->item->isExpanded());
    EXPECT_FALSE(node(-1, b)->item->isExpanded());
    EXPECT_TRUE(tree()->tree()->hasFocus() || !window->isActiveWindow());
}

TEST_F(ProjectTreeTest, EachKindOfSelectionEnablesItsButtons) {
    const int p = NewProject("Shooter", qb::game::ShootEmUp);
    const int music = NewProject("Tunes", qb::game::Music);
    const std::int32_t enemy = qb::NewItem(p, GroupId(p, 7));
    const std::int32_t sprites = qb::NewItem(p, GroupId(p, 3));
    const std::int32_t level = qb::NewItem(p, GroupId(p, 8));
    // The Main parameters list the level, which keeps it from being deleted.
    qb::RecordView mainRecord = qb::FindObject(MainParametersId(p), p)->record();
    mainRecord.setU32(0, 1);
    mainRecord.setU32(4, static_cast<std::uint32_t>(level));
    refresh(-1, -1);

    EXPECT_EQ(enabledButtons(), Set({Command::NewProject, Command::OpenProject}));
    select(-1, p);
    EXPECT_EQ(enabledButtons(),
              Set({Command::CloseProject, Command::Compile, Command::TestGame, Command::CopyItem}));
    select(GroupId(p, 7), p);
    EXPECT_EQ(enabledButtons(), Set({Command::NewItem}));
    select(GroupId(p, 1), p);  // "Parameters": no New item
    EXPECT_EQ(enabledButtons(), Set({}));
    select(GroupId(music, 401), music);  // "Musical levels"
    EXPECT_EQ(enabledButtons(), Set({}));
    select(enemy, p);
    EXPECT_EQ(enabledButtons(), Set({Command::EditItem, Command::CopyItem, Command::DeleteItem}));
    select(sprites, p);
    EXPECT_EQ(enabledButtons(), Set({Command::EditItem, Command::DeleteItem}));
    select(level, p);
    EXPECT_EQ(enabledButtons(), Set({Command::EditItem, Command::CopyItem}));
    select(MainParametersId(p), p);
    EXPECT_EQ(enabledButtons(), Set({Command::EditItem}));
    select(MainParametersId(music), music);  // no editor for the music game
    EXPECT_EQ(enabledButtons(), Set({}));

    // An object that vanished behind the tree's back leaves only Preferences and Help.
    qb::DeleteObject(p, enemy);
    select(enemy, p);
    EXPECT_EQ(enabledButtons(), Set({}));
    tree()->tree()->setCurrentItem(nullptr);
    EXPECT_EQ(current(), nullptr);
    EXPECT_EQ(enabledButtons(), Set({}));
}

TEST_F(ProjectTreeTest, EveryButtonHasItsOwnEnabledAndDisabledPicture) {
    for (const auto& info : qb::app::Commands()) {
        const QIcon icon = button(info.command)->icon();
        const QString base = QString(":/quillbox/pictures/") + info.picture;
        const QImage enabled(base + ".png");
        const QImage disabled(base + "_disabled.png");
        ASSERT_FALSE(enabled.isNull()) << info.picture;
        ASSERT_FALSE(disabled.isNull()) << info.picture;
        // The two pictures differ clearly, and each state shows its own one: compared as
        // pictures, since the icon's premultiplied copies round differently on each processor.
        std::string why;
        EXPECT_FALSE(qbtest::SamePicture(enabled, disabled, 16)) << info.picture;
        const QSize size(40, 40);
        const QImage normal = icon.pixmap(size, 1.0, QIcon::Normal).toImage();
        const QImage off = icon.pixmap(size, 1.0, QIcon::Disabled).toImage();
        EXPECT_TRUE(qbtest::SamePicture(normal, enabled, 2, &why)) << info.picture << ": " << why;
        EXPECT_TRUE(qbtest::SamePicture(off, disabled, 2, &why)) << info.picture << ": " << why;
        EXPECT_FALSE(qbtest::SamePicture(normal, disabled, 16)) << info.picture;
    }
}

TEST_F(ProjectTreeTest, TheContextMenuOfEveryNodeHoldsTheCommandsItsButtonsAllow) {
    const int p = NewProject("Shooter", qb::game::ShootEmUp);
    const int music = NewProject("Tunes", qb::game::Music);
    const std::int32_t enemy = qb::NewItem(p, GroupId(p, 7));
    qb::NewItem(p, GroupId(p, 3));
    const std::int32_t level = qb::NewItem(p, GroupId(p, 8));
    qb::RecordView mainRecord = qb::FindObject(MainParametersId(p), p)->record();
    mainRecord.setU32(0, 1);
    mainRecord.setU32(4, static_cast<std::uint32_t>(level));
    (void)music;
    refresh(-1, -1);

    int renamable = 0;
    for (const qb::app::TreeNode& n : tree()->nodes()) {
        tree()->tree()->setCurrentItem(n.item);
        ASSERT_EQ(current(), &n);
        std::unique_ptr<QMenu> menu(window->contextMenuFor(current()));
        CommandSet entries;
        bool rename = false;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator()) continue;
            EXPECT_TRUE(a->isEnabled()) << n.label << ": " << a->text().toStdString();
            bool known = false;
            for (const auto& info : qb::app::Commands())
                if (window->action(info.command) == a) {
                    entries.set(static_cast<std::size_t>(info.command));
                    known = true;
                }
            if (a == window->renameAction()) rename = known = true;
            if (tree()->tree()->actions().contains(a)) known = true;  // another feature's entry
            EXPECT_TRUE(known) << n.label << ": " << a->text().toStdString();
        }
        CommandSet expected = enabledButtons();
        expected.reset(static_cast<std::size_t>(Command::Preferences));
        expected.reset(static_cast<std::size_t>(Command::Help));
        EXPECT_EQ(entries, expected) << n.label;
        EXPECT_EQ(rename, qb::app::CanRename(current())) << n.label;
        renamable += rename;
        if (Has(expected, Command::EditItem))
            EXPECT_EQ(menu->defaultAction(), window->action(Command::EditItem)) << n.label;
    }
    EXPECT_GE(renamable, 4);  // the three items and the Main parameters

    // A right click selects the node under the pointer and opens its menu there; its entries
    // run the commands.
    selectRoot();
    tree()->tree()->scrollToItem(node(enemy, p)->item);
    const QRect where = tree()->tree()->visualItemRect(node(enemy, p)->item);
    ASSERT_FALSE(where.isEmpty());
    QStringList shown;
    QTimer::singleShot(50, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions())
                if (!a->isSeparator()) shown << a->text();
            menu->close();
        }
    });
    emit tree()->tree()->customContextMenuRequested(where.center());
    EXPECT_EQ(current()->objectId, enemy);
    EXPECT_EQ(shown.mid(0, 4), QStringList({"Edit item", "Rename", "Copy item", "Delete item"}));
    window->action(Command::CopyItem)->trigger();
    EXPECT_EQ(current()->label, "duplicate");
    EXPECT_EQ(window->statusBar()->currentMessage(), "Copied 'Sprites informations'");
}

TEST_F(ProjectTreeTest, AChangeKeepsTheOpenGroupsAndASelectionThatIsGoneStaysPut) {
    const int a = NewProject("A", qb::game::Jigsaw);
    const int b = NewProject("B", qb::game::ShootEmUp);
    const std::int32_t font = qb::NewItem(a, GroupId(a, 2));
    const std::int32_t enemy = qb::NewItem(b, GroupId(b, 7));
    refresh(-1, -1);
    auto item = [&](std::int32_t id, int project) { return node(id, project)->item; };
    // The user opens four nodes.
    item(-1, a)->setExpanded(true);
    item(GroupId(a, 2), a)->setExpanded(true);
    item(-1, b)->setExpanded(true);
    item(GroupId(b, 7), b)->setExpanded(true);
    select(enemy, b);
    click(Command::CopyItem);
    EXPECT_EQ(current()->label, "duplicate");
    EXPECT_TRUE(item(-1, a)->isExpanded());
    EXPECT_TRUE(item(GroupId(a, 2), a)->isExpanded());
    EXPECT_TRUE(item(GroupId(b, 7), b)->isExpanded());
    EXPECT_FALSE(item(GroupId(b, 3), b)->isExpanded());  // never opened
    EXPECT_EQ(node(font, a)->item->parent(), item(GroupId(a, 2), a));

    // One closed by the user stays closed; B's open groups stay open when A, before it, goes.
    item(GroupId(a, 2), a)->setExpanded(false);
    click(Command::CopyItem);
    EXPECT_FALSE(item(GroupId(a, 2), a)->isExpanded());
    select(-1, a);
    click(Command::CloseProject);
    ASSERT_EQ(qb::ProjectAt(0)->sNomeProgetto, "B");
    EXPECT_TRUE(item(-1, 0)->isExpanded());
    EXPECT_TRUE(item(GroupId(0, 7), 0)->isExpanded());

    // A refresh that names a node no longer there keeps the selection where it was.
    select(enemy, 0);
    refresh(99999, 0);
    ASSERT_NE(current(), nullptr);
    EXPECT_EQ(current()->objectId, enemy);
}

// --- the preview ---------------------------------------------------------------------------

QImage Pattern(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).fillRect(0, 0, 3, 3, QColor(Qt::yellow));
    return image;
}

// Replaces the file with another picture and moves its time on, as an outside editor would.
void ReplacePicture(const fs::path& path, const QImage& image) {
    const auto before = fs::last_write_time(path);
    ASSERT_TRUE(image.save(QString::fromStdString(path.string()), "PNG"));
    fs::last_write_time(path, before + std::chrono::seconds(2));
}

class PreviewTest : public ProjectTreeTest {
protected:
    void SetUp() override {
        ProjectTreeTest::SetUp();
        ASSERT_TRUE(qb::PixbridgeBound()) << "libpixbridge.so is needed beside the tests";
        p = NewProject("Pictures", qb::game::ShootEmUp);
        sprites = qb::NewItem(p, GroupId(p, 3));
        enemy = qb::NewItem(p, GroupId(p, 7));
        path = qb::FindObject(sprites, p)->record().text(0, qb::kPathField);
        ReplacePicture(path, Pattern(50, 30, qRgb(10, 120, 200)));
        refresh(-1, p);
    }
    QRgb windowPixel(QPoint at) {
        window->repaint();
        return window->grab().toImage().pixel(at);
    }
    int p = 0;
    std::int32_t sprites = 0, enemy = 0;
    std::string path;
};

TEST_F(PreviewTest, APictureItemIsPaintedUnscaledInTheFreeArea) {
    const QRgb background = windowPixel(window->freeArea().topLeft() + QPoint(5, 5));
    select(sprites, p);
    EXPECT_EQ(tree()->previewPath(), path);
    ASSERT_EQ(tree()->previewImage().size(), QSize(50, 30));
    const QPoint origin = window->freeArea().topLeft();
    EXPECT_EQ(windowPixel(origin + QPoint(1, 1)), qRgb(255, 255, 0));
    EXPECT_EQ(windowPixel(origin + QPoint(49, 29)), qRgb(10, 120, 200));
    EXPECT_EQ(windowPixel(origin + QPoint(50, 10)), background);  // not stretched
    EXPECT_EQ(windowPixel(origin + QPoint(10, 30)), background);

    // A non-picture item clears the preview.
    select(enemy, p);
    EXPECT_TRUE(tree()->previewPath().empty());
    EXPECT_TRUE(tree()->previewImage().isNull());
    EXPECT_EQ(windowPixel(origin + QPoint(1, 1)), background);
}

TEST_F(PreviewTest, ALargePictureScrollsAndFitScalesItDown) {
    ReplacePicture(path, Pattern(900, 700, qRgb(10, 120, 200)));
    window->resize(800, 500);
    select(sprites, p);
    Settle();
    qb::app::PreviewPane* pane = window->previewPane();
    QScrollArea* scroll = pane->scrollArea();
    // 1:1 by default, from the corner, with scroll bars.
    EXPECT_FALSE(pane->fit());
    EXPECT_EQ(pane->picture()->size(), QSize(900, 700));
    EXPECT_TRUE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(scroll->verticalScrollBar()->isVisible());
    const QPoint origin = window->freeArea().topLeft();
    EXPECT_EQ(windowPixel(origin + QPoint(1, 1)), qRgb(255, 255, 0));
    scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->maximum());
    EXPECT_EQ(windowPixel(origin + QPoint(1, 1)), qRgb(10, 120, 200));  // scrolled away

    // Fit: scaled down into the area, proportions kept, no scroll bars.
    pane->fitToggle()->click();
    Settle();
    const QSize shown = pane->picture()->size();
    const QSize area = scroll->viewport()->size();
    EXPECT_LE(shown.width(), area.width());
    EXPECT_LE(shown.height(), area.height());
    EXPECT_TRUE(shown.width() >= area.width() - 1 || shown.height() >= area.height() - 1);
    EXPECT_NEAR(double(shown.width()) / shown.height(), 900.0 / 700.0, 0.02);
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    const QRgb middle = windowPixel(origin + QPoint(shown.width() / 2, shown.height() / 2));
    EXPECT_NEAR(qRed(middle), 10, 3);
    EXPECT_NEAR(qGreen(middle), 120, 3);
    EXPECT_NEAR(qBlue(middle), 200, 3);
    // A picture that fits is never enlarged.
    ReplacePicture(path, Pattern(50, 30, qRgb(1, 2, 3)));
    EXPECT_TRUE(RepaintUntil(window.get(), [&] { return tree()->previewImage().size() == QSize(50, 30); }));
    EXPECT_EQ(pane->picture()->size(), QSize(50, 30));
    // Fit off: 1:1 again.
    ReplacePicture(path, Pattern(900, 700, qRgb(10, 120, 200)));
    EXPECT_TRUE(RepaintUntil(window.get(), [&] { return tree()->previewImage().size() == QSize(900, 700); }));
    EXPECT_NE(pane->picture()->size(), QSize(900, 700));
    pane->fitToggle()->click();
    EXPECT_EQ(pane->picture()->size(), QSize(900, 700));
}

TEST_F(PreviewTest, SelectingTheSamePictureAgainDoesNotDecodeItAgain) {
    select(sprites, p);
    const int loads = tree()->previewLoads();
    refresh(sprites, p);
    select(sprites, p);
    EXPECT_EQ(tree()->previewLoads(), loads);
    select(enemy, p);
    select(sprites, p);
    EXPECT_EQ(tree()->previewLoads(), loads + 1);
}

TEST_F(PreviewTest, AChangedFileIsShownAtTheNextRepaint) {
    select(sprites, p);
    ASSERT_EQ(tree()->previewImage().size(), QSize(50, 30));
    ReplacePicture(path, Pattern(70, 20, qRgb(200, 30, 30)));
    EXPECT_TRUE(RepaintUntil(window.get(), [&] { return tree()->previewImage().size() == QSize(70, 20); }));
    EXPECT_EQ(windowPixel(window->freeArea().topLeft() + QPoint(60, 10)), qRgb(200, 30, 30));

    // A file that is not a picture any more: Pixbridge says so once, the preview is empty, and
    // repaints do not ask again until the file changes.
    const auto before = fs::last_write_time(path);
    WriteFile(path, "not a png");
    fs::last_write_time(path, before + std::chrono::seconds(4));
    const std::size_t messages = app.messages.texts.size();
    EXPECT_TRUE(RepaintUntil(window.get(), [&] { return tree()->previewImage().isNull(); }));
    window->repaint();
    Settle(50);
    EXPECT_EQ(app.messages.texts.size(), messages + 1);
    // Repaired: shown again.
    ReplacePicture(path, Pattern(20, 20, qRgb(0, 200, 0)));
    EXPECT_TRUE(RepaintUntil(window.get(), [&] { return tree()->previewImage().size() == QSize(20, 20); }));
}

TEST_F(PreviewTest, AnOutsideSaveIsPickedUpWithoutBeingAsked) {
    select(sprites, p);
    Settle(200);  // the window's own start (activation, first paints) is over
    ReplacePicture(path, Pattern(64, 16, qRgb(5, 6, 7)));
    for (int i = 0; i < 100 && tree()->previewImage().size() != QSize(64, 16); ++i) Settle(20);
    EXPECT_EQ(tree()->previewImage().size(), QSize(64, 16));
}

TEST_F(PreviewTest, AnEditorClosingHasThePreviewReloadedAtOnce) {
    select(sprites, p);
    ReplacePicture(path, Pattern(33, 44, qRgb(1, 2, 3)));
    qb::ui::RepaintPreview();  // what a picture editor does when it closes
    EXPECT_EQ(tree()->previewImage().size(), QSize(33, 44));
}

TEST_F(PreviewTest, AMissingFileShowsNothingAndComesBackWhenSaved) {
    select(sprites, p);
    fs::remove(path);
    EXPECT_TRUE(RepaintUntil(window.get(), [&] { return tree()->previewImage().isNull(); }));
    EXPECT_EQ(tree()->previewPath(), path);
    ASSERT_TRUE(Pattern(12, 12, qRgb(9, 9, 9)).save(QString::fromStdString(path), "PNG"));
    EXPECT_TRUE(RepaintUntil(window.get(), [&] { return tree()->previewImage().size() == QSize(12, 12); }));
}

} // namespace

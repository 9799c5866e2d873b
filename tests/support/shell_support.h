#pragma once
// Helpers for the tests of the editor's main window: a window over a fresh application folder,
// selecting tree nodes the way a click does, running a command and answering its dialog.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/project_tree.h"
#include "model/catalogue.h"
#include "model/commands.h"
#include "model/folders.h"
#include "model/preferences.h"
#include "model/projectfile.h"
#include "model/workspace.h"
#include "platform/pictures.h"
#include "support/editor_fixture.h"
#include "support/gui_support.h"
#include "support/test_support.h"
#include "toolkit/editor_launcher.h"

namespace qbtest {

// Lets queued events (deferred preview reloads, layouts) run.
inline void Settle(int milliseconds = 20) {
    QElapsedTimer clock;
    clock.start();
    do QApplication::processEvents(QEventLoop::AllEvents, 5);
    while (clock.elapsed() < milliseconds);
}

// Repaints the window and lets events run until the condition holds, for at most five seconds
// (a loaded machine may need more than one round for a deferred reload); answers the condition.
inline bool RepaintUntil(QWidget* window, const std::function<bool()>& condition) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < 5000) {
        window->repaint();
        Settle(20);
    }
    return condition();
}

// Runs fn and fails the test if a modal dialog comes up meanwhile (it is closed so the test
// goes on).
inline void WithoutModalDialog(const std::function<void()>& fn) {
    bool appeared = false;
    QTimer guard;
    guard.setInterval(10);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            appeared = true;
            dialog->done(QDialog::Accepted);
        }
    });
    guard.start();
    fn();
    guard.stop();
    EXPECT_FALSE(appeared) << "a modal dialog appeared";
}

inline std::int32_t MainParametersId(int project) {
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        if (o.tipoOggetto != 0 && o.sottoTipoOggetto == 1) return o.IDoggetto;
    return 0;
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!qb::PixbridgeBound()) qb::BindPixbridge(BinDir().string());
        window = std::make_unique<qb::app::MainWindow>();
        window->resize(1000, 700);
        window->show();
        qb::app::RebuildProjectTree();
        qb::app::RefreshProjectTree(-1, -1);
    }
    void TearDown() override { window.reset(); }

    qb::app::TreePanel* tree() const { return window->treePanel(); }
    // Where a part of the window lies, in the window's coordinates.
    QRect InWindow(const QWidget* w) const {
        return QRect(w->mapTo(window.get(), QPoint(0, 0)), w->size());
    }
    QToolButton* button(qb::app::Command command) const {
        return window->commandPanel()->button(command);
    }
    const qb::app::TreeNode* current() const { return tree()->currentNode(); }

    const qb::app::TreeNode* node(std::int32_t objectId, int project) const {
        for (const auto& n : tree()->nodes())
            if (n.projectIndex == project &&
                (objectId == -1 ? n.kind == qb::app::NodeKind::Project
                                : n.kind == qb::app::NodeKind::Object && n.objectId == objectId))
                return &n;
        return nullptr;
    }
    // Selects a node in the tree control, as a click does.
    void select(std::int32_t objectId, int project) {
        const qb::app::TreeNode* target = node(objectId, project);
        ASSERT_TRUE(target && target->item) << "no node " << objectId << " in project " << project;
        tree()->tree()->setCurrentItem(target->item);
    }
    void selectRoot() { tree()->tree()->setCurrentItem(tree()->nodes().front().item); }
    // Rebuilds the tree from the model, selecting the node given.
    void refresh(std::int32_t objectId, int project) {
        qb::app::RebuildProjectTree();
        qb::app::RefreshProjectTree(objectId, project);
    }
    // Clicks a command's button.
    void click(qb::app::Command command) {
        QToolButton* b = button(command);
        ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString() << " is disabled";
        b->click();
    }
    // Clicks a command's button that opens a modal dialog, and acts on the dialog.
    void clickWithDialog(qb::app::Command command, const std::function<void(QDialog*)>& act) {
        WithModalDialog([&] { click(command); }, act);
    }

    TempAppFolder app;
    std::unique_ptr<qb::app::MainWindow> window;
};

} // namespace qbtest

// Every dialog as assistive technology meets it: each visible control is announced by the label
// a sighted user reads beside or above it, and each check box or radio button applies its rule
// however its state changes. The editors are found through the editor registry and opened on an
// item of their type in a project of every game type, so editors added later are walked too.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/splash.h"
#include "editors/common/ads_multiplayer.h"
#include "model/catalogue.h"
#include "support/editor_fixture.h"
#include "support/shell_support.h"
#include "toolkit/new_project_dialog.h"
#include "toolkit/open_project_dialog.h"
#include "toolkit/preferences_dialog.h"

using namespace qbtest;

namespace {

std::string S(const QString& s) { return s.toStdString(); }

// A label's text as it should be heard: no "&", no closing ":", blanks simplified.
QString Heard(QString text) {
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    text = text.simplified();
    if (text.endsWith(':')) text.chop(1);
    return text.trimmed();
}

bool InsideOf(const QWidget* w, const QMetaObject& type) {
    for (const QWidget* up = w->parentWidget(); up; up = up->parentWidget())
        if (up->metaObject()->inherits(&type)) return true;
    return false;
}

bool IsCustomView(const QWidget* w) {
    if (w->metaObject()->className()[0] == 'Q' || w->isWindow()) return false;
    for (const QObject* child : w->children())
        if (child->isWidgetType()) return false;
    return true;
}

// The controls a user operates or reads a value from.
bool IsControl(const QWidget* w) {
    if (InsideOf(w, QComboBox::staticMetaObject) || InsideOf(w, QAbstractSpinBox::staticMetaObject))
        return false;  // the parts of a combo or spin box
    if (qobject_cast<const QAbstractSlider*>(w))
        return !InsideOf(w, QAbstractScrollArea::staticMetaObject);  // a view's own scroll bars
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QAbstractItemView*>(w) || IsCustomView(w);
}

// What a screen reader announces for the control. A combo box on this platform answers its
// current entry as its name and is announced by the label it is "labelled by".
QString Announced(QWidget* w) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
    if (!face) return {};
    auto* combo = qobject_cast<QComboBox*>(w);
    if (combo && !combo->isEditable()) {
        const auto labels = face->relations(QAccessible::Label);
        return labels.isEmpty() ? w->accessibleName() : labels.front().first->text(QAccessible::Name);
    }
    return face->text(QAccessible::Name);
}

QRect RectIn(const QWidget* w, const QWidget* root) {
    return QRect(w->mapTo(root, QPoint(0, 0)), w->size());
}

// The label a sighted user reads for the control: the nearest one on its left on the same line
// with no other control in between, or the one just above it, aligned with it.
const QLabel* SeenLabel(QWidget* root, QWidget* w, const std::vector<QWidget*>& controls) {
    const QRect field = RectIn(w, root);
    const QLabel* best = nullptr;
    int bestRight = -1;
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(root) || label->text().trimmed().isEmpty()) continue;
        const QRect r = RectIn(label, root);
        const bool sameLine = r.center().y() >= field.top() && r.center().y() <= field.bottom();
        if (!sameLine || r.right() > field.left() + 2 || r.right() <= bestRight) continue;
        bool between = false;
        for (const QWidget* other : controls) {
            const QRect o = RectIn(other, root);
            if (other != w && o.left() >= r.right() && o.right() <= field.left() &&
                o.center().y() >= field.top() && o.center().y() <= field.bottom())
                between = true;
        }
        if (between) continue;
        best = label;
        bestRight = r.right();
    }
    if (best) return best;
    for (const QLabel* label : root->findChildren<QLabel*>()) {
        if (!label->isVisibleTo(root) || label->text().trimmed().isEmpty()) continue;
        const QRect r = RectIn(label, root);
        if (r.bottom() <= field.top() + 2 && field.top() - r.bottom() <= 12 &&
            std::abs(r.left() - field.left()) <= 10)
            return label;
    }
    return nullptr;
}

// Checks every visible control of a window; answers how many were checked.
int CheckNames(QWidget* root, const std::string& where) {
    std::vector<QWidget*> controls;
    for (QWidget* w : root->findChildren<QWidget*>())
        if (w->isVisibleTo(root) && IsControl(w)) controls.push_back(w);
    for (QWidget* w : controls) {
        const std::string what = where + " / " + S(w->objectName()) + " (" +
                                 w->metaObject()->className() + ")";
        const QString heard = Announced(w);
        EXPECT_FALSE(Heard(heard).isEmpty()) << what << " has no accessible name";
        auto* button = qobject_cast<QAbstractButton*>(w);
        EXPECT_FALSE(heard.contains('\n')) << what;
        if (!w->accessibleName().isEmpty() && !qobject_cast<QComboBox*>(w)) {
            // Named on purpose by its editor (an arrow button, a list under a heading).
        } else if (button && !button->text().isEmpty()) {
            EXPECT_EQ(S(Heard(heard)), S(Heard(button->text()))) << what;
        } else if (const QLabel* label = SeenLabel(root, w, controls)) {
            EXPECT_EQ(S(Heard(heard)), S(Heard(label->text())))
                << what << " is not announced by its label " << S(label->objectName());
        }
        if (IsCustomView(w)) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
            EXPECT_NE(face->role(), QAccessible::Client) << what << " has no role of its own";
        }
    }
    EXPECT_FALSE(root->windowTitle().isEmpty()) << where << " has no title";
    return static_cast<int>(controls.size());
}

// One item of every type that has an editor, in a project of every game type that holds it.
struct EditorCase {
    std::string name;
    int project;
    std::int32_t id;
};

std::vector<EditorCase> EveryEditor() {
    std::vector<EditorCase> cases;
    std::set<std::uint32_t> covered;
    for (const qb::GameTypeInfo& game : qb::GameTypes()) {
        const int project = NewProject("Walk " + std::to_string(game.code), game.code);
        for (const qb::GroupSpec& group : qb::GroupsOfGameType(game.code))
            if (qb::ui::HasEditor(group.subtype) && qb::IsNewItemAllowed(group.subtype))
                qb::NewItem(project, GroupId(project, group.subtype));
        qb::SaveProject(project);
        std::set<std::uint32_t> seen;
        for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects) {
            if (o.tipoOggetto == 0 || !qb::ui::HasEditor(o.tipoOggetto) ||
                !seen.insert(o.tipoOggetto).second)
                continue;
            covered.insert(o.tipoOggetto);
            cases.push_back({"game " + std::to_string(game.code) + " type " +
                                 std::to_string(o.tipoOggetto),
                             project, o.IDoggetto});
        }
    }
    for (std::uint32_t type : qb::ui::RegisteredEditorTypes())
        EXPECT_TRUE(covered.count(type)) << "no project of any game type holds an item of type "
                                         << type << ", so its editor was not walked";
    return cases;
}

// Presses OK; a further modal dialog coming up meanwhile is noted and closed.
void OkClosingOthers(QDialog* d, const std::string& where) {
    QTimer guard;
    guard.setInterval(10);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (other && other != d) {
            ADD_FAILURE() << where << ": OK opened \"" << S(other->windowTitle()) << "\"";
            other->reject();
        }
    });
    guard.start();
    Ok(d);
    guard.stop();
    if (d->isVisible()) d->reject();  // refused by its checks: nothing to compare after OK
}

struct Walk : ::testing::Test {
    TempAppFolder app;
    Walk() {
        // Generating a records ID reads the clock; both ways of toggling must see the same time.
        qb::ui::SetUtcClock([] { return qb::ui::UtcTime{2026, 12, 6, 9, 5, 7, 42}; });
    }
    ~Walk() override { qb::ui::SetUtcClock({}); }
};

TEST_F(Walk, EveryControlOfEveryDialogIsAnnouncedByItsOwnLabel) {
    int controls = 0;
    std::set<std::string> titles;
    for (const EditorCase& c : EveryEditor())
        Edit(c.project, c.id, [&](QDialog* d) {
            titles.insert(S(d->windowTitle()));
            controls += CheckNames(d, c.name + " \"" + S(d->windowTitle()) + "\"");
            Cancel(d);
        });
    // The dialogs of the shell.
    WithModalDialog([] { qb::ui::PreferencesDialog(nullptr).exec(); },
                    [&](QDialog* d) { controls += CheckNames(d, "Preferences"); d->reject(); });
    WithModalDialog([] { qb::ui::NewProjectDialog(nullptr).exec(); },
                    [&](QDialog* d) { controls += CheckNames(d, "New project"); d->reject(); });
    WithModalDialog([] { qb::ui::OpenProjectDialog(nullptr).exec(); },
                    [&](QDialog* d) { controls += CheckNames(d, "Open project"); d->reject(); });
    EXPECT_GT(controls, 100);
    std::string walked;
    for (const std::string& t : titles) walked += " \"" + t + "\"";
    std::printf("%d controls checked; editors walked:%s\n", controls, walked.c_str());
}

// The state of every control, as text, to compare two ways of reaching it.
std::vector<std::string> ControlStates(QDialog* d) {
    std::vector<std::string> states;
    for (QWidget* w : d->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith("qt_")) continue;
        std::string s = S(w->objectName()) + (w->isEnabled() ? " enabled" : " disabled") +
                        (w->isVisibleTo(d) ? "" : " hidden");
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable())
            s += b->isChecked() ? " checked" : " clear";
        if (auto* e = qobject_cast<QLineEdit*>(w)) s += " \"" + S(e->text()) + "\"";
        if (auto* c = qobject_cast<QComboBox*>(w))
            s += " #" + std::to_string(c->currentIndex()) + "/" + std::to_string(c->count());
        if (auto* t = qobject_cast<QPlainTextEdit*>(w)) s += " \"" + S(t->toPlainText()) + "\"";
        if (auto* l = qobject_cast<QLabel*>(w)) s += " \"" + S(l->text()) + "\"";
        states.push_back(s);
    }
    return states;
}

std::vector<std::string> ProjectState(int project) {
    std::vector<std::string> state{qb::ProjectAt(project)->sNomeProgetto};
    for (const qb::ObjectRecord& o : qb::ProjectAt(project)->objects)
        state.push_back(std::to_string(o.IDoggetto) + " " + o.sDescrizione + " " +
                        std::string(o.lpDatiOggetto.begin(), o.lpDatiOggetto.end()));
    return state;
}

std::vector<QAbstractButton*> Toggles(QDialog* d) {
    std::vector<QAbstractButton*> toggles;
    for (QAbstractButton* b : d->findChildren<QAbstractButton*>())
        if (b->isCheckable() && b->isVisibleTo(d) && b->isEnabled() &&
            !(qobject_cast<QRadioButton*>(b) && b->isChecked()))
            toggles.push_back(b);
    return toggles;
}

struct Outcome {
    std::vector<std::string> controls;
    std::vector<std::string> beforeOk;
    std::vector<std::string> afterOk;
};

TEST_F(Walk, EveryToggleAppliesItsRuleWhetherClickedOrSetFromOutside) {
    int toggled = 0;
    for (const EditorCase& c : EveryEditor()) {
        const qb::ProjectRecord original = *qb::ProjectAt(c.project);
        std::size_t count = 0;
        Edit(c.project, c.id, [&](QDialog* d) {
            count = Toggles(d).size();
            Cancel(d);
        });
        for (std::size_t i = 0; i < count; ++i) {
            // The same button toggled by a click, then by setChecked as assistive technology
            // and code do, each time on the same records.
            Outcome outcomes[2];
            std::string name;
            for (int way = 0; way < 2; ++way) {
                *qb::ProjectAt(c.project) = original;
                qb::SaveProject(c.project);
                Edit(c.project, c.id, [&](QDialog* d) {
                    const std::vector<QAbstractButton*> toggles = Toggles(d);
                    if (i >= toggles.size()) {
                        ADD_FAILURE() << c.name << ": the toggles differ between openings";
                        d->reject();
                        return;
                    }
                    QAbstractButton* button = toggles[i];
                    name = c.name + " \"" + S(d->windowTitle()) + "\" / " + S(button->objectName());
                    if (way == 0)
                        button->click();
                    else
                        button->setChecked(!button->isChecked());
                    outcomes[way].controls = ControlStates(d);
                    outcomes[way].beforeOk = ProjectState(c.project);
                    OkClosingOthers(d, name);
                });
                outcomes[way].afterOk = ProjectState(c.project);
            }
            ++toggled;
            const Outcome& clicked = outcomes[0];
            const Outcome& set = outcomes[1];
            ASSERT_EQ(clicked.controls.size(), set.controls.size()) << name;
            for (std::size_t k = 0; k < clicked.controls.size(); ++k)
                EXPECT_EQ(set.controls[k], clicked.controls[k]) << name << ": set, not clicked";
            EXPECT_EQ(set.beforeOk, clicked.beforeOk) << name << ": records before OK";
            EXPECT_EQ(set.afterOk, clicked.afterOk) << name << ": records after OK";
        }
        *qb::ProjectAt(c.project) = original;
        qb::SaveProject(c.project);
    }
    EXPECT_GT(toggled, 20);
}

// The main window, its tree, command buttons, preview and splash.
struct ShellNames : ShellTest {};

TEST_F(ShellNames, TheMainWindowItsPanelsAndTheSplashAreNamed) {
    QAccessibleInterface* main = QAccessible::queryAccessibleInterface(window.get());
    EXPECT_EQ(main->role(), QAccessible::Window);
    EXPECT_EQ(S(main->text(QAccessible::Name)), qb::app::kWindowTitle);

    QTreeWidget* tree = this->tree()->tree();
    EXPECT_EQ(S(QAccessible::queryAccessibleInterface(tree)->text(QAccessible::Name)), "Projects");
    EXPECT_EQ(S(tree->headerItem()->text(0)), "Workspace");

    // Narrow, the labels take two lines; their names stay on one.
    window->resize(700, 500);
    Settle();
    QToolButton* newProject = button(qb::app::Command::NewProject);
    EXPECT_TRUE(newProject->text().contains('\n'));
    EXPECT_EQ(S(QAccessible::queryAccessibleInterface(newProject)->text(QAccessible::Name)),
              "New project");
    CheckNames(window.get(), "main window");

    // The preview is there, named, while a picture item is selected.
    auto* preview = window->findChild<QWidget*>("previewArea");
    ASSERT_TRUE(preview);
    EXPECT_FALSE(preview->isVisible());
    const int project = NewProject("Pictures", 0);
    const std::int32_t sprites = NewItemOfType(project, 3);
    refresh(sprites, project);
    Settle();
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(InWindow(preview).topLeft(), window->freeArea().topLeft());
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(preview);
    EXPECT_EQ(face->role(), QAccessible::Graphic);
    EXPECT_EQ(S(face->text(QAccessible::Name)), "Preview");
    EXPECT_EQ(S(face->text(QAccessible::Description)), "Sprites.png");
    refresh(-1, project);
    Settle();
    EXPECT_FALSE(preview->isVisible());

    auto* splash = qb::app::SplashWindow::ShowSplash(window.get(), 60000);
    EXPECT_EQ(S(QAccessible::queryAccessibleInterface(splash)->text(QAccessible::Name)), "Quillbox");
    auto* picture = splash->findChild<QLabel*>("splashPicture");
    ASSERT_TRUE(picture);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(picture)->role(), QAccessible::Graphic);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(picture)->text(QAccessible::Name).isEmpty());
    splash->close();
}

} // namespace

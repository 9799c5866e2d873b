#include "toolkit/dialog_frame.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessibleWidget>
#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

namespace qb::ui {

namespace {

constexpr const char* kRoleProperty = "qbAccessibleRole";

// Gives the widgets that carry a role of their own (SetAccessibleView) that role.
QAccessibleInterface* RoleFactory(const QString&, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    const QVariant role = object->property(kRoleProperty);
    if (!role.isValid()) return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object),
                                 static_cast<QAccessible::Role>(role.toInt()));
}

void InstallRoleFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(RoleFactory);
        return true;
    }();
    (void)installed;
}

// A widget class of the program rather than of Qt, drawing its own contents.
bool IsCustomView(const QWidget* w) {
    const char* cls = w->metaObject()->className();
    if (cls[0] == 'Q') return false;
    if (w->isWindow()) return false;
    for (const QObject* child : w->children())
        if (child->isWidgetType()) return false;
    return true;
}

bool IsField(QWidget* w) {
    if (!w || qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w)) return false;
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text().isEmpty();
    return qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
           qobject_cast<QTextEdit*>(w) || qobject_cast<QAbstractSlider*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || IsCustomView(w);
}

// The first field in a layout item: the widget itself, or the first field of a nested row.
QWidget* FirstField(QLayoutItem* item) {
    if (!item) return nullptr;
    if (QWidget* w = item->widget()) return IsField(w) ? w : nullptr;
    if (QLayout* inner = item->layout())
        for (int i = 0; i < inner->count(); ++i)
            if (QWidget* w = FirstField(inner->itemAt(i))) return w;
    return nullptr;
}

// A label that still waits for its field.
QLabel* FreeLabel(QLayoutItem* item) {
    auto* label = item ? qobject_cast<QLabel*>(item->widget()) : nullptr;
    if (!label || label->buddy() || label->text().trimmed().isEmpty()) return nullptr;
    return label;
}

void Link(QLabel* label, QWidget* field) {
    if (field && !field->property("qbLabelled").toBool()) {
        label->setBuddy(field);
        field->setProperty("qbLabelled", true);
    }
}

void LinkForm(QFormLayout* form) {
    for (int row = 0; row < form->rowCount(); ++row)
        if (QLabel* label = FreeLabel(form->itemAt(row, QFormLayout::LabelRole)))
            Link(label, FirstField(form->itemAt(row, QFormLayout::FieldRole)));
}

void LinkGrid(QGridLayout* grid) {
    for (int i = 0; i < grid->count(); ++i) {
        QLabel* label = FreeLabel(grid->itemAt(i));
        if (!label) continue;
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        // The next cell to its right on the same row; with none, the cell below it.
        QLayoutItem* next = nullptr;
        for (int c = column + columnSpan; c < grid->columnCount() && !next; ++c)
            next = grid->itemAtPosition(row, c);
        if (!next) next = grid->itemAtPosition(row + rowSpan, column);
        Link(label, FirstField(next));
    }
}

void LinkBox(QBoxLayout* box) {
    for (int i = 0; i + 1 < box->count(); ++i)
        if (QLabel* label = FreeLabel(box->itemAt(i))) Link(label, FirstField(box->itemAt(i + 1)));
}

void LinkLayout(QLayout* layout) {
    if (!layout) return;
    if (auto* form = qobject_cast<QFormLayout*>(layout))
        LinkForm(form);
    else if (auto* grid = qobject_cast<QGridLayout*>(layout))
        LinkGrid(grid);
    else if (auto* box = qobject_cast<QBoxLayout*>(layout))
        LinkBox(box);
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout* inner = layout->itemAt(i)->layout()) LinkLayout(inner);
}

QString GroupTitleOf(const QWidget* w) {
    for (const QWidget* up = w->parentWidget(); up && !up->isWindow(); up = up->parentWidget())
        if (auto* group = qobject_cast<const QGroupBox*>(up)) return AccessibleLabelText(group->title());
    return {};
}

class NameOnShow : public QObject {
public:
    explicit NameOnShow(QWidget* watched) : QObject(watched) { watched->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == parent())
            NameFieldsForAccessibility(static_cast<QWidget*>(watched));
        return false;
    }
};

} // namespace

QString AccessibleLabelText(const QString& labelText) {
    QString text;
    text.reserve(labelText.size());
    for (qsizetype i = 0; i < labelText.size(); ++i) {
        if (labelText[i] == QLatin1Char('&')) {
            if (i + 1 < labelText.size() && labelText[i + 1] == QLatin1Char('&')) text += labelText[++i];
            continue;
        }
        text += labelText[i];
    }
    text = text.simplified();
    if (text.endsWith(QLatin1Char(':'))) text.chop(1);
    return text.trimmed();
}

void SetAccessibleView(QWidget* view, const QString& name, QAccessible::Role role) {
    InstallRoleFactory();
    // The role first: naming a widget already makes its accessible interface.
    view->setProperty(kRoleProperty, static_cast<int>(role));
    view->setAccessibleName(name);
}

void NameFieldsForAccessibility(QWidget* root) {
    if (!root) return;
    InstallRoleFactory();
    // Fields the dialog linked itself keep their label.
    for (const QLabel* label : root->findChildren<QLabel*>())
        if (QWidget* buddy = label->buddy()) buddy->setProperty("qbLabelled", true);
    LinkLayout(root->layout());
    for (QWidget* w : root->findChildren<QWidget*>()) LinkLayout(w->layout());

    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (button->accessibleName().isEmpty() && button->text().contains(QLatin1Char('\n')))
                button->setAccessibleName(AccessibleLabelText(button->text()));
            continue;
        }
        // Qt names line edits, combos, spin boxes and text boxes after their buddy; lists and
        // painted views need their name set.
        const bool custom = IsCustomView(w);
        if (!custom && !qobject_cast<QAbstractItemView*>(w)) continue;
        bool inCombo = false;  // a combo's own popup list
        for (QWidget* up = w->parentWidget(); up && !inCombo; up = up->parentWidget())
            inCombo = qobject_cast<QComboBox*>(up) != nullptr;
        if (inCombo) continue;
        // The role first: naming a widget already makes its accessible interface.
        if (custom && !w->property(kRoleProperty).isValid())
            w->setProperty(kRoleProperty, static_cast<int>(w->focusPolicy() == Qt::NoFocus
                                                               ? QAccessible::Graphic
                                                               : QAccessible::Canvas));
        if (w->accessibleName().isEmpty()) {
            QString name;
            for (const QLabel* label : root->findChildren<QLabel*>())
                if (label->buddy() == w) name = AccessibleLabelText(label->text());
            if (name.isEmpty()) name = GroupTitleOf(w);
            if (!name.isEmpty()) w->setAccessibleName(name);
        }
    }
}

void SetUpModalDialog(QDialog* dialog, const QString& objectName, const QString& title) {
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(title);
    dialog->setModal(true);
    new NameOnShow(dialog);
}

QDialogButtonBox* AddOkCancelButtons(QDialog* dialog, QBoxLayout* layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->setObjectName("buttons");
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace qb::ui

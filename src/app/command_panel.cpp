#include "app/command_panel.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QEvent>
#include <QPainter>
#include <QToolButton>

namespace qb::app {

namespace {

QIcon ButtonIcon(const char* picture) {
    const QString base = QStringLiteral(":/quillbox/pictures/") + QString::fromLatin1(picture);
    QIcon icon;
    for (const char* scale : {"", "@2x"}) {
        icon.addFile(base + scale + ".png", QSize(), QIcon::Normal);
        icon.addFile(base + "_disabled" + scale + ".png", QSize(), QIcon::Disabled);
    }
    return icon;
}

} // namespace

const std::array<CommandInfo, kCommandCount>& Commands() {
    static const std::array<CommandInfo, kCommandCount> commands{{
        {Command::NewProject, "New project", "newProjectButton", "new_project"},
        {Command::OpenProject, "Open project", "openProjectButton", "open_project"},
        {Command::CloseProject, "Close project", "closeProjectButton", "close_project"},
        {Command::NewItem, "New item", "newItemButton", "new_item"},
        {Command::EditItem, "Edit item", "editItemButton", "edit_item"},
        {Command::DeleteItem, "Delete item", "deleteItemButton", "delete_item"},
        {Command::CopyItem, "Copy item", "copyItemButton", "copy_item"},
        {Command::Compile, "Compile", "compileButton", "compile"},
        {Command::TestGame, "Test game", "testGameButton", "test_game"},
        {Command::Preferences, "Preferences", "preferencesButton", "preferences"},
        {Command::Help, "Help", "helpButton", "help"},
    }};
    return commands;
}

CommandPanel::CommandPanel(QWidget* parent)
    : QWidget(parent), background_(QStringLiteral(":/quillbox/pictures/panel_background.png")) {
    setObjectName("commandPanel");
    setFixedHeight(kHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 1, 6, 1);
    row->setSpacing(1);
    QFont font = this->font();
    // The eleven labels fit beside each other down to the window's smallest width.
    if (font.pointSizeF() > 8.5) font.setPointSizeF(8.5);
    for (const CommandInfo& info : Commands()) {
        auto* button = new QToolButton(this);
        button->setObjectName(info.objectName);
        button->setText(QString::fromLatin1(info.label));
        button->setToolTip(QString::fromLatin1(info.label));
        // The label may wrap onto two lines; its name is always the one-line label.
        button->setAccessibleName(QString::fromLatin1(info.label));
        button->setIcon(ButtonIcon(info.picture));
        button->setIconSize(QSize(40, 40));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setFont(font);
        button->setFocusPolicy(Qt::TabFocus);
        button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
        const Command command = info.command;
        connect(button, &QToolButton::clicked, this, [this, command] { emit commandClicked(command); });
        buttons_[static_cast<std::size_t>(info.command)] = button;
        row->addWidget(button);
        // Groups: projects, items, the build, the program.
        if (command == Command::CloseProject || command == Command::CopyItem ||
            command == Command::TestGame)
            row->addSpacing(10);
    }
    row->addStretch(1);
    setEnabledCommands(EnabledCommands(nullptr));
    measureLabels();
}

void CommandPanel::measureLabels() {
    int width = 0;
    for (QToolButton* button : buttons_) {
        button->setText(button->toolTip());
        width += button->sizeHint().width();
    }
    const QLayout* row = layout();
    const QMargins margins = row->contentsMargins();
    width += margins.left() + margins.right() + row->spacing() * (kCommandCount - 1) + 3 * 10;
    oneLineWidth_ = width;
    twoLines_ = false;
    applyLabels();
}

void CommandPanel::applyLabels() {
    const bool twoLines = width() < oneLineWidth_;
    if (twoLines == twoLines_) return;
    twoLines_ = twoLines;
    for (QToolButton* button : buttons_) {
        QString label = button->toolTip();
        if (twoLines) {
            // Every label takes two lines so the pictures stay in one row.
            const qsizetype blank = label.indexOf(' ');
            if (blank >= 0)
                label[blank] = '\n';
            else
                label += '\n';
        }
        button->setText(label);
        button->setIconSize(twoLines ? QSize(32, 32) : QSize(40, 40));
    }
}

void CommandPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyLabels();
}

void CommandPanel::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) measureLabels();
}

QToolButton* CommandPanel::button(Command command) const {
    return buttons_[static_cast<std::size_t>(command)];
}

void CommandPanel::setEnabledCommands(const CommandSet& set) {
    for (int i = 0; i < kCommandCount; ++i) buttons_[static_cast<std::size_t>(i)]->setEnabled(set.test(static_cast<std::size_t>(i)));
}

void CommandPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (background_.isNull())
        painter.fillRect(rect(), palette().window());
    else
        painter.drawTiledPixmap(rect(), background_);
}

} // namespace qb::app

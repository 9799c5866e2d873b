#pragma once
// The command panel: eleven picture buttons across the top of the main window. Each button shows
// its enabled picture while enabled and its disabled picture while disabled; which buttons are
// enabled follows the tree's selection (EnabledCommands).
#include <QPixmap>
#include <QWidget>
#include <array>

#include "app/project_tree.h"

class QToolButton;

namespace qb::app {

struct CommandInfo {
    Command command;
    const char* label;       // the button's text
    const char* objectName;  // how tests and the code find the button
    const char* picture;     // base name of its pictures in :/quillbox/pictures/
};
const std::array<CommandInfo, kCommandCount>& Commands();

class CommandPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeight = 73;

    explicit CommandPanel(QWidget* parent = nullptr);

    QToolButton* button(Command command) const;
    void setEnabledCommands(const CommandSet& set);

signals:
    void commandClicked(qb::app::Command command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // One-line labels while they fit, two-line labels ("New" over "project") below that width.
    void measureLabels();
    void applyLabels();

    std::array<QToolButton*, kCommandCount> buttons_{};
    int oneLineWidth_ = 0;
    bool twoLines_ = false;
    QPixmap background_;
};

} // namespace qb::app

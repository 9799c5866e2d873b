#pragma once
// "Splash bitmap parameters" (type 13) and "Fonts bitmap parameters" (type 2): the settings of
// two picture-backed items. Both start the image editor of the preferences on their picture and
// have the main window's preview repainted when they close.
#include <string>

#include "toolkit/item_editor.h"

class QPlainTextEdit;

namespace qb::ui {

// The splash's description text: lines end in CR LF in the record, in \n in the text box.
QString SplashTextForEditing(const std::string& recordText);
// Back to record text, cut to maxBytes bytes.
std::string SplashTextForRecord(const QString& edited, std::size_t maxBytes);

class SplashEditorDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit SplashEditorDialog(QWidget* owner);
};

class FontEditorDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit FontEditorDialog(QWidget* owner);
};

} // namespace qb::ui

#pragma once
// "Sound parameters" (type 5): the item's own MP3 file or one of the engine's library sounds.
// "Import sound" replaces the item's MP3 file at once (Cancel keeps it); the record changes only
// on OK.
#include <string>

#include "toolkit/file_chooser.h"
#include "toolkit/item_editor.h"

namespace qb::ui {

class SoundPlayer;

class SoundEditorDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit SoundEditorDialog(QWidget* owner);

private:
    void importSound();
    void editSound();
    std::string recordPath();

    SoundPlayer* player_ = nullptr;
};

} // namespace qb::ui

#pragma once
// "Background map parameters": the name, tile size and dimensions of a background map (type 6),
// and "Edit map", which opens the map painter on the stored map.
//
// "Edit map" is available only while the three numbers are the stored ones: the painter works on
// the stored map, so new dimensions take effect at OK. OK with a new tile size asks first and
// then empties the map; new dimensions keep the cells in place counted from the bottom-left
// corner. A map of more than kMaxMapCells cells, or of a negative size, is refused before
// anything is written.
#include "toolkit/item_editor.h"

class QLineEdit;
class QPushButton;

namespace qb::ui {

class BackgroundMapDialog : public ItemEditorDialog {
public:
    explicit BackgroundMapDialog(QWidget* owner);

protected:
    void accept() override;
    bool validateAndFinish() override;

private:
    struct Numbers {
        std::int32_t tileSize, width, height;
    };
    Numbers typed() const;
    void updateEditMap();

    QLineEdit* tileSize_ = nullptr;
    QLineEdit* width_ = nullptr;
    QLineEdit* height_ = nullptr;
    QPushButton* editMap_ = nullptr;
    Numbers accepted_{};
};

} // namespace qb::ui

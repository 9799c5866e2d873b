#include "imaging/background_map_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "imaging/map_painter.h"
#include "imaging/map_tiles.h"
#include "model/layouts/map.h"
#include "model/workspace.h"
#include "platform/messages.h"
#include "platform/numbers.h"
#include "toolkit/editor_launcher.h"
#include "toolkit/item_types.h"
#include "toolkit/named_widgets.h"
#include "toolkit/qtext.h"

namespace qb::ui {

namespace {

namespace map = layout::map;

std::int32_t Read(const QLineEdit* edit) {
    return ParseSignedDecimal(ToRecordText(edit->text()), kNumberChars);
}

// The new record of width x height cells: the old cells keep their place counted from the
// bottom-left corner (old row H - 1 - i goes to new row newH - 1 - i), what does not fit is
// dropped, new cells are empty. Only cells the old record holds are read.
Bytes Resized(const Bytes& old, std::uint32_t width, std::uint32_t height, std::int32_t tileSize,
              bool keepCells) {
    Bytes made(static_cast<std::size_t>(map::SizeFor(width, height)), 0);
    RecordView r(made);
    r.setU32(map::kWidth, width);
    r.setU32(map::kHeight, height);
    r.setI32(map::kTileSize, tileSize);
    if (!keepCells) return made;
    MapCells before = ReadMapCells(old);
    const std::int64_t rows = std::min<std::int64_t>(before.height, height);
    const std::int64_t columns = std::min<std::int64_t>(before.width, width);
    MapCells after;
    after.width = width;
    after.height = height;
    after.cells.assign(static_cast<std::size_t>(std::uint64_t(width) * height), 0);
    for (std::int64_t i = 0; i < rows; ++i)
        for (std::int64_t x = 0; x < columns; ++x)
            after.set(x, height - 1 - i, before.at(x, before.height - 1 - i));
    WriteMapCells(after, made);
    return made;
}

} // namespace

BackgroundMapDialog::BackgroundMapDialog(QWidget* owner) : ItemEditorDialog(owner, "Background map parameters") {
    QFormLayout* form = addForm();
    addItemNameRow(form);
    tileSize_ = NumberEdit("pieceDimensionLineEdit");
    width_ = NumberEdit("horizontalPiecesLineEdit");
    height_ = NumberEdit("verticalPiecesLineEdit");
    auto* tileLabel = Label("pieceDimensionLabel", "Piece dimension in pixel:");
    auto* widthLabel = Label("horizontalPiecesLabel", "Number of horizontal pieces:");
    auto* heightLabel = Label("verticalPiecesLabel", "Number of vertical pieces:");
    form->addRow(tileLabel, tileSize_);
    form->addRow(widthLabel, width_);
    form->addRow(heightLabel, height_);
    editMap_ = Named<QPushButton>("editMapButton", QStringLiteral("Edit map"));
    form->addRow(editMap_);

    fields().custom(
        [this](RecordView& r) {
            tileSize_->setText(QString::number(r.i32(map::kTileSize)));
            width_->setText(QString::number(r.i32(map::kWidth)));
            height_->setText(QString::number(r.i32(map::kHeight)));
        },
        nullptr);
    for (QLineEdit* edit : {tileSize_, width_, height_})
        connect(edit, &QLineEdit::textChanged, this, [this] { updateEditMap(); });
    connect(editMap_, &QPushButton::clicked, this, [this] {
        EditBackgroundMap(this, fields().projectIndex(), fields().objectId());
    });
    loadFields();
    updateEditMap();
}

BackgroundMapDialog::Numbers BackgroundMapDialog::typed() const {
    return {Read(tileSize_), Read(width_), Read(height_)};
}

void BackgroundMapDialog::updateEditMap() {
    const ObjectRecord* o = fields().object();
    if (!o) {
        editMap_->setEnabled(false);
        return;
    }
    const ConstRecordView r = o->record();
    const Numbers n = typed();
    editMap_->setEnabled(n.tileSize == r.i32(map::kTileSize) && n.width == r.i32(map::kWidth) &&
                         n.height == r.i32(map::kHeight));
}

void BackgroundMapDialog::accept() {
    const ObjectRecord* o = fields().object();
    if (!o) return ItemEditorDialog::accept();
    const Numbers n = typed();
    // A map the project could not load again is refused before anything is written.
    if (n.width < 0 || n.height < 0) {
        ShowMessage("The numbers of horizontal and vertical pieces cannot be negative.");
        return;
    }
    const std::uint64_t cells = std::uint64_t(n.width) * std::uint64_t(n.height);
    if (cells > kMaxMapCells) {
        ShowMessage("A map of " + std::to_string(n.width) + " x " + std::to_string(n.height) +
                    " pieces is too large: a map holds at most " + std::to_string(kMaxMapCells) +
                    " pieces.");
        return;
    }
    if (n.tileSize != o->record().i32(map::kTileSize) &&
        !ConfirmOkCancel("Those values will initialize the map, continue?"))
        return;  // the dialog stays open and nothing changed
    accepted_ = n;
    ItemEditorDialog::accept();
}

bool BackgroundMapDialog::validateAndFinish() {
    ObjectRecord* o = fields().object();
    if (!o) return true;
    const ConstRecordView r(o->lpDatiOggetto);
    const Numbers stored{r.i32(map::kTileSize), r.i32(map::kWidth), r.i32(map::kHeight)};
    const Numbers& n = accepted_;
    if (n.tileSize != stored.tileSize)
        o->lpDatiOggetto = Resized(o->lpDatiOggetto, static_cast<std::uint32_t>(n.width),
                                   static_cast<std::uint32_t>(n.height), n.tileSize, false);
    else if (n.width != stored.width || n.height != stored.height)
        o->lpDatiOggetto = Resized(o->lpDatiOggetto, static_cast<std::uint32_t>(n.width),
                                   static_cast<std::uint32_t>(n.height), n.tileSize, true);
    return true;
}

namespace {
const EditorRegistration kMapEditor(kBackgroundMapType, RunEditor<BackgroundMapDialog>);
} // namespace

} // namespace qb::ui

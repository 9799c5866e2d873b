#include "app/preview_pane.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/start_page.h"
#include "toolkit/dialog_frame.h"

namespace qb::app {

PreviewPicture::PreviewPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("previewArea");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    ui::SetAccessibleView(this, QStringLiteral("Preview"), QAccessible::Graphic);
}

void PreviewPicture::setPicture(const QImage& image, QSize shown) {
    image_ = image;
    scaled_ = QImage();
    if (!image_.isNull() && shown != image_.size() && !shown.isEmpty())
        scaled_ = image_.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    resize(image_.isNull() ? QSize(0, 0) : shown);
    update();
}

void PreviewPicture::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), scaled_.isNull() ? image_ : scaled_);
}

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
    setObjectName("previewPane");
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    start_ = new StartPage(this);
    stack->addWidget(start_, 1);

    pictureBox_ = new QWidget(this);
    pictureBox_->setObjectName("pictureBox");
    auto* box = new QVBoxLayout(pictureBox_);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    scroll_ = new QScrollArea(pictureBox_);
    scroll_->setObjectName("previewScroll");
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(false);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The window's own background shows around the picture.
    scroll_->setAutoFillBackground(false);
    scroll_->viewport()->setAutoFillBackground(false);
    picture_ = new PreviewPicture;
    scroll_->setWidget(picture_);
    scroll_->viewport()->installEventFilter(this);
    box->addWidget(scroll_, 1);

    bar_ = new QWidget(pictureBox_);
    bar_->setObjectName("previewBar");
    auto* row = new QHBoxLayout(bar_);
    row->setContentsMargins(8, 3, 8, 3);
    fitToggle_ = new QCheckBox(QString::fromLatin1(kFitText), bar_);
    fitToggle_->setObjectName("fitToggle");
    fitToggle_->setToolTip(QStringLiteral("Scale a picture larger than this area down to fit it"));
    sizeLabel_ = new QLabel(bar_);
    sizeLabel_->setObjectName("previewSize");
    row->addWidget(fitToggle_);
    row->addSpacing(12);
    row->addWidget(sizeLabel_, 1);
    box->addWidget(bar_);
    stack->addWidget(pictureBox_, 1);

    connect(fitToggle_, &QCheckBox::toggled, this, [this] { placePicture(); });
    setMode(Mode::Nothing);
}

void PreviewPane::setMode(Mode mode) {
    mode_ = mode;
    start_->setVisible(mode == Mode::StartPage);
    pictureBox_->setVisible(mode == Mode::Picture);
}

void PreviewPane::setPicture(const QImage& image, const QString& fileName) {
    image_ = image;
    picture_->setAccessibleDescription(fileName);
    if (image_.isNull())
        sizeLabel_->setText(fileName.isEmpty() ? QString()
                                                : fileName + QStringLiteral(": cannot be shown"));
    else
        sizeLabel_->setText(QStringLiteral("%1: %2 x %3 pixels")
                                .arg(fileName)
                                .arg(image_.width())
                                .arg(image_.height()));
    placePicture();
}

bool PreviewPane::fit() const { return fitToggle_->isChecked(); }
void PreviewPane::setFit(bool fit) { fitToggle_->setChecked(fit); }

bool PreviewPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize && fit()) placePicture();
    return QWidget::eventFilter(watched, event);
}

void PreviewPane::placePicture() {
    const bool fitting = fit();
    const Qt::ScrollBarPolicy policy = fitting ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
    scroll_->setHorizontalScrollBarPolicy(policy);
    scroll_->setVerticalScrollBarPolicy(policy);
    QSize shown = image_.size();
    if (fitting && !image_.isNull()) {
        const QSize area = scroll_->viewport()->size();
        if (shown.width() > area.width() || shown.height() > area.height())
            shown = shown.scaled(area.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    }
    picture_->setPicture(image_, shown);
}

} // namespace qb::app

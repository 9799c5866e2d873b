#pragma once
// The part of the main window right of the tree: the start page while nothing is selected, the
// picture of the selected picture item, or nothing.
//
// The picture is shown 1:1 from the top-left corner; one larger than the pane gets scroll bars,
// and the "Fit" toggle under it scales it down to the pane instead (never up, keeping its
// proportions).
#include <QImage>
#include <QWidget>

class QCheckBox;
class QLabel;
class QScrollArea;

namespace qb::app {

class StartPage;

constexpr const char* kFitText = "Fit";

// The picture itself, at the size the pane gives it.
class PreviewPicture final : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPicture(QWidget* parent = nullptr);
    void setPicture(const QImage& image, QSize shown);
    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
    QImage scaled_;  // the picture at the shown size, when that differs from its own
};

class PreviewPane final : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Nothing, StartPage, Picture };

    explicit PreviewPane(QWidget* parent = nullptr);

    void setMode(Mode mode);
    Mode mode() const { return mode_; }
    // The picture to show (a null image shows nothing) and the name of its file.
    void setPicture(const QImage& image, const QString& fileName);
    bool fit() const;
    void setFit(bool fit);

    StartPage* startPage() const { return start_; }
    PreviewPicture* picture() const { return picture_; }
    QScrollArea* scrollArea() const { return scroll_; }
    QCheckBox* fitToggle() const { return fitToggle_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placePicture();

    Mode mode_ = Mode::Nothing;
    QImage image_;
    StartPage* start_;
    QWidget* pictureBox_;
    QScrollArea* scroll_;
    PreviewPicture* picture_;
    QWidget* bar_;
    QCheckBox* fitToggle_;
    QLabel* sizeLabel_;
};

} // namespace qb::app

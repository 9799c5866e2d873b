#include "app/splash.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "toolkit/dialog_frame.h"

namespace qb::app {

namespace {
SplashWindow* g_splash = nullptr;

QLabel* Line(QWidget* parent, const QString& text, const char* name) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor("#e9f0ff"));
    label->setPalette(palette);
    return label;
}
} // namespace

SplashWindow::SplashWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus) {
    setObjectName("splashWindow");
    setWindowTitle(QStringLiteral("Quillbox"));
    ui::SetAccessibleView(this, QStringLiteral("Quillbox"), QAccessible::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor("#16306a"));
    setPalette(palette);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 10);
    layout->setSpacing(8);
    auto* picture = new QLabel(this);
    picture->setObjectName("splashPicture");
    ui::SetAccessibleView(picture, QStringLiteral("Quillbox"), QAccessible::Graphic);
    picture->setPixmap(QPixmap(QStringLiteral(":/quillbox/pictures/splash.png")));
    layout->addWidget(picture);
    auto* lines = new QGridLayout;
    lines->setContentsMargins(18, 0, 18, 0);
    lines->setHorizontalSpacing(10);
    lines->addWidget(Line(this, "Version:", "versionLabel"), 0, 0);
    lines->addWidget(Line(this, kVersion, "versionValue"), 0, 1);
    lines->addWidget(Line(this, "Build:", "buildLabel"), 1, 0);
    lines->addWidget(Line(this, kBuild, "buildValue"), 1, 1);
    lines->setColumnStretch(1, 1);
    layout->addLayout(lines);
    g_splash = this;
}

SplashWindow::~SplashWindow() {
    if (g_splash == this) g_splash = nullptr;
}

SplashWindow* SplashWindow::Current() { return g_splash; }

SplashWindow* SplashWindow::ShowSplash(QWidget* owner, int milliseconds) {
    auto* splash = new SplashWindow(owner);
    splash->adjustSize();
    if (const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        splash->move(area.x() + area.width() / 2 - splash->width() / 2,
                     area.y() + area.height() / 2 - splash->height() / 2);
    }
    splash->show();
    QTimer::singleShot(milliseconds, splash, &QWidget::close);
    return splash;
}

} // namespace qb::app

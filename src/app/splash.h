#pragma once
// The splash window: a captionless window owned by the main window, centred on the screen,
// showing the splash picture with the "Version:" and "Build:" lines. It takes no input and
// closes itself after three seconds.
#include <QWidget>

namespace qb::app {

constexpr const char* kVersion = "0.7";
constexpr const char* kBuild = "02/11/2010";
constexpr int kSplashMilliseconds = 3000;

class SplashWindow final : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* owner);
    ~SplashWindow() override;

    // The splash being shown, or null.
    static SplashWindow* Current();
    // Creates, centres and shows the splash; it deletes itself when its time is up.
    static SplashWindow* ShowSplash(QWidget* owner, int milliseconds = kSplashMilliseconds);
};

} // namespace qb::app

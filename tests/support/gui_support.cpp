#include <gtest/gtest.h>

#include "support/gui_support.h"

#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>

namespace qbtest {

void WithModalDialog(const std::function<void()>& open, const std::function<void(QDialog*)>& act,
                     int timeoutMs) {
    bool acted = false;
    QElapsedTimer clock;
    clock.start();
    // Poll until the modal dialog is up, then act on it from inside its own event loop.
    std::function<void()> poll;
    poll = [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            acted = true;
            act(dialog);
            return;
        }
        if (clock.elapsed() > timeoutMs) return;
        QTimer::singleShot(10, poll);
    };
    QTimer::singleShot(0, poll);
    open();
    EXPECT_TRUE(acted) << "no modal dialog appeared";
}

bool SaveScreenshot(QWidget* widget, const std::string& path) {
    return widget->grab().save(QString::fromStdString(path), "PNG");
}

} // namespace qbtest

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

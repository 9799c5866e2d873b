#include <gtest/gtest.h>

#include "support/gui_support.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdlib>
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

bool SamePicture(const QImage& a, const QImage& b, int tolerance, std::string* why) {
    auto say = [&](std::string text) {
        if (why) *why = std::move(text);
        return false;
    };
    if (a.size() != b.size())
        return say("sizes differ: " + std::to_string(a.width()) + "x" + std::to_string(a.height()) +
                   " and " + std::to_string(b.width()) + "x" + std::to_string(b.height()));
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < pa.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(pa.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(pb.constScanLine(y));
        for (int x = 0; x < pa.width(); ++x) {
            const QRgb p = ra[x], q = rb[x];
            const int d = std::max({std::abs(qAlpha(p) - qAlpha(q)), std::abs(qRed(p) - qRed(q)),
                                    std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            if (d > tolerance)
                return say("pixel " + std::to_string(x) + "," + std::to_string(y) + " differs by " +
                           std::to_string(d));
        }
    }
    return true;
}

} // namespace qbtest

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

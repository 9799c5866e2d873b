#pragma once
// GUI test support: the QApplication (offscreen), driving modal dialogs, finding controls by
// object name, and saving screenshots.
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace qbtest {

// Runs open() (which shows a modal dialog with exec()) and, once the dialog is up, act(dialog).
// act must close the dialog (accept/reject or a button click). Fails the test if no modal
// dialog appeared within timeoutMs.
void WithModalDialog(const std::function<void()>& open, const std::function<void(QDialog*)>& act,
                     int timeoutMs = 5000);

// The child of that object name and type; fails the test when there is none.
template <class T> T* Child(QWidget* parent, const QString& name) {
    T* child = parent->findChild<T*>(name);
    if (!child) ADD_FAILURE_AT(__FILE__, __LINE__) << "no child named " << name.toStdString();
    return child;
}

// Saves a picture of the widget to path (PNG) and answers whether it worked.
bool SaveScreenshot(QWidget* widget, const std::string& path);

// Whether two pictures show the same thing: the same size and, pixel by pixel, premultiplied
// channels within tolerance of each other. Conversions between pixel formats round differently
// on different processors (SIMD paths), so pictures that went through one are never compared
// byte for byte. On a mismatch *why says where.
bool SamePicture(const QImage& a, const QImage& b, int tolerance = 2, std::string* why = nullptr);

} // namespace qbtest

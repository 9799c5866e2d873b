// "Splash bitmap parameters" and "Fonts bitmap parameters": every field through OK, Cancel, the
// multi-line description, the cuts, the sound pair and "Edit bitmap".
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

#include "editors/common/splash_font_editors.h"
#include "model/layouts/bitmaps.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace S = qb::layout::splash_bitmap;
namespace F = qb::layout::font_bitmap;

namespace {

struct SplashFixture : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Splashes", 0);
    std::int32_t splash = NewItemOfType(project, 13);
    qb::RecordView record() { return Object(project, splash).record(); }
};

TEST_F(SplashFixture, ANewSplashOpensWithItsDefaults) {
    ASSERT_NE(splash, 0);
    Edit(project, splash, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Splash bitmap parameters");
        EXPECT_EQ(Child<QPlainTextEdit>(d, "descriptionPlainTextEdit")->toPlainText(),
                  "insert text here!");
        EXPECT_EQ(Child<QLineEdit>(d, "speedLineEdit")->text(), "2");
        EXPECT_FALSE(Child<QCheckBox>(d, "enableSoundCheckBox")->isChecked());
        EXPECT_FALSE(Child<QComboBox>(d, "startingSoundComboBox")->isEnabled());
        EXPECT_FALSE(Child<QCheckBox>(d, "activateCheckBox")->isChecked());
        EXPECT_EQ(Child<QLineEdit>(d, "linkLineEdit")->text(), "");
        EXPECT_EQ(Child<QLineEdit>(d, "flashingTextLineEdit")->text(), "");
        EXPECT_EQ(Child<QLineEdit>(d, "pathFileLineEdit")->text().toStdString(),
                  record().text(S::kPath, 260));
        EXPECT_EQ(Child<QLineEdit>(d, "itemNameLineEdit")->text(), "Splash");
        Press(d, QDialogButtonBox::Cancel);
    });
}

TEST_F(SplashFixture, EveryFieldIsStoredOnOk) {
    const std::int32_t first = NewItemOfType(project, 5);
    const std::int32_t second = NewItemOfType(project, 5);
    ASSERT_NE(second, 0);
    int refreshed = 0, repainted = 0;
    qb::ui::SetTreeRefresher([&](std::int32_t id, int) { refreshed += id == splash; });
    qb::ui::SetPreviewRepainter([&] { ++repainted; });
    Edit(project, splash, [&](QDialog* d) {
        auto* text = Child<QPlainTextEdit>(d, "descriptionPlainTextEdit");
        text->clear();
        QTest::keyClicks(text, "Line one");
        QTest::keyClick(text, Qt::Key_Return);
        QTest::keyClicks(text, "Line two");
        Child<QLineEdit>(d, "flashingTextLineEdit")->setText("Press fire");
        Child<QLineEdit>(d, "speedLineEdit")->setText("  -5x");
        auto* enable = Child<QCheckBox>(d, "enableSoundCheckBox");
        enable->click();
        auto* combo = Child<QComboBox>(d, "startingSoundComboBox");
        EXPECT_TRUE(combo->isEnabled());
        EXPECT_EQ(combo->count(), 2);
        combo->setCurrentIndex(1);
        Child<QCheckBox>(d, "activateCheckBox")->click();
        Child<QLineEdit>(d, "linkXiLineEdit")->setText("10");
        Child<QLineEdit>(d, "linkYiLineEdit")->setText("+20");
        Child<QLineEdit>(d, "linkXfLineEdit")->setText("abc");
        Child<QLineEdit>(d, "linkYfLineEdit")->setText("-40");
        Child<QLineEdit>(d, "linkLineEdit")->setText("http://example.org/");
        Child<QLineEdit>(d, "itemNameLineEdit")->setText("Title screen");
        Press(d, QDialogButtonBox::Ok);
    });
    qb::ui::SetTreeRefresher({});
    qb::ui::SetPreviewRepainter({});
    (void)first;
    qb::RecordView r = record();
    EXPECT_EQ(r.text(S::kText, S::kTextSize), "Line one\r\nLine two");
    EXPECT_EQ(r.text(S::kFlashingText, S::kFlashingTextSize), "Press fire");
    EXPECT_EQ(r.i32(S::kScrollSpeed), -5);
    EXPECT_EQ(r.u32(S::kSound), 1u);
    EXPECT_EQ(r.u32(S::kSound + 4), static_cast<std::uint32_t>(second));
    EXPECT_EQ(r.u32(S::kLinkActive), 1u);
    EXPECT_EQ(r.i32(S::kLinkXi), 10);
    EXPECT_EQ(r.i32(S::kLinkYi), 20);
    EXPECT_EQ(r.i32(S::kLinkXf), 0);
    EXPECT_EQ(r.i32(S::kLinkYf), -40);
    EXPECT_EQ(r.text(S::kLink, S::kLinkSize), "http://example.org/");
    EXPECT_EQ(Object(project, splash).sDescrizione, "Title screen");
    EXPECT_EQ(refreshed, 1);
    EXPECT_EQ(repainted, 1);
    // The rest of the description field is zero.
    for (std::size_t i = S::kText + 18; i < S::kText + S::kTextSize; ++i) ASSERT_EQ(r.u8(i), 0);
}

TEST_F(SplashFixture, RecordLineBreaksShowAsLinesAndComeBackAsCrLf) {
    record().setText(S::kText, S::kTextSize, "a\r\nb\rc\nd");
    Edit(project, splash, [&](QDialog* d) {
        EXPECT_EQ(Child<QPlainTextEdit>(d, "descriptionPlainTextEdit")->toPlainText(),
                  "a\nb\nc\nd");
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().text(S::kText, S::kTextSize), "a\r\nb\r\nc\r\nd");
}

TEST_F(SplashFixture, LongTextsAreCutToTheirFields) {
    Edit(project, splash, [&](QDialog* d) {
        Child<QPlainTextEdit>(d, "descriptionPlainTextEdit")
            ->setPlainText(QString(2500, QLatin1Char('x')));
        Child<QLineEdit>(d, "flashingTextLineEdit")->setText(QString(300, QLatin1Char('f')));
        Child<QLineEdit>(d, "linkLineEdit")->setText(QString(400, QLatin1Char('l')));
        Child<QLineEdit>(d, "itemNameLineEdit")->setText(QString(300, QLatin1Char('n')));
        Press(d, QDialogButtonBox::Ok);
    });
    qb::RecordView r = record();
    EXPECT_EQ(r.text(S::kText, S::kTextSize), std::string(1999, 'x'));
    EXPECT_EQ(r.text(S::kFlashingText, S::kFlashingTextSize), std::string(255, 'f'));
    EXPECT_EQ(r.text(S::kLink, S::kLinkSize), std::string(259, 'l'));
    EXPECT_EQ(Object(project, splash).sDescrizione, std::string(254, 'n'));
    EXPECT_EQ(r.i32(S::kScrollSpeed), 2);  // the field behind the text is untouched

    // Line breaks count as two characters each in the cut.
    Edit(project, splash, [&](QDialog* d) {
        Child<QPlainTextEdit>(d, "descriptionPlainTextEdit")
            ->setPlainText(QString(1000, QLatin1Char('y')) + "\n" + QString(1000, QLatin1Char('z')));
        Press(d, QDialogButtonBox::Ok);
    });
    const std::string stored = record().text(S::kText, S::kTextSize);
    EXPECT_EQ(stored.size(), 1999u);
    EXPECT_EQ(stored.substr(1000, 2), "\r\n");
}

TEST_F(SplashFixture, CancelStoresNothingAndADisabledSoundKeepsItsId) {
    const std::int32_t audio = NewItemOfType(project, 5);
    record().setU32(S::kSound, 0);
    record().setU32(S::kSound + 4, static_cast<std::uint32_t>(audio));
    const qb::Bytes before = Object(project, splash).lpDatiOggetto;
    qb::SetPreference("editImagesApp", "/opt/paint");
    Edit(project, splash, [&](QDialog* d) {
        auto* combo = Child<QComboBox>(d, "startingSoundComboBox");
        EXPECT_FALSE(combo->isEnabled());
        EXPECT_EQ(combo->currentIndex(), 0);
        Child<QPushButton>(d, "editBitmapPushButton")->click();
        Child<QLineEdit>(d, "speedLineEdit")->setText("9");
        Child<QCheckBox>(d, "activateCheckBox")->click();
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Object(project, splash).lpDatiOggetto, before);
    ASSERT_EQ(app.desktop.started.size(), 1u);
    EXPECT_EQ(app.desktop.started[0],
              (std::vector<std::string>{"/opt/paint", record().text(S::kPath, 260)}));

    Edit(project, splash, [&](QDialog* d) { Press(d, QDialogButtonBox::Ok); });
    EXPECT_EQ(Object(project, splash).lpDatiOggetto, before);
}

TEST_F(SplashFixture, SoundIdsKeepAllThirtyTwoBits) {
    qb::ProjectRecord& p = *qb::ProjectAt(project);
    qb::Bytes data(272, 0);
    const std::int32_t big = qb::AddObject(p, 5, 0, data, "Far sound", 0x12345);
    Edit(project, splash, [&](QDialog* d) {
        Child<QCheckBox>(d, "enableSoundCheckBox")->click();
        Child<QComboBox>(d, "startingSoundComboBox")->setCurrentIndex(0);
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(S::kSound + 4), static_cast<std::uint32_t>(big));
    Edit(project, splash, [&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "startingSoundComboBox")->currentText(), "Far sound");
        Press(d, QDialogButtonBox::Cancel);
    });
}

TEST_F(SplashFixture, NumberFieldsRefuseLettersAsTypedAndShowStoredValuesAsTheyAre) {
    record().setI32(S::kScrollSpeed, INT32_MIN);
    record().setI32(S::kLinkXi, -5);
    Edit(project, splash, [&](QDialog* d) {
        auto* speed = Child<QLineEdit>(d, "speedLineEdit");
        EXPECT_EQ(speed->text(), "-2147483648");
        auto* xf = Child<QLineEdit>(d, "linkXfLineEdit");
        xf->clear();
        // Letters, a second sign and digits after a blank are refused key by key.
        QTest::keyClicks(xf, " +1a2-b 3 ");
        EXPECT_EQ(xf->text(), " +12  ");
        auto* yf = Child<QLineEdit>(d, "linkYfLineEdit");
        yf->clear();
        QTest::keyClicks(yf, "x-y4");
        yf->insert(QString(QChar(0x0662)));  // not even a digit of another script
        QTest::keyClicks(yf, "7");
        EXPECT_EQ(yf->text(), "-47");
        // A pasted text that is not a number is refused whole.
        auto* yi = Child<QLineEdit>(d, "linkYiLineEdit");
        yi->setText("3");
        yi->selectAll();
        yi->insert("twelve");
        EXPECT_EQ(yi->text(), "3");
        // Text fields take letters.
        auto* flashing = Child<QLineEdit>(d, "flashingTextLineEdit");
        EXPECT_EQ(flashing->validator(), nullptr);
        QTest::keyClicks(flashing, "Go!");
        EXPECT_EQ(flashing->text(), "Go!");
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().i32(S::kScrollSpeed), INT32_MIN);
    EXPECT_EQ(record().i32(S::kLinkXi), -5);
    EXPECT_EQ(record().i32(S::kLinkXf), 12);
    EXPECT_EQ(record().i32(S::kLinkYf), -47);
    EXPECT_EQ(record().i32(S::kLinkYi), 3);
}

struct FontFixture : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Fonts", 6);
    std::int32_t font = NewItemOfType(project, 2);
    qb::RecordView record() { return Object(project, font).record(); }
};

TEST_F(FontFixture, InterletterIsEditedAndTheFontSizeKept) {
    ASSERT_NE(font, 0);
    Edit(project, font, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Fonts bitmap parameters");
        EXPECT_EQ(Child<QLineEdit>(d, "interletterLineEdit")->text(), "0");
        EXPECT_EQ(Child<QLineEdit>(d, "itemNameLineEdit")->text(), "Font");
        Press(d, QDialogButtonBox::Cancel);
    });
    for (const char* typed : {"3", "-2", "x"}) {
        Edit(project, font, [&](QDialog* d) {
            Child<QLineEdit>(d, "interletterLineEdit")->setText(typed);
            Press(d, QDialogButtonBox::Ok);
        });
        EXPECT_EQ(record().i32(F::kFontSize), 16);
    }
    EXPECT_EQ(record().i32(F::kInterletter), 0);

    Edit(project, font, [&](QDialog* d) {
        Child<QLineEdit>(d, "interletterLineEdit")->setText("7");
        Child<QLineEdit>(d, "itemNameLineEdit")->setText("Big letters");
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().i32(F::kInterletter), 7);
    EXPECT_EQ(Object(project, font).sDescrizione, "Big letters");
    const qb::Bytes before = Object(project, font).lpDatiOggetto;
    Edit(project, font, [&](QDialog* d) {
        Child<QLineEdit>(d, "interletterLineEdit")->setText("99");
        Child<QPushButton>(d, "editBitmapPushButton")->click();
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Object(project, font).lpDatiOggetto, before);
    EXPECT_EQ(app.desktop.started.size(), 1u);
}

TEST(SplashText, ConversionsBetweenRecordAndEditor) {
    EXPECT_EQ(qb::ui::SplashTextForEditing("one\r\ntwo\r\n"), "one\ntwo\n");
    EXPECT_EQ(qb::ui::SplashTextForRecord("one\ntwo", 100), "one\r\ntwo");
    EXPECT_EQ(qb::ui::SplashTextForRecord("ab\ncd", 3), "ab\r");
    EXPECT_EQ(qb::ui::SplashTextForRecord("", 10), "");
}

} // namespace

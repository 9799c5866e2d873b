// "Edit vectorial animation" driven headless: drawing on the area, taking vectors back and
// bringing them back, "Towards the player", what OK writes, and damaged records.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "imaging/vectorial_animation_editor.h"
#include "model/catalogue.h"
#include "model/layouts/vectorial.h"
#include "support/editor_fixture.h"

using namespace qbtest;
namespace V = qb::layout::vectorial;

namespace {

struct Vec {
    std::uint32_t speed, point;
    bool operator==(const Vec&) const = default;
};

void Send(QWidget* w, QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(p), QPointF(w->mapToGlobal(p)), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}
QWidget* Area(QDialog* d) { return Child<QWidget>(d, "pathArea"); }
void ClickAt(QDialog* d, int x, int y) {
    Send(Area(d), QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::NoButton);
    Send(Area(d), QEvent::MouseButtonPress, {x, y}, Qt::LeftButton, Qt::LeftButton);
    Send(Area(d), QEvent::MouseButtonRelease, {x, y}, Qt::LeftButton, Qt::NoButton);
}
QLineEdit* EditBox(QDialog* d, const char* name) { return Child<QLineEdit>(d, name); }
void ClickButton(QDialog* d, const char* name) { Child<QAbstractButton>(d, name)->click(); }

struct VectorialTest : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Paths", qb::game::ShootEmUp);
    std::int32_t path = NewItemOfType(project, 11);

    qb::Bytes& bytes() { return Object(project, path).lpDatiOggetto; }
    std::vector<Vec> vectors(const qb::Bytes& b) {
        qb::Bytes copy = b;
        qb::RecordView r(copy);
        std::vector<Vec> out;
        for (std::uint32_t i = 0; i < r.u32(V::kVectorCount); ++i)
            out.push_back({r.u32(V::VectorOffset(i)), r.u32(V::VectorOffset(i) + 4)});
        return out;
    }
    // A stored record of that type, scale, claimed count and the given vectors.
    void store(std::uint32_t type, std::uint32_t claimed, const std::vector<Vec>& vs,
               std::size_t size = 0) {
        qb::Bytes b(size ? size : V::SizeFor(vs.size()), 0);
        qb::RecordView r(b);
        r.setU32(V::kType, type);
        r.setI32(V::kScale, 90);
        r.setU32(V::kVectorCount, claimed);
        for (std::size_t i = 0; i < vs.size(); ++i) {
            r.setU32(V::VectorOffset(i), vs[i].speed);
            r.setU32(V::VectorOffset(i) + 4, vs[i].point);
        }
        bytes() = b;
    }
};

constexpr std::uint32_t P(std::uint32_t x, std::uint32_t y) { return x * 65536 + y; }

} // namespace

TEST_F(VectorialTest, ANewPathOpensEmptyAndOkSavesTheSixteenByteRecord) {
    ASSERT_NE(path, 0);
    Edit(project, path, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Edit vectorial animation");
        EXPECT_TRUE(Child<QRadioButton>(d, "fromTopRadioButton")->isChecked());
        EXPECT_EQ(EditBox(d, "scaleLineEdit")->text(), "150");
        EXPECT_EQ(EditBox(d, "nextSpeedLineEdit")->text(), "1");
        EXPECT_EQ(EditBox(d, "actualSpeedLineEdit")->text(), "");
        EXPECT_FALSE(EditBox(d, "actualSpeedLineEdit")->isEnabled());
        EXPECT_EQ(Child<QLabel>(d, "scaleLabel")->buddy(), EditBox(d, "scaleLineEdit"));
        EXPECT_FALSE(Area(d)->accessibleName().isEmpty());
        Ok(d);
    });
    const qb::Bytes expected{0, 0, 0, 0, 150, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes(), expected);
    EXPECT_EQ(SavedRecord(project, path), expected);
}

TEST_F(VectorialTest, ClicksTakenBackAreReplacedByNewOnesAndTheRestComeBackAfterThem) {
    Edit(project, path, [&](QDialog* d) {
        ClickButton(d, "fromLeftRadioButton");
        ClickAt(d, 10, 20);
        EditBox(d, "nextSpeedLineEdit")->setText("3");
        ClickAt(d, 30, 40);
        ClickAt(d, 50, 60);
        EXPECT_EQ(EditBox(d, "actualSpeedLineEdit")->text(), "3");
        ClickButton(d, "previousVectorButton");
        ClickButton(d, "previousVectorButton");
        EXPECT_EQ(EditBox(d, "actualSpeedLineEdit")->text(), "1");  // the first vector's
        EditBox(d, "nextSpeedLineEdit")->setText("7");
        ClickAt(d, 100, 250);
        // "->" brings back the third vector drawn first, after the new one; "<-" drops it again.
        ClickButton(d, "nextVectorButton");
        EXPECT_EQ(EditBox(d, "actualSpeedLineEdit")->text(), "3");
        ClickButton(d, "nextVectorButton");  // nothing more kept
        ClickButton(d, "previousVectorButton");
        // Editing "Actual vector speed" changes the last vector in use; speeds keep 16 bits.
        EditBox(d, "actualSpeedLineEdit")->setText("70000");
        EditBox(d, "scaleLineEdit")->setText("  -20x");
        Ok(d);
    });
    const qb::Bytes saved = SavedRecord(project, path);
    ASSERT_EQ(saved.size(), 32u);
    qb::Bytes copy = saved;
    qb::RecordView r(copy);
    EXPECT_EQ(r.u32(V::kType), V::kFromLeft);
    EXPECT_EQ(r.i32(V::kScale), -20);
    EXPECT_EQ(vectors(saved), (std::vector<Vec>{{1, P(10, 20)}, {70000 - 65536, 6553850}}));
    EXPECT_EQ(r.u32(28), 0u);  // the closing zero word
}

TEST_F(VectorialTest, TheAreaDrawsTheScreenThePathAndTheLineToThePointer) {
    store(V::kFromTop, 1, {{1, P(160, 100)}});
    Edit(project, path, [&](QDialog* d) {
        QWidget* area = Area(d);
        EXPECT_GT(area->width(), 320);  // room to end a path off the screen
        QImage shot = area->grab().toImage();
        const QRgb white = qRgb(255, 255, 255);
        EXPECT_EQ(shot.pixel(0, 200), qRgb(0, 0, 0));      // border
        EXPECT_EQ(shot.pixel(319, 200), qRgb(0, 0, 0));
        EXPECT_EQ(shot.pixel(40, 40), white);
        EXPECT_NE(shot.pixel(155, 3), white);              // the start square at (160, 0)
        EXPECT_NE(shot.pixel(160, 50), white);             // the leg down to (160, 100)
        EXPECT_NE(shot.pixel(155, 100), white);            // the square at its end
        EXPECT_EQ(shot.pixel(200, 150), white);
        // While the pointer moves over the area a line runs from the last point to it.
        Send(area, QEvent::MouseMove, {240, 200}, Qt::NoButton, Qt::NoButton);
        shot = area->grab().toImage();
        EXPECT_NE(shot.pixel(200, 150), white);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(area, &leave);
        EXPECT_EQ(area->grab().toImage().pixel(200, 150), white);
        // A click outside the screen's 320 x 320 still appends its point as it is.
        ClickAt(d, 330, 335);
        Ok(d);
    });
    EXPECT_EQ(vectors(bytes()), (std::vector<Vec>{{1, P(160, 100)}, {1, P(330, 335)}}));
}

TEST_F(VectorialTest, TowardsThePlayerMakesOneVectorOnAnEmptyPathAndCutsALongOneToItsFirst) {
    Edit(project, path, [&](QDialog* d) {
        EditBox(d, "nextSpeedLineEdit")->setText("9");
        ClickButton(d, "towardsPlayerRadioButton");
        EXPECT_EQ(EditBox(d, "actualSpeedLineEdit")->text(), "9");
        EXPECT_TRUE(EditBox(d, "actualSpeedLineEdit")->isEnabled());
        for (const char* name : {"scaleLineEdit", "nextSpeedLineEdit", "previousVectorButton",
                                 "nextVectorButton"})
            EXPECT_FALSE(Child<QWidget>(d, name)->isEnabled()) << name;
        ClickAt(d, 50, 50);  // clicks add nothing to this type
        Ok(d);
    });
    EXPECT_EQ(bytes().size(), 24u);
    EXPECT_EQ(qb::RecordView(bytes()).u32(V::kType), V::kTowardsPlayer);
    EXPECT_EQ(vectors(bytes()), (std::vector<Vec>{{9, P(160, 160)}}));

    store(V::kFromTop, 5, {{11, P(1, 2)}, {12, P(3, 4)}, {13, P(5, 6)}, {14, P(7, 8)}, {15, P(9, 9)}});
    Edit(project, path, [&](QDialog* d) {
        ClickButton(d, "towardsPlayerRadioButton");
        EXPECT_EQ(EditBox(d, "actualSpeedLineEdit")->text(), "11");
        // Back to a free type: the four others come back with "->".
        ClickButton(d, "fromBottomRadioButton");
        EXPECT_TRUE(Child<QWidget>(d, "nextVectorButton")->isEnabled());
        ClickButton(d, "towardsPlayerRadioButton");
        Ok(d);
    });
    EXPECT_EQ(vectors(SavedRecord(project, path)), (std::vector<Vec>{{11, P(1, 2)}}));

    // A stored "Towards the player" opens with every control enabled.
    Edit(project, path, [&](QDialog* d) {
        EXPECT_TRUE(Child<QRadioButton>(d, "towardsPlayerRadioButton")->isChecked());
        for (const char* name : {"scaleLineEdit", "nextSpeedLineEdit", "previousVectorButton",
                                 "nextVectorButton"})
            EXPECT_TRUE(Child<QWidget>(d, name)->isEnabled()) << name;
        Cancel(d);
    });
}

TEST_F(VectorialTest, DamagedRecordsShowWhatTheyHoldAndCancelKeepsThem) {
    // A count claiming 1000 vectors in a record of two.
    store(V::kSecondAnimation, 1000, {{5, P(1, 1)}, {6, P(2, 2)}});
    Edit(project, path, [&](QDialog* d) {
        EXPECT_EQ(EditBox(d, "actualSpeedLineEdit")->text(), "6");
        ClickButton(d, "nextVectorButton");
        Ok(d);
    });
    EXPECT_EQ(bytes().size(), 32u);
    EXPECT_EQ(qb::RecordView(bytes()).u32(V::kVectorCount), 2u);

    // A negative count over one vector without its closing word.
    store(V::kFromTop, 0xFFFFFFFFu, {{4, P(9, 9)}}, 20);
    Edit(project, path, [&](QDialog* d) { Ok(d); });
    EXPECT_EQ(vectors(bytes()), (std::vector<Vec>{{4, P(9, 9)}}));

    // A type no button has is kept; a record too short for its header reads as empty.
    store(9, 0, {}, 6);
    const qb::Bytes before = bytes();
    Edit(project, path, [&](QDialog* d) {
        for (const char* name : {"fromTopRadioButton", "fromLeftRadioButton", "fromBottomRadioButton",
                                 "towardsPlayerRadioButton", "secondAnimationRadioButton"})
            EXPECT_FALSE(Child<QRadioButton>(d, name)->isChecked()) << name;
        ClickAt(d, 5, 5);
        Cancel(d);
    });
    EXPECT_EQ(bytes(), before);
    Edit(project, path, [&](QDialog* d) { Ok(d); });
    EXPECT_EQ(bytes().size(), 16u);
    EXPECT_EQ(qb::RecordView(bytes()).u32(V::kType), 9u);
}

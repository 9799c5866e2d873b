// "MochiAds parameters" and "Multiplayer data": flags and codes, the hidden controls that carry
// their fields through, the records ID and its format.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>

#include "editors/common/ads_multiplayer.h"
#include "model/layouts/ads_multiplayer.h"
#include "support/editor_fixture.h"

namespace fs = std::filesystem;
using namespace qbtest;
namespace A = qb::layout::ads;
namespace M = qb::layout::server;

namespace {

qb::ui::UtcTime At(unsigned h, unsigned m, unsigned s, unsigned ms, unsigned d, unsigned mo,
                   unsigned y) {
    qb::ui::UtcTime t;
    t.hour = h, t.minute = m, t.second = s, t.millisecond = ms, t.day = d, t.month = mo, t.year = y;
    return t;
}

TEST(RecordsId, FormatIsUnpaddedHourMinuteSecondMillisecondThenDayMonthYear) {
    EXPECT_EQ(qb::ui::FormatRecordsId(At(9, 5, 7, 42, 6, 12, 2026)), "9:5:7:42_6-12-2026");
    EXPECT_EQ(qb::ui::FormatRecordsId(At(23, 59, 59, 999, 31, 1, 2000)), "23:59:59:999_31-1-2000");
    EXPECT_EQ(qb::ui::FormatRecordsId(At(0, 0, 0, 0, 1, 1, 1970)), "0:0:0:0_1-1-1970");
    // Within one millisecond the ID is the same.
    EXPECT_EQ(qb::ui::FormatRecordsId(At(1, 2, 3, 4, 5, 6, 2024)),
              qb::ui::FormatRecordsId(At(1, 2, 3, 4, 5, 6, 2024)));
}

TEST(RecordsId, TheSystemClockIsReadInUtc) {
    const std::time_t before = std::time(nullptr);
    const qb::ui::UtcTime now = qb::ui::CurrentUtcTime();
    const std::time_t after = std::time(nullptr);
    std::tm lo{}, hi{};
    gmtime_r(&before, &lo);
    gmtime_r(&after, &hi);
    EXPECT_GE(now.year, static_cast<unsigned>(lo.tm_year + 1900));
    EXPECT_LE(now.year, static_cast<unsigned>(hi.tm_year + 1900));
    if (lo.tm_hour == hi.tm_hour) {
        EXPECT_EQ(now.hour, static_cast<unsigned>(lo.tm_hour));
    }
    EXPECT_LT(now.millisecond, 1000u);
    EXPECT_GE(now.month, 1u);
    EXPECT_LE(now.month, 12u);
    const QRegularExpression shape(
        "^([0-9]|1[0-9]|2[0-3]):[0-9]{1,2}:[0-9]{1,2}:[0-9]{1,3}_[0-9]{1,2}-[0-9]{1,2}-[0-9]{4}$");
    EXPECT_TRUE(shape.match(QString::fromStdString(qb::ui::FormatRecordsId(now))).hasMatch());
}

struct AdsFixture : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Adverts", 6);
    std::int32_t ads = NewItemOfType(project, 120);
    qb::RecordView record() { return Object(project, ads).record(); }
};

TEST_F(AdsFixture, OkWithoutChangesStoresBothNetworksOffAndNoCodes) {
    ASSERT_NE(ads, 0);
    Edit(project, ads, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "MochiAds parameters");
        EXPECT_EQ(Child<QLineEdit>(d, "itemNameLineEdit")->text(), "Ads");
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(Object(project, ads).lpDatiOggetto, qb::Bytes(A::kSize, 0));
    EXPECT_EQ(Object(project, ads).sDescrizione, "Ads");
}

TEST_F(AdsFixture, FlagsAndCodesAreIndependentAndCut) {
    Edit(project, ads, [&](QDialog* d) {
        auto* mochi = Child<QCheckBox>(d, "enableMochiAdsCheckBox");
        auto* mochiCode = Child<QLineEdit>(d, "mochiAdsGameCodeLineEdit");
        mochi->click();
        EXPECT_TRUE(mochiCode->isEnabled());
        mochiCode->setText(QString(300, QLatin1Char('m')));
        Child<QLineEdit>(d, "youyouwinAdsGameCodeLineEdit")->setText("yy-42");
        Press(d, QDialogButtonBox::Ok);
    });
    qb::RecordView r = record();
    EXPECT_EQ(r.u32(A::kMochiEnabled), 1u);
    EXPECT_EQ(r.text(A::kMochiCode, A::kCodeSize), std::string(259, 'm'));
    EXPECT_EQ(r.u32(A::kYouyouwinEnabled), 0u);  // a code without its switch stays off
    EXPECT_EQ(r.text(A::kYouyouwinCode, A::kCodeSize), "yy-42");

    const qb::Bytes before = Object(project, ads).lpDatiOggetto;
    Edit(project, ads, [&](QDialog* d) {
        EXPECT_TRUE(Child<QCheckBox>(d, "enableMochiAdsCheckBox")->isChecked());
        Child<QCheckBox>(d, "enableMochiAdsCheckBox")->click();
        Child<QCheckBox>(d, "enableYouyouwinAdsCheckBox")->click();
        Child<QLineEdit>(d, "youyouwinAdsGameCodeLineEdit")->clear();
        Child<QLineEdit>(d, "itemNameLineEdit")->setText("Other");
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Object(project, ads).lpDatiOggetto, before);
    EXPECT_EQ(Object(project, ads).sDescrizione, "Ads");

    Edit(project, ads, [&](QDialog* d) {
        Child<QCheckBox>(d, "enableYouyouwinAdsCheckBox")->click();
        Child<QLineEdit>(d, "youyouwinAdsGameCodeLineEdit")->clear();
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(A::kYouyouwinEnabled), 1u);
    EXPECT_EQ(record().text(A::kYouyouwinCode, A::kCodeSize), "");
}

struct ServerFixture : ::testing::Test {
    TempAppFolder app;
    int project = NewProject("Online", 6);
    std::int32_t server = NewItemOfType(project, 121);
    qb::ui::UtcTime clock = At(9, 5, 7, 42, 6, 12, 2026);
    ServerFixture() {
        qb::ui::SetUtcClock([this] { return clock; });
    }
    ~ServerFixture() override { qb::ui::SetUtcClock({}); }
    qb::RecordView record() { return Object(project, server).record(); }
};

TEST_F(ServerFixture, OnlyTheRecordsControlsAreShown) {
    ASSERT_NE(server, 0);
    Edit(project, server, [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), "Multiplayer data");
        for (const char* hidden :
             {"attivaMultiplayerCheckBox", "multiplayerAspLabel", "multiplayerAspLineEdit",
              "descrizioneAvversariGroupBox", "defaultFontComboBox", "offsetXLineEdit",
              "offsetYLineEdit", "recordsAspLabel", "recordsAspLineEdit", "genericManageCheckBox"})
            EXPECT_FALSE(Child<QWidget>(d, hidden)->isVisibleTo(d)) << hidden;
        for (const char* shown : {"itemNameLineEdit", "activateRecordsCheckBox",
                                  "idRecordsOnServerLabel", "idRecordsOnServerLineEdit",
                                  "generateNewIdPushButton"})
            EXPECT_TRUE(Child<QWidget>(d, shown)->isVisibleTo(d)) << shown;
        EXPECT_FALSE(Child<QLineEdit>(d, "idRecordsOnServerLineEdit")->isEnabled());
        EXPECT_FALSE(Child<QCheckBox>(d, "activateRecordsCheckBox")->isChecked());
        EXPECT_EQ(Child<QLineEdit>(d, "idRecordsOnServerLineEdit")->text(), "");
        EXPECT_TRUE(Child<QCheckBox>(d, "genericManageCheckBox")->isChecked());
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(M::kGenericManage), 1u);
    EXPECT_EQ(record().u32(M::kRecordsActive), 0u);
}

TEST_F(ServerFixture, ActivateRecordsFillsAnEmptyIdOnceAndGenerateAlwaysReplacesIt) {
    Edit(project, server, [&](QDialog* d) {
        auto* activate = Child<QCheckBox>(d, "activateRecordsCheckBox");
        auto* id = Child<QLineEdit>(d, "idRecordsOnServerLineEdit");
        activate->click();
        EXPECT_EQ(id->text(), "9:5:7:42_6-12-2026");
        clock = At(10, 0, 0, 1, 7, 12, 2026);
        activate->click();  // cleared: the ID stays
        EXPECT_EQ(id->text(), "9:5:7:42_6-12-2026");
        activate->click();  // checked again: still the same ID
        EXPECT_EQ(id->text(), "9:5:7:42_6-12-2026");
        Child<QPushButton>(d, "generateNewIdPushButton")->click();
        EXPECT_EQ(id->text(), "10:0:0:1_7-12-2026");
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(M::kRecordsActive), 1u);
    EXPECT_EQ(record().text(M::kRecordsId, M::kTextSize), "10:0:0:1_7-12-2026");

    // Clearing the switch on a record that has no ID generates one too.
    record().setText(M::kRecordsId, M::kTextSize, "");
    Edit(project, server, [&](QDialog* d) {
        EXPECT_TRUE(Child<QCheckBox>(d, "activateRecordsCheckBox")->isChecked());
        Child<QCheckBox>(d, "activateRecordsCheckBox")->click();
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(record().u32(M::kRecordsActive), 0u);
    EXPECT_EQ(record().text(M::kRecordsId, M::kTextSize), "10:0:0:1_7-12-2026");
}

TEST_F(ServerFixture, CancelDropsAGeneratedId) {
    const qb::Bytes before = Object(project, server).lpDatiOggetto;
    Edit(project, server, [&](QDialog* d) {
        Child<QCheckBox>(d, "activateRecordsCheckBox")->click();
        Child<QPushButton>(d, "generateNewIdPushButton")->click();
        Press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(Object(project, server).lpDatiOggetto, before);
}

TEST_F(ServerFixture, HiddenFieldsPassThroughAndTheRecordsAspPathIsNotReadBack) {
    const std::int32_t font1 = NewItemOfType(project, 2);
    const std::int32_t font2 = NewItemOfType(project, 2);
    ASSERT_NE(font2, 0);
    (void)font1;
    qb::RecordView r = record();
    r.setU32(M::kMultiplayerActive, 1);
    r.setText(M::kMultiplayerAsp, M::kTextSize, "C:\\site\\multi.asp");
    r.setU32(M::kOpponentFont, static_cast<std::uint32_t>(font2));
    r.setI32(M::kOpponentOffsetX, -7);
    r.setI32(M::kOpponentOffsetY, 12);
    r.setText(M::kRecordsAsp, M::kTextSize, "records.asp");
    r.setU32(M::kGenericManage, 0);
    r.setText(M::kRecordsId, M::kTextSize, "kept");
    const qb::Bytes before = Object(project, server).lpDatiOggetto;
    Edit(project, server, [&](QDialog* d) {
        EXPECT_EQ(Child<QComboBox>(d, "defaultFontComboBox")->currentIndex(), 1);
        EXPECT_EQ(Child<QLineEdit>(d, "recordsAspLineEdit")->text(), "records.asp");
        EXPECT_EQ(Child<QLineEdit>(d, "multiplayerAspLineEdit")->text(), "C:\\site\\multi.asp");
        // Only a program could change the hidden box; the record keeps its own path.
        Child<QLineEdit>(d, "recordsAspLineEdit")->setText("changed.asp");
        Press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(Object(project, server).lpDatiOggetto, before);

    // The font ID is kept in its low 16 bits; a font that is gone is stored as none.
    record().setU32(M::kOpponentFont, 0x00070000u | static_cast<std::uint32_t>(font2));
    Edit(project, server, [&](QDialog* d) { Press(d, QDialogButtonBox::Ok); });
    EXPECT_EQ(record().u32(M::kOpponentFont), 0u);
    record().setU32(M::kOpponentFont, static_cast<std::uint32_t>(font2));
    qb::DeleteObject(project, font2);
    Edit(project, server, [&](QDialog* d) { Press(d, QDialogButtonBox::Ok); });
    EXPECT_EQ(record().u32(M::kOpponentFont), 0u);
}

TEST_F(ServerFixture, TheItemNameIsStoredAndTheTreeRefreshed) {
    std::vector<std::int32_t> refreshed;
    qb::ui::SetTreeRefresher([&](std::int32_t id, int) { refreshed.push_back(id); });
    Edit(project, server, [&](QDialog* d) {
        Child<QLineEdit>(d, "itemNameLineEdit")->setText("Hall of fame");
        Press(d, QDialogButtonBox::Ok);
    });
    qb::ui::SetTreeRefresher({});
    EXPECT_EQ(Object(project, server).sDescrizione, "Hall of fame");
    EXPECT_EQ(refreshed, std::vector<std::int32_t>{server});
    // And it was saved.
    EXPECT_NE(ReadFile(fs::path(qb::ProjectAt(project)->sPathProgetto) / "project.ini")
                  .find("Hall of fame"),
              std::string::npos);
}

} // namespace

namespace {

// The shared item editors open on a new item of every game type and store it back whole.
TEST(SharedEditors, OpenAndStoreForEveryGameType) {
    const std::pair<std::uint32_t, const char*> editors[] = {
        {2, "Fonts bitmap parameters"}, {5, "Sound parameters"},
        {13, "Splash bitmap parameters"}, {120, "MochiAds parameters"},
        {121, "Multiplayer data"}};
    for (std::uint32_t gameType = 0; gameType <= 6; ++gameType) {
        TempAppFolder app;
        const int project = NewProject("Game " + std::to_string(gameType), gameType);
        for (const auto& [type, title] : editors) {
            const std::int32_t id = NewItemOfType(project, type);
            ASSERT_NE(id, 0) << gameType << " " << type;
            const qb::Bytes before = Object(project, id).lpDatiOggetto;
            Edit(project, id, [&, title = title](QDialog* d) {
                EXPECT_EQ(d->windowTitle(), title);
                Press(d, QDialogButtonBox::Ok);
            });
            EXPECT_EQ(Object(project, id).lpDatiOggetto, before) << gameType << " " << type;
        }
    }
}

} // namespace

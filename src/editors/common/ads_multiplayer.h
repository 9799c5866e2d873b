#pragma once
// "MochiAds parameters" (type 120) and "Multiplayer data" (type 121). The multiplayer editor
// shows only the records switch and the records ID; its other controls stay hidden and carry
// their fields through OK unchanged (the records ASP path is shown in its hidden box but not
// read back).
#include <functional>
#include <string>

#include "toolkit/item_editor.h"

namespace qb::ui {

// A moment in UTC, as the records ID is made of it.
struct UtcTime {
    unsigned year = 0, month = 0, day = 0;
    unsigned hour = 0, minute = 0, second = 0, millisecond = 0;
};
using UtcClock = std::function<UtcTime()>;

// The clock "Generate new ID" reads; an empty function restores the system clock.
void SetUtcClock(UtcClock clock);
UtcTime CurrentUtcTime();

// hour:minute:second:millisecond_day-month-year, unpadded decimals (9:5:7:42_6-12-2026).
std::string FormatRecordsId(const UtcTime& time);

class AdsEditorDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit AdsEditorDialog(QWidget* owner);
};

class ServerEditorDialog : public ItemEditorDialog {
    Q_OBJECT
public:
    explicit ServerEditorDialog(QWidget* owner);
};

} // namespace qb::ui

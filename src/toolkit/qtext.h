#pragma once
// Record texts are 8-bit (Windows-1252 in files made on Windows); the widgets show them as
// Latin-1, which agrees with it on every letter a user types here. These two conversions are the
// only place where record text meets QString.
#include <QString>
#include <string>
#include <string_view>

namespace qb::ui {

inline QString FromRecordText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Cuts to maxChars bytes (0 = no cut).
inline std::string ToRecordText(const QString& text, std::size_t maxChars = 0) {
    QByteArray bytes = text.toLatin1();
    std::string out(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (maxChars && out.size() > maxChars) out.resize(maxChars);
    return out;
}

} // namespace qb::ui

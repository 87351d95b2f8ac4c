#pragma once

#include <QString>

namespace tr640 {

// Display language, the shared flag: 0 Chinese, 1 English.
enum Language : int { Chinese = 0, English = 1 };

// A text in both display languages. Any language other than English shows the Chinese text.
struct BiText {
    const char* zh;
    const char* en;

    QString text(int language) const { return QString::fromUtf8(language == English ? en : zh); }
    bool matches(const QString& s) const {
        return s == QString::fromUtf8(zh) || s == QString::fromUtf8(en);
    }
};

} // namespace tr640

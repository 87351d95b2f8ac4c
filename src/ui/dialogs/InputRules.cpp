#include "ui/dialogs/InputRules.h"

namespace tr640 {

QChar DtmfCodeCharacter(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'a' && u <= u'z')
        c = QChar(char16_t(u - u'a' + u'A'));
    const char16_t v = c.unicode();
    if ((v >= u'0' && v <= u'9') || (v >= u'A' && v <= u'D') || v == u'*' || v == u'#')
        return c;
    return QChar();
}

InputRules DtmfCodeRules(int limit) {
    InputRules r;
    r.map = DtmfCodeCharacter;
    r.typedLimit = limit;
    r.swallowControlKeys = true;
    if (limit >= 0)
        r.accept = [limit](const QString& text) { return text.size() <= limit; };
    return r;
}

InputRules MessageLineRules(int limit) {
    InputRules r;
    r.map = [](QChar c) {
        const char16_t u = c.unicode();
        const bool printable = (u >= 0x20 && u < 0x7F) || (u >= 0xA0 && u < 0xFF);
        return printable ? c : QChar();
    };
    r.typedLimit = limit;
    return r;
}

InputRules SecondsRules(int maximum) {
    InputRules r;
    r.map = [](QChar c) { return (c >= u'0' && c <= u'9') ? c : QChar(); };
    const int digits = int(QString::number(maximum).size());
    r.accept = [maximum, digits](const QString& text) {
        return text.size() <= digits && (text.isEmpty() || text.toInt() <= maximum);
    };
    return r;
}

} // namespace tr640

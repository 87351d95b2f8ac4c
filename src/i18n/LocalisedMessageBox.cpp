#include "i18n/LocalisedMessageBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <vector>

namespace tr640 {

namespace {

struct ButtonCaptions {
    int code;
    QMessageBox::StandardButton button;
    const char* text[3]; // simplified Chinese, English, traditional Chinese
};

constexpr std::array<ButtonCaptions, 7> kButtons{{
    {IdOk, QMessageBox::Ok, {"确定", "OK", "確定"}},
    {IdCancel, QMessageBox::Cancel, {"取消", "Cancel", "取消"}},
    {IdAbort, QMessageBox::Abort, {"放弃", "Abort", "放棄"}},
    {IdRetry, QMessageBox::Retry, {"重试", "Retry", "重試"}},
    {IdIgnore, QMessageBox::Ignore, {"忽略", "Ignore", "忽略"}},
    {IdYes, QMessageBox::Yes, {"是", "Yes", "是"}},
    {IdNo, QMessageBox::No, {"否", "No", "否"}},
}};

std::vector<int> ButtonsOf(quint32 style) {
    switch (style & 0xF) {
    case MbOkCancel:
        return {IdOk, IdCancel};
    case MbAbortRetryIgnore:
        return {IdAbort, IdRetry, IdIgnore};
    case MbYesNoCancel:
        return {IdYes, IdNo, IdCancel};
    case MbYesNo:
        return {IdYes, IdNo};
    case MbRetryCancel:
        return {IdRetry, IdCancel};
    default:
        return {IdOk};
    }
}

QMessageBox::Icon IconOf(quint32 style) {
    switch (style & 0xF0) {
    case MbIconStop:
        return QMessageBox::Critical;
    case MbIconQuestion:
        return QMessageBox::Question;
    case MbIconExclamation:
        return QMessageBox::Warning;
    case MbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

const ButtonCaptions& Captions(int code) {
    for (const ButtonCaptions& b : kButtons)
        if (b.code == code)
            return b;
    return kButtons[0];
}

} // namespace

QString MessageBoxButtonCaption(int code, int language) {
    if (language < 0 || language > 2)
        return QString();
    return QString::fromUtf8(Captions(code).text[language]);
}

int LocalisedMessageBox(QWidget* owner, int language, const QString& text, quint32 style,
                        QString& title) {
    if (title.isEmpty())
        title = kApplicationTitle;
    QMessageBox box(IconOf(style), title, text, QMessageBox::NoButton, owner);
    box.setObjectName(QStringLiteral("LocalisedMessageBox"));
    box.setWindowModality(Qt::ApplicationModal); // system-modal boxes are application-modal
    const std::vector<int> codes = ButtonsOf(style);
    std::vector<QPushButton*> buttons;
    for (int code : codes) {
        QPushButton* b = box.addButton(Captions(code).button);
        const QString caption = MessageBoxButtonCaption(code, language);
        if (!caption.isEmpty())
            b->setText(caption);
        b->setProperty("buttonCode", code);
        buttons.push_back(b);
    }
    const std::size_t defaultIndex = (style & MbDefaultButton3)   ? 2
                                     : (style & MbDefaultButton2) ? 1
                                                                  : 0;
    box.setDefaultButton(buttons[std::min(defaultIndex, buttons.size() - 1)]);
    // Closing the box counts as Cancel where there is one, otherwise as the only or last button.
    const auto cancel = std::find(codes.begin(), codes.end(), int(IdCancel));
    box.setEscapeButton(cancel != codes.end() ? buttons[cancel - codes.begin()] : buttons.back());
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        clicked = box.escapeButton();
    return clicked ? clicked->property("buttonCode").toInt() : codes.back();
}

int LocalisedMessageBox(QWidget* owner, int language, const QString& text, quint32 style,
                        const QString& title) {
    QString t = title;
    return LocalisedMessageBox(owner, language, text, style, t);
}

} // namespace tr640

#pragma once

// Every message of the program goes through LocalisedMessageBox: a standard message box owned
// by the main window, whose buttons are captioned in the program's language rather than the
// system's.

#include <QString>
#include <QtGlobal>

class QWidget;

namespace tr640 {

// Style flags, the values of the platform's message box.
enum MessageBoxStyle : quint32 {
    MbOk = 0x0,
    MbOkCancel = 0x1,
    MbAbortRetryIgnore = 0x2,
    MbYesNoCancel = 0x3,
    MbYesNo = 0x4,
    MbRetryCancel = 0x5,
    MbIconStop = 0x10,
    MbIconQuestion = 0x20,
    MbIconExclamation = 0x30,
    MbIconInformation = 0x40,
    MbDefaultButton2 = 0x100,
    MbDefaultButton3 = 0x200,
    MbSystemModal = 0x1000,
};

// Button codes returned.
enum MessageBoxResult : int {
    IdOk = 1,
    IdCancel = 2,
    IdAbort = 3,
    IdRetry = 4,
    IdIgnore = 5,
    IdYes = 6,
    IdNo = 7,
};

inline const QString kApplicationTitle = QStringLiteral("TR-640 Software");

// Shows the box and returns the code of the button that closed it. An empty title becomes the
// application title, which is also written back into `title`. Button captions follow
// `language`: 0 simplified Chinese, 1 English, 2 traditional Chinese; other values leave the
// toolkit's own captions.
int LocalisedMessageBox(QWidget* owner, int language, const QString& text, quint32 style,
                        QString& title);

// The same for callers that do not need the title back.
int LocalisedMessageBox(QWidget* owner, int language, const QString& text, quint32 style,
                        const QString& title = QString());

// Caption of a button code in a language; empty where the language has no captions.
QString MessageBoxButtonCaption(int code, int language);

} // namespace tr640

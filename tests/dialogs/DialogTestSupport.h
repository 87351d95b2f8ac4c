#pragma once

// Helpers of the dialog suites: codeplug images, decoding into the shared state, message boxes
// and grid cells.

#include "app/SharedState.h"
#include "codeplug/Codec.h"
#include "i18n/ApplyLanguage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>

namespace tr640::test {

// The image of a fresh editor state after `change`.
inline QByteArray ImageWith(const std::function<void(EditorState&)>& change) {
    EditorState e;
    change(e);
    return EncodeImage(e);
}

inline QByteArray WithBytes(QByteArray image, int offset, QByteArrayView bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i)
        image[offset + i] = bytes[i];
    return image;
}

// Decodes as a read from the radio does; the caller then refreshes the dialog.
inline void Decode(SharedState& state, const QByteArray& image) {
    DecodeImage(state.Editor, image);
}

// Answers every message box that opens while it lives with its first button, and records it.
class MessageBoxCatcher : public QObject {
public:
    MessageBoxCatcher() {
        connect(&timer_, &QTimer::timeout, this, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible())
                    continue;
                texts.append(box->text());
                icons.append(box->icon());
                titles.append(box->windowTitle());
                box->buttons().value(0)->click();
            }
        });
        timer_.start(5);
    }
    QStringList texts;
    QList<QMessageBox::Icon> icons;
    QStringList titles;

private:
    QTimer timer_;
};

// Types text character by character as a keyboard does, also characters QTest::keyClicks
// cannot send (beyond ASCII).
inline void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        Qt::Key key = Qt::Key_unknown;
        if (u >= u'a' && u <= u'z')
            key = Qt::Key(Qt::Key_A + (u - u'a'));
        else if (u >= 0x20 && u < 0x7F)
            key = Qt::Key(QChar(u).toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

inline QPoint CellCentre(QTableWidget* grid, int row, int column) {
    return grid->visualRect(grid->model()->index(row, column)).center();
}

inline void ClickCell(QTableWidget* grid, int row, int column) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, row, column));
}

// Writes the texts of a language into one window, as the pass does at start-up.
inline void ApplyLanguageTo(QWidget* window, int language) {
    ApplyLanguage(language, [window](const QString& name) {
        return name == window->objectName() ? window : nullptr;
    });
}

} // namespace tr640::test

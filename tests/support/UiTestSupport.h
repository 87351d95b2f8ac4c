#pragma once

// Helpers of the window and dialog suites: a main window on a private preferences folder,
// answering message boxes by caption, reading what a control shows, typing and grid cells.

#include "app/MainWindow.h"
#include "codeplug/Codec.h"
#include "i18n/ApplyLanguage.h"
#include "ui/main/Form1.h"
#include "ui/main/SharedState.h"
#include "ui/widgets/FlexGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace tr640::test {

// A data table of one column `row`, one row for each "tag: part|part|..." (parts as strings);
// without a tag, the first two parts name the row.
inline void AddRows(std::initializer_list<const char*> rows) {
    QTest::addColumn<QStringList>("row");
    for (const char* text : rows) {
        const QString r = QString::fromUtf8(text);
        const qsizetype colon = r.indexOf(QStringLiteral(": "));
        const QStringList parts = r.mid(colon < 0 ? 0 : colon + 2).split(u'|');
        QTest::newRow(qPrintable(colon < 0 ? parts.mid(0, 2).join(u' ') : r.left(colon))) << parts;
    }
}

// A file's bytes, or "<unreadable>".
inline QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The image of a fresh editor state after `change`.
inline QByteArray ImageWith(const std::function<void(EditorState&)>& change) {
    EditorState e;
    change(e);
    return EncodeImage(e);
}

// A message box shown while a command ran: what it said and which buttons it offered.
struct SeenBox {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Answers every message box that opens while it lives with the button whose caption is the
// next answer (the last answer repeats; none: the first button), and records each box.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QStringList answers = {}) : answers_(std::move(answers)) {
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start(5);
    }
    const QList<SeenBox>& seen() const { return seen_; }
    int count() const { return int(seen_.size()); }
    QString text(int i = 0) const { return seen_.value(i).text; }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        SeenBox s{box->text(), box->windowTitle(), box->icon(), {}};
        for (QAbstractButton* b : box->buttons())
            s.buttons << b->text();
        seen_ << s;
        const QString answer = answers_.value(std::min(seen_.size(), answers_.size()) - 1);
        for (QAbstractButton* b : box->buttons())
            if (answer.isEmpty() || b->text() == answer) {
                b->click();
                return;
            }
        box->reject();
    }
    QStringList answers_;
    QList<SeenBox> seen_;
    QTimer timer_;
};

// What a control of `window` shows. `control` is "" for the window caption, "Combo6[1]" for a
// list entry, "mfgrid1@0" for a heading cell, otherwise the name of a control (as the language
// pass finds it): its current text, caption or title.
inline QString Shown(QWidget* window, const QString& control) {
    if (control.isEmpty())
        return window->windowTitle();
    const qsizetype mark = control.indexOf(QRegularExpression(QStringLiteral("[@[]")));
    QObject* c = FindControl(window, control.left(mark));
    const int number = mark < 0 ? 0 : control.mid(mark + 1).remove(u']').toInt();
    if (auto* grid = qobject_cast<QTableWidget*>(c); grid && mark >= 0)
        return grid->item(0, number)->text();
    if (auto* list = qobject_cast<QComboBox*>(c))
        return mark >= 0 ? list->itemText(number) : list->currentText();
    if (auto* frame = qobject_cast<QGroupBox*>(c))
        return frame->title();
    return c ? c->property("text").toString() : QStringLiteral("<none>");
}

inline QStringList Shown(QWidget* window, const QStringList& controls) {
    QStringList texts;
    for (const QString& control : controls)
        texts << Shown(window, control);
    return texts;
}

// The texts of cells `from` to `to` of a grid row.
inline QStringList RowTexts(const FlexGrid* grid, int row, int from = 1, int to = 8) {
    QStringList texts;
    for (int c = from; c <= to; ++c)
        texts << grid->text(row, c);
    return texts;
}

// A left (or other) button click on a cell, scrolled into view first. Consecutive clicks land
// 16 pixels apart, so that two on one cell are never taken for a double click.
inline void ClickCell(QTableWidget* grid, int row, int column,
                      Qt::MouseButton button = Qt::LeftButton) {
    static int side = 1;
    side = -side;
    // A view ignores a press on the cell whose editor closed before the event loop turned
    // again (the press that closed it); no hand is that fast, and the loop turns here.
    QCoreApplication::processEvents();
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), button, {},
                      grid->visualRect(index).center() + QPoint(8 * side, 0));
}

// Types text character by character as a keyboard does, also characters QTest::keyClicks
// cannot send (beyond ASCII).
inline void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        Qt::Key key = Qt::Key_unknown;
        if (u >= 0x20 && u < 0x7F)
            key = Qt::Key(QChar(u).toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// A main window on a private preferences folder, optionally with a `parameter` file.
struct Window {
    QTemporaryDir dir;
    std::unique_ptr<Form1> form;

    explicit Window(const QByteArray& parameter = QByteArray(), bool writeParameter = false,
                    Form1::Options options = {}) {
        if (writeParameter)
            WriteAll(dir.filePath(QStringLiteral("parameter")), parameter);
        form = OpenMainWindow(dir.path(), options);
    }
    Form1* operator->() const { return form.get(); }

    template <typename T = QObject> T* find(const QString& name) const {
        return qobject_cast<T*>(FindControl(form.get(), name));
    }
    void trigger(const char* action) const { find<QAction>(action)->trigger(); }
    // Shows the window and makes it the active one, for the tests that type into it.
    void activate() const {
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
    }
};

// A settings dialog of its own on a fresh shared state, shown.
template <typename D> struct DialogFixture {
    SharedState state;
    std::unique_ptr<D> dialog;
    explicit DialogFixture(const std::function<void(SharedState&)>& prepare = {}) {
        if (prepare)
            prepare(state);
        dialog = std::make_unique<D>(state, nullptr);
        dialog->show();
    }
    D* operator->() const { return dialog.get(); }
    template <typename T> T* get(const QString& name) const {
        T* w = dialog->template findChild<T*>(name);
        if (!w)
            qFatal("no %s", qPrintable(name));
        return w;
    }
    void press(const char* button) const { get<QAbstractButton>(button)->click(); }
    // Decodes `image` as a read from the radio does, then refreshes the dialog.
    void decode(const QByteArray& image) {
        DecodeImage(state.Editor, image);
        dialog->refreshFromStore();
    }
    const SettingsStore& settings() const { return state.Editor.Settings; }
};

} // namespace tr640::test

#pragma once

// Helpers of the window suites: a main window on a private preferences folder, message boxes
// and file dialogs answered by caption and path, what a control shows, cells and typing.

#include "app/MainWindow.h"
#include "codeplug/Codec.h"
#include "i18n/ApplyLanguage.h"
#include "ui/dialogs/CellEditGrid.h"
#include "ui/main/FileCommands.h"
#include "ui/main/Form1.h"
#include "ui/main/SharedState.h"
#include "ui/widgets/FlexGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
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

// A data table of one column `row`, one row for each "tag: part|part|..."; without a tag, the
// first two parts name the row. "a{30}" in a part stands for thirty letters a.
inline void AddRows(std::initializer_list<const char*> rows) {
    QTest::addColumn<QStringList>("row");
    static const QRegularExpression repeat(QStringLiteral("(.)\\{(\\d+)\\}"));
    for (const char* text : rows) {
        const QString r = QString::fromUtf8(text);
        const qsizetype colon = r.indexOf(QStringLiteral(": "));
        QStringList parts = r.mid(colon < 0 ? 0 : colon + 2).split(u'|');
        const QString tag = colon < 0 ? parts.mid(0, 2).join(u' ') : r.left(colon);
        for (QString& part : parts)
            for (auto m = repeat.match(part); m.hasMatch(); m = repeat.match(part))
                part.replace(m.capturedStart(), m.capturedLength(),
                             QString(m.captured(2).toInt(), m.captured(1)[0]));
        QTest::newRow(qPrintable(tag)) << parts;
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

// While it lives, answers every message box with the button whose caption is the next answer
// (the last one repeats; none: the first button), and the file questions of a `Window` with the
// paths of `files` in turn ("": Cancel; none left: an earlier answerer's). Records what each
// message box showed.
class BoxAnswerer : public QObject {
public:
    explicit BoxAnswerer(QStringList answers = {}, QStringList files = {})
        : answers_(std::move(answers)), files_(std::move(files)) {
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start(5);
        Living().push_back(this);
    }
    ~BoxAnswerer() override { Living().removeOne(this); }
    static QString TakeFile() {
        for (auto it = Living().rbegin(); it != Living().rend(); ++it)
            if (!(*it)->files_.isEmpty()) {
                ++(*it)->fileDialogs_;
                return (*it)->files_.takeFirst();
            }
        return QString();
    }
    const QList<SeenBox>& seen() const { return seen_; }
    int count() const { return int(seen_.size()); }
    QString text(int i = 0) const { return seen_.value(i).text; }
    int fileDialogs() const { return fileDialogs_; }

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
            if (answer.isEmpty() || b->text() == answer)
                return b->click();
        box->reject();
    }
    static QList<BoxAnswerer*>& Living() {
        static QList<BoxAnswerer*> living;
        return living;
    }
    QStringList answers_;
    QStringList files_;
    QList<SeenBox> seen_;
    int fileDialogs_ = 0;
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
    if (auto* action = qobject_cast<QAction*>(c); action && mark >= 0)
        return action->toolTip();
    return c ? c->property("text").toString() : QStringLiteral("<none>");
}

inline QStringList Shown(QWidget* window, QStringList controls) {
    for (QString& control : controls)
        control = Shown(window, control);
    return controls;
}

// The texts of cells `from` to `to` of a grid row.
inline QStringList RowTexts(const FlexGrid* grid, int row, int from = 1, int to = 8) {
    QStringList texts;
    for (int c = from; c <= to; ++c)
        texts << grid->text(row, c);
    return texts;
}

// A click on a cell, scrolled into view first. Consecutive clicks land 16 pixels apart, so
// that two on one cell are never taken for a double click.
inline void ClickCell(QTableWidget* grid, int row, int column) {
    static int side = 1;
    side = -side;
    // A view ignores a press on the cell whose editor closed before the event loop turned
    // again (the press that closed it); no hand is that fast, and the loop turns here.
    QCoreApplication::processEvents();
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(index).center() + QPoint(8 * side, 0));
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
        // The tests answer the file question rather than a dialog (under Wine the file dialog
        // never finished coming up).
        form->files().setChooser(
            [](FileCommands::Purpose, QWidget*) { return BoxAnswerer::TakeFile(); });
    }
    Form1* operator->() const { return form.get(); }

    template <typename T = QObject> T* find(const QString& name) const {
        return qobject_cast<T*>(FindControl(form.get(), name));
    }
    FlexGrid* grid() const { return find<FlexGrid>(QStringLiteral("Grid1")); }
    void trigger(const char* action) const { find<QAction>(action)->trigger(); }
    void activate() const {
        form->show();
        QApplication::setActiveWindow(form.get());
        (void)QTest::qWaitForWindowActive(form.get());
    }
    // Opens `state` as a codeplug file, through File > Open.
    void open(const EditorState& state) const {
        const QString path = dir.filePath(QStringLiteral("opened.DAT"));
        WriteAll(path, EncodeImage(state));
        BoxAnswerer files({}, {path});
        trigger("mnuOpen");
    }
    // Opens a cell's editor with a click, replaces its text and commits it with Enter (unless
    // `commit` is false). A tone cell's list is closed first.
    void type(int row, int col, const QString& text, bool commit = true) const {
        ClickCell(grid(), row, col);
        QWidget* editor = find<QLineEdit>(QStringLiteral("Text1"));
        if (auto* tones = find<QComboBox>(QStringLiteral("Combo8")); tones->isVisible()) {
            QTest::keyClick(tones->view(), Qt::Key_Escape);
            editor = tones;
        }
        QLineEdit* line = qobject_cast<QLineEdit*>(editor);
        (line ? line : static_cast<QComboBox*>(editor)->lineEdit())->clear();
        QTest::keyClicks(editor, text);
        if (commit)
            QTest::keyClick(editor, Qt::Key_Return);
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
    // Leaves by a button ("Command1", "Command2") or by the title bar's close ("close").
    void leave(const QString& how) const {
        how == QLatin1String("close") ? (void)dialog->close() : press(qPrintable(how));
    }
    // Decodes `image` as a read from the radio does, then refreshes the dialog.
    void decode(const QByteArray& image) {
        DecodeImage(state.Editor, image);
        dialog->refreshFromStore();
    }
    const SettingsStore& settings() const { return state.Editor.Settings; }
    void enter(int row, int column, const QString& typed) const {
        auto* grid = get<CellEditGrid>(QStringLiteral("mfgrid1"));
        ClickCell(grid, row, column);
        QTRY_VERIFY2(grid->cellEditor(), "no editor opened"); // a click on the current cell
        grid->cellEditor()->selectAll();                      // opens it late
        QTest::keyClick(grid->cellEditor(), Qt::Key_Delete);
        QTest::keyClicks(grid->cellEditor(), typed);
        QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
        QTRY_VERIFY(!grid->cellEditor());
    }
};

} // namespace tr640::test

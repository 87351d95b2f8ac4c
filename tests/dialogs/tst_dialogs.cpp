// The debug parameters, test frequency, key assignment and embedded message dialogs, the About
// box, and the dialogs as the main window creates, shows and refreshes them.

#include "support/UiTestSupport.h"

#include "ui/dialogs/CellEditGrid.h"
#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/dialogs/Form2.h"
#include "ui/dialogs/Form4.h"
#include "ui/dialogs/Form6.h"
#include "ui/dialogs/Form7.h"
#include "ui/dialogs/Pictures.h"
#include "ui/dialogs/frmAbout.h"

#include <QClipboard>
#include <QSignalSpy>
#include <QSlider>
#include <QUrl>

using namespace tr640;
using namespace tr640::test;

namespace {

// The debug dialog on powers 40 and 12, unlocked or not.
struct Debug : DialogFixture<Form2> {
    explicit Debug(int calibrationWrite = 0)
        : DialogFixture([=](SharedState& s) {
              s.Editor.Settings.TxHighPower = 40;
              s.Editor.Settings.TxLowPower = 12;
              s.Editor.CalibrationWrite = calibrationWrite;
          }) {}
    QSlider* slider(int n) const { return get<QSlider>(QString("Slider%1").arg(n)); }
    QString readOut(int n) const { return get<QLabel>(QString("Lblpower%1").arg(n))->text(); }
};

struct Test : DialogFixture<Form4> {
    CellEditGrid* grid = get<CellEditGrid>("mfgrid1");
    // Clicks a cell, replaces its text by `typed` and commits with Enter.
    void enter(int row, int column, const QString& typed) const {
        ClickCell(grid, row, column);
        QTRY_VERIFY2(grid->cellEditor(),
                     "no editor opened"); // a click on the current cell opens it late
        grid->cellEditor()->selectAll();
        QTest::keyClick(grid->cellEditor(), Qt::Key_Delete);
        QTest::keyClicks(grid->cellEditor(), typed);
        QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
        QTRY_VERIFY(!grid->cellEditor());
    }
    QStringList row(int r) const { return RowTexts(grid, r, 1, 2); }
};

// OK (Command1) stores, Cancel (Command2) and the title bar's close do not.
void AddOkCancelClose() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stores");
    QTest::newRow("OK") << "Command1" << true;
    QTest::newRow("Cancel") << "Command2" << false;
    QTest::newRow("title-bar close") << "close" << false;
}

template <typename F> void Leave(const F& f, const QString& how) {
    how == "close" ? (void)f->close() : f.press(qPrintable(how));
    QVERIFY(f->isHidden());
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void debugSliders_data() {
        QTest::addColumn<int>("calibrationWrite"); // only 1 unlocks the sliders
        QTest::addColumn<QString>("how");
        QTest::addColumn<QList<int>>("stored"); // high and low power afterwards
        QTest::newRow("locked, OK") << 0 << "Command1" << QList<int>{40, 12};
        QTest::newRow("other, OK") << 7 << "Command1" << QList<int>{40, 12};
        QTest::newRow("unlocked, OK") << 1 << "Command1" << QList<int>{0, 16};
        QTest::newRow("unlocked, title-bar close") << 1 << "close" << QList<int>{40, 12};
    }
    void debugSliders() {
        QFETCH(int, calibrationWrite);
        QFETCH(QString, how);
        Debug f(calibrationWrite);
        const bool on = calibrationWrite == 1;
        QCOMPARE(f.slider(1)->isEnabled(), on);
        QCOMPARE(f.slider(3)->isEnabled(), on);
        QCOMPARE(
            (QList<int>{f.slider(1)->value(), f.slider(1)->maximum(), f.slider(1)->pageStep()}),
            (QList<int>{40, 63, 5}));
        // Keys move an unlocked slider and its read-out only.
        const std::pair<Qt::Key, QStringList> steps[] = {{Qt::Key_End, {"63", "12"}},
                                                         {Qt::Key_Home, {"0", "12"}},
                                                         {Qt::Key_PageUp, {"0", "17"}},
                                                         {Qt::Key_Left, {"0", "16"}}};
        for (const auto& [key, shown] : steps) {
            QTest::keyClick(f.slider(key == Qt::Key_End || key == Qt::Key_Home ? 1 : 3), key);
            QCOMPARE((QStringList{f.readOut(1), f.readOut(3)}),
                     (on ? shown : QStringList{"40", "12"}));
        }
        QCOMPARE(f.settings().TxHighPower, 40); // stored only on OK
        Leave(f, how);
        QTEST((QList<int>{f.settings().TxHighPower, f.settings().TxLowPower}), "stored");
        f->showDialog();
        QCOMPARE(f.slider(1)->value(), on ? 0 : 40);
    }

    void debugDecode_data() {
        QTest::addColumn<bool>("unlocked");
        QTest::addColumn<int>("key"); // 0: no key
        QTest::addColumn<int>("stored");
        QTest::newRow("untouched") << false << 0 << 200;
        QTest::newRow("End at the end") << true << int(Qt::Key_End) << 63;
        QTest::newRow("moved down") << true << int(Qt::Key_Left) << 62;
    }
    // A decode shows the stored values, also while locked, and locks again; a value beyond the
    // slider's end is shown and kept until the slider moves.
    void debugDecode() {
        QFETCH(bool, unlocked);
        QFETCH(int, key);
        QFETCH(int, stored);
        Debug f;
        f.state.Editor.CalibrationWrite = 1;
        QByteArray image = ImageWith([](EditorState& e) { e.Settings.TxLowPower = 3; });
        image[0x173] = char(200);
        f.decode(image);
        QCOMPARE(f.state.Editor.CalibrationWrite, 0);
        QVERIFY(!f.slider(1)->isEnabled());
        QCOMPARE((QList<int>{f.settings().TxHighPower, f.slider(1)->value(), f.slider(3)->value()}),
                 (QList<int>{200, 63, 3}));
        QCOMPARE((QStringList{f.readOut(1), f.readOut(3)}), (QStringList{"200", "3"}));
        f.state.Editor.CalibrationWrite = unlocked;
        Form2 form(f.state, nullptr);
        form.show();
        if (key)
            QTest::keyClick(form.findChild<QSlider*>("Slider1"), Qt::Key(key));
        QCOMPARE(Shown(&form, "Lblpower1"), QString::number(stored));
        form.findChild<QAbstractButton*>("Command1")->click();
        QCOMPARE(f.settings().TxHighPower, stored);
        QCOMPARE(EncodeImage(f.state.Editor).at(0x173), char(stored));
    }

    void debugGesture_data() { // clicks as label:second; whether the last one unlocks
        AddRows({"both within 5 s: Label3:1000|Label6:1004.4|1",
                 "other order: Label6:1000|Label3:1005|1", "6 s apart: Label3:1000|Label6:1006|0",
                 "6 s apart, then Label3 again: Label3:1000|Label6:1006|Label3:1009|1",
                 "same label twice: Label3:1000|Label3:1001|0",
                 "end marks are no part: Label3:1000|Label8:1001|Label7:1002|0"});
    }
    void debugGesture() {
        QFETCH(QStringList, row);
        const bool unlocks = row.takeLast() == "1";
        Window w;
        double now = 0;
        w->state().Clock = [&now] { return now; };
        auto* form2 = qobject_cast<Form2*>(w->windowNamed("Form2"));
        form2->showDialog();
        QVERIFY(!w.find<QAction>("TAnMa")->isVisible());
        QSignalSpy unlocked(form2, &Form2::calibrationUnlocked);
        for (const QString& c : row) {
            QCOMPARE(unlocked.size(), 0);
            now = c.section(':', 1).toDouble(); // a label reacts over its whole area
            QTest::mouseClick(form2->findChild<QLabel*>(c.section(':', 0, 0)), Qt::LeftButton);
        }
        QCOMPARE(unlocked.size(), unlocks ? 1 : 0);
        QCOMPARE(w->editor().CalibrationWrite, unlocks ? 1 : 0);
        for (const char* slider : {"Slider1", "Slider3"})
            QCOMPARE(form2->findChild<QSlider*>(slider)->isEnabled(), unlocks);
        QCOMPARE(w.find<QAction>("TAnMa")->isVisible(), unlocks);
        form2->disableSliders(); // the relock
        QVERIFY(!form2->findChild<QSlider*>("Slider1")->isEnabled());
        QVERIFY(!form2->findChild<QSlider*>("Slider3")->isEnabled());
    }

    void testLayout() {
        Test f;
        QCOMPARE(f.grid->rowCount(), 17);
        QCOMPARE(RowTexts(f.grid, 0, 0, 2), (QStringList{"信道", "接收频率", "发射频率"}));
        QCOMPARE(f.grid->text(1, 0) + f.grid->text(16, 0), QString("0116"));
        QCOMPARE(f.grid->rowHeight(5), 20);
        QCOMPARE(f.grid->item(3, 1)->textAlignment(), int(Qt::AlignCenter));
        f.grid->setFocus(); // focus opens no editor; choosing a cell does
        QVERIFY(!f.grid->cellEditor());
        // A heading wider than its column in this font widens the column, never narrows it.
        for (int language : {0, 1}) {
            ApplyLanguage(language, [&f](const QString& name) {
                return name == "Form4" ? f.dialog.get() : nullptr;
            });
            for (int c = 0; c < 3; ++c) {
                const int width = f.grid->columnWidth(c);
                QVERIFY(width >= f.grid->fontMetrics().horizontalAdvance(f.grid->text(0, c)));
                QVERIFY(width >= (c == 0 ? 57 : 89)); // 850 and 1330 twips
            }
        }
        for (int c = 0; c < 3; ++c) // headings that fit: the set widths again
            f.grid->setText(0, c, QString());
        QCOMPARE(
            (QList<int>{f.grid->columnWidth(0), f.grid->columnWidth(1), f.grid->columnWidth(2)}),
            (QList<int>{57, 89, 89}));
    }

    // Rows: receive typed | transmit typed (empty: "440", then cleared) | shown.
    void testSnapping_data() {
        AddRows({"6.25 kHz nearer: 145.0070||145.00625", "5 kHz nearer: 145.0120||145.01000",
                 "tie goes to 6.25 kHz: 145.0031||145.00000", "on 6.25 kHz: 438.00625||438.00625",
                 "letters only: abc||0.00000", "leading number: 146.52x||146.52000",
                 "below one step: 0.004||0.00000", "negative: -5||0.00000",
                 "TX on RX's 6.25 kHz: 145.00625|146.0074|146.00625",
                 "TX on RX's 5 kHz: 145.01000|146.0074|146.00500",
                 "TX letters: 145.01000|xyz|0.00000"});
        QTest::newRow("absurdly long") << QStringList{QString(400, u'9'), "", "0.00000"};
    }
    void testSnapping() {
        QFETCH(QStringList, row);
        const QString &receive = row[0], &transmit = row[1], &shown = row[2];
        Test f;
        f.enter(7, Form4::kRxColumn, receive);
        const QString rx = transmit.isEmpty() ? shown : receive;
        QCOMPARE(f.row(7), (QStringList{rx, rx})); // an empty TX follows RX
        f.enter(7, Form4::kTxColumn, transmit.isEmpty() ? "440" : transmit);
        QCOMPARE(f.row(7), (QStringList{rx, transmit.isEmpty() ? "440.00000" : shown}));
        f.enter(7, Form4::kTxColumn, ""); // clearing TX restores it from RX
        QCOMPARE(f.row(7), (QStringList{rx, rx}));
        f.enter(7, Form4::kRxColumn, ""); // clearing RX clears TX
        QCOMPARE(f.row(7), (QStringList{"", ""}));
    }

    void testCellEditing() {
        Test f;
        ClickCell(f.grid, 4, 2); // TX refused while RX is empty
        QVERIFY(!f.grid->cellEditor());
        ClickCell(f.grid, 4, 1);
        QTest::keyClicks(f.grid->cellEditor(), "145");
        ClickCell(f.grid, 4, 2); // leaving RX commits it; now TX may be edited
        QCOMPARE(f.grid->text(4, 1), QString("145.00000"));
        QVERIFY(f.grid->cellEditor());
        ClickCell(f.grid, 5, 0); // nor the fixed column or the headings
        ClickCell(f.grid, 0, 1);
        QCOMPARE(f.grid->currentRow(), 4);
        f.enter(1, 1, "145");
        f.enter(1, 2, "150");
        ClickCell(f.grid, 1, 1); // opening RX and leaving it unchanged is no edit
        ClickCell(f.grid, 9, 1);
        QCOMPARE(f.row(1), (QStringList{"145.00000", "150.00000"}));
        ClickCell(f.grid, 1, 1); // Escape drops the edit
        QTest::keyClicks(f.grid->cellEditor(), "150");
        QTest::keyClick(f.grid->cellEditor(), Qt::Key_Escape);
        QTRY_VERIFY(!f.grid->cellEditor());
        QCOMPARE(f.grid->text(1, 1), QString("145.00000"));
        QVERIFY(f->isVisible());
        QTest::keyClick(f.grid, Qt::Key_1); // typing on the current cell replaces its text
        QCOMPARE(f.grid->cellEditor()->text(), QString("1"));
        QTest::keyClicks(f.grid->cellEditor(), "46");
        QTest::keyClick(f.grid->cellEditor(), Qt::Key_Return);
        QTRY_VERIFY(!f.grid->cellEditor());
        QCOMPARE(f.grid->text(1, 1), QString("146.00000"));
    }

    void testOkCancelClose_data() { AddOkCancelClose(); }
    void testOkCancelClose() {
        QFETCH(QString, how);
        QFETCH(bool, stores);
        Test f;
        f.state.Editor.Settings.TestRxFrequency[15] = "400.00000";
        f->refreshFromStore();
        f.enter(1, 1, "145.0070");
        f.enter(16, 1, "");
        ClickCell(f.grid, 8, 1); // OK commits an open editor
        QTest::keyClicks(f.grid->cellEditor(), "145.0120");
        Leave(f, how);
        const SettingsStore& s = f.settings();
        QCOMPARE((QStringList{s.TestRxFrequency[0], s.TestTxFrequency[0], s.TestRxFrequency[15],
                              s.TestRxFrequency[7], s.TestTxFrequency[7]}),
                 (stores ? QStringList{"145.00625", "145.00625", "", "145.01000", "145.01000"}
                         : QStringList{"", "", "400.00000", "", ""}));
        f->showDialog();
        QCOMPARE(f.grid->text(1, 1) + f.grid->text(16, 1), QString("145.00625"));
        // A decode replaces the grid and an open editor; FF FF FF FF shows empty.
        f.enter(2, 1, "146");
        ClickCell(f.grid, 3, 1);
        QTest::keyClicks(f.grid->cellEditor(), "147");
        f.decode(ImageWith([](EditorState& e) {
            e.Settings.TestRxFrequency[0] = "435.12500";
            e.Settings.TestTxFrequency[0] = "440.00625";
            e.Settings.TestRxFrequency[2] = "136.00000";
        }));
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.row(1) + f.row(2) + f.row(3),
                 (QStringList{"435.12500", "440.00625", "", "", "136.00000", ""}));
    }

    void keysLoadRange_data() {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("11") << 11 << 11;
        QTest::newRow("12 shows OFF") << 12 << 1;
        QTest::newRow("-1 shows OFF") << -1 << 1;
    }
    void keysLoadRange() {
        QFETCH(int, stored);
        QFETCH(int, shown);
        DialogFixture<Form6> f([=](SharedState& s) {
            s.Editor.Settings.Pf1Function = s.Editor.Settings.Pf2Function = stored;
        });
        QCOMPARE(f.get<QComboBox>("Combo1")->currentIndex(), shown);
        QCOMPARE(f.get<QComboBox>("Combo2")->currentIndex(), shown);
        QCOMPARE(f.get<QComboBox>("Combo1")->count(), 12);
    }

    void keysOkCancelClose_data() { AddOkCancelClose(); }
    void keysOkCancelClose() {
        QFETCH(QString, how);
        QFETCH(bool, stores);
        DialogFixture<Form6> f;
        auto* pf1 = f.get<QComboBox>("Combo1");
        pf1->setCurrentIndex(8);
        f.get<QComboBox>("Combo2")->setCurrentIndex(4);
        Leave(f, how);
        QCOMPARE(f.settings().Pf1Function, stores ? 8 : 10);
        QCOMPARE(f.settings().Pf2Function, stores ? 4 : 0);
        f->showDialog();
        QCOMPARE(pf1->currentIndex(), 8);
        f.decode(ImageWith([](EditorState& e) {
            e.Settings.Pf1Function = 7;
            e.Settings.Pf2Function = 11;
        }));
        QCOMPARE(pf1->currentIndex(), 7);
        QCOMPARE(f.get<QComboBox>("Combo2")->currentIndex(), 11);
        QByteArray image = EncodeImage(f.state.Editor); // a stored 12 is not taken
        image[0x10D] = 12;
        f.decode(image);
        QCOMPARE(f.settings().Pf1Function, 7);
        QCOMPARE(pf1->currentIndex(), 7);
    }

    void keysPictureFollowsFocus() {
        DialogFixture<Form6> f;
        QApplication::setActiveWindow(f.dialog.get());
        auto* pf1 = f.get<QComboBox>("Combo1");
        auto* pf2 = f.get<QComboBox>("Combo2");
        auto* image = f.get<QLabel>("Image1");
        QCOMPARE(f->shownPicture(), 1);
        QCOMPARE(image->size(), QSize(113, 257));
        pf1->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(pf1, Qt::Key_Tab);
        QVERIFY(pf2->hasFocus());
        QCOMPARE(f->shownPicture(), 2);
        QCOMPARE(image->pixmap().toImage(), RadioSideView(SideKey::Pf2).toImage());
        QTest::keyClick(pf2, Qt::Key_Backtab);
        QCOMPARE(f->shownPicture(), 1);
        QCOMPARE(image->pixmap().toImage(), RadioSideView(SideKey::Pf1).toImage());
        QVERIFY(RadioSideView(SideKey::Pf1).toImage() != RadioSideView(SideKey::Pf2).toImage());
        pf2->setFocus(Qt::OtherFocusReason);
        f.press("Command1");
        QCOMPARE(f->shownPicture(), 2); // OK leaves the last picture
    }

    void aboutLinkOpensEveryClick() {
        frmAbout about(nullptr);
        QList<QUrl> opened;
        about.setUrlOpener([&opened](const QUrl& url) { opened.append(url); });
        about.show();
        auto* credit = about.findChild<QLabel*>("lblDescription");
        QTest::mouseClick(credit, Qt::LeftButton); // the whole label reacts
        QTest::mouseClick(credit, Qt::LeftButton);
        QCOMPARE(opened, (QList<QUrl>{QUrl("https://tr640.example.org/"),
                                      QUrl("https://tr640.example.org/")}));
        QVERIFY(about.isVisible());
        QCOMPARE(about.findChild<QLabel*>("Image2")->pixmap().size(), QSize(71, 70));
        about.findChild<QAbstractButton*>("cmdOK")->click();
        QVERIFY(about.isHidden());
    }

    void messageOkCancelClose_data() { AddOkCancelClose(); }
    void messageOkCancelClose() {
        QFETCH(QString, how);
        QFETCH(bool, stores);
        DialogFixture<Form7> f([](SharedState& s) {
            s.Editor.Settings.EmbeddedMessage = {"HELLO", "WORLD"};
        });
        QVERIFY(!f->isModal());
        QCOMPARE(Shown(f.dialog.get(), QStringList{"Text1", "Text2"}),
                 (QStringList{"HELLO", "WORLD"}));
        f.get<QLineEdit>("Text1")->selectAll();
        QTest::keyClicks(f.get<QLineEdit>("Text1"), "Line one");
        f.get<QLineEdit>("Text2")->clear(); // an empty box stores an empty line
        Leave(f, how);
        QCOMPARE(
            QStringList(f.settings().EmbeddedMessage.begin(), f.settings().EmbeddedMessage.end()),
            (stores ? QStringList{"Line one", ""} : QStringList{"HELLO", "WORLD"}));
        f->showDialog(); // the boxes show what the user left in them
        QCOMPARE(Shown(f.dialog.get(), QStringList{"Text1", "Text2"}),
                 (QStringList{"Line one", ""}));
        f.decode(ImageWith([](EditorState& e) {
            e.Settings.EmbeddedMessage = {"FROM RADIO", ""};
        }));
        QCOMPARE(Shown(f.dialog.get(), QStringList{"Text1", "Text2"}),
                 (QStringList{"FROM RADIO", ""}));
        const QString full(32, u'Z'); // a line of 32 characters fills its bytes, comes back whole
        f.decode(ImageWith([&](EditorState& e) { e.Settings.EmbeddedMessage[1] = full; }));
        QCOMPARE(f.get<QLineEdit>("Text2")->text(), full);
    }

    // Rows: start | selected from the start | typed | expected; "32a" is 32 letters a.
    void messageTyping_data() {
        AddRows({"below the limit: abc|0|de|abcde", "stops at 32: 30a|0|xyz|30axy",
                 "full refuses a letter: 32a|0|x|32a", "full, selection replaced: 32a|3|X|X29a",
                 "accented letters pass: |0|Grüße|Grüße", "Chinese refused: AB|0|中文C|ABC",
                 "euro sign refused: |0|5€|5", "y diaeresis refused (unused byte): |0|ÿy|y"});
    }
    void messageTyping() {
        QFETCH(QStringList, row);
        for (QString& part : row) { // "30axy": 30 letters a, then "xy"
            const QRegularExpressionMatch m = QRegularExpression("(\\d+)a").match(part);
            if (m.hasMatch())
                part.replace(m.capturedStart(), m.capturedLength(),
                             QString(m.captured(1).toInt(), u'a'));
        }
        DialogFixture<Form7> f;
        auto* t = f.get<QLineEdit>("Text1");
        t->setText(row[0]);
        if (row[1] != "0")
            t->setSelection(0, row[1].toInt());
        TypeText(t, row[2]);
        QCOMPARE(t->text(), row[3]);
    }

    void messagePasting_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected"); // by Ctrl+V
        QTest::addColumn<QString>("viaMenu");  // by the context menu, past the typing limit
        const QString full(32, u'a'), longText(40, u'p');
        QTest::newRow("long paste kept") << "" << longText << longText << longText;
        QTest::newRow("paste when full") << full << "b" << full << full + "b";
        QTest::newRow("non-Latin-1 refused") << "ab"
                                             << "x中y"
                                             << "ab"
                                             << "ab";
        QTest::newRow("line break refused") << "ab"
                                            << "x\ny"
                                            << "ab"
                                            << "ab";
        QTest::newRow("Latin-1 paste") << "ab"
                                       << "çé"
                                       << "abçé"
                                       << "abçé";
    }
    void messagePasting() {
        QFETCH(QString, start);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);
        DialogFixture<Form7> f;
        auto* t = f.get<FilteredLineEdit>("Text1");
        t->setText(start);
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t->text(), expected);
        t->setText(start);
        t->pasteFiltered();
        QTEST(t->text(), "viaMenu");
        t->setText(expected); // what the box holds is what OK stores
        f.press("Command1");
        QCOMPARE(f.settings().EmbeddedMessage[0], expected);
        // Text from an input method follows the same rules.
        auto* other = f.get<QLineEdit>("Text2");
        other->setText("AB");
        for (const QString commit : {"你好", "é"}) {
            QInputMethodEvent event;
            event.setCommitString(commit);
            QApplication::sendEvent(other, &event);
        }
        QCOMPARE(other->text(), QString("ABé"));
    }

    void inTheMainWindow() {
        Window w;
        const char* items[][2] = {{"mnusetin", "Form7"},
                                  {"mnudebug", "Form2"},
                                  {"mnutestfre", "Form4"},
                                  {"mnuabout", "frmAbout"}};
        for (const char* name : {"Form2", "Form4", "Form5", "Form6", "Form7", "frmAbout"}) {
            auto* d = w->findChild<SettingsDialog*>(name); // made hidden by the first pass
            QVERIFY2(d && d->isHidden() && d->parentWidget() == w.form.get(), name);
        }
        QCOMPARE(Shown(w->windowNamed("Form5"), QStringList{"Label11", "Combo10[1]", "Combo13[0]"}),
                 (QStringList{"复制", "打开", "空"}));
        QCOMPARE(Shown(w->windowNamed("Form2"), "Lblpower1"), QString("63"));
        for (const auto& [item, name] : items) {
            w.trigger(item);
            QVERIFY2(w->windowNamed(name)->isVisible(), name);
            QVERIFY(!qobject_cast<QDialog*>(w->windowNamed(name))->isModal());
        }
        // A language switch keeps the lists' positions.
        w->windowNamed("Form5")->findChild<QComboBox*>("Combo11")->setCurrentIndex(2);
        w->windowNamed("Form6")->findChild<QComboBox*>("Combo2")->setCurrentIndex(8);
        for (int language : {English, Chinese})
            w.trigger(language == English ? "mnuEnglish" : "mnuChinese");
        QCOMPARE(Shown(w->windowNamed("Form6"), "Combo2"), QString("照明灯开关"));
        QCOMPARE(w->windowNamed("Form5")->findChild<QComboBox*>("Combo11")->currentIndex(), 2);
        // A read refreshes every dialog, whatever the user left in it.
        w->windowNamed("Form7")->findChild<QLineEdit*>("Text1")->setText("left by the user");
        EditorState read = w->editor();
        DecodeImage(read, ImageWith([](EditorState& e) {
                        e.Settings.EmbeddedMessage[0] = "DECODED";
                        e.Settings.TestRxFrequency[4] = "145.00625";
                        e.Settings.TxLowPower = 21;
                        e.Settings.VoxGainLevel = "9";
                        e.Settings.Pf2Function = 6;
                    }));
        w->document().replace(read);
        QCOMPARE(Shown(w->windowNamed("Form7"), "Text1"), QString("DECODED"));
        QCOMPARE(w->windowNamed("Form4")->findChild<FlexGrid*>("mfgrid1")->text(5, 1),
                 QString("145.00625"));
        QCOMPARE(w->windowNamed("Form2")->findChild<QSlider*>("Slider3")->value(), 21);
        QCOMPARE(w->windowNamed("Form5")->findChild<QComboBox*>("Combo7")->currentIndex(), 9);
        QCOMPARE(w->windowNamed("Form6")->findChild<QComboBox*>("Combo2")->currentIndex(), 6);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"

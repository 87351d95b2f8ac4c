// The debug parameters, test frequency, key assignment and embedded message dialogs, the About
// box, and the dialogs as the main window creates, shows and refreshes them.

#include "support/UiTestSupport.h"

#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/dialogs/Form2.h"
#include "ui/dialogs/Form4.h"
#include "ui/dialogs/Form6.h"
#include "ui/dialogs/Form7.h"

#include <QClipboard>
#include <QKeyEvent>
#include <QSlider>

using namespace tr640;
using namespace tr640::test;

namespace {

// The debug dialog on powers 40 and 12, unlocked by CalibrationWrite 1 only.
struct Debug : DialogFixture<Form2> {
    explicit Debug(int calibrationWrite = 0)
        : DialogFixture([=](SharedState& s) {
              s.Editor.Settings.TxHighPower = 40;
              s.Editor.Settings.TxLowPower = 12;
              s.Editor.CalibrationWrite = calibrationWrite;
          }) {}
    QSlider* slider(int n) const { return get<QSlider>(QString("Slider%1").arg(n)); }
    QStringList readOuts() const { return Shown(dialog.get(), {"Lblpower1", "Lblpower3"}); }
};

struct Test : DialogFixture<Form4> {
    CellEditGrid* grid = get<CellEditGrid>("mfgrid1");
    QStringList row(int r) const { return RowTexts(grid, r, 1, 2); }
};

// Types text as a keyboard does, also characters QTest::keyClicks cannot send (beyond ASCII).
void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const Qt::Key key =
            u >= 0x20 && u < 0x7F ? Qt::Key(QChar(u).toUpper().unicode()) : Qt::Key_unknown;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// OK (Command1) stores, Cancel (Command2) and the title bar's close do not.
void AddOkCancelClose() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stores");
    QTest::newRow("OK") << "Command1" << true;
    QTest::newRow("Cancel") << "Command2" << false;
    QTest::newRow("title-bar close") << "close" << false;
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void debugSliders_data() { // CalibrationWrite | how it is left | powers stored
        AddRows({"locked, OK: 0|Command1|40|12", "other value, OK: 7|Command1|40|12",
                 "unlocked, OK: 1|Command1|0|16", "unlocked, title-bar close: 1|close|40|12"});
    }
    void debugSliders() {
        QFETCH(QStringList, row);
        Debug f(row[0].toInt());
        const bool on = row[0] == "1";
        QCOMPARE(f.slider(1)->isEnabled(), on);
        QCOMPARE(f.slider(3)->isEnabled(), on);
        // Keys move an unlocked slider and its read-out only.
        const std::pair<Qt::Key, QStringList> steps[] = {{Qt::Key_End, {"63", "12"}},
                                                         {Qt::Key_Home, {"0", "12"}},
                                                         {Qt::Key_PageUp, {"0", "17"}},
                                                         {Qt::Key_Left, {"0", "16"}}};
        for (const auto& [key, shown] : steps) {
            QTest::keyClick(f.slider(key == Qt::Key_End || key == Qt::Key_Home ? 1 : 3), key);
            QCOMPARE(f.readOuts(), (on ? shown : QStringList{"40", "12"}));
        }
        QCOMPARE(f.settings().TxHighPower, 40); // stored only on OK
        f.leave(row[1]);
        QVERIFY(f->isHidden());
        QCOMPARE((QStringList{QString::number(f.settings().TxHighPower),
                              QString::number(f.settings().TxLowPower)}),
                 row.mid(2));
    }

    // A decode shows the stored values, also while locked, and locks again; a value beyond the
    // slider's end is shown and kept.
    void debugDecode() {
        Debug f;
        f.state.Editor.CalibrationWrite = 1;
        QByteArray image = ImageWith([](EditorState& e) { e.Settings.TxLowPower = 3; });
        image[0x173] = char(200);
        f.decode(image);
        QCOMPARE(f.state.Editor.CalibrationWrite, 0);
        QVERIFY(!f.slider(1)->isEnabled());
        QCOMPARE((QList<int>{f.slider(1)->value(), f.slider(3)->value()}), (QList<int>{63, 3}));
        QCOMPARE(f.readOuts(), (QStringList{"200", "3"}));
        f.state.Editor.CalibrationWrite = 1;
        Form2 form(f.state, nullptr);
        form.show();
        QCOMPARE(Shown(&form, "Lblpower1"), QString("200"));
        form.findChild<QAbstractButton*>("Command1")->click();
        QCOMPARE(EncodeImage(f.state.Editor).at(0x173), char(200));
    }

    // Rows: receive typed | transmit typed (empty: "440", then cleared) | shown | message.
    void testSnapping_data() {
        AddRows({"6.25 kHz nearer: 145.0070||145.00625", "5 kHz nearer: 145.0120||145.01000",
                 "letters only: abc||0.00000", "leading number: 146.52x||146.52000",
                 "negative: -5||0.00000", "TX on RX's 6.25 kHz: 145.00625|146.0074|146.00625",
                 "TX on RX's 5 kHz: 145.01000|146.0074|146.00500", "absurdly long: 9{400}||0.00000",
                 "receive 999.995: 999.995||999.99500", "receive 1000: 1000|||超出频段范围",
                 "transmit 1000.5: 145.00625|1000.5|145.00625|超出频段范围"});
    }
    void testSnapping() {
        QFETCH(QStringList, row);
        const QString &receive = row[0], &transmit = row[1], &shown = row[2];
        Test f;
        BoxAnswerer boxes;
        f.enter(7, Form4::kRxColumn, receive);
        const QString rx = transmit.isEmpty() ? shown : receive;
        QCOMPARE(f.row(7), (QStringList{rx, rx})); // an empty TX follows RX
        if (!rx.isEmpty())
            f.enter(7, Form4::kTxColumn, transmit.isEmpty() ? "440" : transmit);
        QCOMPARE(f.row(7),
                 (QStringList{rx, transmit.isEmpty() && !rx.isEmpty() ? "440.00000" : shown}));
        QCOMPARE(boxes.count(), row.size() > 3 ? 1 : 0);
        QCOMPARE(boxes.text(), row.value(3));
        f.enter(7, Form4::kRxColumn, ""); // clearing RX clears TX
        QCOMPARE(f.row(7), (QStringList{"", ""}));
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
        f.leave(how);
        const SettingsStore& s = f.settings();
        QCOMPARE((QStringList{s.TestRxFrequency[0], s.TestTxFrequency[0], s.TestRxFrequency[15],
                              s.TestTxFrequency[7]}),
                 (stores ? QStringList{"145.00625", "145.00625", "", "145.01000"}
                         : QStringList{"", "", "400.00000", ""}));
    }

    void keys() { // Cancel and the title-bar close: the message suite, the same base class
        DialogFixture<Form6> f;
        auto* pf1 = f.get<QComboBox>("Combo1");
        auto* pf2 = f.get<QComboBox>("Combo2");
        QCOMPARE(pf1->count(), 12);
        pf1->setCurrentIndex(8);
        pf2->setCurrentIndex(4);
        f.leave("Command1");
        QCOMPARE(f.settings().Pf1Function, 8);
        QCOMPARE(f.settings().Pf2Function, 4);
        // A byte beyond the list leaves the key as it was; a value beyond it shows OFF.
        QByteArray image = EncodeImage(EditorState());
        image[0x10D] = 12;
        f.decode(image);
        QCOMPARE(pf1->currentIndex(), 8);
        QCOMPARE(f.settings().Pf1Function, 8);
        f.state.Editor.Settings.Pf2Function = -1;
        f->refreshFromStore();
        QCOMPARE(pf2->currentIndex(), 1);
    }

    void message_data() { AddOkCancelClose(); }
    void message() {
        QFETCH(QString, how);
        QFETCH(bool, stores);
        DialogFixture<Form7> f([](SharedState& s) {
            s.Editor.Settings.EmbeddedMessage = {"HELLO", "WORLD"};
        });
        QVERIFY(!f->isModal());
        f.get<QLineEdit>("Text1")->selectAll();
        QTest::keyClicks(f.get<QLineEdit>("Text1"), "Line one");
        f.get<QLineEdit>("Text2")->clear(); // an empty box stores an empty line
        f.leave(how);
        QCOMPARE(
            QStringList(f.settings().EmbeddedMessage.begin(), f.settings().EmbeddedMessage.end()),
            (stores ? QStringList{"Line one", ""} : QStringList{"HELLO", "WORLD"}));
        const QString full(32, u'Z'); // a line of 32 characters fills its bytes, comes back whole
        f.decode(ImageWith([&](EditorState& e) { e.Settings.EmbeddedMessage = {"RADIO", full}; }));
        QCOMPARE(Shown(f.dialog.get(), QStringList{"Text1", "Text2"}),
                 (QStringList{"RADIO", full}));
    }

    // Rows: start | selected from the start | typed | expected.
    void messageTyping_data() {
        AddRows({"stops at 32: a{30}|0|xyz|a{30}xy", "full, selection replaced: a{32}|3|X|Xa{29}",
                 "accented letters pass: |0|Grüße|Grüße", "Chinese refused: AB|0|中文C|ABC",
                 "y diaeresis refused (unused byte): |0|ÿy|y"});
    }
    void messageTyping() {
        QFETCH(QStringList, row);
        DialogFixture<Form7> f;
        auto* t = f.get<QLineEdit>("Text1");
        t->setText(row[0]);
        if (row[1] != "0")
            t->setSelection(0, row[1].toInt());
        TypeText(t, row[2]);
        QCOMPARE(t->text(), row[3]);
    }

    // Rows: start | clipboard | by Ctrl+V | by the context menu, past the typing limit.
    void messagePasting_data() {
        AddRows({"long paste kept: |p{40}|p{40}|p{40}", "paste when full: a{32}|b|a{32}|a{32}b",
                 "non-Latin-1 refused: ab|x中y|ab|ab", "Latin-1 paste: ab|çé|abçé|abçé"});
        QTest::newRow("line break refused") << QStringList{"ab", "x\ny", "ab", "ab"};
    }
    void messagePasting() {
        QFETCH(QStringList, row);
        DialogFixture<Form7> f;
        auto* t = f.get<FilteredLineEdit>("Text1");
        t->setText(row[0]);
        QGuiApplication::clipboard()->setText(row[1]);
        QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t->text(), row[2]);
        t->setText(row[0]);
        t->pasteFiltered();
        QCOMPARE(t->text(), row[3]);
        f.press("Command1"); // what the box holds is what OK stores
        QCOMPARE(f.settings().EmbeddedMessage[0], row[3]);
    }

    void inTheMainWindow() {
        Window w;
        const char* items[][2] = {{"mnusetin", "Form7"},
                                  {"mnudebug", "Form2"},
                                  {"mnutestfre", "Form4"},
                                  {"mnuabout", "frmAbout"}};
        for (const auto& [item, name] : items) {
            QVERIFY2(w->windowNamed(name)->isHidden(), name);
            w.trigger(item);
            QVERIFY2(w->windowNamed(name)->isVisible(), name);
            QVERIFY(!qobject_cast<QDialog*>(w->windowNamed(name))->isModal());
        }
        // Opening a file refreshes every dialog, whatever the user left in it.
        w->windowNamed("Form7")->findChild<QLineEdit*>("Text1")->setText("left by the user");
        EditorState opened;
        opened.Settings.EmbeddedMessage[0] = "DECODED";
        opened.Settings.TestRxFrequency[4] = "145.00625";
        opened.Settings.TxLowPower = 21;
        opened.Settings.VoxGainLevel = "9";
        opened.Settings.Pf2Function = 6;
        w.open(opened);
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

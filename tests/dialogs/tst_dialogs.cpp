// The settings dialogs (debug parameters, test frequencies, optional functions, key assignment,
// embedded message), the About box, and the dialogs as the main window shows and refreshes them.

#include "support/UiTestSupport.h"

#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/dialogs/Form2.h"
#include "ui/dialogs/Form4.h"
#include "ui/dialogs/Form5.h"
#include "ui/dialogs/Form6.h"
#include "ui/dialogs/Form7.h"

#include <QCheckBox>
#include <QClipboard>
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

// The lists whose positions OK stores.
const QStringList kLists{"Combo4",  "Combo6",  "Combo7",  "Combo8",  "Combo9", "Combo10",
                         "Combo11", "Combo13", "Combo14", "Combo15", "Combo0", "Combo16",
                         "Combo17", "Combo19", "Combo20", "Combo21"};

struct Options : DialogFixture<Form5> {
    CellEditGrid* grid = get<CellEditGrid>("mfgrid1");
    QComboBox* combo(const QString& name) const { return get<QComboBox>(name); }
    QLineEdit* box(const QString& name) const { return get<QLineEdit>(name); }
};

// How a dialog is left | whether it stores: OK does, Cancel and the title bar's close do not.
const std::initializer_list<const char*> kLeaving{"OK: Command1|1", "Cancel: Command2|0",
                                                  "title-bar close: close|0"};

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

    // Rows: receive typed | transmit typed (none: it follows) | both shown | the message.
    // Clearing the receive frequency clears both.
    void testSnapping_data() {
        AddRows(
            {"6.25 kHz nearer: 145.0070||145.00625|145.00625",
             "5 kHz nearer: 145.0120||145.01000|145.01000", "letters only: abc||0.00000|0.00000",
             "leading number: 146.52x||146.52000|146.52000", "negative: -5||0.00000|0.00000",
             "TX on RX's 6.25 kHz: 145.00625|146.0074|145.00625|146.00625",
             "TX on RX's 5 kHz: 145.01000|146.0074|145.01000|146.00500",
             "TX on its own: 145.01000|440|145.01000|440.00000",
             "absurdly long: 9{400}||0.00000|0.00000",
             "receive 999.995: 999.995||999.99500|999.99500", "receive 1000: 1000||||超出频段范围",
             "transmit 1000.5: 145.00625|1000.5|145.00625|145.00625|超出频段范围"});
    }
    void testSnapping() {
        QFETCH(QStringList, row);
        Test f;
        BoxAnswerer boxes;
        f.enter(7, Form4::kRxColumn, row[0]);
        if (!row[1].isEmpty())
            f.enter(7, Form4::kTxColumn, row[1]);
        QCOMPARE(f.row(7), row.mid(2, 2));
        QCOMPARE(boxes.count(), row.size() > 4 ? 1 : 0);
        QCOMPARE(boxes.text(), row.value(4));
        f.enter(7, Form4::kRxColumn, "");
        QCOMPARE(f.row(7), (QStringList{"", ""}));
    }

    void testOkCancelClose_data() { AddRows(kLeaving); }
    void testOkCancelClose() {
        QFETCH(QStringList, row);
        const QString how = row[0];
        const bool stores = row[1] == "1";
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

    void optionsLists() {
        Options f;
        QCOMPARE(Shown(f.dialog.get(), QStringList{"Combo13[0]", "Combo13[1]", "Combo14[91]",
                                                   "Combo18[18]", "Combo7[10]"}),
                 (QStringList{"None", "0.50", "5.00", "1000MS", "10"}));
        const std::pair<const char*, int> counts[] = {
            {"Combo12", 16}, {"Combo18", 19}, {"Combo19", 17}, {"Combo21", 16}, {"Combo14", 92}};
        for (const auto& [name, count] : counts)
            QVERIFY2(f.combo(name)->count() == count, name);
        QList<int> positions; // of the start-up store
        for (const QString& name : kLists)
            positions << f.combo(name)->currentIndex();
        QCOMPARE(positions, (QList<int>{1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0}));
        QCOMPARE(Shown(f.dialog.get(), QStringList{"Text1", "Text3", "Text4", "Text5", "Text6"}),
                 (QStringList{"", "1", "2", "", ""}));
        QVERIFY(f.get<QCheckBox>("Check3")->isChecked());
        QVERIFY(f.get<QCheckBox>("Check4")->isChecked());
    }

    // A decode replaces what the user left in each kind of control; OK stores it back.
    void optionsDecodeThenOk() {
        Options f;
        f.combo("Combo4")->setCurrentIndex(0);
        f.box("Text1")->setText("0");
        ClickCell(f.grid, 2, 1);
        QTest::keyClicks(f.grid->cellEditor(), "999");
        f.decode(ImageWith([](EditorState& e) {
            e.Settings.PttId = "2";
            e.Settings.VoxInhibitOnReceive = "0";
            e.Settings.IdCode = "123";
            e.Settings.AutodialMemory[1] = "0123456789ABCD*#";
        }));
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.combo("Combo4")->currentIndex(), 2);
        QVERIFY(!f.get<QCheckBox>("Check4")->isChecked());
        QCOMPARE(f.box("Text1")->text(), QString("123"));
        QCOMPARE(f.grid->text(2, 1), QString("0123456789ABCD*#"));
        f.combo("Combo4")->setCurrentIndex(1);
        f.get<QCheckBox>("Check4")->click();
        QTest::keyClicks(f.box("Text1"), "4a");
        f.enter(8, 1, "1230");
        f.press("Command1");
        QVERIFY(f->isHidden());
        const SettingsStore& s = f.settings();
        QCOMPARE((QStringList{s.PttId, s.VoxInhibitOnReceive, s.IdCode, s.AutodialMemory[1],
                              s.AutodialMemory[7]}),
                 (QStringList{"1", "1", "1234A", "0123456789ABCD*#", "1230"}));
    }

    void optionsCancelAndClose_data() { AddRows({"Cancel: Command2", "title-bar close: close"}); }
    void optionsCancelAndClose() {
        QFETCH(QStringList, row);
        Options f;
        const QByteArray before = EncodeImage(f.state.Editor);
        f.combo("Combo6")->setCurrentIndex(0);
        QTest::keyClicks(f.box("Text4"), "9");
        f.enter(1, 1, "555");
        f.leave(row[0]);
        QVERIFY(f->isHidden());
        QCOMPARE(EncodeImage(f.state.Editor), before);
        f->showDialog(); // the dialog keeps what the user left in it
        QCOMPARE(f.box("Text4")->text(), QString("29"));
        QCOMPARE(f.grid->text(1, 1), QString("555"));
    }

    // Typing into a box: Text1 the ID code, Text3 and Text4 the PTT codes, Text5 and Text6
    // seconds (stored as 16-bit numbers). Backspace always works; Ctrl+V is refused.
    // Rows: box | text before, "*" selected | typed | expected.
    void optionsTyping_data() {
        AddRows(
            {"abc upper-cased, e refused: Text1||abce|ABC",
             "code set: Text3||0123456789*#dD|0123456789*#DD", "others refused: Text4||1 x.E-2!|12",
             "11th refused: Text1||12345678901|1234567890",
             "full, selection replaced: Text1|*1234567890|7|7", "17th refused: Text3|1{16}|2|1{16}",
             "300 s: Text5||300|300", "301 refused: Text5||301|30",
             "fourth digit refused: Text6||1a234|123", "minus refused: Text6||-5|5"});
    }
    void optionsTyping() {
        QFETCH(QStringList, row);
        const QString expected = row[3];
        Options f;
        QLineEdit* b = f.box(row[0]);
        b->setText(QString(row[1]).remove(u'*'));
        if (row[1].startsWith(u'*'))
            b->selectAll();
        QTest::keyClicks(b, row[2]);
        QCOMPARE(b->text(), expected);
        QGuiApplication::clipboard()->setText("999");
        QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(b->text(), expected);
        f.press("Command1");
        if (row[0] == "Text5" || row[0] == "Text6") {
            const QByteArray image = EncodeImage(f.state.Editor);
            const int offset = row[0] == "Text5" ? 0x155 : 0x157;
            QCOMPARE(quint8(image[offset]) | quint8(image[offset + 1]) << 8, expected.toInt());
        }
        f->showDialog();
        QTest::keyClick(b, Qt::Key_Backspace);
        QCOMPARE(b->text(), expected.chopped(expected.isEmpty() ? 0 : 1));
    }

    // Rows: typed into memory 5 | shown | messages | the 16 bytes stored.
    void optionsMemoryGrid_data() {
        AddRows({"codes only: 12abe*# x9|12AB*#9|0|", "16 digits: 7{16}|7{16}|0|7{16}",
                 "20 digits: 12345678901234567890|12345678901234567890|1|123456789:123456"});
    }
    void optionsMemoryGrid() {
        QFETCH(QStringList, row);
        Options f;
        QCOMPARE(f.grid->rowCount(), 9);
        ClickCell(f.grid, 5, 0); // the number column takes no editor
        QVERIFY(!f.grid->cellEditor());
        BoxAnswerer boxes;
        f.enter(5, 1, row[0]);
        QCOMPARE(f.grid->text(5, 1), row[1]);
        QTRY_COMPARE(boxes.count(), row[2].toInt());
        ClickCell(f.grid, 5, 1); // leaving the cell again without a change shows nothing more
        ClickCell(f.grid, 6, 1);
        QCoreApplication::processEvents();
        QCOMPARE(boxes.count(), row[2].toInt());
        if (boxes.count()) {
            QCOMPARE(boxes.text(), QString("存储器只能存储16位！"));
            QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        }
        f.press("Command1");
        QCOMPARE(f.settings().AutodialMemory[4], row[1]);
        if (!row[3].isEmpty())
            QCOMPARE(EncodeImage(f.state.Editor).mid(0x230, 16), row[3].toLatin1());
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

    void message_data() { AddRows(kLeaving); }
    void message() {
        QFETCH(QStringList, row);
        const QString how = row[0];
        const bool stores = row[1] == "1";
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

    // Rows: start | how: typed, typed over the first N characters, Ctrl+V or the context
    // menu's paste (past the typing limit) | text | what the box holds and OK stores.
    void messageEntry_data() {
        AddRows(
            {"stops at 32: a{30}|typed|xyz|a{30}xy", "full, selection replaced: a{32}|3|X|Xa{29}",
             "accented letters pass: |typed|Grüße|Grüße", "Chinese refused: AB|typed|中文C|ABC",
             "y diaeresis refused (unused byte): |typed|ÿy|y",
             "long paste kept: |Ctrl+V|p{40}|p{40}", "long paste kept, menu: |menu|p{40}|p{40}",
             "Ctrl+V when full: a{32}|Ctrl+V|b|a{32}", "menu when full: a{32}|menu|b|a{32}b",
             "non-Latin-1 refused: ab|Ctrl+V|x中y|ab", "non-Latin-1 refused, menu: ab|menu|x中y|ab",
             "Latin-1 paste: ab|Ctrl+V|çé|abçé", "Latin-1 paste, menu: ab|menu|çé|abçé",
             "line break refused: ab|Ctrl+V|x\ny|ab", "line break refused, menu: ab|menu|x\ny|ab"});
    }
    void messageEntry() {
        QFETCH(QStringList, row);
        DialogFixture<Form7> f;
        auto* t = f.get<FilteredLineEdit>("Text1");
        t->setText(row[0]);
        QGuiApplication::clipboard()->setText(row[2]);
        if (row[1] == "Ctrl+V") {
            QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
        } else if (row[1] == "menu") {
            t->pasteFiltered();
        } else {
            if (row[1] != "typed")
                t->setSelection(0, row[1].toInt());
            for (QChar c : row[2]) // also what QTest::keyClicks cannot send (beyond ASCII)
                QTest::sendKeyEvent(QTest::Click, t, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        QCOMPARE(t->text(), row[3]);
        f.press("Command1");
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

// The optional functions dialog: its lists and boxes, what OK stores, decodes, the character
// rules of the code boxes and the autodial memory grid.

#include "support/UiTestSupport.h"

#include "ui/dialogs/Form5.h"

#include <QCheckBox>
#include <QClipboard>

using namespace tr640;
using namespace tr640::test;

namespace {

// The lists whose positions OK stores.
const QStringList kLists{"Combo4",  "Combo6",  "Combo7",  "Combo8",  "Combo9", "Combo10",
                         "Combo11", "Combo13", "Combo14", "Combo15", "Combo0", "Combo16",
                         "Combo17", "Combo19", "Combo20", "Combo21"};

struct Fixture : DialogFixture<Form5> {
    CellEditGrid* grid = get<CellEditGrid>("mfgrid1");
    QComboBox* combo(const QString& name) const { return get<QComboBox>(name); }
    QLineEdit* box(const QString& name) const { return get<QLineEdit>(name); }
    QList<int> positions() const {
        QList<int> p;
        for (const QString& name : kLists)
            p << combo(name)->currentIndex();
        return p;
    }
    QStringList boxes() const {
        return Shown(dialog.get(), QStringList{"Text1", "Text3", "Text4", "Text5", "Text6"});
    }
};

} // namespace

class TestForm5 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsAndLoad() {
        Fixture f;
        QCOMPARE(Shown(f.dialog.get(), QStringList{"Combo13[0]", "Combo13[1]", "Combo14[91]",
                                                   "Combo18[18]", "Combo7[10]"}),
                 (QStringList{"None", "0.50", "5.00", "1000MS", "10"}));
        const std::pair<const char*, int> counts[] = {
            {"Combo12", 16}, {"Combo18", 19}, {"Combo19", 17}, {"Combo21", 16}, {"Combo14", 92}};
        for (const auto& [name, count] : counts)
            QVERIFY2(f.combo(name)->count() == count, name);
        // The start-up store.
        QCOMPARE(f.positions(), (QList<int>{1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0}));
        QCOMPARE(f.boxes(), (QStringList{"", "1", "2", "", ""}));
        QVERIFY(f.get<QCheckBox>("Check3")->isChecked());
        QVERIFY(f.get<QCheckBox>("Check4")->isChecked());
    }

    // A decode replaces what the user left in each kind of control; OK stores it back.
    void decodeThenOk() {
        Fixture f;
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

    void cancelAndCloseKeepStore_data() { AddRows({"Cancel: Command2", "title-bar close: close"}); }
    void cancelAndCloseKeepStore() {
        QFETCH(QStringList, row);
        Fixture f;
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
    void typing_data() {
        AddRows(
            {"abc upper-cased, e refused: Text1||abce|ABC",
             "code set: Text3||0123456789*#dD|0123456789*#DD", "others refused: Text4||1 x.E-2!|12",
             "11th refused: Text1||12345678901|1234567890",
             "full, selection replaced: Text1|*1234567890|7|7", "17th refused: Text3|1{16}|2|1{16}",
             "300 s: Text5||300|300", "301 refused: Text5||301|30",
             "fourth digit refused: Text6||1a234|123", "minus refused: Text6||-5|5"});
    }
    void typing() {
        QFETCH(QStringList, row);
        const QString expected = row[3];
        Fixture f;
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
    void memoryGrid_data() {
        AddRows({"codes only: 12abe*# x9|12AB*#9|0|", "16 digits: 7{16}|7{16}|0|7{16}",
                 "20 digits: 12345678901234567890|12345678901234567890|1|123456789:123456"});
    }
    void memoryGrid() {
        QFETCH(QStringList, row);
        Fixture f;
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
};

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"

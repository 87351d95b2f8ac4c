// The optional functions dialog: its lists and boxes, what OK stores, decodes, the character
// rules of the code boxes and the autodial memory grid.

#include "support/UiTestSupport.h"

#include "ui/dialogs/CellEditGrid.h"
#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/dialogs/Form5.h"

#include <QCheckBox>
#include <QClipboard>
#include <QScrollBar>

using namespace tr640;
using namespace tr640::test;

namespace {

// The lists whose positions OK stores, in the order of kPositions.
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
    // Replaces the text of an autodial memory cell and commits it with Enter.
    void editMemory(int row, const QString& typed) const {
        ClickCell(grid, row, 1);
        QTRY_VERIFY(grid->cellEditor());
        grid->cellEditor()->selectAll();
        QTest::keyClicks(grid->cellEditor(), typed);
        QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
        QTRY_VERIFY(!grid->cellEditor());
    }
};

} // namespace

class TestForm5 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsAndLoad() {
        Fixture f;
        for (const QString lookBack : {"Combo13", "Combo14"}) {
            QCOMPARE(f.combo(lookBack)->count(), 92);
            QCOMPARE(Shown(f.dialog.get(), QStringList{lookBack + "[0]", lookBack + "[1]",
                                                       lookBack + "[2]", lookBack + "[91]"}),
                     (QStringList{"None", "0.50", "0.55", "5.00"}));
        }
        const std::pair<const char*, int> counts[] = {
            {"Combo12", 16}, {"Combo18", 19}, {"Combo19", 17}, {"Combo21", 16}, {"Combo7", 11}};
        for (const auto& [name, count] : counts)
            QVERIFY2(f.combo(name)->count() == count, name);
        QCOMPARE(f.combo("Combo18")->itemText(18), QString("1000MS"));
        // The start-up store.
        QCOMPARE(f.positions(), (QList<int>{1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 0, 1, 1, 1, 1, 0}));
        QCOMPARE(f.combo("Combo12")->currentText(), QString("1"));
        QCOMPARE(f.boxes(), (QStringList{"", "1", "2", "", ""}));
        QVERIFY(f.get<QCheckBox>("Check3")->isChecked());
        QCOMPARE(RowTexts(f.grid, 3, 0, 1), (QStringList{"3", "3"}));
        // Design texts that the language pass replaces.
        QCOMPARE(Shown(f.dialog.get(), QStringList{"mfgrid1@1", "Combo6[1]", "Label11"}),
                 (QStringList{"自动拨号存储器", "使能", "收音机功能"}));
    }

    void okStoresEveryField() {
        Fixture f;
        const QList<int> chosen{2, 0, 10, 5, 0, 0, 2, 91, 0, 3, 3, 3, 0, 16, 0, 15};
        for (int i = 0; i < kLists.size(); ++i)
            f.combo(kLists[i])->setCurrentIndex(chosen[i]);
        f.combo("Combo12")->setCurrentIndex(15);
        QTest::keyClicks(f.box("Text1"), "12a");
        f.box("Text3")->clear();
        QTest::keyClicks(f.box("Text5"), "300");
        f.get<QCheckBox>("Check4")->click();
        f.editMemory(8, "1230");
        f.press("Command1");
        QVERIFY(f->isHidden());
        const SettingsStore& s = f.settings();
        QCOMPARE((QStringList{s.PttId, s.VoxFunction, s.VoxGainLevel, s.VoxDelayTime,
                              s.VoxProceedTone, s.Duplicate, s.Priority, s.PriorityChannel,
                              s.LookBackTimeA, s.LookBackTimeB, s.RevertChannel, s.IdCode,
                              s.LaunchStartCode, s.DropoutDelayTime, s.CancelOperation,
                              s.VoxInhibitOnReceive, s.AutodialMemory[7]}),
                 (QStringList{"2", "0", "10", "5", "0", "0", "2", "16", "91", "0", "3", "12A", "",
                              "300", "1", "0", "1230"}));
        QCOMPARE((QList<int>{s.DtmfRate, s.FirstDigitTime, s.StarHashTone, s.DKeySetting,
                             s.DtmfSidetone, s.AutoResetTimer}),
                 (QList<int>{3, 3, 0, 16, 0, 15}));
        const QByteArray image = EncodeImage(f.state.Editor); // what reaches the image
        QCOMPARE(image.mid(0x155, 2), QByteArray("\x2C\x01"));
        QCOMPARE(image.mid(0x260, 5), QByteArray("123:\xFF"));
        QCOMPARE(image.at(0x151), char(16));
        QCOMPARE(image.at(0x153), char(0xFF)); // look-back none
    }

    void cancelAndCloseKeepStore_data() {
        QTest::addColumn<bool>("viaClose");
        QTest::newRow("Cancel") << false;
        QTest::newRow("title-bar close") << true;
    }
    void cancelAndCloseKeepStore() {
        QFETCH(bool, viaClose);
        Fixture f;
        const QByteArray before = EncodeImage(f.state.Editor);
        f.combo("Combo6")->setCurrentIndex(0);
        QTest::keyClicks(f.box("Text4"), "9");
        f.editMemory(1, "555");
        viaClose ? (void)f->close() : f.press("Command2");
        QVERIFY(f->isHidden());
        QCOMPARE(EncodeImage(f.state.Editor), before);
        f->showDialog(); // the dialog keeps what the user left in it
        QCOMPARE(f.combo("Combo6")->currentIndex(), 0);
        QCOMPARE(f.box("Text4")->text(), QString("29"));
        QCOMPARE(f.grid->text(1, 1), QString("555"));
        // Lists the radio does not use change nothing either.
        f.combo("Combo18")->setCurrentIndex(7);
        f.combo("Combo22")->setCurrentIndex(3);
        f.combo("Combo6")->setCurrentIndex(1);
        f.box("Text4")->setText("2");
        f.editMemory(1, "1");
        f.press("Command1");
        QCOMPARE(EncodeImage(f.state.Editor), before);
    }

    void decodeOverwritesEveryControl() {
        Fixture f; // the user leaves edits everywhere; a decode replaces all of them
        for (const QString& name : kLists)
            f.combo(name)->setCurrentIndex(0);
        f.combo("Combo12")->setCurrentIndex(5);
        for (const char* name : {"Text1", "Text3", "Text4", "Text5", "Text6"})
            f.box(name)->setText("0");
        f.get<QCheckBox>("Check3")->setChecked(false);
        ClickCell(f.grid, 2, 1);
        QTest::keyClicks(f.grid->cellEditor(), "999");
        f.decode(ImageWith([](EditorState& e) {
            SettingsStore& s = e.Settings;
            s.PttId = "2";
            s.VoxFunction = s.VoxProceedTone = s.Duplicate = s.Priority = s.CancelOperation = "1";
            s.VoxGainLevel = "7";
            s.VoxDelayTime = "4";
            s.PriorityChannel = "12";
            s.LookBackTimeA = "91";
            s.LookBackTimeB = "5";
            s.RevertChannel = "2";
            s.IdCode = "123";
            s.LaunchStartCode = "*12#";
            s.LaunchEndCode = "ABCD";
            s.DropoutDelayTime = "300";
            s.TxDwellTime = "45";
            s.VoxInhibitOnReceive = "0";
            s.AutodialMemory[1] = "0123456789ABCD*#";
            s.DtmfRate = 2;
            s.FirstDigitTime = 3;
            s.StarHashTone = 2;
            s.DKeySetting = 16;
            s.DtmfSidetone = 1;
            s.AutoResetTimer = 15;
        }));
        QVERIFY(!f.grid->cellEditor());
        QCOMPARE(f.positions(), (QList<int>{2, 1, 7, 4, 1, 1, 1, 91, 5, 2, 2, 3, 2, 16, 1, 15}));
        QCOMPARE(f.combo("Combo12")->currentText(), QString("12"));
        QCOMPARE(f.boxes(), (QStringList{"123", "*12#", "ABCD", "300", "45"}));
        QVERIFY(f.get<QCheckBox>("Check3")->isChecked());
        QVERIFY(!f.get<QCheckBox>("Check4")->isChecked());
        QCOMPARE(f.grid->text(2, 1), QString("0123456789ABCD*#"));
        QCOMPARE(f.grid->text(1, 1), QString("1"));
    }

    void idCodeHidesUnusedPlaces() {
        Fixture f;
        const QByteArray image = ImageWith([](EditorState& e) { e.Settings.IdCode = "123"; });
        QCOMPARE(image.mid(0x110, 10), QByteArray("123\xFF\xFF\xFF\xFF\xFF\xFF\xFF"));
        f.decode(image);
        QCOMPARE(f.settings().IdCode.size(), 10);
        QCOMPARE(f.box("Text1")->text(), QString("123"));
        f.press("Command1"); // untouched, OK writes back the same ten bytes
        QCOMPARE(EncodeImage(f.state.Editor).mid(0x110, 10), image.mid(0x110, 10));
        f->showDialog(); // room for seven more, and an edit stores what the box shows
        QTest::keyClicks(f.box("Text1"), "4567890");
        f.press("Command1");
        QCOMPARE(f.settings().IdCode, QString("1234567890"));
    }

    // Typing into a box: Text1 the ID code, Text3 and Text4 the PTT codes, Text5 and Text6
    // seconds. Backspace always works; Ctrl+V is a control character and is refused.
    // Rows: box | text before, "*" selected | typed | expected; "16x1" is sixteen ones.
    void typing_data() {
        AddRows(
            {"abc upper-cased: Text1||abc|ABC", "e refused: Text1||e|",
             "code set: Text3||0123456789*#dD|0123456789*#DD", "others refused: Text4||1 x.E-2!|12",
             "11th refused: Text1||12345678901|1234567890",
             "full, selection replaced: Text1|*1234567890|7|7", "17th refused: Text3|16x1|2|16x1",
             "Text4 limit 16: Text4|15x1|23|15x12", "300 s: Text5||300|300",
             "301 refused: Text5||301|30", "letters refused: Text6||1a2b|12",
             "fourth digit refused: Text6||1234|123", "minus refused: Text6||-5|5"});
    }
    void typing() {
        QFETCH(QStringList, row);
        for (QString& part : row)
            if (part.contains("x1"))
                part =
                    QString(part.section(u'x', 0, 0).toInt(), u'1') + part.section(u'x', 1).mid(1);
        const QString boxName = row[0], expected = row[3];
        Fixture f;
        QLineEdit* b = f.box(boxName);
        b->setText(QString(row[1]).remove(u'*'));
        if (row[1].startsWith(u'*'))
            b->selectAll();
        QTest::keyClicks(b, row[2]);
        QCOMPARE(b->text(), expected);
        QGuiApplication::clipboard()->setText("999");
        QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(b->text(), expected);
        f.press("Command1");
        if (boxName == "Text5" || boxName == "Text6") { // stored as a 16-bit number
            const QByteArray image = EncodeImage(f.state.Editor);
            const int offset = boxName == "Text5" ? 0x155 : 0x157;
            QCOMPARE(quint8(image[offset]) | quint8(image[offset + 1]) << 8, expected.toInt());
        }
        f->showDialog();
        QTest::keyClick(b, Qt::Key_Backspace);
        QCOMPARE(b->text(), expected.chopped(expected.isEmpty() ? 0 : 1));
    }

    void codeBoxPaste_data() {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected");
        QTest::newRow("codes, upper-cased") << "12ab"
                                            << "912AB";
        QTest::newRow("refused character") << "12e"
                                           << "9";
        QTest::newRow("too long") << "1234567890"
                                  << "9";
    }
    void codeBoxPaste() {
        QFETCH(QString, clipboard);
        Fixture f;
        auto* b = f.get<FilteredLineEdit>("Text1");
        b->setText("9");
        QGuiApplication::clipboard()->setText(clipboard);
        b->pasteFiltered(); // the context menu's paste
        QTEST(b->text(), "expected");
    }

    void scrollBarsWriteBoxes() {
        Fixture f;
        auto* v1 = f.get<QScrollBar>("VScroll1");
        QCOMPARE(v1->minimum(), 0);
        QCOMPARE(v1->maximum(), 300);
        // Not positioned from the store, and typing does not move them.
        f.state.Editor.Settings.DropoutDelayTime = "120";
        f->refreshFromStore();
        QCOMPARE(v1->value(), 0);
        QCOMPARE(f.box("Text5")->text(), QString("120"));
        QTest::keyClick(v1, Qt::Key_Down);
        f.get<QScrollBar>("VScroll2")->setValue(300);
        QCOMPARE(f.boxes().mid(3), (QStringList{"1", "300"}));
    }

    void memoryGrid() {
        Fixture f;
        QCOMPARE(f.grid->rowCount(), 9);
        QCOMPARE(f.grid->columnCount(), 2);
        ClickCell(f.grid, 4, 1);
        f.grid->cellEditor()->selectAll();
        QTest::keyClicks(f.grid->cellEditor(), "12abe*# x9");
        QCOMPARE(f.grid->cellEditor()->text(), QString("12AB*#9"));
        QTest::keyClick(f.grid->cellEditor(), Qt::Key_Return);
        QTRY_VERIFY(!f.grid->cellEditor());
        QCOMPARE(f.grid->text(4, 1), QString("12AB*#9"));
        ClickCell(f.grid, 4, 0); // the number column takes no editor
        QVERIFY(!f.grid->cellEditor());
        // Longer than 16: said once, kept, and the codec stores the first 16.
        BoxAnswerer boxes;
        const QString twenty = "12345678901234567890";
        f.editMemory(5, twenty);
        QTRY_COMPARE(boxes.count(), 1);
        QCOMPARE(boxes.text(), QString("存储器只能存储16位！"));
        QCOMPARE(boxes.seen()[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes.seen()[0].title, QString("TR-640 Software"));
        QCOMPARE(f.grid->text(5, 1), twenty);
        ClickCell(f.grid, 5, 1); // leaving the cell again without a change shows nothing more
        ClickCell(f.grid, 6, 1);
        QCoreApplication::processEvents();
        QCOMPARE(boxes.count(), 1);
        f.press("Command1");
        QCOMPARE(f.settings().AutodialMemory[4], twenty);
        QCOMPARE(EncodeImage(f.state.Editor).mid(0x230, 16), QByteArray("123456789:123456"));
    }
};

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"

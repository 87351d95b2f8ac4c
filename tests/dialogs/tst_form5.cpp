// The optional functions dialog.

#include "DialogTestSupport.h"

#include "ui/dialogs/CellEditGrid.h"
#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/dialogs/Form5.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

using namespace tr640;
using namespace tr640::test;

namespace {

const char* const kStoredLists[] = {
    "Combo0",  "Combo4",  "Combo6",  "Combo7",  "Combo8",  "Combo9",  "Combo10", "Combo11",
    "Combo13", "Combo14", "Combo15", "Combo16", "Combo17", "Combo19", "Combo20", "Combo21"};

} // namespace

class TestForm5 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void listsAndLoad();
    void okStoresEveryField();
    void cancelAndCloseKeepStore_data();
    void cancelAndCloseKeepStore();
    void unusedListsChangeNothing();
    void decodeOverwritesEveryControl();
    void idCodeHidesUnusedPlaces();
    void codeBoxFilter_data();
    void codeBoxFilter();
    void codeBoxPaste_data();
    void codeBoxPaste();
    void secondsBoxes_data();
    void secondsBoxes();
    void scrollBarsWriteBoxes();
    void memoryGrid();
    void memoryTooLong();

private:
    template <typename T> T* get(const char* name) {
        T* w = dialog->findChild<T*>(QLatin1String(name));
        if (!w)
            qFatal("no %s", name);
        return w;
    }
    QComboBox* combo(const char* name) { return get<QComboBox>(name); }
    QLineEdit* box(const char* name) { return get<QLineEdit>(name); }
    void press(const char* button) { QTest::mouseClick(get<QPushButton>(button), Qt::LeftButton); }
    void editMemory(int row, const QString& typed);

    SharedState state;
    Form5* dialog = nullptr;
    CellEditGrid* grid = nullptr;
};

void TestForm5::init() {
    state = SharedState();
    dialog = new Form5(state, nullptr);
    grid = dialog->findChild<CellEditGrid*>("mfgrid1");
    dialog->show();
}

void TestForm5::cleanup() {
    delete dialog;
    dialog = nullptr;
}

void TestForm5::editMemory(int row, const QString& typed) {
    ClickCell(grid, row, 1);
    QVERIFY(grid->cellEditor());
    grid->cellEditor()->selectAll();
    QTest::keyClicks(grid->cellEditor(), typed);
    QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
    QTRY_VERIFY(!grid->cellEditor());
}

void TestForm5::listsAndLoad() {
    for (const char* lookBack : {"Combo13", "Combo14"}) {
        QComboBox* c = combo(lookBack);
        QCOMPARE(c->count(), Form5::kLookBackItems);
        QCOMPARE(c->itemText(0), QStringLiteral("None"));
        QCOMPARE(c->itemText(1), QStringLiteral("0.50"));
        QCOMPARE(c->itemText(2), QStringLiteral("0.55"));
        QCOMPARE(c->itemText(91), QStringLiteral("5.00"));
    }
    QCOMPARE(combo("Combo12")->count(), 16);
    QCOMPARE(combo("Combo18")->count(), 19);
    QCOMPARE(combo("Combo18")->itemText(18), QStringLiteral("1000MS"));
    QCOMPARE(combo("Combo19")->count(), 17);
    QCOMPARE(combo("Combo21")->count(), 16);
    QCOMPARE(combo("Combo7")->count(), 11);
    // Start-up store.
    const SettingsStore s;
    QCOMPARE(combo("Combo4")->currentIndex(), 1);
    QCOMPARE(combo("Combo11")->currentIndex(), 0);
    QCOMPARE(combo("Combo12")->currentText(), QStringLiteral("1"));
    QCOMPARE(combo("Combo16")->currentIndex(), s.FirstDigitTime);
    QCOMPARE(box("Text3")->text(), QStringLiteral("1"));
    QCOMPARE(box("Text4")->text(), QStringLiteral("2"));
    QVERIFY(get<QCheckBox>("Check3")->isChecked());
    QCOMPARE(grid->text(0, 1), QStringLiteral("自动拨号存储器"));
    QCOMPARE(grid->text(3, 0), QStringLiteral("3"));
    QCOMPARE(grid->text(3, 1), QStringLiteral("3"));
    // Design texts that the language pass replaces.
    QCOMPARE(combo("Combo6")->itemText(1), QStringLiteral("使能"));
    QCOMPARE(get<QLabel>("Label11")->text(), QStringLiteral("收音机功能"));
}

void TestForm5::okStoresEveryField() {
    combo("Combo4")->setCurrentIndex(2);
    combo("Combo6")->setCurrentIndex(0);
    combo("Combo7")->setCurrentIndex(10);
    combo("Combo8")->setCurrentIndex(5);
    combo("Combo9")->setCurrentIndex(0);
    combo("Combo10")->setCurrentIndex(0);
    combo("Combo11")->setCurrentIndex(2);
    combo("Combo12")->setCurrentIndex(15);
    combo("Combo13")->setCurrentIndex(91);
    combo("Combo14")->setCurrentIndex(0);
    combo("Combo15")->setCurrentIndex(3);
    combo("Combo0")->setCurrentIndex(3);
    combo("Combo16")->setCurrentIndex(3);
    combo("Combo17")->setCurrentIndex(0);
    combo("Combo19")->setCurrentIndex(16);
    combo("Combo20")->setCurrentIndex(0);
    combo("Combo21")->setCurrentIndex(15);
    QTest::keyClicks(box("Text1"), "12a");
    box("Text3")->clear();
    QTest::keyClicks(box("Text5"), "300");
    QTest::mouseClick(get<QCheckBox>("Check4"), Qt::LeftButton);
    editMemory(8, "1230");
    press("Command1");
    QVERIFY(dialog->isHidden());
    const SettingsStore& s = state.Editor.Settings;
    QCOMPARE(s.PttId, QStringLiteral("2"));
    QCOMPARE(s.VoxFunction, QStringLiteral("0"));
    QCOMPARE(s.VoxGainLevel, QStringLiteral("10"));
    QCOMPARE(s.VoxDelayTime, QStringLiteral("5"));
    QCOMPARE(s.VoxProceedTone, QStringLiteral("0"));
    QCOMPARE(s.Duplicate, QStringLiteral("0"));
    QCOMPARE(s.Priority, QStringLiteral("2"));
    QCOMPARE(s.PriorityChannel, QStringLiteral("16"));
    QCOMPARE(s.LookBackTimeA, QStringLiteral("91"));
    QCOMPARE(s.LookBackTimeB, QStringLiteral("0"));
    QCOMPARE(s.RevertChannel, QStringLiteral("3"));
    QCOMPARE(s.IdCode, QStringLiteral("12A"));
    QCOMPARE(s.LaunchStartCode, QString());
    QCOMPARE(s.DropoutDelayTime, QStringLiteral("300"));
    QCOMPARE(s.CancelOperation, QStringLiteral("1"));
    QCOMPARE(s.VoxInhibitOnReceive, QStringLiteral("0"));
    QCOMPARE(s.AutodialMemory[7], QStringLiteral("1230"));
    QCOMPARE(s.DtmfRate, 3);
    QCOMPARE(s.FirstDigitTime, 3);
    QCOMPARE(s.StarHashTone, 0);
    QCOMPARE(s.DKeySetting, 16);
    QCOMPARE(s.DtmfSidetone, 0);
    QCOMPARE(s.AutoResetTimer, 15);
    // What reaches the image.
    const QByteArray image = EncodeImage(state.Editor);
    QCOMPARE(image.mid(0x155, 2), QByteArray("\x2C\x01"));
    QCOMPARE(image.mid(0x260, 5), QByteArray("123:\xFF"));
    QCOMPARE(image.at(0x151), char(16));
    QCOMPARE(image.at(0x153), char(0xFF)); // look-back none
}

void TestForm5::cancelAndCloseKeepStore_data() {
    QTest::addColumn<bool>("viaClose");
    QTest::newRow("Cancel") << false;
    QTest::newRow("title-bar close") << true;
}

void TestForm5::cancelAndCloseKeepStore() {
    QFETCH(bool, viaClose);
    const SettingsStore before = state.Editor.Settings;
    combo("Combo6")->setCurrentIndex(0);
    QTest::keyClicks(box("Text4"), "9");
    editMemory(1, "555");
    if (viaClose)
        dialog->close();
    else
        press("Command2");
    QVERIFY(dialog->isHidden());
    QVERIFY(state.Editor.Settings == before);
    dialog->showDialog();
    QCOMPARE(combo("Combo6")->currentIndex(), 0);
    QCOMPARE(box("Text4")->text(), QStringLiteral("29"));
    QCOMPARE(grid->text(1, 1), QStringLiteral("555"));
}

void TestForm5::unusedListsChangeNothing() {
    const QByteArray before = EncodeImage(state.Editor);
    combo("Combo18")->setCurrentIndex(7);
    combo("Combo22")->setCurrentIndex(3);
    press("Command1");
    QCOMPARE(EncodeImage(state.Editor), before);
}

void TestForm5::decodeOverwritesEveryControl() {
    // The user leaves edits everywhere; a decode replaces all of them.
    for (const char* name : kStoredLists)
        combo(name)->setCurrentIndex(0);
    combo("Combo12")->setCurrentIndex(5);
    for (const char* name : {"Text1", "Text3", "Text4", "Text5", "Text6"})
        box(name)->setText("0");
    get<QCheckBox>("Check3")->setChecked(false);
    ClickCell(grid, 2, 1);
    QTest::keyClicks(grid->cellEditor(), "999");

    const QByteArray image = ImageWith([](EditorState& e) {
        SettingsStore& s = e.Settings;
        s.PttId = "2";
        s.VoxFunction = "1";
        s.VoxGainLevel = "7";
        s.VoxDelayTime = "4";
        s.VoxProceedTone = "1";
        s.Duplicate = "1";
        s.Priority = "1";
        s.PriorityChannel = "12";
        s.LookBackTimeA = "91";
        s.LookBackTimeB = "5";
        s.RevertChannel = "2";
        s.IdCode = "123";
        s.LaunchStartCode = "*12#";
        s.LaunchEndCode = "ABCD";
        s.DropoutDelayTime = "300";
        s.TxDwellTime = "45";
        s.CancelOperation = "1";
        s.VoxInhibitOnReceive = "0";
        s.AutodialMemory[1] = "0123456789ABCD*#";
        s.DtmfRate = 2;
        s.FirstDigitTime = 3;
        s.StarHashTone = 2;
        s.DKeySetting = 16;
        s.DtmfSidetone = 1;
        s.AutoResetTimer = 15;
    });
    Decode(state, image);
    dialog->refreshFromStore();
    QVERIFY(!grid->cellEditor());
    const std::pair<const char*, int> positions[] = {
        {"Combo4", 2},  {"Combo6", 1},   {"Combo7", 7},  {"Combo8", 4},
        {"Combo9", 1},  {"Combo10", 1},  {"Combo11", 1}, {"Combo13", 91},
        {"Combo14", 5}, {"Combo15", 2},  {"Combo0", 2},  {"Combo16", 3},
        {"Combo17", 2}, {"Combo19", 16}, {"Combo20", 1}, {"Combo21", 15}};
    for (const auto& [name, position] : positions)
        QVERIFY2(combo(name)->currentIndex() == position, name);
    QCOMPARE(combo("Combo12")->currentText(), QStringLiteral("12"));
    QCOMPARE(box("Text1")->text(), QStringLiteral("123"));
    QCOMPARE(box("Text3")->text(), QStringLiteral("*12#"));
    QCOMPARE(box("Text4")->text(), QStringLiteral("ABCD"));
    QCOMPARE(box("Text5")->text(), QStringLiteral("300"));
    QCOMPARE(box("Text6")->text(), QStringLiteral("45"));
    QVERIFY(get<QCheckBox>("Check3")->isChecked());
    QVERIFY(!get<QCheckBox>("Check4")->isChecked());
    QCOMPARE(grid->text(2, 1), QStringLiteral("0123456789ABCD*#"));
    QCOMPARE(grid->text(1, 1), QStringLiteral("1"));
}

void TestForm5::idCodeHidesUnusedPlaces() {
    const QByteArray image = ImageWith([](EditorState& e) { e.Settings.IdCode = "123"; });
    QCOMPARE(image.mid(0x110, 10), QByteArray("123\xFF\xFF\xFF\xFF\xFF\xFF\xFF"));
    Decode(state, image);
    QCOMPARE(state.Editor.Settings.IdCode.size(), 10);
    dialog->refreshFromStore();
    QCOMPARE(box("Text1")->text(), QStringLiteral("123"));
    // Untouched, OK writes back the same ten bytes.
    press("Command1");
    QCOMPARE(EncodeImage(state.Editor).mid(0x110, 10), image.mid(0x110, 10));
    // There is room for seven more characters, and an edit stores what the box shows.
    dialog->showDialog();
    QTest::keyClicks(box("Text1"), "4567890");
    QCOMPARE(box("Text1")->text(), QStringLiteral("1234567890"));
    press("Command1");
    QCOMPARE(state.Editor.Settings.IdCode, QStringLiteral("1234567890"));
}

void TestForm5::codeBoxFilter_data() {
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("start");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("abc upper-cased") << "Text1"
                                     << "" << false << "abc"
                                     << "ABC";
    QTest::newRow("e refused") << "Text1"
                               << "" << false << "e"
                               << "";
    QTest::newRow("code set") << "Text3"
                              << "" << false << "0123456789*#dD"
                              << "0123456789*#DD";
    QTest::newRow("others refused") << "Text4"
                                    << "" << false << "1 x.E-2!"
                                    << "12";
    QTest::newRow("11th refused") << "Text1"
                                  << "" << false << "12345678901"
                                  << "1234567890";
    QTest::newRow("full, selection replaced") << "Text1"
                                              << "1234567890" << true << "7"
                                              << "7";
    QTest::newRow("17th refused") << "Text3" << QString(16, u'1') << false << "2"
                                  << QString(16, u'1');
    QTest::newRow("Text4 limit 16")
        << "Text4" << QString(15, u'1') << false << "23" << QString(15, u'1') + "2";
}

void TestForm5::codeBoxFilter() {
    QFETCH(QString, boxName);
    QFETCH(QString, start);
    QFETCH(bool, selectAll);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QLineEdit* b = box(qPrintable(boxName));
    b->setText(start);
    if (selectAll)
        b->selectAll();
    QTest::keyClicks(b, typed);
    QCOMPARE(b->text(), expected);
    // Backspace always works.
    QTest::keyClick(b, Qt::Key_Backspace);
    QCOMPARE(b->text(), expected.chopped(expected.isEmpty() ? 0 : 1));
}

void TestForm5::codeBoxPaste_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("expected");
    QTest::newRow("codes, upper-cased") << "12ab"
                                        << "912AB";
    QTest::newRow("refused character") << "12e"
                                       << "9";
    QTest::newRow("too long") << "1234567890"
                              << "9";
}

void TestForm5::codeBoxPaste() {
    QFETCH(QString, clipboard);
    QFETCH(QString, expected);
    auto* b = dialog->findChild<FilteredLineEdit*>("Text1");
    b->setText("9");
    QGuiApplication::clipboard()->setText(clipboard);
    // The clipboard shortcut is a control character: refused.
    QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(b->text(), QStringLiteral("9"));
    b->pasteFiltered(); // the context menu's paste
    QCOMPARE(b->text(), expected);
}

void TestForm5::secondsBoxes_data() {
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("300") << "Text5"
                         << "300"
                         << "300";
    QTest::newRow("301 refused") << "Text5"
                                 << "301"
                                 << "30";
    QTest::newRow("letters refused") << "Text6"
                                     << "1a2b"
                                     << "12";
    QTest::newRow("fourth digit refused") << "Text6"
                                          << "1234"
                                          << "123";
    QTest::newRow("minus refused") << "Text6"
                                   << "-5"
                                   << "5";
}

void TestForm5::secondsBoxes() {
    QFETCH(QString, boxName);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QLineEdit* b = box(qPrintable(boxName));
    QTest::keyClicks(b, typed);
    QCOMPARE(b->text(), expected);
    QGuiApplication::clipboard()->setText("999");
    b->selectAll();
    QTest::keyClick(b, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(b->text(), expected);
    press("Command1");
    const QByteArray image = EncodeImage(state.Editor);
    const int offset = boxName == QLatin1String("Text5") ? 0x155 : 0x157;
    const int stored = quint8(image[offset]) | quint8(image[offset + 1]) << 8;
    QCOMPARE(stored, expected.toInt());
}

void TestForm5::scrollBarsWriteBoxes() {
    auto* v1 = get<QScrollBar>("VScroll1");
    auto* v2 = get<QScrollBar>("VScroll2");
    QCOMPARE(v1->minimum(), 0);
    QCOMPARE(v1->maximum(), 300);
    // Not positioned from the store, and typing does not move them.
    state.Editor.Settings.DropoutDelayTime = "120";
    dialog->refreshFromStore();
    QCOMPARE(v1->value(), 0);
    QCOMPARE(box("Text5")->text(), QStringLiteral("120"));
    QTest::keyClick(v1, Qt::Key_Down);
    QCOMPARE(box("Text5")->text(), QStringLiteral("1"));
    v2->setValue(300);
    QCOMPARE(box("Text6")->text(), QStringLiteral("300"));
    QCOMPARE(box("Text5")->text(), QStringLiteral("1"));
}

void TestForm5::memoryGrid() {
    QCOMPARE(grid->rowCount(), 9);
    QCOMPARE(grid->columnCount(), 2);
    ClickCell(grid, 4, 1);
    QVERIFY(grid->cellEditor());
    grid->cellEditor()->selectAll();
    QTest::keyClicks(grid->cellEditor(), "12abe*# x9");
    QCOMPARE(grid->cellEditor()->text(), QStringLiteral("12AB*#9"));
    QTest::keyClick(grid->cellEditor(), Qt::Key_Return);
    QTRY_VERIFY(!grid->cellEditor());
    QCOMPARE(grid->text(4, 1), QStringLiteral("12AB*#9"));
    ClickCell(grid, 4, 0); // the number column takes no editor
    QVERIFY(!grid->cellEditor());
}

void TestForm5::memoryTooLong() {
    MessageBoxCatcher boxes;
    const QString twenty = QStringLiteral("12345678901234567890");
    editMemory(5, twenty);
    QTRY_COMPARE(boxes.texts.size(), 1);
    QCOMPARE(boxes.texts[0], Form5::MemoryTooLongText());
    QCOMPARE(boxes.icons[0], QMessageBox::Critical);
    QCOMPARE(boxes.titles[0], QStringLiteral("TR-640 Software"));
    QCOMPARE(grid->text(5, 1), twenty);
    // Leaving the cell again without a change shows nothing more.
    ClickCell(grid, 5, 1);
    ClickCell(grid, 6, 1);
    QCoreApplication::processEvents();
    QCOMPARE(boxes.texts.size(), 1);
    press("Command1");
    QCOMPARE(state.Editor.Settings.AutodialMemory[4], twenty);
    QCOMPARE(EncodeImage(state.Editor).mid(0x230, 16), QByteArray("123456789:123456"));
}

QTEST_MAIN(TestForm5)
#include "tst_form5.moc"

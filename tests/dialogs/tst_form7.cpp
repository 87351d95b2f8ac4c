// The embedded message dialog.

#include "DialogTestSupport.h"

#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/dialogs/Form7.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>

using namespace tr640;
using namespace tr640::test;

class TestForm7 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void loadsStoredLines();
    void okStoresCancelAndCloseKeep_data();
    void okStoresCancelAndCloseKeep();
    void decodeOverwritesEdits();
    void typingLimit_data();
    void typingLimit();
    void pasting_data();
    void pasting();
    void inputMethodTextIsFiltered();

private:
    QLineEdit* box(const char* name) { return dialog->findChild<QLineEdit*>(name); }
    QPushButton* button(const char* name) { return dialog->findChild<QPushButton*>(name); }

    SharedState state;
    Form7* dialog = nullptr;
};

void TestForm7::init() {
    state = SharedState();
    state.Editor.Settings.EmbeddedMessage = {QStringLiteral("HELLO"), QStringLiteral("WORLD")};
    dialog = new Form7(state, nullptr);
    dialog->show();
}

void TestForm7::cleanup() {
    delete dialog;
    dialog = nullptr;
}

void TestForm7::loadsStoredLines() {
    QVERIFY(!dialog->isModal());
    QCOMPARE(box("Text1")->text(), QStringLiteral("HELLO"));
    QCOMPARE(box("Text2")->text(), QStringLiteral("WORLD"));
}

void TestForm7::okStoresCancelAndCloseKeep_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stores");
    QTest::newRow("OK") << "Command1" << true;
    QTest::newRow("Cancel") << "Command2" << false;
    QTest::newRow("title-bar close") << "close" << false;
}

void TestForm7::okStoresCancelAndCloseKeep() {
    QFETCH(QString, how);
    QFETCH(bool, stores);
    box("Text1")->selectAll();
    QTest::keyClicks(box("Text1"), "Line one");
    box("Text2")->clear(); // an empty box stores an empty line
    if (how == QLatin1String("close"))
        dialog->close();
    else
        QTest::mouseClick(button(qPrintable(how)), Qt::LeftButton);
    QVERIFY(dialog->isHidden());
    const auto& lines = state.Editor.Settings.EmbeddedMessage;
    QCOMPARE(lines[0], stores ? QStringLiteral("Line one") : QStringLiteral("HELLO"));
    QCOMPARE(lines[1], stores ? QString() : QStringLiteral("WORLD"));
    // Reopened, the boxes show what the user left in them.
    dialog->showDialog();
    QCOMPARE(box("Text1")->text(), QStringLiteral("Line one"));
    QCOMPARE(box("Text2")->text(), QString());
}

void TestForm7::decodeOverwritesEdits() {
    QTest::keyClicks(box("Text1"), " edited");
    const QByteArray image = ImageWith([](EditorState& e) {
        e.Settings.EmbeddedMessage = {QStringLiteral("FROM RADIO"), QString()};
    });
    Decode(state, image);
    dialog->refreshFromStore();
    QCOMPARE(box("Text1")->text(), QStringLiteral("FROM RADIO"));
    QCOMPARE(box("Text2")->text(), QString());
    // A line of 32 characters fills its bytes and comes back whole.
    const QString full(32, u'Z');
    Decode(state, ImageWith([&](EditorState& e) { e.Settings.EmbeddedMessage[1] = full; }));
    dialog->refreshFromStore();
    QCOMPARE(box("Text2")->text(), full);
}

void TestForm7::typingLimit_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("selectFrom"); // -1: nothing selected, cursor at the end
    QTest::addColumn<int>("selectLength");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    const QString full(32, u'a');
    QTest::newRow("below the limit") << "abc" << -1 << 0 << "de"
                                     << "abcde";
    QTest::newRow("stops at 32") << QString(30, u'a') << -1 << 0 << "xyz"
                                 << QString(30, u'a') + "xy";
    QTest::newRow("full refuses a letter") << full << -1 << 0 << "x" << full;
    QTest::newRow("full, selection replaced") << full << 0 << 3 << "X"
                                              << "X" + full.mid(3);
    QTest::newRow("accented letters pass") << "" << -1 << 0 << "Grüße"
                                           << "Grüße";
    QTest::newRow("Chinese refused") << "AB" << -1 << 0 << "中文C"
                                     << "ABC";
    QTest::newRow("euro sign refused") << "" << -1 << 0 << "5€"
                                       << "5";
    QTest::newRow("y diaeresis refused (unused byte)") << "" << -1 << 0 << "ÿy"
                                                       << "y";
}

void TestForm7::typingLimit() {
    QFETCH(QString, start);
    QFETCH(int, selectFrom);
    QFETCH(int, selectLength);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QLineEdit* t = box("Text1");
    t->setText(start);
    if (selectFrom >= 0)
        t->setSelection(selectFrom, selectLength);
    TypeText(t, typed);
    QCOMPARE(t->text(), expected);
}

void TestForm7::pasting_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("expected");
    const QString longText(40, u'p');
    QTest::newRow("long paste kept") << "" << longText << longText;
    QTest::newRow("paste when full refused") << QString(32, u'a') << "b" << QString(32, u'a');
    QTest::newRow("non-Latin-1 paste refused") << "ab"
                                               << "x中y"
                                               << "ab";
    QTest::newRow("line break refused") << "ab"
                                        << "x\ny"
                                        << "ab";
    QTest::newRow("Latin-1 paste") << "ab"
                                   << "çé"
                                   << "abçé";
}

void TestForm7::pasting() {
    QFETCH(QString, start);
    QFETCH(QString, clipboard);
    QFETCH(QString, expected);
    auto* t = dialog->findChild<FilteredLineEdit*>("Text1");
    t->setText(start);
    QGuiApplication::clipboard()->setText(clipboard);
    QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(t->text(), expected);
    // The context menu's paste goes through the same rules, also past the typing limit.
    t->setText(start);
    t->pasteFiltered();
    const QString viaMenu = start.size() >= 32 && clipboard == "b" ? start + "b" : expected;
    QCOMPARE(t->text(), viaMenu);
    // What the box holds is what OK stores; the codec keeps the first 32 bytes.
    t->setText(expected);
    QTest::mouseClick(button("Command1"), Qt::LeftButton);
    QCOMPARE(state.Editor.Settings.EmbeddedMessage[0], expected);
}

void TestForm7::inputMethodTextIsFiltered() {
    QLineEdit* t = box("Text2");
    t->setText("AB");
    QInputMethodEvent chinese;
    chinese.setCommitString(QStringLiteral("你好"));
    QApplication::sendEvent(t, &chinese);
    QCOMPARE(t->text(), QStringLiteral("AB"));
    QInputMethodEvent latin;
    latin.setCommitString(QStringLiteral("é"));
    QApplication::sendEvent(t, &latin);
    QCOMPARE(t->text(), QStringLiteral("ABé"));
}

QTEST_MAIN(TestForm7)
#include "tst_form7.moc"

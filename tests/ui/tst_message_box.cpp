// The localised message box: buttons, icons, captions by language, title and result codes.

#include "support/UiTestSupport.h"

#include "i18n/LocalisedMessageBox.h"

using namespace tr640;
using namespace tr640::test;

class TestMessageBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void captionsAndResults_data();
    void captionsAndResults();
    void emptyTitleBecomesApplicationTitle();
    void defaultButton_data();
    void defaultButton();
};

void TestMessageBox::captionsAndResults_data() {
    QTest::addColumn<quint32>("style");
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("press");
    QTest::addColumn<int>("result");
    QTest::newRow("16 zh") << 16u << 0 << QStringList{"确定"} << int(QMessageBox::Critical)
                           << "确定" << 1;
    QTest::newRow("16 en") << 16u << 1 << QStringList{"OK"} << int(QMessageBox::Critical) << "OK"
                           << 1;
    QTest::newRow("36 en no") << 36u << 1 << QStringList{"Yes", "No"} << int(QMessageBox::Question)
                              << "No" << 7;
    QTest::newRow("36 zh yes") << 36u << 0 << QStringList{"是", "否"} << int(QMessageBox::Question)
                               << "是" << 6;
    QTest::newRow("64 en") << 64u << 1 << QStringList{"OK"} << int(QMessageBox::Information) << "OK"
                           << 1;
    QTest::newRow("68 zh no") << 68u << 0 << QStringList{"是", "否"}
                              << int(QMessageBox::Information) << "否" << 7;
    QTest::newRow("305 zh cancel")
        << 305u << 0 << QStringList{"确定", "取消"} << int(QMessageBox::Warning) << "取消" << 2;
    QTest::newRow("4385 en ok") << 4385u << 1 << QStringList{"OK", "Cancel"}
                                << int(QMessageBox::Question) << "OK" << 1;
    QTest::newRow("traditional") << 3u << 2 << QStringList{"是", "否", "取消"}
                                 << int(QMessageBox::NoIcon) << "取消" << 2;
    QTest::newRow("abort retry ignore") << 2u << 2 << QStringList{"放棄", "重試", "忽略"}
                                        << int(QMessageBox::NoIcon) << "重試" << 4;
}

void TestMessageBox::captionsAndResults() {
    QFETCH(quint32, style);
    QFETCH(int, language);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(QString, press);
    QFETCH(int, result);
    BoxAnswerer boxes({press});
    QCOMPARE(LocalisedMessageBox(nullptr, language, "question", style), result);
    QCOMPARE(boxes.count(), 1);
    QStringList shown = boxes.seen()[0].buttons; // the order is the platform's
    shown.sort();
    buttons.sort();
    QCOMPARE(shown, buttons);
    QCOMPARE(int(boxes.seen()[0].icon), icon);
    QCOMPARE(boxes.seen()[0].text, QString("question"));
}

void TestMessageBox::emptyTitleBecomesApplicationTitle() {
    BoxAnswerer boxes;
    QString title;
    LocalisedMessageBox(nullptr, 1, "x", 64, title);
    QCOMPARE(title, QString("TR-640 Software"));
    QCOMPARE(boxes.seen()[0].title, QString("TR-640 Software"));
    QString given = "Attention!";
    LocalisedMessageBox(nullptr, 1, "x", 64, given);
    QCOMPARE(given, QString("Attention!"));
    QCOMPARE(boxes.seen()[1].title, QString("Attention!"));
}

void TestMessageBox::defaultButton_data() {
    QTest::addColumn<quint32>("style");
    QTest::addColumn<int>("result");
    QTest::newRow("305 defaults to Cancel") << 305u << 2;
    QTest::newRow("4385 defaults to Cancel") << 4385u << 2;
    QTest::newRow("36 defaults to Yes") << 36u << 6;
}

void TestMessageBox::defaultButton() {
    QFETCH(quint32, style);
    QFETCH(int, result);
    // Enter presses the default button.
    QTimer::singleShot(20, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(LocalisedMessageBox(nullptr, 0, "x", style), result);
}

QTEST_MAIN(TestMessageBox)
#include "tst_message_box.moc"

// Texts by language: the language pass (finding controls, what it writes into the main window's
// dialogs for each language) and the localised message box (captions, icons, results, title).

#include "support/UiTestSupport.h"

#include "i18n/LocalisedMessageBox.h"

#include <QDialog>
#include <QMetaEnum>
#include <QToolBar>

using namespace tr640;
using namespace tr640::test;

class TestLanguage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void controlsOfTheWindowNotOfItsDialogs() {
        QWidget window;
        // A dialog made first, with a control of the same name as one of the window's.
        auto* dialog = new QDialog(&window);
        auto* inDialog = new QComboBox(dialog);
        inDialog->setObjectName("Combo8");
        auto* own = new QComboBox(new QWidget(&window));
        own->setObjectName("Combo8");
        QCOMPARE(FindControl(&window, "Combo8"), own);
        QCOMPARE(FindControl(dialog, "Combo8"), inDialog);
        QCOMPARE(FindControl(&window, ""), &window);
        QVERIFY(!FindControl(&window, "Missing"));
        // Control arrays by index.
        QComboBox* elements[4];
        for (int i = 0; i < 4; ++i) {
            elements[i] = new QComboBox(&window);
            elements[i]->setObjectName("Combo5");
            SetControlIndex(elements[i], 5 + i);
        }
        QCOMPARE(FindControl(&window, "Combo5(7)"), elements[2]);
        QVERIFY(!FindControl(&window, "Combo5(9)"));
    }

    // The main window's table on a window of a label and a toolbar of six buttons: caption and
    // the last button's tooltip, for languages 0 and 1 only.
    void languagesOtherThanZeroAndOneWriteNothing_data() {
        AddRows({"Chinese: 0|机型选择|写频", "English: 1|Model|Write frequency",
                 "2: 2|design|design", "-1: -1|design|design"});
    }
    void languagesOtherThanZeroAndOneWriteNothing() {
        QFETCH(QStringList, row);
        const int language = row[0].toInt();
        QWidget window;
        auto* label = new QLabel("design", &window);
        label->setObjectName("Frame1");
        auto* bar = new QToolBar(&window);
        bar->setObjectName("Toolbar1");
        for (int i = 0; i < 6; ++i)
            bar->addAction("design")->setToolTip("design");
        int looked = 0;
        ApplyLanguage(language, [&](const QString& name) -> QWidget* {
            ++looked;
            return name == "Form1" ? &window : nullptr;
        });
        QCOMPARE(label->text(), row[1]);
        bar->actions().last()->setText(QString()); // the tooltip is its own, not the caption
        QCOMPARE(bar->actions().last()->toolTip(), row[2]);
        QCOMPARE(looked > 0, language == 0 || language == 1); // no dialog is made for others
    }

    // Rows "window|control|Chinese|English"; the control as Shown() takes it.
    void dialogTexts_data() {
        AddRows({"Form2||调试参数|Debug Parameters", "Form2|Frame1|发射高功率|TX-High Power",
                 "Form4|mfgrid1@1|接收频率|RX Frequency", "Form5|Check3|取消操作|Cancel Operation",
                 "Form5|Combo15[3]|优先+当前|priority+Talk Back",
                 // One text in both languages.
                 "Form5|Label28|自动复位定时器|自动复位定时器", "Form5|Frame1|VOX|VOX",
                 "Form6|Combo1[8]|照明灯开关|Scrambler", "Form7||嵌入信息|Embedded Information",
                 "frmAbout|Label2|发布：2012.2|Issue：2012.4",
                 "frmAbout|lblDescription|TR-640 编程软件项目开发 · 自由软件，GPL-3.0 或更高版本|"
                 "Developed by the TR-640 programming software project · free software, GPL-3.0 or "
                 "later"});
    }
    void dialogTexts() {
        QFETCH(QStringList, row);
        Window w;
        for (int language : {English, Chinese, English}) {
            w->editor().Language = language;
            w->ApplyLanguage();
            QCOMPARE(Shown(w->windowNamed(row[0]), row[1]), row[language == English ? 3 : 2]);
        }
    }

    // Rows: style | language | buttons, sorted (the order is the platform's) | icon | pressed |
    // result.
    void messageBox_data() {
        AddRows({"16 zh: 16|0|确定|Critical|确定|1", "36 en no: 36|1|No,Yes|Question|No|7",
                 "64 en: 64|1|OK|Information|OK|1", "305 zh cancel: 305|0|取消,确定|Warning|取消|2",
                 "traditional: 3|2|取消,否,是|NoIcon|取消|2",
                 "abort retry ignore: 2|2|忽略,放棄,重試|NoIcon|重試|4"});
    }
    void messageBox() {
        QFETCH(QStringList, row);
        BoxAnswerer boxes({row[4]});
        QCOMPARE(LocalisedMessageBox(nullptr, row[1].toInt(), "question", row[0].toUInt()),
                 row[5].toInt());
        QCOMPARE(boxes.count(), 1);
        QStringList shown = boxes.seen()[0].buttons;
        shown.sort();
        QCOMPARE(shown.join(u','), row[2]);
        QCOMPARE(QString(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(boxes.seen()[0].icon)),
                 row[3]);
        QCOMPARE(boxes.text(), QString("question"));
    }

    void messageBoxDefaultButton_data() {
        QTest::addColumn<quint32>("style");
        QTest::addColumn<int>("result");
        QTest::newRow("305 defaults to Cancel") << 305u << 2;
        QTest::newRow("36 defaults to Yes") << 36u << 6;
    }
    void messageBoxDefaultButton() {
        QFETCH(quint32, style);
        QTimer::singleShot(20, [] { // Enter presses the default button
            if (QWidget* box = QApplication::activeModalWidget())
                QTest::keyClick(box, Qt::Key_Return);
        });
        QTEST(LocalisedMessageBox(nullptr, 0, "x", style), "result");
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

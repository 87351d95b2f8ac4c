// The language pass's own mechanism: finding controls, and what it writes for each language.

#include "i18n/ApplyLanguage.h"
#include "i18n/TextTable.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QTest>

using namespace tr640;

class TestLanguagePass : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void controlsOfTheWindowNotOfItsDialogs();
    void controlArrays();
    void languagesOtherThanZeroAndOneWriteNothing_data();
    void languagesOtherThanZeroAndOneWriteNothing();
};

void TestLanguagePass::controlsOfTheWindowNotOfItsDialogs() {
    QWidget window;
    // A dialog made first, with a control of the same name as one of the window's.
    auto* dialog = new QDialog(&window);
    auto* inDialog = new QComboBox(dialog);
    inDialog->setObjectName("Combo8");
    auto* area = new QWidget(&window);
    auto* own = new QComboBox(area);
    own->setObjectName("Combo8");
    QCOMPARE(FindControl(&window, "Combo8"), own);
    QCOMPARE(FindControl(dialog, "Combo8"), inDialog);
    QCOMPARE(FindControl(&window, ""), &window);
    QVERIFY(!FindControl(&window, "Missing"));
}

void TestLanguagePass::controlArrays() {
    QWidget window;
    QComboBox* elements[4];
    for (int i = 0; i < 4; ++i) {
        elements[i] = new QComboBox(&window);
        elements[i]->setObjectName("Combo5");
        SetControlIndex(elements[i], 5 + i);
    }
    QCOMPARE(FindControl(&window, "Combo5(7)"), elements[2]);
    QVERIFY(!FindControl(&window, "Combo5(9)"));
}

void TestLanguagePass::languagesOtherThanZeroAndOneWriteNothing_data() {
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Chinese") << 0 << "机型选择";
    QTest::newRow("English") << 1 << "Model";
    QTest::newRow("2") << 2 << "design";
    QTest::newRow("-1") << -1 << "design";
}

void TestLanguagePass::languagesOtherThanZeroAndOneWriteNothing() {
    QFETCH(int, language);
    QFETCH(QString, caption);
    QWidget window;
    auto* label = new QLabel("design", &window);
    label->setObjectName("Frame1"); // a captioned control named as in the main window's table
    int looked = 0;
    ApplyLanguage(language, [&](const QString& name) -> QWidget* {
        ++looked;
        return name == "Form1" ? &window : nullptr;
    });
    QCOMPARE(label->text(), caption);
    QCOMPARE(looked > 0, language == 0 || language == 1); // no dialog is made for others
}

QTEST_MAIN(TestLanguagePass)
#include "tst_language_pass.moc"

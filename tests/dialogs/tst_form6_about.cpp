// The key assignment dialog and the About box.

#include "DialogTestSupport.h"

#include "ui/dialogs/Form6.h"
#include "ui/dialogs/Pictures.h"
#include "ui/dialogs/frmAbout.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>

using namespace tr640;
using namespace tr640::test;

namespace {

// Red pixels of a picture in the band of rows [top, bottom).
int RedPixels(const QImage& image, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += c.red() > 180 && c.green() < 80 && c.blue() < 80;
        }
    return n;
}

} // namespace

class TestForm6About : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void loadRange_data();
    void loadRange();
    void okStoresCancelAndCloseKeep_data();
    void okStoresCancelAndCloseKeep();
    void decodeSelects();
    void pictureFollowsFocus();
    void picturesMarkTheirKey();
    void aboutLinkOpensEveryClick();

private:
    QComboBox* combo(const char* name) { return dialog->findChild<QComboBox*>(name); }

    SharedState state;
    Form6* dialog = nullptr;
};

void TestForm6About::init() {
    state = SharedState();
    dialog = new Form6(state, nullptr);
    dialog->show();
}

void TestForm6About::cleanup() {
    delete dialog;
    dialog = nullptr;
}

void TestForm6About::loadRange_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("shown");
    QTest::newRow("0") << 0 << 0;
    QTest::newRow("11") << 11 << 11;
    QTest::newRow("12 shows OFF") << 12 << 1;
    QTest::newRow("-1 shows OFF") << -1 << 1;
}

void TestForm6About::loadRange() {
    QFETCH(int, stored);
    QFETCH(int, shown);
    state.Editor.Settings.Pf1Function = stored;
    state.Editor.Settings.Pf2Function = stored;
    Form6 fresh(state, nullptr);
    QCOMPARE(fresh.findChild<QComboBox*>("Combo1")->currentIndex(), shown);
    QCOMPARE(fresh.findChild<QComboBox*>("Combo2")->currentIndex(), shown);
    QCOMPARE(fresh.findChild<QComboBox*>("Combo1")->count(), Form6::kKeyFunctions);
}

void TestForm6About::okStoresCancelAndCloseKeep_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("stores");
    QTest::newRow("OK") << "Command1" << true;
    QTest::newRow("Cancel") << "Command2" << false;
    QTest::newRow("title-bar close") << "close" << false;
}

void TestForm6About::okStoresCancelAndCloseKeep() {
    QFETCH(QString, how);
    QFETCH(bool, stores);
    combo("Combo1")->setCurrentIndex(8);
    combo("Combo2")->setCurrentIndex(4);
    if (how == QLatin1String("close"))
        dialog->close();
    else
        QTest::mouseClick(dialog->findChild<QPushButton*>(how), Qt::LeftButton);
    QVERIFY(dialog->isHidden());
    QCOMPARE(state.Editor.Settings.Pf1Function, stores ? 8 : 10);
    QCOMPARE(state.Editor.Settings.Pf2Function, stores ? 4 : 0);
    dialog->showDialog();
    QCOMPARE(combo("Combo1")->currentIndex(), 8);
}

void TestForm6About::decodeSelects() {
    combo("Combo1")->setCurrentIndex(2);
    Decode(state, ImageWith([](EditorState& e) {
               e.Settings.Pf1Function = 7;
               e.Settings.Pf2Function = 11;
           }));
    dialog->refreshFromStore();
    QCOMPARE(combo("Combo1")->currentIndex(), 7);
    QCOMPARE(combo("Combo2")->currentIndex(), 11);
    // A stored 12 is not taken: the field and the list keep their values.
    Decode(state, WithBytes(EncodeImage(state.Editor), 0x10D, "\x0C"));
    dialog->refreshFromStore();
    QCOMPARE(state.Editor.Settings.Pf1Function, 7);
    QCOMPARE(combo("Combo1")->currentIndex(), 7);
}

void TestForm6About::pictureFollowsFocus() {
    QApplication::setActiveWindow(dialog);
    QCOMPARE(dialog->shownPicture(), 1);
    auto* image = dialog->findChild<QLabel*>("Image1");
    QCOMPARE(image->size(), QSize(113, 257));
    combo("Combo1")->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(combo("Combo1"), Qt::Key_Tab);
    QVERIFY(combo("Combo2")->hasFocus());
    QCOMPARE(dialog->shownPicture(), 2);
    QCOMPARE(image->pixmap().toImage(), RadioSideView(SideKey::Pf2).toImage());
    QTest::keyClick(combo("Combo2"), Qt::Key_Backtab);
    QCOMPARE(dialog->shownPicture(), 1);
    QCOMPARE(image->pixmap().toImage(), RadioSideView(SideKey::Pf1).toImage());
    // OK leaves the last picture.
    combo("Combo2")->setFocus(Qt::OtherFocusReason);
    QTest::mouseClick(dialog->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QCOMPARE(dialog->shownPicture(), 2);
}

void TestForm6About::picturesMarkTheirKey() {
    const QImage pf1 = RadioSideView(SideKey::Pf1).toImage();
    const QImage pf2 = RadioSideView(SideKey::Pf2).toImage();
    QCOMPARE(pf1.size(), QSize(113, 257));
    QCOMPARE(pf2.size(), QSize(113, 257));
    // PF1 is the upper key below the PTT key, PF2 the lower one.
    QVERIFY(RedPixels(pf1, 138, 157) > 20);
    QCOMPARE(RedPixels(pf1, 158, 257), 0);
    QVERIFY(RedPixels(pf2, 158, 177) > 20);
    QCOMPARE(RedPixels(pf2, 0, 157), 0);
    QCOMPARE(ProjectLogo().size(), QSize(71, 70));
}

void TestForm6About::aboutLinkOpensEveryClick() {
    frmAbout about(nullptr);
    QList<QUrl> opened;
    about.setUrlOpener([&opened](const QUrl& url) { opened.append(url); });
    about.show();
    auto* credit = about.findChild<QLabel*>("lblDescription");
    QTest::mouseClick(credit, Qt::LeftButton);
    QTest::mouseClick(credit, Qt::LeftButton);
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[0], QUrl("https://tr640.example.org/"));
    QVERIFY(about.isVisible());
    QCOMPARE(about.findChild<QLabel*>("Image2")->pixmap().size(), QSize(71, 70));
    QTest::mouseClick(about.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    QVERIFY(about.isHidden());
}

QTEST_MAIN(TestForm6About)
#include "tst_form6_about.moc"

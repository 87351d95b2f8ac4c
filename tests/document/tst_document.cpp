// The codeplug document: what it tells its views after each step, and the steps it keeps.

#include "document/CodeplugDocument.h"

#include <QTest>
#include <functional>

using namespace tr640;

namespace {

using Steps = std::function<void(CodeplugDocument&)>;

void SetRx(CodeplugDocument& d, int row, const char* rx) {
    d.edit(EditKind::Cell, [=](EditorState& e) { e.cell(row, ColRxFrequency) = rx; });
}

// All the codeplug document says, in order: "rows 3 5", "settings", "store", "band", "clean false".
struct Listener {
    QStringList heard;
    explicit Listener(CodeplugDocument& d) {
        QObject::connect(&d, &CodeplugDocument::channelsChanged, [this](const QList<int>& rows) {
            QStringList r{"rows"};
            for (int row : rows)
                r << QString::number(row);
            heard << r.join(u' ');
        });
        QObject::connect(&d, &CodeplugDocument::settingsChanged, [this] { heard << "settings"; });
        QObject::connect(&d, &CodeplugDocument::storeChanged, [this] { heard << "store"; });
        QObject::connect(&d, &CodeplugDocument::bandChanged, [this] { heard << "band"; });
        QObject::connect(&d, &CodeplugDocument::cleanChanged,
                         [this](bool clean) { heard << (clean ? "clean true" : "clean false"); });
    }
};

} // namespace

Q_DECLARE_METATYPE(Steps)

class TestDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signalsOfSteps_data() {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QString>("undoText"); // the step Undo names next, empty for none
        QTest::newRow("a cell, undone and redone: its row only, no dialog refilled")
            << Steps([](CodeplugDocument& d) {
                   SetRx(d, 3, "435.00000");
                   d.undo();
                   d.redo();
               })
            << QStringList{"rows 3", "clean false", "rows 3", "clean true", "rows 3", "clean false"}
            << "Edit";
        QTest::newRow("a band change clears the channels in use") << Steps([](CodeplugDocument& d) {
            d.state().cell(2, ColRxFrequency) = "435.00000";
            d.state().cell(9, ColRxFrequency) = "436.00000";
            d.edit(EditKind::Band, [](EditorState& e) {
                e.Band = e.CurrentBandIndex = 5;
                e.ClearGrid1();
            });
        }) << QStringList{"rows 2 9", "band", "clean false"} << "Band Change";
        QTest::newRow("nothing changed, no step")
            << Steps([](CodeplugDocument& d) { d.edit(EditKind::Paste, [](EditorState&) {}); })
            << QStringList{} << "";
        QTest::newRow("nested edits make the outer step") << Steps([](CodeplugDocument& d) {
            d.edit(EditKind::Cut, [&d](EditorState&) { SetRx(d, 1, "435.00000"); });
        }) << QStringList{"rows 1", "clean false"} << "Cut";
        QTest::newRow("a dialog's OK: only the mark") << Steps([](CodeplugDocument& d) {
            d.commitStore([](EditorState& e) { e.Settings.Pf1Function = 3; });
        }) << QStringList{"clean false"} << "";
        QTest::newRow("a read of the same codeplug shows it whole")
            << Steps([](CodeplugDocument& d) { d.replace(d.state()); })
            << QStringList{"rows 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16", "settings", "store",
                           "band"}
            << "";
        QTest::newRow("a read with other settings, undone: the dialogs follow both ways")
            << Steps([](CodeplugDocument& d) {
                   EditorState read = d.state();
                   read.Settings.EmbeddedMessage[0] = "READ";
                   d.replace(read, EditKind::Read);
                   d.markClean();
                   d.undo();
               })
            << QStringList{"store", "clean false", "clean true", "store", "clean false"} << "";
    }
    void signalsOfSteps() {
        QFETCH(Steps, steps);
        QFETCH(QStringList, heard);
        QFETCH(QString, undoText);
        CodeplugDocument d;
        const Listener listener(d);
        steps(d);
        QCOMPARE(listener.heard, heard);
        QCOMPARE(d.canUndo() ? EditKindName(d.undoKind()).text(1) : QString(), undoText);
    }

    void keepsTheLastHundredSteps() {
        CodeplugDocument d;
        for (int i = 0; i < 101; ++i)
            SetRx(d, 1, i % 2 ? "435.00000" : "436.00000");
        int undone = 0;
        for (; d.canUndo(); ++undone)
            d.undo();
        QCOMPARE(undone, 100);
        QCOMPARE(d.state().cell(1, ColRxFrequency), QString("436.00000")); // after the first
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"

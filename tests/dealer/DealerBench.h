#pragma once

// A main window whose chosen port is a pseudo-terminal with a simulated radio behind it, and
// an answerer for the write preview dialog. The transfer's timers are the test's to tick.

#include "DealerSamples.h"
#include "support/UiTestSupport.h"

#include "PseudoTerminal.h"
#include "RadioModel.h"
#include "RadioServer.h"
#include "codeplug/Codec.h"
#include "ui/main/TransferController.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace tr640::test {

struct Bench : Window {
    sim::RadioModel radio;
    sim::PseudoTerminal pty;
    sim::RadioServer server{radio, [this](const QByteArray& b) { pty.write(b); }};

    explicit Bench(sim::RadioFaults faults = {})
        : Window(QByteArray(), false, Form1::Options::withoutTimers()), radio(0x33, faults) {
        QString error;
        if (!pty.open(&error))
            qFatal("no pseudo-terminal: %s", qPrintable(error));
        QObject::connect(&pty, &sim::PseudoTerminal::bytesReceived, &server,
                         &sim::RadioServer::feed);
        form->portMenu().choosePortByName(pty.slavePath());
        form->transfer().setDataDirectory(dir.filePath("data"));
        form->editor().Language = English;
        form->ApplyLanguage();
    }
    link::TransferJob& job() const { return form->transfer().job(); }
    // Runs the job to its end: the pause between steps is two blink ticks.
    bool finish() {
        return QTest::qWaitFor(
            [this] {
                if (job().active() && !job().session().running())
                    form->transfer().tick(link::Timer::Blink);
                return !job().active();
            },
            20000);
    }
};

// Answers the write preview dialog with Write or Cancel and records what it showed.
class PreviewAnswerer : public QObject {
public:
    explicit PreviewAnswerer(bool write) : write_(write) {
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { poll(); });
        timer_.start(5);
    }
    int shown = 0;
    QString intro;
    QString writeCaption;
    QStringList lines;

private:
    void poll() {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog->objectName() != QLatin1String("frmWritePreview"))
            return;
        ++shown;
        intro = dialog->findChild<QLabel*>("lblPreview")->text();
        auto* write = dialog->findChild<QPushButton*>("cmdWrite");
        writeCaption = write->text();
        lines.clear();
        auto* list = dialog->findChild<QListWidget*>("lstChanges");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        (write_ ? write : dialog->findChild<QPushButton*>("cmdCancelWrite"))->click();
    }
    bool write_;
    QTimer timer_;
};

} // namespace tr640::test

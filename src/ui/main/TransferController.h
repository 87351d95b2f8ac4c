#pragma once

// The main window's side of a transfer: the port menu, the serial port, the read and write
// commands and what the window shows while the radio dialogue runs.

#include "link/SerialLink.h"
#include "link/TransferSession.h"

#include <QObject>
#include <QString>
#include <memory>

class QAction;
class QMenu;

namespace tr640 {

class Form1;
namespace link {
class TransferTimers;
}

class TransferController : public QObject, public link::TransferHost {
    Q_OBJECT
public:
    // Without timers the test drives the session's ticks itself.
    TransferController(Form1& window, QMenu* portMenu, bool withTimers);
    ~TransferController() override;

    // The read and write commands (mnureadFre, mnuwriteFre, toolbar "read" and "write").
    void mnureadFre();
    void mnuwriteFre();

    // Choose port n of the port menu (1..8), or a port by its system name.
    void chooseMenuPort(int number);
    void choosePortByName(const QString& name);

    // Closes and reopens the remembered port; true when it is open afterwards.
    bool OpenCom();

    link::TransferSession& session() { return *session_; }
    link::SerialLink& port() { return *link_; }
    // A tick of one of the three timers, as the timer itself would give it.
    void tick(link::Timer t) { session_->tick(t); }

    // TransferHost.
    void sendBytes(const QByteArray& frame) override;
    void closePort() override;
    QString encodeCodeplug() override;
    int selectedBand() const override;
    void applyRead(const QString& imageHex, int radioBandIndex) override;
    bool askBandQuestion(const QString& text) override;
    void showCommunicationError(const QString& text) override;
    void stateChanged() override;
    void transferEnded(link::Outcome outcome) override;

Q_SIGNALS:
    void ended(link::Outcome outcome);

private:
    void start(link::Direction direction);
    void refreshPortMenu();
    void setChecked(QAction* item);
    QString portInUseText(int number, const QString& name, const link::PortOpenResult& r) const;
    void askForPortName();

    Form1& window_;
    QMenu* portMenu_;
    link::SerialLink* link_;
    std::unique_ptr<link::TransferSession> session_;
    link::TransferTimers* timers_ = nullptr;
    QList<QAction*> systemPortItems_;
    QAction* otherPortItem_ = nullptr;
    QAction* systemSeparator_ = nullptr;
};

} // namespace tr640

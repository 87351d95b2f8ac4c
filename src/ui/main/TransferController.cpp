#include "ui/main/TransferController.h"

#include "codeplug/Codec.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "link/TransferTexts.h"
#include "link/TransferTimers.h"
#include "ui/main/Form1.h"

#include <QAction>
#include <QComboBox>
#include <QInputDialog>
#include <QMenu>

namespace tr640 {

using link::Direction;
using link::Outcome;

TransferController::TransferController(Form1& window, QMenu* portMenu, bool withTimers)
    : QObject(&window), window_(window), portMenu_(portMenu), link_(new link::SerialLink(this)),
      session_(std::make_unique<link::TransferSession>(*this)) {
    if (withTimers)
        timers_ = new link::TransferTimers(*session_, this);
    connect(link_, &link::SerialLink::bytesReceived, this,
            [this](const QByteArray& bytes) { session_->receive(bytes); });

    for (int n = 1; n <= link::kMenuPortCount; ++n) {
        QAction* item = portMenu_->findChild<QAction*>(QStringLiteral("mnucom%1").arg(n));
        connect(item, &QAction::triggered, this, [this, item, n] {
            item->setChecked(!item->isChecked()); // the check mark is the command's to set
            chooseMenuPort(n);
        });
    }
    systemSeparator_ = portMenu_->addSeparator();
    otherPortItem_ = portMenu_->addAction(QString());
    otherPortItem_->setObjectName(QStringLiteral("mnucomother"));
    connect(otherPortItem_, &QAction::triggered, this, &TransferController::askForPortName);
    connect(portMenu_, &QMenu::aboutToShow, this, &TransferController::refreshPortMenu);
}

TransferController::~TransferController() = default;

// ---------------------------------------------------------------------------------------------
// The port menu.

void TransferController::setChecked(QAction* item) {
    for (QAction* a : portMenu_->actions())
        if (a->isCheckable())
            a->setChecked(a == item);
}

QString TransferController::portInUseText(int number, const QString& name,
                                          const link::PortOpenResult&) const {
    const int language = window_.editor().Language;
    if (number > 0)
        return link::PortInUseText(number, language);
    return msg::kNamedPortInUse.text(language).arg(name);
}

void TransferController::chooseMenuPort(int number) {
    QAction* item = portMenu_->findChild<QAction*>(QStringLiteral("mnucom%1").arg(number));
    const bool wasChecked = item->isChecked();
    if (!wasChecked)
        setChecked(nullptr);
    const link::PortOpenResult r = link_->open(link::SerialLink::menuPortName(number));
    if (!r.ok()) {
        item->setChecked(wasChecked);
        window_.message(portInUseText(number, QString(), r), MbOk | MbIconInformation);
        return;
    }
    setChecked(item);
    window_.state().ComPortNumber = number;
    window_.state().PortName.clear();
}

void TransferController::choosePortByName(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    const link::PortOpenResult r = link_->open(trimmed);
    if (!r.ok()) {
        window_.message(portInUseText(0, trimmed, r), MbOk | MbIconInformation);
        return;
    }
    window_.state().ComPortNumber = 0;
    window_.state().PortName = trimmed;
    setChecked(nullptr);
    refreshPortMenu();
}

void TransferController::askForPortName() {
    const int language = window_.editor().Language;
    bool ok = false;
    const QString name =
        QInputDialog::getText(&window_, kApplicationTitle, msg::kPortNamePrompt.text(language),
                              QLineEdit::Normal, window_.state().PortName, &ok);
    if (ok)
        choosePortByName(name);
}

void TransferController::refreshPortMenu() {
    // The ports the system reports beyond COM1..COM8: USB adapters above all.
    for (QAction* a : systemPortItems_)
        a->deleteLater();
    systemPortItems_.clear();
    QStringList menuPorts;
    for (int n = 1; n <= link::kMenuPortCount; ++n)
        menuPorts << link::SerialLink::menuPortName(n);
    const QString chosen =
        window_.state().ComPortNumber == 0 ? window_.state().PortName : QString();
    bool chosenListed = false;
    for (const link::PortInfo& p : link::SerialLink::availablePorts()) {
        if (menuPorts.contains(p.systemLocation) || menuPorts.contains(p.name))
            continue;
        if (p.description.isEmpty() && p.usbId.isEmpty() && p.name.startsWith(u"ttyS"))
            continue; // legacy serial ports the system always lists
        QString text =
            p.description.isEmpty() ? p.name : QStringLiteral("%1 (%2)").arg(p.description, p.name);
        if (!p.usbId.isEmpty())
            text += QStringLiteral("  [%1]").arg(p.usbId);
        auto* item = new QAction(text, portMenu_);
        item->setCheckable(true);
        item->setData(p.systemLocation);
        const bool isChosen = !chosen.isEmpty() && (chosen == p.systemLocation || chosen == p.name);
        item->setChecked(isChosen && link_->isOpen());
        chosenListed = chosenListed || isChosen;
        const QString location = p.systemLocation;
        connect(item, &QAction::triggered, this, [this, location] { choosePortByName(location); });
        portMenu_->insertAction(otherPortItem_, item);
        systemPortItems_ << item;
    }
    if (!chosen.isEmpty() && !chosenListed) {
        // A port typed by hand (a pseudo-terminal) is listed while it is remembered.
        auto* item = new QAction(chosen, portMenu_);
        item->setCheckable(true);
        item->setChecked(link_->isOpen());
        connect(item, &QAction::triggered, this, [this, chosen] { choosePortByName(chosen); });
        portMenu_->insertAction(otherPortItem_, item);
        systemPortItems_ << item;
    }
    systemSeparator_->setVisible(true);
}

bool TransferController::OpenCom() {
    const SharedState& s = window_.state();
    const QString name =
        s.ComPortNumber > 0 ? link::SerialLink::menuPortName(s.ComPortNumber) : s.PortName;
    link_->close();
    if (name.isEmpty())
        return false;
    return link_->open(name).ok();
}

// ---------------------------------------------------------------------------------------------
// Read and write.

void TransferController::mnureadFre() {
    start(Direction::Read);
}

void TransferController::mnuwriteFre() {
    start(Direction::Write);
}

void TransferController::start(Direction direction) {
    if (session_->busy())
        return;
    window_.commitEditor();
    const int language = window_.editor().Language;
    if (!OpenCom()) {
        window_.message(link::LinkTextFor(link::LinkText::PortNotOpen, language),
                        MbOk | MbIconInformation);
        return;
    }
    session_->setLanguage(language);
    session_->setServiceMode(window_.state().ServiceMode);
    session_->setCalibrationWrite(window_.editor().CalibrationWrite == 1);
    window_.enterTransfer();
    session_->start(direction);
}

void TransferController::sendBytes(const QByteArray& frame) {
    link_->write(frame);
}

void TransferController::closePort() {
    link_->close();
}

QString TransferController::encodeCodeplug() {
    return EncodeCodeplug(window_.editor());
}

int TransferController::selectedBand() const {
    return window_.editor().Band;
}

void TransferController::applyRead(const QString& imageHex, int radioBandIndex) {
    EditorState decoded = window_.editor();
    DecodeCodeplug(decoded, imageHex);
    // The band the radio reported, set without asking to clear the channels.
    decoded.CurrentBandIndex = radioBandIndex;
    decoded.Band = radioBandIndex;
    window_.replaceEditor(decoded);
}

bool TransferController::askBandQuestion(const QString& text) {
    return window_.message(text, MbYesNo | MbIconInformation) == IdYes;
}

void TransferController::showCommunicationError(const QString& text) {
    window_.message(text, MbOk | MbIconStop);
}

void TransferController::stateChanged() {
    if (timers_)
        timers_->sync();
    window_.showTransferState(*session_);
}

void TransferController::transferEnded(Outcome outcome) {
    Q_EMIT ended(outcome);
}

} // namespace tr640

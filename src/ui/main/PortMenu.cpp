#include "ui/main/PortMenu.h"

#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "link/PortAdvice.h"
#include "link/SerialLink.h"
#include "link/TransferTexts.h"
#include "ui/main/Form1.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>

#include <algorithm>

namespace tr640 {

PortMenu::PortMenu(Form1& window, QMenu* menu, const std::array<QAction*, 8>& items,
                   link::SerialLink& port)
    : QObject(&window), window_(window), menu_(menu), items_(items), port_(port) {
    for (int n = 1; n <= link::kMenuPortCount; ++n) {
        QAction* item = items_[n - 1];
        connect(item, &QAction::triggered, this, [this, item, n] {
            item->setChecked(!item->isChecked()); // the check mark is the command's to set
            chooseMenuPort(n);
        });
    }
    systemSeparator_ = menu_->addSeparator();
    otherPortItem_ = menu_->addAction(QString());
    otherPortItem_->setObjectName(QStringLiteral("mnucomother"));
    connect(otherPortItem_, &QAction::triggered, this, &PortMenu::askForPortName);
    connect(menu_, &QMenu::aboutToShow, this, &PortMenu::refresh);
}

void PortMenu::setChecked(QAction* item) {
    for (QAction* a : menu_->actions())
        if (a->isCheckable())
            a->setChecked(a == item);
}

QString PortMenu::portInUseText(int number, const QString& name,
                                const link::PortOpenResult& r) const {
    const int language = window_.editor().Language;
    const QString inUse = number > 0 ? link::PortInUseText(number, language)
                                     : msg::kNamedPortInUse.text(language).arg(name);
    const QString advice = link::PortProblemAdvice(
        r, number > 0 ? link::SerialLink::menuPortName(number) : name, language);
    return advice.isEmpty() ? inUse : inUse + QStringLiteral("\n\n") + advice;
}

void PortMenu::chooseMenuPort(int number) {
    QAction* item = items_[number - 1];
    const bool wasChecked = item->isChecked();
    if (!wasChecked)
        setChecked(nullptr);
    const link::PortOpenResult r = port_.open(link::SerialLink::menuPortName(number));
    if (!r.ok()) {
        item->setChecked(wasChecked);
        window_.message(portInUseText(number, QString(), r), MbOk | MbIconInformation);
        return;
    }
    setChecked(item);
    window_.state().ComPortNumber = number;
    window_.state().PortName.clear();
}

void PortMenu::choosePortByName(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty())
        return;
    const link::PortOpenResult r = port_.open(trimmed);
    if (!r.ok()) {
        window_.message(portInUseText(0, trimmed, r), MbOk | MbIconInformation);
        return;
    }
    window_.state().ComPortNumber = 0;
    window_.state().PortName = trimmed;
    setChecked(nullptr);
    refresh();
}

void PortMenu::askForPortName() {
    const int language = window_.editor().Language;
    bool ok = false;
    const QString name =
        QInputDialog::getText(&window_, kApplicationTitle, msg::kPortNamePrompt.text(language),
                              QLineEdit::Normal, window_.state().PortName, &ok);
    if (ok)
        choosePortByName(name);
}

void PortMenu::refresh() {
    // The ports the system reports beyond COM1..COM8: USB adapters above all, the ones with a
    // usual programming cable chip first.
    for (QAction* a : systemPortItems_)
        a->deleteLater();
    systemPortItems_.clear();
    QStringList menuPorts;
    for (int n = 1; n <= link::kMenuPortCount; ++n)
        menuPorts << link::SerialLink::menuPortName(n);
    const QString chosen =
        window_.state().ComPortNumber == 0 ? window_.state().PortName : QString();
    const int language = window_.editor().Language;
    QList<link::PortInfo> ports = link::SerialLink::availablePorts();
    std::stable_partition(ports.begin(), ports.end(), [](const link::PortInfo& p) {
        return !link::CableChip(p.usbId).isEmpty();
    });
    bool chosenListed = false;
    for (const link::PortInfo& p : ports) {
        // A port of the menu is listed too when the system says what it is (on Windows, the
        // cable's COM number: "COM3: USB-SERIAL CH340"); choosing it is choosing its item.
        const int number =
            std::max(menuPorts.indexOf(p.systemLocation), menuPorts.indexOf(p.name)) + 1;
        const bool described = !p.description.isEmpty() || !p.usbId.isEmpty();
        if (number > 0 && !described)
            continue;
        if (!described && p.name.startsWith(u"ttyS"))
            continue; // legacy serial ports the system always lists
        auto* item = new QAction(link::PortMenuText(p, language), menu_);
        item->setCheckable(true);
        item->setData(p.systemLocation);
        const bool isChosen =
            number > 0 ? window_.state().ComPortNumber == number
                       : !chosen.isEmpty() && (chosen == p.systemLocation || chosen == p.name);
        item->setChecked(isChosen && port_.isOpen());
        chosenListed = chosenListed || (isChosen && number == 0);
        const QString location = p.systemLocation;
        connect(item, &QAction::triggered, this, [this, location, number] {
            if (number > 0)
                chooseMenuPort(number);
            else
                choosePortByName(location);
        });
        menu_->insertAction(otherPortItem_, item);
        systemPortItems_ << item;
    }
    if (!chosen.isEmpty() && !chosenListed) {
        // A port typed by hand (a pseudo-terminal) is listed while it is remembered.
        auto* item = new QAction(chosen, menu_);
        item->setCheckable(true);
        item->setChecked(port_.isOpen());
        connect(item, &QAction::triggered, this, [this, chosen] { choosePortByName(chosen); });
        menu_->insertAction(otherPortItem_, item);
        systemPortItems_ << item;
    }
    systemSeparator_->setVisible(true);
}

} // namespace tr640

#include "ui/main/TransferController.h"

#include "app/Preferences.h"
#include "codeplug/Codec.h"
#include "codeplug/Hex.h"
#include "i18n/FileReason.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "link/PortAdvice.h"
#include "link/TransferTexts.h"
#include "link/TransferTimers.h"
#include "ui/main/Form1.h"
#include "ui/main/WritePreviewDialog.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QInputDialog>
#include <QLayout>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace tr640 {

using link::Direction;
using link::JobResult;
using link::LinkText;
using link::Outcome;

namespace {

// The box layout that holds `widget`, searched from `layout` down.
QBoxLayout* LayoutHolding(QLayout* layout, QWidget* widget) {
    if (!layout)
        return nullptr;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == widget)
            return qobject_cast<QBoxLayout*>(layout);
        if (QBoxLayout* inner = LayoutHolding(item->layout(), widget))
            return inner;
    }
    return nullptr;
}

QString AddressText(int address) {
    return QStringLiteral("0x") + HexWord(address);
}

} // namespace

TransferController::TransferController(Form1& window, QMenu* portMenu, bool withTimers)
    : QObject(&window), window_(window), portMenu_(portMenu), link_(new link::SerialLink(this)),
      job_(std::make_unique<link::TransferJob>(*this)),
      backups_(link::BackupDirectory(link::DefaultDataDirectory()), QStringLiteral("DAT"),
               link::kBackupsKept),
      traces_(link::TraceDirectory(link::DefaultDataDirectory()), QStringLiteral("txt"),
              link::kTracesKept),
      opener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    if (withTimers)
        timers_ = new link::TransferTimers(
            job_->session(), [this](link::Timer t) { job_->tick(t); }, this);
    connect(link_, &link::SerialLink::bytesReceived, this,
            [this](const QByteArray& bytes) { job_->receive(bytes); });

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

    addSafetyItems();
    setPreferencesDirectory(DefaultPreferencesDirectory());
}

TransferController::~TransferController() = default;

// ---------------------------------------------------------------------------------------------
// Write checks, backup and trace items, the Cancel button.

void TransferController::addSafetyItems() {
    // Programming menu: the two checks after the write command.
    if (auto* programming = window_.findChild<QMenu*>(QStringLiteral("mnupro"))) {
        QAction* before = programming->findChild<QAction*>(QStringLiteral("mnuline1"));
        auto* separator = new QAction(programming);
        separator->setSeparator(true);
        backupFirstItem_ = new QAction(programming);
        backupFirstItem_->setObjectName(QStringLiteral("mnubackupfirst"));
        verifyItem_ = new QAction(programming);
        verifyItem_->setObjectName(QStringLiteral("mnuverify"));
        previewItem_ = new QAction(programming);
        previewItem_->setObjectName(QStringLiteral("mnupreview"));
        previewItem_->setCheckable(true);
        connect(previewItem_, &QAction::triggered, this,
                [this](bool on) { setWriteCheck(&WriteChecks::Preview, on); });
        for (QAction* a : {separator, backupFirstItem_, verifyItem_, previewItem_})
            programming->insertAction(before, a);
        backupFirstItem_->setCheckable(true);
        verifyItem_->setCheckable(true);
        connect(backupFirstItem_, &QAction::triggered, this,
                [this](bool on) { setWriteCheck(&WriteChecks::BackupFirst, on); });
        connect(verifyItem_, &QAction::triggered, this,
                [this](bool on) { setWriteCheck(&WriteChecks::Verify, on); });
    }
    // Help menu: the backup folder and the last trace, ahead of About.
    if (auto* help = window_.findChild<QMenu*>(QStringLiteral("mnuhelp"))) {
        QAction* before = help->findChild<QAction*>(QStringLiteral("mnuabout"));
        auto* backups = new QAction(help);
        backups->setObjectName(QStringLiteral("mnuopenbackups"));
        auto* trace = new QAction(help);
        trace->setObjectName(QStringLiteral("mnuopentrace"));
        auto* separator = new QAction(help);
        separator->setSeparator(true);
        for (QAction* a : {backups, trace, separator})
            help->insertAction(before, a);
        connect(backups, &QAction::triggered, this, &TransferController::openBackupFolder);
        connect(trace, &QAction::triggered, this, &TransferController::openLastTrace);
    }
    // The Cancel button joins the progress bar's row once the window has built it.
    cancelButton_ = new QPushButton(&window_);
    cancelButton_->setObjectName(QStringLiteral("cmdCancel"));
    cancelButton_->hide();
    connect(cancelButton_, &QPushButton::clicked, this, &TransferController::cancelTransfer);
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), &window_);
    escape_->setContext(Qt::WindowShortcut);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, this, &TransferController::cancelTransfer);
}

void TransferController::placeCancelButton() {
    if (cancelPlaced_)
        return;
    auto* bar = window_.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    QWidget* area = bar ? bar->parentWidget() : nullptr;
    QBoxLayout* row = area ? LayoutHolding(area->layout(), bar) : nullptr;
    if (!row)
        return;
    cancelButton_->setParent(area);
    cancelButton_->hide();
    row->insertWidget(row->indexOf(bar) + 1, cancelButton_);
    cancelPlaced_ = true;
}

void TransferController::setPreferencesDirectory(const QString& directory) {
    preferencesDirectory_ = directory;
    checks_ = LoadWriteChecks(directory);
    if (backupFirstItem_)
        backupFirstItem_->setChecked(checks_.BackupFirst);
    if (verifyItem_)
        verifyItem_->setChecked(checks_.Verify);
    if (previewItem_)
        previewItem_->setChecked(checks_.Preview);
}

void TransferController::setWriteCheck(bool WriteChecks::*check, bool on) {
    checks_.*check = on;
    SaveWriteChecks(preferencesDirectory_, checks_);
}

void TransferController::setDataDirectory(const QString& directory) {
    backups_.setDirectory(link::BackupDirectory(directory));
    traces_.setDirectory(link::TraceDirectory(directory));
}

void TransferController::openBackupFolder() {
    const QString folder = backups_.directory();
    QDir().mkpath(folder);
    if (!opener_(QUrl::fromLocalFile(folder)))
        window_.message(link::LinkTextFor(LinkText::CannotOpenPlace, window_.editor().Language)
                            .arg(QDir::toNativeSeparators(folder)),
                        MbOk | MbIconExclamation);
}

void TransferController::openLastTrace() {
    const int language = window_.editor().Language;
    const QString last = traces_.newest();
    if (last.isEmpty()) {
        window_.message(link::LinkTextFor(LinkText::NoTraceYet, language),
                        MbOk | MbIconInformation);
        return;
    }
    if (!opener_(QUrl::fromLocalFile(last)))
        window_.message(link::LinkTextFor(LinkText::CannotOpenPlace, language)
                            .arg(QDir::toNativeSeparators(last)),
                        MbOk | MbIconExclamation);
}

void TransferController::cancelTransfer() {
    job_->cancel();
}

void TransferController::showLater(const QString& text, quint32 style) {
    // Job results are told after the port handler that ended the job has returned.
    QTimer::singleShot(0, this, [this, text, style] { window_.message(text, style); });
}

// ---------------------------------------------------------------------------------------------
// The port menu.

void TransferController::setChecked(QAction* item) {
    for (QAction* a : portMenu_->actions())
        if (a->isCheckable())
            a->setChecked(a == item);
}

QString TransferController::portInUseText(int number, const QString& name,
                                          const link::PortOpenResult& r) const {
    const int language = window_.editor().Language;
    const QString inUse = number > 0 ? link::PortInUseText(number, language)
                                     : msg::kNamedPortInUse.text(language).arg(name);
    const QString advice = link::PortProblemAdvice(
        r, number > 0 ? link::SerialLink::menuPortName(number) : name, language);
    return advice.isEmpty() ? inUse : inUse + QStringLiteral("\n\n") + advice;
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
        auto* item = new QAction(link::PortMenuText(p, language), portMenu_);
        item->setCheckable(true);
        item->setData(p.systemLocation);
        const bool isChosen =
            number > 0 ? window_.state().ComPortNumber == number
                       : !chosen.isEmpty() && (chosen == p.systemLocation || chosen == p.name);
        item->setChecked(isChosen && link_->isOpen());
        chosenListed = chosenListed || (isChosen && number == 0);
        const QString location = p.systemLocation;
        connect(item, &QAction::triggered, this, [this, location, number] {
            if (number > 0)
                chooseMenuPort(number);
            else
                choosePortByName(location);
        });
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
    lastPortName_ =
        s.ComPortNumber > 0 ? link::SerialLink::menuPortName(s.ComPortNumber) : s.PortName;
    lastOpen_ = {};
    link_->close();
    if (lastPortName_.isEmpty())
        return false;
    lastOpen_ = link_->open(lastPortName_);
    return lastOpen_.ok();
}

// ---------------------------------------------------------------------------------------------
// Read and write.

void TransferController::mnureadFre() {
    start(Direction::Read);
}

void TransferController::mnuwriteFre() {
    start(Direction::Write);
}

bool TransferController::writeOther(const EditorState& codeplug) {
    // The next radio of a batch need not wait for the last one's result to stop showing.
    if (!job_->active() && session().showingResult())
        session().cancel(session().statusMessage());
    if (session().busy() || job_->active())
        return false;
    other_ = codeplug;
    start(Direction::Write);
    if (!job_->active())
        other_.reset();
    return job_->active();
}

void TransferController::start(Direction direction) {
    if (session().busy() || job_->active())
        return;
    window_.commitEditor();
    const int language = window_.editor().Language;
    if (!OpenCom()) {
        QString text = link::LinkTextFor(LinkText::PortNotOpen, language);
        if (!lastPortName_.isEmpty())
            text += QStringLiteral("\n\n") +
                    link::PortProblemAdvice(lastOpen_, lastPortName_, language);
        window_.message(text, MbOk | MbIconInformation);
        return;
    }
    session().setLanguage(language);
    session().setServiceMode(window_.state().ServiceMode);
    session().setCalibrationWrite(window_.editor().CalibrationWrite == 1);
    link::JobOptions options;
    if (direction == Direction::Write)
        options = {checks_.BackupFirst, checks_.Verify, checks_.Preview && !other_};
    keepFailures_.clear();
    placeCancelButton();
    window_.enterTransfer();
    job_->start(direction, options, lastPortName_);
}

void TransferController::sendBytes(const QByteArray& frame) {
    link_->write(frame);
}

void TransferController::closePort() {
    link_->close();
}

QString TransferController::encodeCodeplug() {
    return EncodeCodeplug(other_ ? *other_ : window_.editor());
}

int TransferController::selectedBand() const {
    return other_ ? other_->Band : window_.editor().Band;
}

void TransferController::confirmWrite(const QByteArray& radioImage, int) {
    const EditorState& e = window_.editor();
    const QList<FieldChange> changes =
        CompareCodeplugs(radioImage, EncodeImage(e), e.Language,
                         e.CalibrationWrite == 1 ? CompareScope::WrittenBytesWithCalibration
                                                 : CompareScope::WrittenBytes);
    // Asked after the port handler that ended the read has returned.
    QTimer::singleShot(0, this, [this, changes] {
        if (job_->awaitingDecision())
            job_->decideWrite(AskWritePreview(&window_, changes, window_.editor().Language));
    });
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
    window_.showTransferState(session());
    const bool cancellable = job_->active();
    cancelButton_->setVisible(cancelPlaced_ && cancellable);
    escape_->setEnabled(cancellable);
}

bool TransferController::reopenPort() {
    return OpenCom();
}

bool TransferController::keepImage(link::ImageKind kind, const QByteArray& image, int band) {
    FileStatus st;
    const QString path =
        backups_.store(QDateTime::currentDateTime(), link::BackupLabel(band, kind), image, &st);
    if (!path.isEmpty())
        return true;
    const QString reason = FileReasonText(st, window_.editor().Language, false);
    if (kind == link::ImageKind::BeforeWrite)
        beforeWriteFailure_ = reason;
    else
        keepFailures_ << reason;
    return false;
}

void TransferController::jobEnded(const link::JobReport& report) {
    other_.reset();
    const int language = window_.editor().Language;
    const bool read = report.step == link::JobStep::Read;
    traces_.store(QDateTime::currentDateTime(),
                  read ? QStringLiteral("read") : QStringLiteral("write"), job_->trace().text());

    QStringList texts;
    quint32 icon = MbIconExclamation;
    switch (report.result) {
    case JobResult::Cancelled:
        if (report.partlyWritten())
            texts << link::LinkTextFor(LinkText::WriteCancelledMessage, language);
        break;
    case JobResult::VerifyFailed:
        texts << link::LinkTextFor(LinkText::VerifyMismatch, language)
                     .arg(AddressText(report.mismatchAddress));
        icon = MbIconStop;
        break;
    case JobResult::BackupNotKept:
        texts
            << link::LinkTextFor(LinkText::BackupNotKeptMessage, language).arg(beforeWriteFailure_);
        icon = MbIconStop;
        break;
    case JobResult::PortLost: {
        QString text = link::LinkTextFor(LinkText::PortNotReopened, language);
        const QString advice = link::PortProblemAdvice(lastOpen_, lastPortName_, language);
        if (!advice.isEmpty())
            text += QStringLiteral("\n\n") + advice;
        texts << text;
        icon = MbIconStop;
        break;
    }
    case JobResult::None:
    case JobResult::Done:
    case JobResult::CommunicationError:
    case JobResult::BandRefused:
    case JobResult::BandDeclined:
        break;
    }
    for (const QString& reason : std::as_const(keepFailures_))
        texts << link::LinkTextFor(LinkText::AutoBackupNotSaved, language)
                     .arg(QDir::toNativeSeparators(backups_.directory()), reason);
    keepFailures_.clear();
    if (!texts.isEmpty())
        showLater(texts.join(QStringLiteral("\n\n")), MbOk | icon);

    Outcome outcome = report.outcome;
    if (report.result == JobResult::Done)
        outcome = read ? Outcome::ReadDone : Outcome::WriteDone;
    else if (outcome == Outcome::ReadDone || outcome == Outcome::WriteDone)
        outcome = Outcome::None;
    Q_EMIT ended(outcome);
}

} // namespace tr640

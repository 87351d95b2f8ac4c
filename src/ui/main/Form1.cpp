#include "ui/main/Form1.h"

#include "codeplug/BandTable.h"
#include "codeplug/ListTexts.h"
#include "i18n/ApplyLanguage.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "i18n/TextTable.h"
#include "link/TransferSession.h"
#include "ui/dialogs/Form2.h"
#include "ui/dialogs/Form4.h"
#include "ui/dialogs/Form5.h"
#include "ui/dialogs/Form6.h"
#include "ui/dialogs/Form7.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/main/BatchWindow.h"
#include "ui/main/ChannelGridEditor.h"
#include "ui/main/EditCommands.h"
#include "ui/main/FileCommands.h"
#include "ui/main/Gesture.h"
#include "ui/main/PortMenu.h"
#include "ui/main/SheetCommands.h"
#include "ui/main/TransferController.h"
#include "ui/widgets/ClickLabel.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolBar>
#include <QUrl>

namespace tr640 {

Form1::Form1(QWidget* parent) : Form1(Options{}, parent) {}

Form1::Form1(const Options& options, QWidget* parent) : QMainWindow(parent), options_(options) {
    setObjectName(QStringLiteral("Form1"));
    files_ = new FileCommands(*this);
    edits_ = new EditCommands(*this);
    sheet_ = new SheetCommands(*this);
    transfer_ = new TransferController(*this, options_.transferTimers);
    buildMenus();
    portMenu_ = new PortMenu(*this, mnucom_, mnucomItems_, transfer_->port());
    transfer_->setWriteChecks(options_.writeChecks);
    buildToolbar();
    buildCentralArea();
    startUp();
}

Form1::~Form1() = default;

// ---------------------------------------------------------------------------------------------
// Start-up and exit.

void Form1::startUp() {
    const Preferences& prefs = options_.preferences;
    if (prefs.Locked) {
        mnulock_->setChecked(true);
        frame1_->setEnabled(false);
        grid_->setEnabled(false);
        lockCommands();
    }
    state_.ComPortNumber = prefs.ComPortNumber;
    state_.PortName = prefs.PortName;
    state_.Editor.Language = prefs.Language;

    {
        const QSignalBlocker quiet(combo3_);
        for (int i = 0; i < kTimeOutTimerCount; ++i)
            combo3_->addItem(TimeOutTimerItem(i, English));
    }

    state_.Editor.CurrentBandIndex = 0;
    combo1_->setCurrentIndex(0);
    onBandSelected(0);
    initialiseSettings();
    ApplyLanguage();
    showRows({});

    observeDocument();
    connect(transfer_, &TransferController::ended, this, [this](link::Outcome outcome) {
        if (outcome == link::Outcome::ReadDone || outcome == link::Outcome::WriteDone)
            document().markClean();
    });
    document().markClean();
}

void Form1::observeDocument() {
    CodeplugDocument& d = document();
    connect(&d, &CodeplugDocument::channelsChanged, this, &Form1::showRows);
    connect(&d, &CodeplugDocument::settingsChanged, this, &Form1::showSettings);
    connect(&d, &CodeplugDocument::bandChanged, this, &Form1::showBand);
    connect(&d, &CodeplugDocument::cleanChanged, this, &Form1::updateCaption);
}

void Form1::initialiseSettings() {
    // The editor's start-up values are those of a new EditorState; the lists show them.
    state_.Editor.CalibrationWrite = 0;
    for (int row = 1; row < kGridRows; ++row)
        grid_->setText(row, ColNumber, state_.Editor.cell(row, ColNumber));
    combo2_->setCurrentIndex(state_.Editor.VoiceNotice);
    combo3_->setCurrentIndex(state_.Editor.TimeOutTimer);
    combo4_->setCurrentIndex(state_.Editor.TotPreAlert);
    combo9_->setCurrentIndex(state_.Editor.SquelchLevel);
    combo6_->setCurrentIndex(state_.Editor.BatterySave);
    combo7_->setCurrentIndex(state_.Editor.Beep);
    progress_->hide();
    status_->hide();
}

Preferences Form1::preferences() const {
    Preferences p;
    p.Locked = mnulock_->isChecked();
    p.ComPortNumber = state_.ComPortNumber;
    p.Language = state_.Editor.Language;
    p.PortName = state_.PortName;
    return p;
}

void Form1::closeEvent(QCloseEvent* event) {
    commitEditor();
    if (document().isModified()) {
        const int answer =
            message(msg::kSaveChanges.text(state_.Editor.Language), MbYesNoCancel | MbIconQuestion);
        if (answer == IdYes)
            files_->mnuAssave();
        if (answer == IdCancel || (answer == IdYes && document().isModified())) {
            event->ignore(); // stay: cancelled, or the save did not happen
            return;
        }
    }
    Q_EMIT closing(preferences());
    QMainWindow::closeEvent(event);
}

void Form1::updateCaption() {
    const int language = state_.Editor.Language;
    if (language != Chinese && language != English)
        return;
    QString caption = TableText(Form1Texts(), "", language);
    if (document().isModified())
        caption += QStringLiteral(" *");
    setWindowTitle(caption);
}

// ---------------------------------------------------------------------------------------------
// Windows and texts.

QWidget* Form1::windowNamed(const QString& name) {
    if (name == QLatin1String("Form1"))
        return this;
    // Each dialog is made once, hidden.
    if (name == QLatin1String("Form2")) {
        if (!form2_) {
            form2_ = new Form2(state_, this);
            connect(form2_, &Form2::calibrationUnlocked, this,
                    [this] { toolbarButton(QStringLiteral("TAnMa"))->setVisible(true); });
        }
        return form2_;
    }
    if (name == QLatin1String("Form4"))
        return form4_ ? form4_ : (form4_ = new Form4(state_, this));
    if (name == QLatin1String("Form5"))
        return form5_ ? form5_ : (form5_ = new Form5(state_, this));
    if (name == QLatin1String("Form6"))
        return form6_ ? form6_ : (form6_ = new Form6(state_, this));
    if (name == QLatin1String("Form7"))
        return form7_ ? form7_ : (form7_ = new Form7(state_, this));
    if (name == QLatin1String("frmAbout"))
        return about_ ? about_ : (about_ = new frmAbout(this));
    // Windows the main window does not make itself (the batch window) once they exist.
    return findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
}

void Form1::showDialog(const QString& name) {
    commitEditor();
    if (auto* dialog = qobject_cast<SettingsDialog*>(windowNamed(name)))
        dialog->showDialog();
}

void Form1::ApplyLanguage() {
    tr640::ApplyLanguage(state_.Editor.Language,
                         [this](const QString& name) { return windowNamed(name); });
    for (auto* dialog : findChildren<SettingsDialog*>(Qt::FindDirectChildrenOnly))
        dialog->fitTexts();
    edits_->updateActions();
    updateCaption();
}

int Form1::message(const QString& text, quint32 style, const QString& title) {
    return LocalisedMessageBox(this, state_.Editor.Language, text, style, title);
}

// ---------------------------------------------------------------------------------------------
// The views of the codeplug document.

void Form1::showRows(const QList<int>& rows) {
    const auto show = [this](int row) {
        for (int col = ColRxFrequency; col < kGridColumns; ++col)
            grid_->setText(row, col, state_.Editor.cell(row, col));
    };
    if (rows.isEmpty()) // all of them
        for (int row = 1; row <= kChannelCount; ++row)
            show(row);
    for (int row : rows)
        show(row);
}

void Form1::showSettings() {
    const EditorState& e = state_.Editor;
    const std::pair<QComboBox*, int> lists[] = {
        {combo2_, e.VoiceNotice},  {combo3_, e.TimeOutTimer}, {combo4_, e.TotPreAlert},
        {combo9_, e.SquelchLevel}, {combo6_, e.BatterySave},  {combo7_, e.Beep},
    };
    for (const auto& [combo, position] : lists)
        combo->setCurrentIndex(position);
}

void Form1::showBand() {
    // CurrentBandIndex already holds the band, so the selector asks nothing.
    combo1_->setCurrentIndex(state_.Editor.Band);
}

bool Form1::isLocked() const {
    return mnulock_ && mnulock_->isChecked();
}

void Form1::commitEditor() {
    gridEditor_->commit();
}

void Form1::runToolbarKey(const QString& key) {
    if (key == QLatin1String("new"))
        files_->mnuNew();
    else if (key == QLatin1String("open"))
        files_->mnuOpen();
    else if (key == QLatin1String("save"))
        files_->mnuAssave();
    else if (key == QLatin1String("read"))
        transfer_->mnureadFre();
    else if (key == QLatin1String("write"))
        transfer_->mnuwriteFre();
    else if (key == QLatin1String("TAnMa") || key == QLatin1String("Anma"))
        serviceButtonClick(key);
}

QAction* Form1::toolbarButton(const QString& key) const {
    return toolbar_->findChild<QAction*>(key);
}

// ---------------------------------------------------------------------------------------------
// Language, lock, help.

void Form1::switchLanguage(int language) {
    if (state_.Editor.Language == language)
        return;
    document().update([language](EditorState& e) {
        e.Language = language;
        e.SetGrid1Text();
    });
    ApplyLanguage();
}

void Form1::mnuChinese() {
    switchLanguage(Chinese);
}

void Form1::mnuEnglish() {
    switchLanguage(English);
}

void Form1::mnulock() {
    // An open editor is committed before the grid goes out of reach.
    commitEditor();
    mnulock_->setChecked(!mnulock_->isChecked());
    const bool unlocked = !mnulock_->isChecked();
    frame1_->setEnabled(unlocked);
    frame2_->setEnabled(unlocked);
    grid_->setEnabled(unlocked);
    lockCommands();
}

void Form1::lockCommands() {
    edits_->updateActions();
    importCsv_->setEnabled(!isLocked());
}

QString Form1::helpFilePath() const {
    return QDir(QCoreApplication::applicationDirPath()).filePath(kApplicationTitle + ".CHM");
}

void Form1::mnumainhelp() {
    const QString path = helpFilePath();
    if (!QFileInfo::exists(path))
        return;
    const QUrl url = QUrl::fromLocalFile(path);
    if (urlOpener_)
        urlOpener_(url);
    else
        QDesktopServices::openUrl(url);
}

// ---------------------------------------------------------------------------------------------
// Service mode.

void Form1::serviceGestureClick(QObject* label) {
    SharedState& s = state_;
    bool* own = label == label5_   ? &s.GestureFlagA
                : label == label7_ ? &s.GestureFlagB
                                   : &s.GestureFlagC;
    if (GestureClick({&s.GestureFlagA, &s.GestureFlagB, &s.GestureFlagC}, own, s.GestureStart,
                     s.Clock())) {
        s.ServiceMode = true;
        toolbarButton(QStringLiteral("Anma"))->setVisible(true);
    }
}

void Form1::serviceButtonClick(const QString& key) {
    SharedState& s = state_;
    if (!DoubleClick(serviceButtonClickTime_, s.Clock()))
        return;
    s.GestureFlagA = s.GestureFlagB = s.GestureFlagC = false;
    s.ServiceMode = false;
    if (key == QLatin1String("TAnMa")) {
        if (auto* debug = qobject_cast<Form2*>(windowNamed(QStringLiteral("Form2"))))
            debug->disableSliders();
        s.Editor.CalibrationWrite = 0;
    }
    toolbarButton(key)->setVisible(false);
}

void Form1::enterTransfer() {
    frame1_->setEnabled(true);
    combo1_->setFocus(Qt::OtherFocusReason);
}

void Form1::showTransferState(const link::TransferSession& session, bool cancellable) {
    const bool idle = !session.busy();
    toolbar_->setEnabled(idle);
    mnupro_->setEnabled(idle);
    // The menu's own items too, so that their shortcuts rest while busy.
    for (QAction* command : transferCommands_)
        command->setEnabled(idle);
    status_->setText(session.statusText());
    status_->setVisible(session.statusVisible());
    progress_->setRange(0, link::kProgressMaximum);
    progress_->setValue(session.progressValue());
    progress_->setVisible(session.progressVisible());
    cancel_->setVisible(cancellable);
    escape_->setEnabled(cancellable);
}

void Form1::showBatchWindow() {
    auto* batch = findChild<BatchWindow*>(QStringLiteral("frmBatch"), Qt::FindDirectChildrenOnly);
    if (!batch) {
        batch = new BatchWindow(*this);
        ApplyLanguage();
    }
    batch->show();
    batch->raise();
    batch->activateWindow();
}

// ---------------------------------------------------------------------------------------------
// Band selector and function settings.

void Form1::onBandSelected(int position) {
    if (position < 0)
        return;
    const QString text = combo1_->itemText(position);
    bandLow_ = BandLowFromText(text);
    bandHigh_ = BandHighFromText(text);
    EditorState& e = state_.Editor;
    if (position == e.CurrentBandIndex) {
        e.Band = position;
        return;
    }
    const int answer = message(msg::kChangeBand.text(e.Language),
                               MbOkCancel | MbIconQuestion | MbDefaultButton2 | MbSystemModal,
                               msg::kChangeBandTitle.text(e.Language));
    if (answer != IdOk) {
        combo1_->setCurrentIndex(e.CurrentBandIndex); // runs this handler again: old limits
        return;
    }
    bandLow_ = BandLowFromText(text);
    bandHigh_ = BandHighFromText(text);
    document().edit(EditKind::Band, [position](EditorState& state) {
        state.CurrentBandIndex = position;
        state.Band = position;
        state.ClearGrid();
    });
}

void Form1::onFunctionSettingChosen(QComboBox* combo, int position) {
    const std::pair<QComboBox*, int EditorState::*> lists[] = {
        {combo2_, &EditorState::VoiceNotice}, {combo3_, &EditorState::TimeOutTimer},
        {combo4_, &EditorState::TotPreAlert}, {combo9_, &EditorState::SquelchLevel},
        {combo6_, &EditorState::BatterySave}, {combo7_, &EditorState::Beep},
    };
    for (const auto& [list, field] : lists)
        if (list == combo)
            document().edit(EditKind::Setting,
                            [field, position](EditorState& e) { e.*field = position; });
}

} // namespace tr640

#include "ui/main/Form1.h"

#include "app/Gesture.h"
#include "app/Preferences.h"
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
#include "ui/main/PortMenu.h"
#include "ui/main/SheetCommands.h"
#include "ui/main/ToolbarIcons.h"
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
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace tr640 {

namespace {

constexpr int kColumnWidthsTwips[kGridColumns] = {500, 1330, 1000, 1330, 1000, 800, 850, 1000, 900};
constexpr int kRowHeightTwips = 300;
const QColor kShadedRow(0xC0, 0xC0, 0xFF); // 0xFFC0C0 in blue-green-red order

QFont GridFont() {
    QFont f;
    f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                   QStringLiteral("WenQuanYi Micro Hei")});
    return f;
}

QComboBox* MakeList(QWidget* parent, const char* name, int items) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    for (int i = 0; i < items; ++i)
        combo->addItem(QString());
    return combo;
}

} // namespace

Form1::Form1(QWidget* parent) : Form1(Options{}, parent) {}

Form1::Form1(const Options& options, QWidget* parent) : QMainWindow(parent), options_(options) {
    setObjectName(QStringLiteral("Form1"));
    if (options_.preferencesDirectory.isEmpty())
        options_.preferencesDirectory = DefaultPreferencesDirectory();
    files_ = new FileCommands(*this);
    edits_ = new EditCommands(*this);
    sheet_ = new SheetCommands(*this);
    transfer_ = new TransferController(*this, options_.transferTimers);
    buildMenus();
    portMenu_ = new PortMenu(*this, mnucom_, mnucomItems_, transfer_->port());
    transfer_->setPreferencesDirectory(options_.preferencesDirectory);
    buildToolbar();
    buildCentralArea();
    startUp();
}

Form1::~Form1() = default;

// ---------------------------------------------------------------------------------------------
// Construction.

QAction* Form1::addMenuAction(QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QLatin1String(name));
    return a;
}

void Form1::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto menu = [&](QWidget* owner, const char* name) {
        auto* m = new QMenu(owner);
        m->setObjectName(QLatin1String(name));
        if (auto* parentMenu = qobject_cast<QMenu*>(owner))
            parentMenu->addMenu(m);
        else
            bar->addMenu(m);
        return m;
    };

    QMenu* file = menu(bar, "mnuFile");
    QMenu* edit = new QMenu(this); // after File, filled below
    connect(addMenuAction(file, "mnuNew"), &QAction::triggered, files_, &FileCommands::mnuNew);
    connect(addMenuAction(file, "mnuOpen"), &QAction::triggered, files_, &FileCommands::mnuOpen);
    connect(addMenuAction(file, "mnuAssave"), &QAction::triggered, files_,
            &FileCommands::mnuAssave);
    file->addSeparator();
    connect(addMenuAction(file, "mnuImportCsv"), &QAction::triggered, files_,
            &FileCommands::mnuImportCsv);
    connect(addMenuAction(file, "mnuExportCsv"), &QAction::triggered, files_,
            &FileCommands::mnuExportCsv);
    file->addSeparator();
    connect(addMenuAction(file, "mnuPrintSheet"), &QAction::triggered, sheet_,
            &SheetCommands::printSheet);
    connect(addMenuAction(file, "mnuExportSheetPdf"), &QAction::triggered, sheet_,
            &SheetCommands::exportSheetPdf);
    file->addSeparator()->setObjectName(QStringLiteral("mnuline"));
    connect(addMenuAction(file, "mnuQuit"), &QAction::triggered, this, &QWidget::close);

    edit->setObjectName(QStringLiteral("mnuEdit"));
    bar->addMenu(edit);
    edits_->buildMenu(edit);

    mnupro_ = menu(bar, "mnupro");
    QAction* read = addMenuAction(mnupro_, "mnureadFre");
    read->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(read, &QAction::triggered, transfer_, &TransferController::mnureadFre);
    QAction* write = addMenuAction(mnupro_, "mnuwriteFre");
    write->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    connect(write, &QAction::triggered, transfer_, &TransferController::mnuwriteFre);
    mnupro_->addSeparator();
    // The checks that make a write safer, remembered by the transfer.
    const std::pair<const char*, bool WriteChecks::*> checks[] = {
        {"mnubackupfirst", &WriteChecks::BackupFirst},
        {"mnuverify", &WriteChecks::Verify},
        {"mnupreview", &WriteChecks::Preview},
    };
    for (const auto& [name, check] : checks) {
        QAction* item = addMenuAction(mnupro_, name);
        item->setCheckable(true);
        connect(item, &QAction::triggered, this,
                [this, check](bool on) { transfer_->setWriteCheck(check, on); });
        connect(transfer_, &TransferController::writeChecksChanged, item,
                [item, check](const WriteChecks& c) { item->setChecked(c.*check); });
    }
    connect(addMenuAction(mnupro_, "mnubatch"), &QAction::triggered, this, &Form1::showBatchWindow);
    mnupro_->addSeparator()->setObjectName(QStringLiteral("mnuline1"));
    addMenuAction(mnupro_, "mnudtmf")->setEnabled(false);
    addMenuAction(mnupro_, "Key_enactment")->setEnabled(false);
    connect(addMenuAction(mnupro_, "mnusetin"), &QAction::triggered, this,
            [this] { showDialog(QStringLiteral("Form7")); });
    connect(addMenuAction(mnupro_, "mnudebug"), &QAction::triggered, this,
            [this] { showDialog(QStringLiteral("Form2")); });
    connect(addMenuAction(mnupro_, "mnutestfre"), &QAction::triggered, this,
            [this] { showDialog(QStringLiteral("Form4")); });

    QMenu* settings = menu(bar, "mnuset");
    mnulock_ = addMenuAction(settings, "mnulock");
    mnulock_->setCheckable(true);
    connect(mnulock_, &QAction::triggered, this, [this] {
        mnulock_->setChecked(!mnulock_->isChecked()); // the command inverts it itself
        mnulock();
    });
    mnucom_ = menu(settings, "mnucom");
    for (int n = 1; n <= 8; ++n) {
        QAction* item = addMenuAction(mnucom_, "", QStringLiteral("COM%1(&%1)").arg(n));
        item->setObjectName(QStringLiteral("mnucom%1").arg(n));
        item->setCheckable(true);
        mnucomItems_[n - 1] = item;
    }
    QMenu* language = menu(settings, "mnuLanguage");
    connect(addMenuAction(language, "mnuChinese"), &QAction::triggered, this, &Form1::mnuChinese);
    connect(addMenuAction(language, "mnuEnglish"), &QAction::triggered, this, &Form1::mnuEnglish);

    QMenu* help = menu(bar, "mnuhelp");
    QAction* helpTopic = addMenuAction(help, "mnumainhelp");
    helpTopic->setShortcut(QKeySequence(Qt::Key_F1));
    helpTopic->setEnabled(false);
    connect(helpTopic, &QAction::triggered, this, &Form1::mnumainhelp);
    connect(addMenuAction(help, "mnuopenbackups"), &QAction::triggered, transfer_,
            &TransferController::openBackupFolder);
    connect(addMenuAction(help, "mnuopentrace"), &QAction::triggered, transfer_,
            &TransferController::openLastTrace);
    help->addSeparator();
    connect(addMenuAction(help, "mnuabout"), &QAction::triggered, this,
            [this] { showDialog(QStringLiteral("frmAbout")); });

    // The channel menu is never available; it is not shown.
    QMenu* channel = menu(bar, "mnuchannel");
    addMenuAction(channel, "mnudel_channel");
    channel->setEnabled(false);
    channel->menuAction()->setEnabled(false);
    channel->menuAction()->setVisible(false);
}

void Form1::buildToolbar() {
    toolbar_ = addToolBar(QString());
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(32, 32));
    toolbar_->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    const auto button = [this](const char* key) {
        const QString k = QLatin1String(key);
        QAction* a = toolbar_->addAction(ToolbarIcon(k), QString());
        a->setObjectName(k);
        a->setData(k);
        connect(a, &QAction::triggered, this, [this, k] { runToolbarKey(k); });
        return a;
    };
    button("new");
    button("open");
    button("save");
    toolbar_->addSeparator();
    button("read");
    button("write");
    button("TAnMa")->setVisible(false);
    button("Anma")->setVisible(false);
}

void Form1::buildGrid(QWidget* parent) {
    grid_ = new FlexGrid(kGridRows, kGridColumns, parent);
    grid_->setObjectName(QStringLiteral("Grid1"));
    grid_->setFont(GridFont());
    for (int c = 0; c < kGridColumns; ++c)
        grid_->setColumnWidthTwips(c, kColumnWidthsTwips[c]);
    for (int r = 1; r < kGridRows; ++r)
        grid_->setRowHeightTwips(r, kRowHeightTwips);
    for (int r = 2; r < kGridRows; r += 2)
        for (int c = 0; c < kGridColumns; ++c)
            grid_->setCellBackground(r, c, kShadedRow);
    // Locked channels stay readable: the disabled grid keeps the usual text colour.
    QPalette pal = grid_->palette();
    pal.setColor(QPalette::Disabled, QPalette::Text, pal.color(QPalette::Active, QPalette::Text));
    grid_->setPalette(pal);
}

QGroupBox* Form1::buildModelFrame(QWidget* parent) {
    frame1_ = new QGroupBox(parent);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    auto* layout = new QHBoxLayout(frame1_);
    auto* label = new QLabel(frame1_);
    label->setObjectName(QStringLiteral("Label3"));
    combo1_ = MakeList(frame1_, "Combo1", 0);
    for (const BandInfo& b : kBands)
        combo1_->addItem(QString::fromLatin1(b.text));
    layout->addWidget(label);
    layout->addWidget(combo1_);
    layout->addStretch(1);
    connect(combo1_, &QComboBox::currentIndexChanged, this, &Form1::onBandSelected);
    return frame1_;
}

QGroupBox* Form1::buildFunctionsFrame(QWidget* parent) {
    frame2_ = new QGroupBox(parent);
    frame2_->setObjectName(QStringLiteral("Frame2"));
    auto* layout = new QGridLayout(frame2_);
    layout->setHorizontalSpacing(10);
    struct Setting {
        const char* label;
        const char* combo;
        int items;
        QComboBox** out;
        ClickLabel** gestureLabel;
    };
    // In order from top to bottom, three to a column.
    const Setting settings[] = {
        {"Label4", "Combo2", int(kVoiceNoticeList.size()), &combo2_, nullptr},
        {"Label5", "Combo3", 0, &combo3_, &label5_},
        {"Label6", "Combo9", kSquelchLevelCount, &combo9_, nullptr},
        {"Label7", "Combo6", int(kBatterySaveList.size()), &combo6_, &label7_},
        {"Label8", "Combo7", int(kBeepList.size()), &combo7_, nullptr},
        {"Label1", "Combo4", kTotPreAlertCount, &combo4_, &label1_},
    };
    int i = 0;
    for (const Setting& s : settings) {
        auto* label = new ClickLabel(frame2_);
        label->setObjectName(QLatin1String(s.label));
        if (s.gestureLabel) {
            *s.gestureLabel = label;
            connect(label, &ClickLabel::clicked, this,
                    [this, label] { serviceGestureClick(label); });
        }
        QComboBox* combo = MakeList(frame2_, s.combo, s.items);
        combo->setMinimumContentsLength(8);
        *s.out = combo;
        layout->addWidget(label, i % 3, 2 * (i / 3));
        layout->addWidget(combo, i % 3, 2 * (i / 3) + 1);
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo](int position) { onFunctionSettingChosen(combo, position); });
        ++i;
    }
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
    return frame2_;
}

void Form1::buildCentralArea() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralArea"));
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);

    buildGrid(central);
    layout->addWidget(grid_, 0, Qt::AlignHCenter);

    layout->addWidget(buildModelFrame(central));
    layout->addWidget(buildFunctionsFrame(central));

    auto* statusRow = new QHBoxLayout;
    status_ = new QLabel(central);
    status_->setObjectName(QStringLiteral("Label"));
    status_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    progress_ = new QProgressBar(central);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setTextVisible(false);
    // The Cancel button and Esc end a running transfer.
    cancel_ = new QPushButton(central);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->hide();
    connect(cancel_, &QPushButton::clicked, transfer_, &TransferController::cancelTransfer);
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape_->setContext(Qt::WindowShortcut);
    escape_->setEnabled(false);
    connect(escape_, &QShortcut::activated, transfer_, &TransferController::cancelTransfer);
    statusRow->addWidget(status_, 1);
    statusRow->addWidget(progress_, 2);
    statusRow->addWidget(cancel_);
    layout->addLayout(statusRow);
    // Both keep their place while hidden (the status line blinks by hiding), so that the
    // layout above them never moves and the grid is not repainted at every blink.
    status_->setMinimumHeight(progress_->sizeHint().height());
    for (QWidget* w : {static_cast<QWidget*>(status_), static_cast<QWidget*>(progress_)}) {
        QSizePolicy policy = w->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        w->setSizePolicy(policy);
    }

    auto* notice = new QLabel(central);
    notice->setObjectName(QStringLiteral("Label2"));
    notice->setAlignment(Qt::AlignCenter);
    notice->setEnabled(false);
    layout->addWidget(notice);

    gridEditor_ = new ChannelGridEditor(*this, grid_, central);
    edits_->attachGrid(grid_);
}

// ---------------------------------------------------------------------------------------------
// Start-up and exit.

void Form1::startUp() {
    const Preferences prefs = LoadPreferences(options_.preferencesDirectory);
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

void Form1::savePreferences() {
    Preferences p;
    p.Locked = mnulock_->isChecked();
    p.ComPortNumber = state_.ComPortNumber;
    p.Language = state_.Editor.Language;
    p.PortName = state_.PortName;
    SavePreferences(options_.preferencesDirectory, p);
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
    savePreferences();
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
// The views of the document.

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
    if (auto* csv = findChild<QAction*>(QStringLiteral("mnuImportCsv")))
        csv->setEnabled(!isLocked());
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
    // The menu's own items too, so that their shortcuts rest while busy. Looked up once: this
    // runs for every piece of a reply.
    if (!transferCommands_[0]) {
        const char* names[] = {"mnureadFre", "mnuwriteFre", "read", "write"};
        for (std::size_t i = 0; i < transferCommands_.size(); ++i)
            transferCommands_[i] = findChild<QAction*>(QLatin1String(names[i]));
    }
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

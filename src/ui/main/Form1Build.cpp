// The main window's construction: its menus (every item, including those of the transfer,
// the batch window and the channel sheet), the toolbar, the channel grid, the band selector,
// the six function settings and the status row.

#include "ui/main/Form1.h"

#include "codeplug/BandTable.h"
#include "codeplug/ListTexts.h"
#include "ui/main/ChannelGridEditor.h"
#include "ui/main/EditCommands.h"
#include "ui/main/FileCommands.h"
#include "ui/main/SheetCommands.h"
#include "ui/main/ToolbarIcons.h"
#include "ui/main/TransferController.h"
#include "ui/widgets/ClickLabel.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolBar>
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
    importCsv_ = addMenuAction(file, "mnuImportCsv");
    connect(importCsv_, &QAction::triggered, files_, &FileCommands::mnuImportCsv);
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
    QAction* read = transferCommands_[0] = addMenuAction(mnupro_, "mnureadFre");
    read->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(read, &QAction::triggered, transfer_, &TransferController::mnureadFre);
    QAction* write = transferCommands_[1] = addMenuAction(mnupro_, "mnuwriteFre");
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
    transferCommands_[2] = button("read");
    transferCommands_[3] = button("write");
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

} // namespace tr640

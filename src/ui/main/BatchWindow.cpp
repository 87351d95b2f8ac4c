#include "ui/main/BatchWindow.h"

#include "codeplug/BiText.h"
#include "codeplug/CodeplugFile.h"
#include "i18n/FileReason.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "ui/main/Form1.h"
#include "ui/main/TransferController.h"

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tr640 {

namespace {

constexpr BiText kDone{"已完成：%1 台", "Radios written: %1"};
constexpr BiText kNextId{"下一台的 ID：%1", "Next radio's ID: %1"};
constexpr BiText kNoIdLeft{"没有可用的 ID", "no ID left"};
constexpr BiText kBadStartId{"起始 ID 须为 1 到 10 位数字。",
                             "The start ID must be 1 to 10 digits."};

} // namespace

BatchWindow::BatchWindow(Form1& window)
    : QWidget(&window, Qt::Window), window_(window), chooser_([this](QWidget* owner) {
          return QFileDialog::getSaveFileName(owner, QString(), QString(),
                                              msg::kCsvFilter.text(language()));
      }) {
    setObjectName(QStringLiteral("frmBatch"));
    auto* layout = new QVBoxLayout(this);
    done_ = new QLabel(this);
    done_->setObjectName(QStringLiteral("lblDone"));
    layout->addWidget(done_);
    auto* idRow = new QHBoxLayout;
    ownId_ = new QCheckBox(this);
    ownId_->setObjectName(QStringLiteral("chkOwnId"));
    auto* startLabel = new QLabel(this);
    startLabel->setObjectName(QStringLiteral("lblStartId"));
    startId_ = new QLineEdit(this);
    startId_->setObjectName(QStringLiteral("txtStartId"));
    startId_->setMaxLength(link::kIdCodeWidth);
    startId_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,10}")), startId_));
    startId_->setEnabled(false);
    nextId_ = new QLabel(this);
    nextId_->setObjectName(QStringLiteral("lblNextId"));
    for (QWidget* w : {static_cast<QWidget*>(ownId_), static_cast<QWidget*>(startLabel),
                       static_cast<QWidget*>(startId_), static_cast<QWidget*>(nextId_)})
        idRow->addWidget(w);
    idRow->addStretch(1);
    layout->addLayout(idRow);
    table_ = new QTableWidget(0, link::BatchLog::kColumns, this);
    table_->setObjectName(QStringLiteral("grdBatch"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(table_);
    auto* buttons = new QHBoxLayout;
    writeNext_ = new QPushButton(this);
    writeNext_->setObjectName(QStringLiteral("cmdWriteNext"));
    writeNext_->setDefault(true);
    writeNext_->setShortcut(QKeySequence(Qt::Key_Return));
    auto* save = new QPushButton(this);
    save->setObjectName(QStringLiteral("cmdSaveLog"));
    auto* close = new QPushButton(this);
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(writeNext_);
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(writeNext_, &QPushButton::clicked, this, &BatchWindow::writeNext);
    connect(save, &QPushButton::clicked, this, &BatchWindow::saveLog);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
    connect(ownId_, &QCheckBox::toggled, this, [this](bool on) {
        startId_->setEnabled(on);
        startIdEdited();
    });
    connect(startId_, &QLineEdit::textEdited, this, &BatchWindow::startIdEdited);
    connect(&window_.transfer(), &TransferController::ended, this, &BatchWindow::onEnded);
    refresh();
}

int BatchWindow::language() const {
    return window_.editor().Language;
}

void BatchWindow::startIdEdited() {
    log_.setStartId(ownId_->isChecked() ? startId_->text() : QString());
    refresh();
}

void BatchWindow::writeNext() {
    if (writing_)
        return;
    if (ownId_->isChecked() && log_.nextId().isEmpty()) {
        window_.message(kBadStartId.text(language()), MbOk | MbIconExclamation);
        return;
    }
    window_.commitEditor();
    EditorState codeplug = window_.editor();
    idWritten_ = log_.nextId();
    if (log_.ownIds())
        codeplug.Settings.IdCode = idWritten_;
    band_ = codeplug.Band;
    verifyAsked_ = window_.transfer().writeChecks().Verify;
    writing_ = window_.transfer().writeOther(codeplug);
    refresh();
}

void BatchWindow::onEnded() {
    if (!writing_)
        return;
    writing_ = false;
    log_.record(QDateTime::currentDateTime(), band_, window_.transfer().job().report(),
                verifyAsked_, idWritten_);
    refresh();
}

void BatchWindow::saveLog() {
    const QString path = chooser_(this);
    if (!path.isEmpty())
        saveLogTo(path);
}

bool BatchWindow::saveLogTo(const QString& path) {
    const FileStatus st = WriteFileAtomically(path, log_.csv(language()));
    if (!st.ok())
        window_.message(msg::kSaveFailed.text(language())
                            .arg(QDir::toNativeSeparators(path), FileReasonText(st, language())),
                        MbOk | MbIconStop);
    return st.ok();
}

void BatchWindow::changeEvent(QEvent* event) {
    // The language pass sets the caption last changed by a switch: the texts built here follow.
    if (event->type() == QEvent::WindowTitleChange)
        refresh();
    QWidget::changeEvent(event);
}

void BatchWindow::refresh() {
    const int lang = language();
    done_->setText(kDone.text(lang).arg(log_.succeeded()));
    nextId_->setVisible(log_.ownIds() || ownId_->isChecked());
    nextId_->setText(
        kNextId.text(lang).arg(log_.nextId().isEmpty() ? kNoIdLeft.text(lang) : log_.nextId()));
    QStringList headings;
    for (int c = 0; c < link::BatchLog::kColumns; ++c)
        headings << link::BatchLog::Heading(c, lang);
    table_->setHorizontalHeaderLabels(headings);
    const QList<link::BatchEntry>& entries = log_.entries();
    table_->setRowCount(int(entries.size()));
    for (int r = 0; r < entries.size(); ++r)
        for (int c = 0; c < link::BatchLog::kColumns; ++c)
            table_->setItem(r, c,
                            new QTableWidgetItem(link::BatchLog::CellText(entries[r], c, lang)));
    writeNext_->setEnabled(!writing_);
}

} // namespace tr640

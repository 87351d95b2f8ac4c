#include "ui/main/EditCommands.h"

#include "document/CodeplugDocument.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "ui/main/Form1.h"
#include "ui/widgets/FlexGrid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>

namespace tr640 {

namespace {
constexpr int kMaxProblemsShown = 20;
} // namespace

EditCommands::EditCommands(Form1& window)
    : QObject(&window), window_(window), document_(window.document()) {
    connect(&document_, &CodeplugDocument::historyChanged, this, &EditCommands::updateActions);
}

QAction* EditCommands::add(QMenu* menu, const char* name, const QKeySequence& keys) {
    QAction* a = menu->addAction(QString());
    a->setObjectName(QLatin1String(name));
    a->setShortcut(keys);
    return a;
}

void EditCommands::buildMenu(QMenu* menu) {
    undo_ = add(menu, "mnuUndo", QKeySequence::Undo);
    redo_ = add(menu, "mnuRedo", QKeySequence(Qt::CTRL | Qt::Key_Y));
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    menu->addSeparator();
    cut_ = add(menu, "mnuCut", QKeySequence::Cut);
    copy_ = add(menu, "mnuCopy", QKeySequence::Copy);
    paste_ = add(menu, "mnuPaste", QKeySequence::Paste);
    delete_ = add(menu, "mnuDeleteChannels", QKeySequence());
    menu->addSeparator();
    selectAll_ = add(menu, "mnuSelectAll", QKeySequence::SelectAll);
    connect(undo_, &QAction::triggered, this, &EditCommands::undo);
    connect(redo_, &QAction::triggered, this, &EditCommands::redo);
    connect(cut_, &QAction::triggered, this, &EditCommands::cut);
    connect(copy_, &QAction::triggered, this, &EditCommands::copy);
    connect(paste_, &QAction::triggered, this, &EditCommands::paste);
    connect(delete_, &QAction::triggered, this, &EditCommands::deleteChannels);
    connect(selectAll_, &QAction::triggered, this, &EditCommands::selectAll);
    updateActions();
}

void EditCommands::attachGrid(FlexGrid* grid) {
    grid_ = grid;
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(grid_);
        for (QAction* a : {cut_, copy_, paste_, delete_})
            menu.addAction(a);
        menu.exec(grid_->viewport()->mapToGlobal(at));
    });
    // The channel numbers select whole channels; with Shift from the last one chosen.
    connect(grid_, &FlexGrid::fixedCellPressed, this,
            [this](int row, int column, Qt::KeyboardModifiers modifiers) {
                if (row < 1 || column != ColNumber)
                    return;
                if (!(modifiers & Qt::ShiftModifier))
                    anchorRow_ = row;
                selectRows(anchorRow_, row);
            });
    // Delete on the grid removes the selected channels.
    auto* del = new QAction(grid_);
    del->setShortcut(QKeySequence::Delete);
    del->setShortcutContext(Qt::WidgetShortcut);
    grid_->addAction(del);
    connect(del, &QAction::triggered, this, &EditCommands::deleteChannels);
}

void EditCommands::selectRows(int from, int to) {
    const int top = std::min(from, to);
    const int bottom = std::max(from, to);
    grid_->clearSelection();
    grid_->setCurrentCell(top, ColRxFrequency, QItemSelectionModel::NoUpdate);
    grid_->setRangeSelected(QTableWidgetSelectionRange(top, ColRxFrequency, bottom, ColScanAdd),
                            true);
}

void EditCommands::selectAll() {
    if (grid_)
        selectRows(1, kChannelCount);
}

CellRange EditCommands::selection() const {
    if (grid_) {
        const QList<QTableWidgetSelectionRange> ranges = grid_->selectedRanges();
        if (!ranges.isEmpty()) {
            const QTableWidgetSelectionRange& r = ranges.front();
            return {std::max(r.topRow(), 1), std::min(r.bottomRow(), kChannelCount),
                    std::max(r.leftColumn(), 1), std::min(r.rightColumn(), int(ColScanAdd))};
        }
        const int row = std::clamp(grid_->currentRow(), 1, kChannelCount);
        const int col = std::clamp(grid_->currentColumn(), 1, int(ColScanAdd));
        return {row, row, col, col};
    }
    return {};
}

// ---------------------------------------------------------------------------------------------

void EditCommands::undo() {
    window_.commitEditor();
    if (!window_.isLocked())
        document_.undo();
}

void EditCommands::redo() {
    window_.commitEditor();
    if (!window_.isLocked())
        document_.redo();
}

void EditCommands::copy() {
    window_.commitEditor();
    QApplication::clipboard()->setText(CopyChannels(window_.editor(), selection()));
}

void EditCommands::cut() {
    if (window_.isLocked())
        return;
    copy();
    document_.edit(EditKind::Cut, [this](EditorState&) { deleteChannels(); });
}

void EditCommands::deleteChannels() {
    window_.commitEditor();
    const CellRange r = selection();
    if (window_.isLocked() || r.left != ColRxFrequency)
        return; // a channel goes only with its receive frequency
    document_.edit(EditKind::Delete, [&r](EditorState& e) {
        for (int row = r.top; row <= r.bottom; ++row)
            e.ClearNO(row);
    });
}

void EditCommands::paste() {
    pasteText(QApplication::clipboard()->text());
}

void EditCommands::pasteText(const QString& text) {
    window_.commitEditor();
    if (window_.isLocked())
        return;
    const CellRange at = selection();
    PasteResult result = PasteChannels(window_.editor(), text, at.top, at.left, window_.BandLow(),
                                       window_.BandHigh());
    if (!result.anything)
        return;
    document_.edit(EditKind::Paste, [&result](EditorState& e) { e = result.state; });
    if (result.problems.isEmpty() && result.rowsBeyond == 0)
        return;
    const int language = window_.editor().Language;
    QStringList lines{msg::kPasteRefused.text(language)};
    for (qsizetype i = 0; i < result.problems.size() && i < kMaxProblemsShown; ++i)
        lines << PasteProblemText(result.problems[i], language);
    if (result.problems.size() > kMaxProblemsShown)
        lines << QStringLiteral("…");
    if (result.rowsBeyond > 0)
        lines << msg::kPasteBeyond.text(language).arg(result.rowsBeyond);
    window_.message(lines.join(u'\n'), MbOk | MbIconExclamation);
}

// ---------------------------------------------------------------------------------------------

void EditCommands::updateActions() {
    if (!undo_)
        return;
    const int language = window_.editor().Language;
    // "Undo Paste", "撤销粘贴".
    const auto caption = [language](const BiText& verb, bool can, EditKind kind) {
        if (!can)
            return verb.text(language);
        const QString name = EditKindName(kind).text(language);
        return language == English ? verb.text(language) + u' ' + name : verb.text(language) + name;
    };
    const bool locked = window_.isLocked();
    for (QAction* change : {cut_, paste_, delete_})
        change->setEnabled(!locked);
    const CodeplugDocument& d = document_;
    undo_->setEnabled(d.canUndo() && !locked);
    undo_->setText(caption(msg::kUndo, d.canUndo(), d.canUndo() ? d.undoKind() : EditKind::Cell));
    redo_->setEnabled(d.canRedo() && !locked);
    redo_->setText(caption(msg::kRedo, d.canRedo(), d.canRedo() ? d.redoKind() : EditKind::Cell));
}

} // namespace tr640

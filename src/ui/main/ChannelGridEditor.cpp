#include "ui/main/ChannelGridEditor.h"

#include "codeplug/ChannelRules.h"
#include "codeplug/ToneTable.h"
#include "document/CodeplugDocument.h"
#include "i18n/ApplyLanguage.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "ui/main/Form1.h"
#include "ui/widgets/FlexGrid.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

namespace tr640 {

namespace {

const QColor kEditorBackground(0xFF, 0xFF, 0xC0); // 0xC0FFFF in blue-green-red order

QComboBox* MakeList(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1String(name));
    combo->hide();
    return combo;
}

} // namespace

ChannelGridEditor::ChannelGridEditor(Form1& window, FlexGrid* grid, QWidget* area)
    : QObject(&window), window_(window), document_(window.document()), grid_(grid) {
    buildEditors(area);
    connect(grid_, &FlexGrid::cellMousePressed, this, [this](int, int, Qt::MouseButton button) {
        // With Shift or Ctrl a click extends the selection instead.
        const auto extend =
            QGuiApplication::keyboardModifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
        if (button == Qt::LeftButton && !extend) {
            editorArmed_ = true;
            // The button is still down: a list dropped now would take its release as a
            // choice and close at once, so the list drops when the button comes up.
            dropOnRelease_ = true;
            openCurrentCell();
        }
    });
    grid_->viewport()->installEventFilter(this);
    connect(grid_, &FlexGrid::enterPressed, this, [this] {
        editorArmed_ = true;
        openCurrentCell();
    });
}

void ChannelGridEditor::buildEditors(QWidget* area) {
    text1_ = new QLineEdit(area);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMaxLength(9);
    text1_->setFont(grid_->font());
    text1_->setAlignment(Qt::AlignCenter);
    text1_->setFrame(false);
    QPalette pal = text1_->palette();
    pal.setColor(QPalette::Base, kEditorBackground);
    text1_->setPalette(pal);
    text1_->hide();
    text1_->installEventFilter(this);

    combo8_ = MakeList(area, "Combo8");
    combo8_->setEditable(true);
    combo8_->setInsertPolicy(QComboBox::NoInsert);
    combo8_->setCompleter(nullptr);
    combo8_->setMaxVisibleItems(16);
    combo8_->setFont(grid_->font());
    for (int p = 0; p < kToneListSize; ++p)
        combo8_->addItem(ToneListText(p, document_.state().Language));
    combo8_->installEventFilter(this);
    combo8_->lineEdit()->installEventFilter(this);
    combo8_->view()->installEventFilter(this);
    connect(combo8_, &QComboBox::activated, this, &ChannelGridEditor::chooseTone);

    for (int col = ColPower; col <= ColScanAdd; ++col) {
        QComboBox* list = MakeList(area, "Combo5");
        SetControlIndex(list, col);
        list->addItem(QString());
        list->addItem(QString());
        list->setFont(grid_->font());
        list->installEventFilter(this);
        connect(list, &QComboBox::activated, this,
                [this, list](int position) { chooseListEntry(list, position); });
        combo5_[col - ColPower] = list;
    }
}

// ---------------------------------------------------------------------------------------------
// Opening.

void ChannelGridEditor::openCurrentCell() {
    const bool fromPress = std::exchange(dropOnRelease_, false);
    if (!editorArmed_)
        return;
    editorArmed_ = false;
    int row = grid_->currentRow();
    int col = grid_->currentColumn();
    if (row < 1 || col < 1)
        return;
    // An empty channel can only be started from its receive frequency.
    if (!document_.state().channelInUse(row)) {
        col = ColRxFrequency;
        grid_->setCurrentCell(row, col);
    }
    editRow_ = row;
    editCol_ = col;
    QComboBox* list = nullptr;
    if (IsFrequencyColumn(col))
        openFrequencyEditor();
    else if (IsToneColumn(col))
        list = openToneEditor();
    else if (IsFlagColumn(col))
        list = openListEditor(col);
    if (list && fromPress)
        pendingDrop_ = list;
    else if (list)
        list->showPopup();
}

void ChannelGridEditor::dropPendingList() {
    QComboBox* list = std::exchange(pendingDrop_, nullptr);
    if (list && list->isVisible())
        list->showPopup();
}

void ChannelGridEditor::place(QWidget* editor, bool fullHeight) {
    const QRect cell = grid_->cellRect(editRow_, editCol_, editor->parentWidget());
    editor->setGeometry(cell.x(), cell.y(), cell.width(),
                        fullHeight ? cell.height() : editor->sizeHint().height());
    editor->show();
    editor->raise();
    editor->setFocus(Qt::MouseFocusReason);
}

void ChannelGridEditor::openFrequencyEditor() {
    text1_->setText(document_.state().cell(editRow_, editCol_));
    place(text1_, true);
}

QComboBox* ChannelGridEditor::openToneEditor() {
    toneChosen_ = false;
    // The list shows the cell's own entry, or none when the cell holds a value the list
    // lacks (a typed or decoded tone), which then stays until another entry is chosen.
    const QString text = document_.state().cell(editRow_, editCol_);
    combo8_->setCurrentIndex(combo8_->findText(text, Qt::MatchExactly));
    combo8_->setEditText(text);
    place(combo8_, false);
    return combo8_;
}

QComboBox* ChannelGridEditor::openListEditor(int column) {
    QComboBox* list = combo5_[column - ColPower];
    list->setCurrentIndex(document_.state().listIndex(editRow_, column));
    place(list, false);
    return list;
}

void ChannelGridEditor::commit() {
    // Commit directly rather than through the focus change, which a window that is not active
    // does not deliver.
    pendingDrop_ = nullptr;
    if (text1_->isVisible())
        Text1_LostFocus();
    if (combo8_->isVisible())
        toneLostFocus();
    for (QComboBox* list : combo5_)
        list->hide();
    grid_->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// Keys and focus.

bool ChannelGridEditor::filterKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        commit();
        return true;
    }
    const QString t = key->text();
    if (t.isEmpty() || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Tab ||
        key->key() == Qt::Key_Backtab)
        return false; // navigation and editing keys are not typed characters
    const QChar c = t.front();
    const bool allowed = (c >= u'0' && c <= u'9') || c == u'.' || c == u'\b';
    return !allowed;
}

bool ChannelGridEditor::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched == grid_->viewport()) {
        dropPendingList();
        return false;
    }
    if (event->type() == QEvent::FocusIn && watched == combo8_->view() &&
        combo8_->currentIndex() < 0) {
        // A view taking the focus makes its first entry current, which Enter would then
        // choose: a tone the list lacks keeps no entry current until the user picks one.
        QMetaObject::invokeMethod(
            this, [this] { combo8_->view()->setCurrentIndex(QModelIndex()); },
            Qt::QueuedConnection);
        return false;
    }
    if (event->type() == QEvent::KeyPress &&
        (watched == text1_ || watched == combo8_ || watched == combo8_->lineEdit()))
        return filterKey(static_cast<QKeyEvent*>(event));

    if (event->type() == QEvent::FocusOut) {
        const auto* focus = static_cast<QFocusEvent*>(event);
        auto* editor = qobject_cast<QWidget*>(watched);
        // The list dropping open, another window becoming active and a hidden editor do not
        // end an edit.
        const auto* combo = qobject_cast<QComboBox*>(watched);
        if (focus->reason() == Qt::PopupFocusReason ||
            focus->reason() == Qt::ActiveWindowFocusReason || !editor || !editor->isVisible() ||
            (combo && combo->view()->isVisible()))
            return false;
        if (watched == text1_)
            Text1_LostFocus();
        else if (watched == combo8_)
            toneLostFocus();
        else
            editor->hide(); // a list editor commits only by a choice
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Committing.

void ChannelGridEditor::Text1_LostFocus() {
    if (committing_ || !text1_->isVisible())
        return;
    committing_ = true;
    const QString t = text1_->text();
    const int row = editRow_;
    const int col = editCol_;
    if (t.isEmpty()) {
        // Blanking the receive frequency deletes the channel; a transmit frequency stays.
        if (col == ColRxFrequency)
            document_.edit(EditKind::ClearChannel, [row](EditorState& e) { e.ClearNO(row); });
    } else {
        CellProblem problem = CellProblem::None;
        const std::optional<QString> frequency =
            ChannelFrequency(t, window_.BandLow(), window_.BandHigh(), &problem);
        if (frequency) {
            document_.edit(EditKind::Cell, [row, col, &frequency](EditorState& e) {
                const bool newChannel =
                    col == ColRxFrequency && e.cell(row, ColTxFrequency).isEmpty();
                e.cell(row, col) = *frequency;
                if (newChannel)
                    FillNewChannel(e, row, *frequency);
            });
        } else if (problem == CellProblem::OutOfBand) {
            window_.message(msg::kBeyondRange.text(document_.state().Language), MbOk);
            grid_->setFocus(Qt::OtherFocusReason);
        }
    }
    text1_->hide();
    committing_ = false;
}

void ChannelGridEditor::chooseTone(int position) {
    if (!combo8_->isVisible())
        return;
    toneChosen_ = true;
    setListCell(position);
    combo8_->hide();
    grid_->setFocus(Qt::OtherFocusReason);
}

void ChannelGridEditor::toneLostFocus() {
    if (committing_ || !combo8_->isVisible())
        return;
    committing_ = true;
    const QString text = combo8_->currentText();
    const int position = combo8_->findText(text, Qt::MatchExactly);
    if (!toneChosen_ && position != 0 && !text.startsWith(u'D')) {
        // A typed value, or a listed CTCSS tone: any value from 67.0 to 254.1 Hz is taken;
        // anything else leaves the cell as it was.
        if (const std::optional<ToneValue> tone = ChannelTone(text, document_.state().Language))
            document_.edit(EditKind::Cell, [this, &tone](EditorState& e) {
                e.cell(editRow_, editCol_) = tone->text;
                e.listIndex(editRow_, editCol_) = tone->position;
            });
    }
    combo8_->hide();
    committing_ = false;
}

void ChannelGridEditor::chooseListEntry(QComboBox* list, int position) {
    if (!list->isVisible())
        return;
    setListCell(position);
    list->hide();
    grid_->setFocus(Qt::OtherFocusReason);
}

void ChannelGridEditor::setListCell(int position) {
    document_.edit(EditKind::Cell, [this, position](EditorState& e) {
        e.setListCell(editRow_, editCol_, position);
    });
}

} // namespace tr640

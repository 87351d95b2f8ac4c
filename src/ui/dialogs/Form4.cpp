#include "ui/dialogs/Form4.h"

#include "codeplug/FrequencyRemainder.h"
#include "codeplug/Numbers.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "ui/dialogs/CellEditGrid.h"
#include "ui/main/SharedState.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace tr640 {

namespace {

constexpr int kRows = 1 + kTestChannels;
constexpr int kColumns = 3;
constexpr int kColumnWidthsTwips[kColumns] = {850, 1330, 1330};
constexpr int kRowHeightTwips = 300;
constexpr double k5kHz = 0.005;
constexpr double k625kHz = 0.00625;

// The number a cell's text starts with; a text without one, or one too large to be a
// frequency at all, is 0.
double CellNumber(const QString& text) {
    const double x = LeadingNumber(text);
    return std::isfinite(x) ? x : 0.0;
}

// The image keeps three digits of MHz: 1000 MHz and more cannot be stored.
bool Storable(const QString& frequency) {
    return frequency.indexOf(u'.') <= 3;
}

} // namespace

QString Form4::SnapReceive(const QString& typed) {
    const double x = CellNumber(typed);
    const double r5 = FrequencyRemainder(k5kHz, x);
    const double r6 = FrequencyRemainder(k625kHz, x);
    return FormatFixed(r5 >= r6 ? x - r6 : x - r5, 5);
}

QString Form4::SnapTransmit(const QString& typed, const QString& receive) {
    const double x = CellNumber(typed);
    const double y = CellNumber(receive);
    const double step = FrequencyRemainder(k625kHz, y) == 0.0 ? k625kHz : k5kHz;
    return FormatFixed(x - FrequencyRemainder(step, x), 5);
}

Form4::Form4(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form4"), parent), state_(state) {
    editStoreOf(state.Document);
    setWindowTitle(QStringLiteral("测试频率"));
    grid_ = new CellEditGrid(kRows, kColumns, this);
    grid_->setObjectName(QStringLiteral("mfgrid1"));
    grid_->setEditPolicy([this](int row, int column) {
        // A transmit frequency needs its receive frequency first.
        return column != kTxColumn || !grid_->text(row, kRxColumn).isEmpty();
    });
    connect(
        grid_, &CellEditGrid::cellEdited, this,
        [this](int row, int column, const QString& before) { onCellEdited(row, column, before); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 0, Qt::AlignHCenter);
    layout->addLayout(okCancelRow([this] { commit(); }, [this] { grid_->discardEditor(); }, true));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    load();
}

void Form4::load() {
    for (int c = 0; c < kColumns; ++c)
        grid_->setBaseColumnWidthTwips(c, kColumnWidthsTwips[c]);
    for (int r = 0; r < kRows; ++r) {
        grid_->setRowHeightTwips(r, kRowHeightTwips);
        grid_->setText(r, 0, QString::number(r).rightJustified(2, u'0'));
    }
    grid_->setText(0, 0, QStringLiteral("信道"));
    grid_->setText(0, 1, QStringLiteral("接收频率"));
    grid_->setText(0, 2, QStringLiteral("发射频率"));
    refreshFromStore();
}

void Form4::refreshFromStore() {
    // A decode replaces what an open editor holds.
    grid_->discardEditor();
    const SettingsStore& s = state_.Editor.Settings;
    for (int n = 0; n < kTestChannels; ++n) {
        grid_->setText(n + 1, kRxColumn, s.TestRxFrequency[n]);
        grid_->setText(n + 1, kTxColumn, s.TestTxFrequency[n]);
    }
}

void Form4::commit() {
    grid_->commitEditor();
    SettingsStore& s = state_.Editor.Settings;
    for (int n = 0; n < kTestChannels; ++n) {
        s.TestRxFrequency[n] = grid_->text(n + 1, kRxColumn);
        s.TestTxFrequency[n] = grid_->text(n + 1, kTxColumn);
    }
}

void Form4::onCellEdited(int row, int column, const QString& before) {
    const QString rx = grid_->text(row, kRxColumn);
    QString value;
    if (column == kRxColumn)
        value = rx.isEmpty() ? QString() : SnapReceive(rx);
    else if (column == kTxColumn)
        value = grid_->text(row, kTxColumn).isEmpty()
                    ? rx
                    : SnapTransmit(grid_->text(row, kTxColumn), rx);
    else
        return;
    if (!Storable(value)) {
        // Refused as the channel grid refuses a frequency beyond the band: the cell keeps
        // its earlier text.
        grid_->setText(row, column, before);
        LocalisedMessageBox(this, state_.Editor.Language,
                            msg::kBeyondRange.text(state_.Editor.Language), MbOk);
        return;
    }
    grid_->setText(row, column, value);
    if (column == kRxColumn)
        grid_->setText(row, kTxColumn, value);
}

} // namespace tr640

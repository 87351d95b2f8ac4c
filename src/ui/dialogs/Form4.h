#pragma once

#include "ui/dialogs/SettingsDialog.h"

namespace tr640 {

class CellEditGrid;

// Test frequencies: sixteen receive and transmit frequencies.
class Form4 : public SettingsDialog {
    Q_OBJECT
public:
    Form4(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

    // Grid columns.
    static constexpr int kRxColumn = 1;
    static constexpr int kTxColumn = 2;

    // The receive frequency a typed text becomes: lowered onto the nearer raster point at or
    // below it, 6.25 kHz on a tie, five decimals.
    static QString SnapReceive(const QString& typed);
    // The transmit frequency a typed text becomes, on the raster of the receive frequency.
    static QString SnapTransmit(const QString& typed, const QString& receive);

private:
    void load();
    void commit();
    void onCellEdited(int row, int column, const QString& before);

    SharedState& state_;
    CellEditGrid* grid_ = nullptr;
};

} // namespace tr640

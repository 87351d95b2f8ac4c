#pragma once

#include "ui/dialogs/SettingsDialog.h"

#include <QString>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QScrollBar;

namespace tr640 {

class CellEditGrid;
class FilteredLineEdit;
struct InputRules;
struct SettingsStore;

// Optional functions: scan, VOX, DTMF and PTT ID settings, the auto-dial memories.
class Form5 : public SettingsDialog {
    Q_OBJECT
public:
    Form5(SharedState& state, QWidget* parent);

    void refreshFromStore() override;

    static constexpr int kIdCodeLimit = 10;
    static constexpr int kLaunchCodeLimit = 16;
    static constexpr int kMemoryDigits = 16;
    static constexpr int kLookBackItems = 92;
    static constexpr int kSecondsMaximum = 300;

    // The message shown when a memory holds more digits than the radio keeps.
    static QString MemoryTooLongText();

private:
    // A list that edits a position held as decimal text, or as a number.
    struct TextList {
        QComboBox* combo;
        QString SettingsStore::*field;
    };
    struct NumberList {
        QComboBox* combo;
        int SettingsStore::*field;
    };

    QGroupBox* buildScanFrame();
    QGroupBox* buildVoxFrame();
    QGroupBox* buildDtmfFrame();
    QGridLayout* buildFreeArea();
    QComboBox* addList(QGridLayout* grid, int row, const char* label, const char* combo,
                       const QStringList& items);
    QLabel* makeLabel(const char* name, const QString& text);
    QComboBox* makeList(const char* name, const QStringList& items);
    FilteredLineEdit* makeBox(const char* name, InputRules rules);

    void load();
    void commit();
    void onMemoryEdited(int row);

    SharedState& state_;

    std::vector<TextList> textLists_;     // in commit order
    std::vector<NumberList> numberLists_; // the DTMF lists, in commit order
    QComboBox* combo12_ = nullptr;        // priority channel: item text
    QComboBox* combo13_ = nullptr;
    QComboBox* combo14_ = nullptr;
    FilteredLineEdit* text1_ = nullptr; // ID code
    FilteredLineEdit* text3_ = nullptr; // launch start code
    FilteredLineEdit* text4_ = nullptr; // launch end code
    FilteredLineEdit* text5_ = nullptr; // dropout delay time
    FilteredLineEdit* text6_ = nullptr; // TX dwell time
    QScrollBar* vscroll1_ = nullptr;
    QScrollBar* vscroll2_ = nullptr;
    QCheckBox* check3_ = nullptr;
    QCheckBox* check4_ = nullptr;
    CellEditGrid* grid_ = nullptr;
    // The ID code as Text1 was last given it: an unchanged box keeps the stored code, whose
    // unused places (the character 0xFF) Text1 does not show.
    QString idCodeShown_;
};

} // namespace tr640

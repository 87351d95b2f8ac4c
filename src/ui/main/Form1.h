#pragma once

// The main window: owner of the codeplug being edited. It shows the channel grid, the band
// selector and the six function settings, and carries the menus and the toolbar.

#include "settings/Preferences.h"
#include "settings/WriteChecks.h"
#include "ui/main/PortMenu.h"
#include "ui/main/SharedState.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;
class QShortcut;
class QToolBar;
class QUrl;

namespace tr640 {

class ChannelGridEditor;
class ClickLabel;
class EditCommands;
class FileCommands;
class FlexGrid;
class SheetCommands;
class TransferController;
namespace link {
class TransferSession;
}
class Form2;
class Form4;
class Form5;
class Form6;
class Form7;
class frmAbout;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    struct Options {
        // Without timers a test gives the transfer's timer ticks itself.
        bool transferTimers = true;
        // The preferences and write checks remembered from the last run.
        Preferences preferences;
        WriteChecks writeChecks;

        // A window whose transfer timer ticks are given by hand.
        static Options withoutTimers() {
            Options options;
            options.transferTimers = false;
            return options;
        }
    };

    explicit Form1(QWidget* parent = nullptr);
    explicit Form1(const Options& options, QWidget* parent = nullptr);
    ~Form1() override;

    SharedState& state() { return state_; }
    // The codeplug being edited; the window shows it and follows its signals.
    CodeplugDocument& document() { return state_.Document; }
    // Its state, to read; a change made here reaches no view (the codeplug document's doors do).
    EditorState& editor() { return state_.Editor; }

    // A window by object name; a dialog that does not exist yet is created, hidden.
    QWidget* windowNamed(const QString& name);

    // Writes the texts of the current language into every window.
    void ApplyLanguage();

    // Commits an open cell editor, as commands that read the editor do first.
    void commitEditor();

    ChannelGridEditor& gridEditor() { return *gridEditor_; }
    FileCommands& files() { return *files_; }
    EditCommands& edits() { return *edits_; }

    TransferController& transfer() { return *transfer_; }
    PortMenu& portMenu() { return *portMenu_; }

    // A transfer starts: the model frame is enabled and the band selector takes the focus.
    void enterTransfer();
    // Shows the busy state, the status line and the progress of a transfer, and whether it can
    // be cancelled.
    void showTransferState(const link::TransferSession& session, bool cancellable);

    // Limits of the selected band in whole MHz.
    int BandLow() const { return bandLow_; }
    int BandHigh() const { return bandHigh_; }

    // The editing lock's check mark.
    bool isLocked() const;
    // The preferences as they stand: the lock, the port and the language.
    Preferences preferences() const;

    // Runs the command of a toolbar button by its key; an unknown key does nothing.
    void runToolbarKey(const QString& key);

    // The language items: act only when the language differs.
    void mnuChinese();
    void mnuEnglish();
    // The editing lock: inverts the check mark, then locks or unlocks the frames and the grid.
    void mnulock();
    // While locked, the commands that change channels (Edit menu, CSV import) rest.
    void lockCommands();
    // The help topic: the help file beside the program, opened if it exists.
    void mnumainhelp();
    QString helpFilePath() const;
    // Tests replace what opens files and web addresses.
    void setUrlOpener(std::function<bool(const QUrl&)> opener) { urlOpener_ = std::move(opener); }

    // A click on one of the three labels of the service-mode gesture (Label5, Label7, Label1).
    void serviceGestureClick(QObject* label);

    // Shows a message through the localised message box, owned by this window.
    int message(const QString& text, quint32 style, const QString& title = QString());

Q_SIGNALS:
    // The window closes; its preferences are to be remembered.
    void closing(const Preferences& preferences);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The views of the codeplug document: the grid's rows, the six lists, the band selector, the
    // caption (with a mark while the codeplug has changes not saved, read or written).
    void observeDocument();
    void showRows(const QList<int>& rows);
    void showSettings();
    void showBand();
    void updateCaption();

    void buildMenus();
    void buildToolbar();
    void buildCentralArea();
    void buildGrid(QWidget* parent);
    QGroupBox* buildModelFrame(QWidget* parent);
    QGroupBox* buildFunctionsFrame(QWidget* parent);
    void startUp();
    void initialiseSettings();

    void onBandSelected(int position);
    void switchLanguage(int language);
    void serviceButtonClick(const QString& key);
    QAction* toolbarButton(const QString& key) const;
    void onFunctionSettingChosen(QComboBox* combo, int position);
    void showDialog(const QString& name);
    // The batch programming window, made at its first showing.
    void showBatchWindow();

    QAction* addMenuAction(QMenu* menu, const char* name, const QString& text = QString());

    SharedState state_;
    Options options_;
    int bandLow_ = 400;
    int bandHigh_ = 470;
    qint32 serviceButtonClickTime_ = 0;
    std::function<bool(const QUrl&)> urlOpener_;

    // Menus.
    QMenu* mnupro_ = nullptr;
    QMenu* mnucom_ = nullptr;
    QAction* mnulock_ = nullptr;
    std::array<QAction*, 8> mnucomItems_{};
    std::array<QAction*, 4> transferCommands_{}; // read and write, menu items and buttons
    QAction* importCsv_ = nullptr;

    // Toolbar and its buttons by key.
    QToolBar* toolbar_ = nullptr;

    // Main area.
    FlexGrid* grid_ = nullptr;
    ChannelGridEditor* gridEditor_ = nullptr;
    FileCommands* files_ = nullptr;
    EditCommands* edits_ = nullptr;
    TransferController* transfer_ = nullptr;
    PortMenu* portMenu_ = nullptr;
    SheetCommands* sheet_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QComboBox* combo2_ = nullptr;
    QComboBox* combo3_ = nullptr;
    QComboBox* combo4_ = nullptr;
    QComboBox* combo6_ = nullptr;
    QComboBox* combo7_ = nullptr;
    QComboBox* combo9_ = nullptr;
    ClickLabel* label5_ = nullptr; // Time-out Timer
    ClickLabel* label7_ = nullptr; // Battery Save
    ClickLabel* label1_ = nullptr; // TOT Pre-Alert
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QShortcut* escape_ = nullptr;

    // Dialogs, created by the first language pass.
    Form2* form2_ = nullptr;
    Form4* form4_ = nullptr;
    Form5* form5_ = nullptr;
    Form6* form6_ = nullptr;
    Form7* form7_ = nullptr;
    frmAbout* about_ = nullptr;
};

} // namespace tr640

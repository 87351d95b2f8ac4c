#pragma once

// New, Open and Save As: the codeplug files (*.DAT); export and import of CHIRP's CSV files.

#include <QObject>
#include <QString>
#include <functional>

namespace tr640 {

class CodeplugDocument;
class Form1;

class FileCommands : public QObject {
    Q_OBJECT
public:
    enum class Purpose { Open, Save, ImportCsv, ExportCsv };
    // Shows a file dialog and returns the chosen path, or an empty text for Cancel.
    using Chooser = std::function<QString(Purpose, QWidget* owner)>;

    explicit FileCommands(Form1& window);

    void mnuNew();
    void mnuOpen();
    void mnuAssave();
    // The channels as CHIRP's CSV, and back.
    void mnuExportCsv();
    void mnuImportCsv();
    bool exportCsv(const QString& path);
    void importCsv(const QString& path);

    // Opens a file without asking for its name. Returns false (after telling the user why)
    // when the file cannot be read; the editor is then unchanged.
    bool openFile(const QString& path);
    // Saves the current codeplug without asking; false (after telling the user) on failure.
    bool saveFile(const QString& path);

    // Tests replace the file dialog.
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    static QString FilterText();

private:
    Form1& window_;
    CodeplugDocument& document_;
    Chooser chooser_;
};

} // namespace tr640

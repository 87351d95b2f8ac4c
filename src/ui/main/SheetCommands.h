#pragma once

// File > "Print channel sheet..." and "Export channel sheet as PDF...": the editor's codeplug
// as one page for the customer (layout in sheet/ChannelSheet).

#include <QObject>
#include <QString>
#include <functional>

class QPrinter;
class QWidget;

namespace tr640 {

class Form1;

class SheetCommands : public QObject {
    Q_OBJECT
public:
    // Asks for the PDF file's name; empty for Cancel.
    using PdfChooser = std::function<QString(QWidget* owner)>;
    // Shows the print dialog for the printer; false for Cancel.
    using PrintDialog = std::function<bool(QPrinter& printer, QWidget* owner)>;

    explicit SheetCommands(Form1& window);

    void printSheet();
    void exportSheetPdf();
    // Writes the sheet without asking; false (after telling the user) on failure.
    bool exportPdf(const QString& path);

    // Tests replace the dialogs.
    void setPdfChooser(PdfChooser chooser) { pdfChooser_ = std::move(chooser); }
    void setPrintDialog(PrintDialog dialog) { printDialog_ = std::move(dialog); }

private:
    QString fileName() const;

    Form1& window_;
    PdfChooser pdfChooser_;
    PrintDialog printDialog_;
};

} // namespace tr640

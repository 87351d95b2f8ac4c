#include "ui/main/SheetCommands.h"

#include "codeplug/BiText.h"
#include "codeplug/CodeplugFile.h"
#include "i18n/FileReason.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "sheet/ChannelSheet.h"
#include "ui/main/FileCommands.h"
#include "ui/main/Form1.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>

namespace tr640 {

namespace {

constexpr BiText kPdfFilter{"PDF 文件(*.pdf)", "PDF files(*.pdf)"};

} // namespace

SheetCommands::SheetCommands(Form1& window)
    : QObject(&window), window_(window), pdfChooser_([&window](QWidget* owner) {
          return QFileDialog::getSaveFileName(owner, QString(), QString(),
                                              kPdfFilter.text(window.editor().Language));
      }),
      printDialog_([](QPrinter& printer, QWidget* owner) {
          QPrintDialog dialog(&printer, owner);
          return dialog.exec() == QDialog::Accepted;
      }) {}

QString SheetCommands::fileName() const {
    const QString path = window_.document().fileName();
    return path.isEmpty() ? QString() : QFileInfo(path).fileName();
}

void SheetCommands::printSheet() {
    window_.commitEditor();
    QPrinter printer(QPrinter::HighResolution);
    if (!printDialog_(printer, &window_))
        return;
    RenderChannelSheet(window_.editor(), fileName(), QDate::currentDate(), printer);
}

void SheetCommands::exportSheetPdf() {
    window_.commitEditor();
    QString path = pdfChooser_(&window_);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    exportPdf(path);
}

bool SheetCommands::exportPdf(const QString& path) {
    const QByteArray pdf = ChannelSheetPdf(window_.editor(), fileName(), QDate::currentDate());
    const FileStatus st = WriteFileAtomically(path, pdf);
    if (!st.ok()) {
        const int language = window_.editor().Language;
        window_.message(msg::kSaveFailed.text(language).arg(QDir::toNativeSeparators(path),
                                                            FileReasonText(st, language)),
                        MbOk | MbIconStop);
    }
    return st.ok();
}

} // namespace tr640

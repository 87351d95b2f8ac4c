#include "ui/main/FileCommands.h"

#include "codeplug/ChirpCsv.h"
#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "document/CodeplugDocument.h"
#include "i18n/CsvTexts.h"
#include "i18n/FileReason.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/MessageTexts.h"
#include "ui/main/Form1.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tr640 {

namespace {

QString DefaultChooser(FileCommands::Purpose purpose, QWidget* owner, int language) {
    using P = FileCommands::Purpose;
    const bool csv = purpose == P::ImportCsv || purpose == P::ExportCsv;
    const QString filter = csv ? msg::kCsvFilter.text(language) : FileCommands::FilterText();
    if (purpose == P::Open || purpose == P::ImportCsv)
        return QFileDialog::getOpenFileName(owner, QString(), QString(), filter, nullptr,
                                            QFileDialog::ReadOnly);
    // The overwrite question of a codeplug is asked by the command itself.
    return QFileDialog::getSaveFileName(owner, QString(), QString(), filter, nullptr,
                                        csv ? QFileDialog::Options()
                                            : QFileDialog::DontConfirmOverwrite);
}

} // namespace

FileCommands::FileCommands(Form1& window)
    : QObject(&window), window_(window), document_(window.document()),
      chooser_([&window](Purpose p, QWidget* owner) {
          return DefaultChooser(p, owner, window.editor().Language);
      }) {}

QString FileCommands::FilterText() {
    return kApplicationTitle + QStringLiteral("(*.DAT)");
}

void FileCommands::mnuNew() {
    // An open editor is committed first, so that nothing it holds comes back after the clear.
    window_.commitEditor();
    const int language = window_.editor().Language;
    const int answer = window_.message(msg::kNewClears.text(language),
                                       MbOkCancel | MbIconExclamation | MbDefaultButton2,
                                       msg::kNewTitle.text(language));
    if (answer != IdCancel)
        document_.edit(EditKind::NewChannels, [](EditorState& e) { e.ClearGrid1(); });
}

void FileCommands::mnuOpen() {
    window_.commitEditor();
    const QString path = chooser_(Purpose::Open, &window_);
    if (!path.isEmpty())
        openFile(path);
}

bool FileCommands::openFile(const QString& path) {
    FileStatus st;
    const QByteArray bytes = ReadCodeplugFile(path, &st);
    const int language = window_.editor().Language;
    if (!st.ok()) {
        window_.message(msg::kOpenFailed.text(language).arg(QDir::toNativeSeparators(path),
                                                            FileReasonText(st, language)),
                        MbOk | MbIconStop);
        return false;
    }
    // The whole file is decoded into a copy, which replaces the editor only when complete.
    EditorState decoded = window_.editor();
    DecodeImage(decoded, bytes);
    document_.replace(decoded, EditKind::Open);
    document_.setFileName(path);
    document_.markClean();
    return true;
}

void FileCommands::mnuAssave() {
    window_.commitEditor();
    for (;;) {
        const QString path = chooser_(Purpose::Save, &window_);
        if (path.isEmpty())
            return;
        if (QFileInfo::exists(path)) {
            const int answer = window_.message(msg::kOverwrite.text(window_.editor().Language),
                                               MbYesNo | MbIconQuestion);
            if (answer == IdNo)
                continue;
        }
        saveFile(path);
        return;
    }
}

bool FileCommands::saveFile(const QString& path) {
    const FileStatus st = WriteFileAtomically(path, EncodeImage(window_.editor()));
    if (!st.ok()) {
        const int language = window_.editor().Language;
        window_.message(msg::kSaveFailed.text(language).arg(QDir::toNativeSeparators(path),
                                                            FileReasonText(st, language)),
                        MbOk | MbIconStop);
        return false;
    }
    document_.setFileName(path);
    document_.markClean();
    return true;
}

void FileCommands::mnuExportCsv() {
    window_.commitEditor();
    const QString path = chooser_(Purpose::ExportCsv, &window_);
    if (!path.isEmpty())
        exportCsv(path);
}

bool FileCommands::exportCsv(const QString& path) {
    const FileStatus st = WriteFileAtomically(path, ExportChirpCsvFile(window_.editor()));
    if (!st.ok()) {
        const int language = window_.editor().Language;
        window_.message(msg::kSaveFailed.text(language).arg(QDir::toNativeSeparators(path),
                                                            FileReasonText(st, language)),
                        MbOk | MbIconStop);
    }
    return st.ok();
}

void FileCommands::mnuImportCsv() {
    window_.commitEditor();
    if (window_.isLocked())
        return;
    const QString path = chooser_(Purpose::ImportCsv, &window_);
    if (!path.isEmpty())
        importCsv(path);
}

void FileCommands::importCsv(const QString& path) {
    const int language = window_.editor().Language;
    FileStatus st;
    const QByteArray bytes = ReadFileStart(path, kMaxCsvFileSize + 1, &st);
    if (!st.ok()) {
        window_.message(msg::kOpenFailed.text(language).arg(QDir::toNativeSeparators(path),
                                                            FileReasonText(st, language)),
                        MbOk | MbIconStop);
        return;
    }
    // The summary first; the user may also place the rows the other way, then confirms.
    CsvImportOptions options;
    for (;;) {
        const CsvImportResult r = ImportChirpCsv(bytes, window_.editor(), options);
        const QString summary = CsvImportSummary(r, language, 30);
        if (!r.fileReadable() || r.imported.isEmpty()) {
            window_.message(r.fileReadable() ? summary + u'\n' + msg::kCsvNothing.text(language)
                                             : summary,
                            MbOk | MbIconExclamation);
            return;
        }
        const bool byLocation = r.placement == CsvPlacement::ByLocation;
        const QString other = (byLocation ? msg::kCsvInOrder : msg::kCsvByLocation).text(language);
        const int answer = window_.message(summary + QStringLiteral("\n\n") +
                                               msg::kCsvImportQuestion.text(language).arg(other),
                                           MbYesNoCancel | MbIconQuestion);
        if (answer == IdNo) {
            options.placement = byLocation ? CsvPlacement::InOrder : CsvPlacement::ByLocation;
            continue;
        }
        if (answer == IdYes)
            document_.edit(EditKind::Import, [&r](EditorState& e) {
                e.Grid = r.state.Grid;
                e.CellListIndex = r.state.CellListIndex;
            });
        return;
    }
}

} // namespace tr640

// sheet: the channel sheet of a codeplug file as PDF.

#include "cli/CommandLine.h"
#include "cli/Commands.h"

#include "codeplug/BiText.h"
#include "codeplug/Codec.h"
#include "sheet/ChannelSheet.h"

#include <QFileInfo>
#include <QGuiApplication>

namespace tr640::cli {

std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv) {
    const bool sheet = argc > 1 && qstrcmp(argv[1], "sheet") == 0;
    if (!sheet)
        return std::make_unique<QCoreApplication>(argc, argv);
        // Laying out text needs the fonts of a GUI application. No window is shown, so where no
        // platform is named the offscreen one serves (it needs no display).
#if defined(Q_OS_WIN)
    // The Windows build carries the windows platform only, which needs no display and lends
    // the PDF the system's fonts; a platform named by the caller (offscreen) is not there.
    qputenv("QT_QPA_PLATFORM", "windows");
#elif !defined(Q_OS_MACOS)
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    return std::make_unique<QGuiApplication>(argc, argv);
}

int RunSheet(const QStringList& args) {
    CommandLine line({kLanguageOption}, 2);
    if (const int status = line.parse(args))
        return status;
    const QStringList files = line.files();
    if (files.size() != 2)
        return UsageError(QStringLiteral("sheet needs FILE.DAT and OUT.pdf"));
    EditorState state;
    state.Language = line.language();
    if (!LoadCodeplugFile(files[0], state))
        return ExitFileError;
    const QByteArray pdf =
        ChannelSheetPdf(state, QFileInfo(files[0]).fileName(), QDate::currentDate());
    return SaveCodeplugFile(files[1], pdf) ? ExitOk : ExitFileError;
}

} // namespace tr640::cli

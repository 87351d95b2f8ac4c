// Writes a picture of every dialog in both languages, for looking at layouts:
//   tr640-dialog-shots OUTPUT_DIRECTORY

#include "codeplug/Codec.h"
#include "ui/dialogs/SettingsDialog.h"
#include "ui/main/Form1.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace tr640;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    if (argc < 2)
        return 2;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir preferences;
    Form1 main(Form1::Options{preferences.path()});
    // Something in every control.
    EditorState sample;
    sample.Settings.EmbeddedMessage = {QStringLiteral("WELCOME TO TR-640"),
                                       QStringLiteral("Channel check 12345678901234567")};
    sample.Settings.TestRxFrequency[0] = QStringLiteral("145.00625");
    sample.Settings.TestTxFrequency[0] = QStringLiteral("145.60000");
    sample.Settings.IdCode = QStringLiteral("12345");
    sample.Settings.DropoutDelayTime = QStringLiteral("300");
    sample.Settings.AutodialMemory[0] = QStringLiteral("0123456789ABCD*#");
    DecodeImage(main.editor(), EncodeImage(sample));
    main.showEditorState();
    main.show();
    for (int language : {0, 1}) {
        main.editor().Language = language;
        main.ApplyLanguage();
        for (const char* name : {"Form2", "Form4", "Form5", "Form6", "Form7", "frmAbout"}) {
            auto* dialog = qobject_cast<SettingsDialog*>(main.windowNamed(QLatin1String(name)));
            dialog->showDialog();
            QApplication::processEvents();
            dialog->grab().save(out.filePath(
                QStringLiteral("%1-%2.png").arg(QLatin1String(name)).arg(language ? "en" : "zh")));
            dialog->hide();
        }
    }
    return 0;
}

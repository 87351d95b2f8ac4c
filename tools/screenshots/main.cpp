// tr640-shots: renders every window in both languages to PNG files, for checking the layout of
// the texts and for the documentation. Usage: tr640-shots OUTPUT_FOLDER [FILE.DAT]

#include "codeplug/Codec.h"
#include "codeplug/CodeplugFile.h"
#include "ui/dialogs/SettingsDialog.h"
#include "ui/main/Form1.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

namespace {

tr640::EditorState Example() {
    using namespace tr640;
    EditorState s;
    const char* channels[][2] = {{"435.01250", "435.01250"},
                                 {"436.50000", "431.50000"},
                                 {"438.00625", ""},
                                 {"446.00625", "446.00625"}};
    for (int i = 0; i < 4; ++i) {
        const int row = i + 1;
        s.cell(row, ColRxFrequency) = QString::fromLatin1(channels[i][0]);
        s.cell(row, ColTxFrequency) = QString::fromLatin1(channels[i][1]);
        s.setListCell(row, ColRxTone, i == 1 ? 13 : 0);
        if (!s.cell(row, ColTxFrequency).isEmpty())
            s.setListCell(row, ColTxTone, i == 1 ? 13 : i == 3 ? 70 : 0);
        s.setListCell(row, ColPower, i % 2);
        s.setListCell(row, ColBclo, i == 2 ? 1 : 0);
        s.setListCell(row, ColBandwidth, i == 3 ? 0 : 1);
        s.setListCell(row, ColScanAdd, 1);
    }
    s.Settings.EmbeddedMessage[0] = QStringLiteral("TR-640 DEMO");
    s.Settings.TestRxFrequency[0] = s.Settings.TestTxFrequency[0] = QStringLiteral("435.00000");
    return s;
}

void Save(QWidget* w, const QString& path) {
    w->show();
    QApplication::processEvents();
    w->grab().save(path);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2) {
        QTextStream(stderr) << "usage: tr640-shots OUTPUT_FOLDER [FILE.DAT]\n";
        return 2;
    }
    const QDir out(args[1]);
    QDir().mkpath(out.path());
    tr640::Form1 window(tr640::Form1::Options::withoutTimers());
    tr640::EditorState state = window.editor();
    if (args.size() > 2) {
        tr640::FileStatus st;
        const QByteArray bytes = tr640::ReadCodeplugFile(args[2], &st);
        if (!st.ok())
            return 1;
        tr640::DecodeImage(state, bytes);
    } else {
        const int language = state.Language;
        state = Example();
        state.Language = language;
    }
    window.document().replace(state);
    const char* languages[] = {"zh", "en"};
    for (int language = 0; language < 2; ++language) {
        if (language == 0)
            window.mnuChinese();
        else
            window.mnuEnglish();
        const QString suffix = QStringLiteral("-%1.png").arg(QLatin1String(languages[language]));
        window.resize(window.sizeHint());
        Save(&window, out.filePath(QStringLiteral("Form1") + suffix));
        for (const char* name : {"Form2", "Form4", "Form5", "Form6", "Form7", "frmAbout"}) {
            QWidget* dialog = window.windowNamed(QLatin1String(name));
            Save(dialog, out.filePath(QLatin1String(name) + suffix));
            dialog->hide();
        }
    }
    return 0;
}

#include "sheet/ChannelSheet.h"

#include "codeplug/BandTable.h"
#include "codeplug/FieldLabels.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

namespace tr640 {

namespace {

constexpr BiText kTitle{"TR-640 信道表", "TR-640 channel sheet"};
constexpr BiText kFile{"文件", "File"};
constexpr BiText kNotSaved{"未保存", "not saved"};
constexpr BiText kDate{"日期", "Date"};
constexpr BiText kChannels{"信道", "Channels"};
constexpr BiText kNoChannels{"没有使用中的信道。", "No channel is in use."};
constexpr BiText kFunctions{"功能设置", "Functions Setting"};
constexpr BiText kMessage{"嵌入信息", "Embedded Message"};

// The families tried in order: a CJK font first for Chinese (the one the set-up installs, then
// the usual Windows ones), so that the PDF embeds a font that has the characters.
QFont SheetFont(int language) {
    QFont font;
    QStringList families{QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                         QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")};
    if (language == English)
        families.prepend(QStringLiteral("DejaVu Sans"));
    font.setFamilies(families);
    font.setPointSizeF(9.5);
    return font;
}

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString Cell(const QString& text, const char* tag = "td") {
    return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), Escaped(text));
}

// Character fields hold the character 0xFF in unused places.
QString Shown(QString text) {
    return text.remove(QChar(0xFF));
}

} // namespace

QString ChannelSheetHtml(const EditorState& source, const QString& fileName, const QDate& date) {
    EditorState s = source;
    s.SetGrid1Text(); // list cells in the state's language
    const int lang = s.Language;
    const QString colon = lang == English ? QStringLiteral(": ") : QStringLiteral("：");

    QString html = QStringLiteral("<html><body>");
    html += QStringLiteral("<h2>%1</h2>").arg(Escaped(kTitle.text(lang)));
    html += QStringLiteral("<p><b>%1</b>%2%3<br><b>%4</b>%2%5<br><b>%6</b>%2%7</p>")
                .arg(Escaped(kBandLabel.text(lang)), colon, QString::fromLatin1(Band(s.Band).text),
                     Escaped(kFile.text(lang)),
                     Escaped(fileName.isEmpty() ? kNotSaved.text(lang) : fileName),
                     Escaped(kDate.text(lang)), date.toString(Qt::ISODate));

    html += QStringLiteral("<h3>%1</h3>").arg(Escaped(kChannels.text(lang)));
    bool any = false;
    QString rows;
    for (int row = 1; row <= kChannelCount; ++row) {
        if (!s.channelInUse(row))
            continue;
        any = true;
        rows += QStringLiteral("<tr>");
        for (int col = ColNumber; col <= ColScanAdd; ++col)
            rows += Cell(s.cell(row, col));
        rows += QStringLiteral("</tr>");
    }
    if (any) {
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" "
                               "width=\"100%\"><tr>");
        for (const BiText& heading : kChannelColumnLabels)
            html += Cell(heading.text(lang), "th");
        html += QStringLiteral("</tr>") + rows + QStringLiteral("</table>");
    } else {
        html += QStringLiteral("<p>%1</p>").arg(Escaped(kNoChannels.text(lang)));
    }

    html += QStringLiteral("<h3>%1</h3><table cellspacing=\"0\" cellpadding=\"3\">")
                .arg(Escaped(kFunctions.text(lang)));
    for (const FunctionSetting& f : FunctionSettings())
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(Escaped(f.label.text(lang)), Escaped(f.text(s.*f.position, lang)));
    html += QStringLiteral("</table>");

    html += QStringLiteral("<h3>%1</h3><table cellspacing=\"0\" cellpadding=\"3\">")
                .arg(Escaped(kMessage.text(lang)));
    for (int line = 0; line < kMessageLines; ++line)
        html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td></tr>")
                    .arg(Escaped(kMessageLineLabel.text(lang).arg(line + 1)),
                         Escaped(Shown(s.Settings.EmbeddedMessage[line])));
    html += QStringLiteral("</table></body></html>");
    return html;
}

void RenderChannelSheet(const EditorState& state, const QString& fileName, const QDate& date,
                        QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter));
    // Laid out for the device itself, so that point sizes and the page width are the page's.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(SheetFont(state.Language));
    document.setHtml(ChannelSheetHtml(state, fileName, date));
    const QRect page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    document.setPageSize(page.size());
    QPainter painter(&device); // its origin is the top left of the printable area
    document.drawContents(&painter, QRectF(QPointF(0, 0), page.size()));
}

QByteArray ChannelSheetPdf(const EditorState& state, const QString& fileName, const QDate& date) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("TR-640 Software"));
        writer.setTitle(kTitle.text(state.Language));
        RenderChannelSheet(state, fileName, date, writer);
    } // the writer finishes the file when it goes
    return bytes;
}

} // namespace tr640

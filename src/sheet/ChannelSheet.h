#pragma once

// The channel sheet: one A4 page that a dealer hands out with a programmed radio. It lists the
// band, the channels in use, the six function settings, the two message lines, the codeplug's
// file name and the date, in the language of the editor state.

#include "codeplug/EditorState.h"

#include <QDate>
#include <QString>

class QPagedPaintDevice;

namespace tr640 {

// The sheet as rich text (HTML for QTextDocument). `fileName` is shown as given; an empty one
// as "not saved".
QString ChannelSheetHtml(const EditorState& state, const QString& fileName, const QDate& date);

// Lays the sheet out on one page of the device (a QPrinter or a QPdfWriter), A4 portrait.
void RenderChannelSheet(const EditorState& state, const QString& fileName, const QDate& date,
                        QPagedPaintDevice& device);

// The sheet as the bytes of a PDF file.
QByteArray ChannelSheetPdf(const EditorState& state, const QString& fileName, const QDate& date);

} // namespace tr640

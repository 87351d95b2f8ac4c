#pragma once

#include "codeplug/CodeplugDiff.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/EditorState.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <memory>

namespace tr640::cli {

// Exit statuses of tr640-cli.
enum ExitCode : int {
    ExitOk = 0,
    ExitFileError = 1,
    ExitUsage = 2,
    ExitCommunication = 3,
    ExitBandRefused = 4,
    ExitRowsRejected = 5,
    ExitVerifyFailed = 6,
    ExitDiffers = 7, // diff, write --preview: the codeplugs differ
};

// Standard output and error of the tool, UTF-8.
QTextStream& Out();
QTextStream& Err();

// A usage error: prints the message and the usage text on stderr, returns ExitUsage.
int UsageError(const QString& message);

// The decoded editor state as the grid and the lists show it, as text or JSON.
void PrintEditorState(const EditorState& state, bool json);

// "tr640-cli: FILE: reason" for a file that could not be read or written.
QString DescribeFileError(const QString& path, const FileStatus& status);

// Open (decode over the given state) and Save As (atomically); a failure is reported on stderr
// with the file name and the reason.
bool LoadCodeplugFile(const QString& path, EditorState& state);
bool SaveCodeplugFile(const QString& path, QByteArrayView bytes);

// Each command gets the arguments after its name.
int RunShow(const QStringList& args);
int RunResave(const QStringList& args);
int RunRead(const QStringList& args);
int RunWrite(const QStringList& args);
int RunExportCsv(const QStringList& args);
int RunImportCsv(const QStringList& args);

// sheet, and the application object: a GUI one for sheet, which lays out text.
int RunSheet(const QStringList& args);
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char** argv);

// diff, and the change list that write --preview prints too.
int RunDiff(const QStringList& args);
void PrintChanges(const QList<FieldChange>& changes, int language, bool json,
                  const QString& noDifference);

} // namespace tr640::cli

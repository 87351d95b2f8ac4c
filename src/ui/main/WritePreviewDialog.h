#pragma once

// The question before a write with "Preview changes before writing" on: what the write would
// change in the radio, field by field, with Write and Cancel.

#include "codeplug/CodeplugDiff.h"

#include <QDialog>
#include <QList>

class QLabel;
class QListWidget;
class QPushButton;

namespace tr640 {

class WritePreviewDialog : public QDialog {
    Q_OBJECT
public:
    WritePreviewDialog(const QList<FieldChange>& changes, int language, QWidget* parent);
};

// Shows the dialog modally; true for Write.
bool AskWritePreview(QWidget* owner, const QList<FieldChange>& changes, int language);

} // namespace tr640

#include "ui/main/WritePreviewDialog.h"

#include "codeplug/BiText.h"
#include "i18n/LocalisedMessageBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tr640 {

namespace {

constexpr BiText kCaption{"写频前预览", "Preview of the write"};
constexpr BiText kIntro{"写频将改动对讲机中的以下内容：",
                        "Writing will change these in the radio:"};
constexpr BiText kWrite{"写频", "Write"};
constexpr BiText kWriteAnyway{"仍然写频", "Write anyway"};
constexpr BiText kCancel{"取消", "Cancel"};

} // namespace

WritePreviewDialog::WritePreviewDialog(const QList<FieldChange>& changes, int language,
                                       QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmWritePreview"));
    setWindowTitle(kCaption.text(language) + QStringLiteral(" - ") + kApplicationTitle);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(this);
    intro->setObjectName(QStringLiteral("lblPreview"));
    intro->setText(changes.isEmpty() ? RadioHoldsCodeplugText(language) : kIntro.text(language));
    layout->addWidget(intro);
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("lstChanges"));
    list->addItems(DescribeChanges(changes, language));
    list->setVisible(!changes.isEmpty());
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* write = buttons->addButton(
        (changes.isEmpty() ? kWriteAnyway : kWrite).text(language), QDialogButtonBox::AcceptRole);
    write->setObjectName(QStringLiteral("cmdWrite"));
    QPushButton* cancel = buttons->addButton(kCancel.text(language), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancelWrite"));
    write->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, changes.isEmpty() ? 120 : 360);
}

bool AskWritePreview(QWidget* owner, const QList<FieldChange>& changes, int language) {
    WritePreviewDialog dialog(changes, language, owner);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace tr640

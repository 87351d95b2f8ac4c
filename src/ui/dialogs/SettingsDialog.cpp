#include "ui/dialogs/SettingsDialog.h"

#include "document/CodeplugDocument.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLayout>
#include <QPushButton>

namespace tr640 {

SettingsDialog::SettingsDialog(const QString& objectName, QWidget* parent) : QDialog(parent) {
    setObjectName(objectName);
    setModal(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

void SettingsDialog::showDialog() {
    show();
    raise();
    activateWindow();
}

void SettingsDialog::fitTexts() {
    // A list's smallest size stays that of its first texts, so the layout alone would squeeze
    // longer ones into the old width.
    if (layout())
        layout()->activate();
    resize(size().expandedTo(sizeHint()));
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    // The title-bar close hides the dialog; it lives until the application ends.
    event->ignore();
    hide();
}

void SettingsDialog::editStoreOf(CodeplugDocument& document) {
    document_ = &document;
    connect(&document, &CodeplugDocument::storeChanged, this, &SettingsDialog::refreshFromStore);
}

void SettingsDialog::commitIntoStore(const std::function<void()>& commit) {
    if (document_)
        document_->commitStore([&commit](EditorState&) { commit(); });
    else
        commit();
}

QPushButton* SettingsDialog::makeButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QHBoxLayout* SettingsDialog::okCancelRow(std::function<void()> commit, std::function<void()> cancel,
                                         bool centred) {
    auto* row = new QHBoxLayout;
    QPushButton* ok = makeButton("Command1", QStringLiteral("确定"));
    QPushButton* no = makeButton("Command2", QStringLiteral("取消"));
    for (QPushButton* b : {ok, no})
        b->setMinimumWidth(90);
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(no);
    if (centred)
        row->addStretch(1);
    connect(ok, &QPushButton::clicked, this, [this, commit] {
        commitIntoStore(commit);
        hide();
    });
    connect(no, &QPushButton::clicked, this, [this, cancel] {
        if (cancel)
            cancel();
        hide();
    });
    return row;
}

} // namespace tr640

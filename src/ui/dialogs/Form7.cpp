#include "ui/dialogs/Form7.h"

#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/main/SharedState.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tr640 {

Form7::Form7(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form7"), parent), state_(state) {
    editStoreOf(state.Document);
    setWindowTitle(QStringLiteral("嵌入信息"));
    auto* layout = new QVBoxLayout(this);
    const auto line = [this, layout](const char* name) {
        auto* box = new FilteredLineEdit(MessageLineRules(kLineLimit), this);
        box->setObjectName(QLatin1String(name));
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(kLineLimit + 2, u'W')));
        layout->addWidget(box);
        return box;
    };
    text1_ = line("Text1");
    text2_ = line("Text2");

    layout->addLayout(okCancelRow([this] { commit(); }));
    load();
}

void Form7::load() {
    text1_->setText(state_.Editor.Settings.EmbeddedMessage[0]);
    text2_->setText(state_.Editor.Settings.EmbeddedMessage[1]);
}

void Form7::commit() {
    state_.Editor.Settings.EmbeddedMessage[0] = text1_->text();
    state_.Editor.Settings.EmbeddedMessage[1] = text2_->text();
}

void Form7::refreshFromStore() {
    load();
}

} // namespace tr640

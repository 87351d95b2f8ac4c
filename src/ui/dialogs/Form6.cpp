#include "ui/dialogs/Form6.h"

#include "i18n/TextTable.h"
#include "ui/dialogs/Pictures.h"
#include "ui/main/SharedState.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tr640 {

namespace {

void SelectFunction(QComboBox* combo, int value) {
    combo->setCurrentIndex(value >= 0 && value < Form6::kKeyFunctions ? value
                                                                      : Form6::kFallbackFunction);
}

} // namespace

Form6::Form6(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form6"), parent), state_(state) {
    editStoreOf(state.Document);
    setWindowTitle(QStringLiteral("键设定"));
    const auto list = [this](const char* name) {
        auto* combo = new QComboBox(this);
        combo->setObjectName(QLatin1String(name));
        for (int i = 0; i < kKeyFunctions; ++i)
            combo->addItem(TableText(Form6Texts(), name, Chinese, i));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        combo->setMinimumContentsLength(16);
        combo->installEventFilter(this);
        return combo;
    };
    combo1_ = list("Combo1");
    combo2_ = list("Combo2");
    const auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QLatin1String(text), this);
        l->setObjectName(QLatin1String(name));
        return l;
    };

    // The picture holders supply the two views; Image1 shows one of them.
    const auto holder = [this](const char* name, SideKey key) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setPixmap(RadioSideView(key));
        l->hide();
        return l;
    };
    picture1_ = holder("Picture1", SideKey::Pf1);
    picture2_ = holder("Picture2", SideKey::Pf2);
    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setFixedSize(113, 257);
    image1_->setFrameShape(QFrame::NoFrame);
    showPicture(1);

    auto* fields = new QGridLayout;
    fields->addWidget(label("Label1", "PF1"), 0, 0);
    fields->addWidget(combo1_, 0, 1);
    fields->addWidget(label("Label2", "PF2"), 1, 0);
    fields->addWidget(combo2_, 1, 1);
    fields->setRowStretch(2, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(image1_);
    top->addSpacing(12);
    top->addLayout(fields, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(okCancelRow([this] { commit(); }));
    load();
}

void Form6::load() {
    refreshFromStore();
}

void Form6::refreshFromStore() {
    SelectFunction(combo1_, state_.Editor.Settings.Pf1Function);
    SelectFunction(combo2_, state_.Editor.Settings.Pf2Function);
}

void Form6::commit() {
    state_.Editor.Settings.Pf1Function = combo1_->currentIndex();
    state_.Editor.Settings.Pf2Function = combo2_->currentIndex();
}

void Form6::showPicture(int key) {
    shownPicture_ = key;
    image1_->setPixmap((key == 2 ? picture2_ : picture1_)->pixmap());
}

bool Form6::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == combo1_)
            showPicture(1);
        else if (watched == combo2_)
            showPicture(2);
    }
    return SettingsDialog::eventFilter(watched, event);
}

} // namespace tr640

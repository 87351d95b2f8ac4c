#include "ui/dialogs/Form2.h"

#include "ui/main/Gesture.h"
#include "ui/main/SharedState.h"
#include "ui/widgets/ClickLabel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace tr640 {

Form2::Form2(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form2"), parent), state_(state) {
    editStoreOf(state.Document);
    setWindowTitle(QStringLiteral("调试参数"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFrame("Frame1", QStringLiteral("发射功率-高"), "Label3", "Label8",
                                 "Slider1", "Lblpower1", high_));
    layout->addWidget(buildFrame("Frame2", QStringLiteral("发射功率-低"), "Label6", "Label7",
                                 "Slider3", "Lblpower3", low_));
    label3_ = findChild<ClickLabel*>(QStringLiteral("Label3"));
    label6_ = findChild<ClickLabel*>(QStringLiteral("Label6"));
    connect(label3_, &ClickLabel::clicked, this, [this] { onGestureClick(&state_.GestureFlagA); });
    connect(label6_, &ClickLabel::clicked, this, [this] { onGestureClick(&state_.GestureFlagB); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* ok = makeButton("Command1", QStringLiteral("确定"));
    buttons->addWidget(ok);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] {
        commitIntoStore([this] { commit(); });
        hide();
    });
    load();
}

QWidget* Form2::buildFrame(const char* frame, const QString& caption, const char* low,
                           const char* high, const char* slider, const char* readOut,
                           Power& power) {
    auto* box = new QGroupBox(caption, this);
    box->setObjectName(QLatin1String(frame));
    auto* grid = new QGridLayout(box);
    auto* lowMark = new ClickLabel(QStringLiteral("最小"), box);
    lowMark->setObjectName(QLatin1String(low));
    auto* highMark = new QLabel(QStringLiteral("最大"), box);
    highMark->setObjectName(QLatin1String(high));
    power.slider = new QSlider(Qt::Horizontal, box);
    power.slider->setObjectName(QLatin1String(slider));
    power.slider->setRange(0, kPowerMaximum);
    power.slider->setSingleStep(1);
    power.slider->setPageStep(5);
    power.slider->setTickPosition(QSlider::TicksBelow);
    power.slider->setTickInterval(5);
    power.slider->setMinimumWidth(260);
    power.readOut = new QLabel(QStringLiteral("2132"), box);
    power.readOut->setObjectName(QLatin1String(readOut));
    power.readOut->setAlignment(Qt::AlignCenter);
    power.readOut->setMinimumWidth(
        power.readOut->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    grid->addWidget(power.readOut, 0, 1);
    grid->addWidget(lowMark, 1, 0);
    grid->addWidget(power.slider, 1, 1);
    grid->addWidget(highMark, 1, 2);
    grid->setColumnStretch(1, 1);

    Power* p = &power;
    // Any move by the user, even one that leaves the value where it was (the end key at the
    // end), replaces a value the slider could not show.
    connect(power.slider, &QSlider::actionTriggered, this, [p](int) {
        p->unshown.reset();
        p->readOut->setText(QString::number(p->slider->sliderPosition()));
    });
    connect(power.slider, &QSlider::valueChanged, this, [p](int value) {
        if (!p->unshown)
            p->readOut->setText(QString::number(value));
    });
    return box;
}

void Form2::load() {
    if (state_.Editor.CalibrationWrite == 1)
        setSlidersEnabled(true);
    else
        setSlidersEnabled(false); // 0, and any other value: locked is the safe state
    refreshFromStore();
}

void Form2::showPower(Power& power, int value) {
    const int shown = std::clamp(value, 0, kPowerMaximum);
    if (shown == value)
        power.unshown.reset();
    else
        power.unshown = value;
    {
        const QSignalBlocker quiet(power.slider);
        power.slider->setValue(shown);
    }
    power.readOut->setText(QString::number(value));
}

int Form2::valueOf(const Power& power) const {
    return power.unshown ? *power.unshown : power.slider->value();
}

void Form2::refreshFromStore() {
    showPower(high_, state_.Editor.Settings.TxHighPower);
    showPower(low_, state_.Editor.Settings.TxLowPower);
}

void Form2::commit() {
    state_.Editor.Settings.TxHighPower = valueOf(high_);
    state_.Editor.Settings.TxLowPower = valueOf(low_);
}

void Form2::setSlidersEnabled(bool enabled) {
    high_.slider->setEnabled(enabled);
    low_.slider->setEnabled(enabled);
}

void Form2::disableSliders() {
    setSlidersEnabled(false);
}

void Form2::onGestureClick(bool* ownFlag) {
    if (!GestureClick({&state_.GestureFlagA, &state_.GestureFlagB}, ownFlag, state_.GestureStart,
                      state_.Clock()))
        return;
    state_.Editor.CalibrationWrite = 1;
    setSlidersEnabled(true);
    Q_EMIT calibrationUnlocked();
}

} // namespace tr640

#include "ui/dialogs/Form5.h"

#include "codeplug/Numbers.h"
#include "i18n/LocalisedMessageBox.h"
#include "i18n/TextTable.h"
#include "ui/dialogs/CellEditGrid.h"
#include "ui/dialogs/FilteredLineEdit.h"
#include "ui/main/SharedState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tr640 {

namespace {

constexpr QChar kUnusedPlace(u'\u00FF');
constexpr int kMemoryGridRows = 1 + kAutodialMemories;
constexpr int kMemoryColumn = 1;

// Design texts in Chinese; the language pass writes the two-language ones.
QString Zh(const char* control, int index = 0) {
    return TableText(Form5Texts(), control, Chinese, index);
}

QStringList Numbered(int from, int to, const QString& suffix = QString()) {
    QStringList items;
    for (int i = from; i <= to; ++i)
        items << QString::number(i) + suffix;
    return items;
}

// Selects a stored position; one outside the list leaves no selection, and OK then keeps the
// stored value.
void SelectPosition(QComboBox* combo, int position) {
    combo->setCurrentIndex(position >= 0 && position < combo->count() ? position : -1);
}

} // namespace

QString Form5::MemoryTooLongText() {
    return QStringLiteral("存储器只能存储16位！");
}

Form5::Form5(SharedState& state, QWidget* parent)
    : SettingsDialog(QStringLiteral("Form5"), parent), state_(state) {
    editStoreOf(state.Document);
    setWindowTitle(Zh(""));
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(buildScanFrame());
    left->addStretch(1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(buildVoxFrame());
    middle->addLayout(buildFreeArea());
    middle->addStretch(1);
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addWidget(buildDtmfFrame(), 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(okCancelRow([this] { commit(); }));

    // The lists whose positions the store holds as text, in commit order.
    const std::pair<const char*, QString SettingsStore::*> lists[] = {
        {"Combo4", &SettingsStore::PttId},          {"Combo6", &SettingsStore::VoxFunction},
        {"Combo7", &SettingsStore::VoxGainLevel},   {"Combo8", &SettingsStore::VoxDelayTime},
        {"Combo9", &SettingsStore::VoxProceedTone}, {"Combo10", &SettingsStore::Duplicate},
        {"Combo11", &SettingsStore::Priority},      {"Combo13", &SettingsStore::LookBackTimeA},
        {"Combo14", &SettingsStore::LookBackTimeB}, {"Combo15", &SettingsStore::RevertChannel},
    };
    for (const auto& [name, field] : lists)
        textLists_.push_back({findChild<QComboBox*>(QLatin1String(name)), field});
    load();
}

QLabel* Form5::makeLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QLatin1String(name));
    return label;
}

QComboBox* Form5::makeList(const char* name, const QStringList& items) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(QLatin1String(name));
    combo->addItems(items);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    combo->setMaxVisibleItems(16);
    return combo;
}

FilteredLineEdit* Form5::makeBox(const char* name, InputRules rules) {
    auto* box = new FilteredLineEdit(std::move(rules), this);
    box->setObjectName(QLatin1String(name));
    return box;
}

QComboBox* Form5::addList(QGridLayout* grid, int row, const char* label, const char* combo,
                          const QStringList& items) {
    QLabel* l = makeLabel(label, Zh(label));
    QComboBox* c = makeList(combo, items);
    l->setBuddy(c);
    grid->addWidget(l, row, 0);
    grid->addWidget(c, row, 1);
    return c;
}

QGroupBox* Form5::buildScanFrame() {
    auto* frame = new QGroupBox(Zh("Frame2"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    auto* grid = new QGridLayout(frame);
    addList(grid, 0, "Label14", "Combo11", {Zh("Combo11", 0), Zh("Combo11", 1), Zh("Combo11", 2)});
    combo12_ = addList(grid, 1, "Label15", "Combo12", Numbered(1, 16));
    // The look-back lists are built by Load.
    combo13_ = addList(grid, 2, "Label17", "Combo13", {});
    combo14_ = addList(grid, 3, "Label16", "Combo14", {});
    addList(grid, 4, "Label18", "Combo15",
            {Zh("Combo15", 0), Zh("Combo15", 1), Zh("Combo15", 2), Zh("Combo15", 3)});
    const auto seconds = [this, grid](int row, const char* label, const char* box, const char* bar,
                                      FilteredLineEdit*& boxOut, QScrollBar*& barOut) {
        QLabel* l = makeLabel(label, Zh(label));
        boxOut = makeBox(box, SecondsRules(kSecondsMaximum));
        boxOut->setMaximumWidth(boxOut->fontMetrics().horizontalAdvance(QStringLiteral("00000")) +
                                12);
        l->setBuddy(boxOut);
        barOut = new QScrollBar(Qt::Vertical, this);
        barOut->setObjectName(QLatin1String(bar));
        barOut->setRange(0, kSecondsMaximum);
        barOut->setSingleStep(1);
        barOut->setPageStep(1);
        barOut->setFixedHeight(boxOut->sizeHint().height());
        auto* pair = new QHBoxLayout;
        pair->setSpacing(0);
        pair->addWidget(boxOut);
        pair->addWidget(barOut);
        pair->addStretch(1);
        grid->addWidget(l, row, 0);
        grid->addLayout(pair, row, 1);
        FilteredLineEdit* target = boxOut;
        // The scroll bar writes its value into the box; the box does not move the bar.
        connect(barOut, &QScrollBar::valueChanged, target,
                [target](int value) { target->setText(QString::number(value)); });
    };
    seconds(5, "Label19", "Text5", "VScroll1", text5_, vscroll1_);
    seconds(6, "Label20", "Text6", "VScroll2", text6_, vscroll2_);
    grid->setColumnStretch(1, 1);

    return frame;
}

QGroupBox* Form5::buildVoxFrame() {
    auto* frame = new QGroupBox(QStringLiteral("VOX"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame);
    // Item 1 of the on/off lists reads "使能" until the language pass writes "打开".
    const QStringList onOff{Zh("Combo6", 0), QStringLiteral("使能")};
    addList(grid, 0, "Label8", "Combo6", onOff);
    addList(grid, 1, "Label10", "Combo7", QStringList{Zh("Combo7", 0)} + Numbered(1, 10));
    addList(grid, 2, "Label9", "Combo8",
            {QStringLiteral("0.3S"), QStringLiteral("0.5S"), QStringLiteral("1S"),
             QStringLiteral("1.5S"), QStringLiteral("2S"), QStringLiteral("3S")});
    addList(grid, 3, "Label7", "Combo9", onOff);
    check3_ = new QCheckBox(Zh("Check3"), frame);
    check3_->setObjectName(QStringLiteral("Check3"));
    check4_ = new QCheckBox(Zh("Check4"), frame);
    check4_->setObjectName(QStringLiteral("Check4"));
    grid->addWidget(check3_, 4, 0, 1, 2);
    grid->addWidget(check4_, 5, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    return frame;
}

QGridLayout* Form5::buildFreeArea() {
    auto* grid = new QGridLayout;
    addList(grid, 0, "Label4", "Combo4", {Zh("Combo4", 0), Zh("Combo4", 1), Zh("Combo4", 2)});
    const auto code = [this, grid](int row, const char* label, const QString& text, const char* box,
                                   int limit) {
        QLabel* l = makeLabel(label, text);
        FilteredLineEdit* b = makeBox(box, DtmfCodeRules(limit));
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QString(limit + 2, u'0')));
        l->setBuddy(b);
        grid->addWidget(l, row, 0);
        grid->addWidget(b, row, 1);
        return b;
    };
    text3_ = code(1, "Label1", QStringLiteral("发射开始(16位)"), "Text3", kLaunchCodeLimit);
    text4_ = code(2, "Label12", QStringLiteral("发射结束(16位)"), "Text4", kLaunchCodeLimit);
    text1_ = code(3, "Label13", QStringLiteral("ID码"), "Text1", kIdCodeLimit);
    // The label reads "收音机功能" and item 1 "使能" until the language pass runs.
    addList(grid, 4, "Label11", "Combo10", {Zh("Combo10", 0), QStringLiteral("使能")});
    findChild<QLabel*>(QStringLiteral("Label11"))->setText(QStringLiteral("收音机功能"));
    grid->setColumnStretch(1, 1);

    return grid;
}

QGroupBox* Form5::buildDtmfFrame() {
    auto* frame = new QGroupBox(QStringLiteral("DTMF"), this);
    frame->setObjectName(QStringLiteral("Frame3"));
    auto* grid = new QGridLayout(frame);
    const QStringList digitTimes{QStringLiteral("OFF"), QStringLiteral("100MS"),
                                 QStringLiteral("500MS"), QStringLiteral("1000MS")};
    QStringList delays;
    for (int ms = 100; ms <= 1000; ms += 50)
        delays << QString::number(ms) + QStringLiteral("MS");
    const auto dtmf = [&](int row, const char* label, const QString& text, const char* combo,
                          const QStringList& items) {
        QLabel* l = makeLabel(label, text);
        QComboBox* c = makeList(combo, items);
        l->setBuddy(c);
        grid->addWidget(l, row, 0);
        grid->addWidget(c, row, 1);
        return c;
    };
    QComboBox* combo0 = dtmf(0, "Label21", QStringLiteral("DTMF 速率"), "Combo0",
                             {QStringLiteral("6位"), QStringLiteral("8位"), QStringLiteral("10位"),
                              QStringLiteral("15位")});
    QComboBox* combo16 = dtmf(1, "Label22", QStringLiteral("首位数码时间"), "Combo16", digitTimes);
    // Shown for completeness; the codeplug's first digit delay has no editor here.
    dtmf(2, "Label23", QStringLiteral("首位数码延迟"), "Combo18", delays)->setCurrentIndex(0);
    QComboBox* combo17 = dtmf(3, "Label24", QStringLiteral("*和#音"), "Combo17", digitTimes);
    QComboBox* combo19 =
        dtmf(4, "Label25", QStringLiteral("D键设定"), "Combo19",
             QStringList{QStringLiteral("D码")} + Numbered(1, 16, QStringLiteral("秒")));
    QComboBox* combo20 = dtmf(5, "Label26", QStringLiteral("DTMF 侧音"), "Combo20",
                              {QStringLiteral("禁止"), QStringLiteral("使能")});
    // Likewise the group call code.
    dtmf(6, "Label27", QStringLiteral("组呼码"), "Combo22",
         {QStringLiteral("关闭"), QStringLiteral("*"), QStringLiteral("#"), QStringLiteral("A"),
          QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")})
        ->setCurrentIndex(0);
    QComboBox* combo21 =
        dtmf(7, "Label28", QStringLiteral("自动复位定时器"), "Combo21",
             QStringList{QStringLiteral("关闭")} + Numbered(1, 15, QStringLiteral("秒")));

    grid_ = new CellEditGrid(kMemoryGridRows, 2, frame);
    grid_->setObjectName(QStringLiteral("mfgrid1"));
    grid_->setEditorRules(DtmfCodeRules(-1));
    grid_->setBaseColumnWidthTwips(0, 700);
    grid_->setBaseColumnWidthTwips(1, 2500);
    for (int r = 0; r < kMemoryGridRows; ++r)
        grid_->setRowHeightTwips(r, 285);
    grid_->setText(0, 0, QStringLiteral("编号"));
    grid_->setText(0, 1, QStringLiteral("自动拨号存储器"));
    connect(grid_, &CellEditGrid::cellEdited, this, [this](int row, int column, const QString&) {
        if (column == kMemoryColumn)
            onMemoryEdited(row);
    });
    grid->addWidget(grid_, 8, 0, 1, 2, Qt::AlignHCenter);
    grid->setColumnStretch(1, 1);

    numberLists_ = {
        {combo0, &SettingsStore::DtmfRate},      {combo16, &SettingsStore::FirstDigitTime},
        {combo17, &SettingsStore::StarHashTone}, {combo19, &SettingsStore::DKeySetting},
        {combo20, &SettingsStore::DtmfSidetone}, {combo21, &SettingsStore::AutoResetTimer}};
    return frame;
}

void Form5::load() {
    // Look-back lists: "None" (renamed by the language pass), then 0.50 to 5.00 seconds.
    for (QComboBox* combo : {combo13_, combo14_}) {
        combo->clear();
        combo->addItem(QStringLiteral("None"));
        for (int i = 1; i < kLookBackItems; ++i)
            combo->addItem(QString::number(0.05 * (i - 1) + 0.5, 'f', 2));
    }
    for (int r = 1; r < kMemoryGridRows; ++r)
        grid_->setText(r, 0, QString::number(r));
    refreshFromStore();
}

void Form5::refreshFromStore() {
    grid_->discardEditor();
    const SettingsStore& s = state_.Editor.Settings;
    for (const TextList& l : textLists_)
        SelectPosition(l.combo, WholeNumber(s.*l.field));
    combo12_->setCurrentIndex(combo12_->findText(s.PriorityChannel));
    idCodeShown_ = QString(s.IdCode).remove(kUnusedPlace);
    text1_->setText(idCodeShown_);
    text3_->setText(s.LaunchStartCode);
    text4_->setText(s.LaunchEndCode);
    text5_->setText(s.DropoutDelayTime);
    text6_->setText(s.TxDwellTime);
    check3_->setChecked(WholeNumber(s.CancelOperation) == 1);
    check4_->setChecked(WholeNumber(s.VoxInhibitOnReceive) == 1);
    for (int k = 0; k < kAutodialMemories; ++k)
        grid_->setText(k + 1, kMemoryColumn, s.AutodialMemory[k]);
    for (const NumberList& l : numberLists_)
        SelectPosition(l.combo, s.*l.field);
}

void Form5::commit() {
    grid_->commitEditor();
    SettingsStore& s = state_.Editor.Settings;
    for (const TextList& l : textLists_)
        if (l.combo->currentIndex() >= 0)
            s.*l.field = QString::number(l.combo->currentIndex());
    // The priority channel as its item's text, "1" to "16".
    if (combo12_->currentIndex() >= 0)
        s.PriorityChannel = combo12_->currentText();
    if (text1_->text() != idCodeShown_)
        s.IdCode = text1_->text();
    s.LaunchStartCode = text3_->text();
    s.LaunchEndCode = text4_->text();
    s.DropoutDelayTime = text5_->text();
    s.TxDwellTime = text6_->text();
    s.CancelOperation = check3_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    s.VoxInhibitOnReceive = check4_->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    for (int k = 0; k < kAutodialMemories; ++k)
        s.AutodialMemory[k] = grid_->text(k + 1, kMemoryColumn);
    for (const NumberList& l : numberLists_)
        if (l.combo->currentIndex() >= 0)
            s.*l.field = l.combo->currentIndex();
    idCodeShown_ = QString(s.IdCode).remove(kUnusedPlace);
}

void Form5::onMemoryEdited(int row) {
    if (grid_->text(row, kMemoryColumn).size() > kMemoryDigits)
        LocalisedMessageBox(parentWidget(), state_.Editor.Language, MemoryTooLongText(),
                            MbOk | MbIconStop);
}

} // namespace tr640

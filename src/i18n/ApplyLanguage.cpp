#include "i18n/ApplyLanguage.h"

#include "i18n/TextTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QToolBar>

namespace tr640 {

namespace {

constexpr const char* kIndexProperty = "controlIndex";

void SetCaption(QObject* control, const QString& text) {
    if (auto* menu = qobject_cast<QMenu*>(control))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
}

void SetTooltip(QObject* control, int button, const QString& text) {
    auto* bar = qobject_cast<QToolBar*>(control);
    if (!bar)
        return;
    const QList<QAction*> actions = bar->actions();
    if (button < 1 || button > actions.size())
        return;
    actions[button - 1]->setText(text);
    actions[button - 1]->setToolTip(text);
}

void SetListItem(QObject* control, int item, const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(control);
    if (!combo)
        return;
    if (item < combo->count()) {
        combo->setItemText(item, text);
    } else {
        // A list filled by the pass itself grows to the entry's position.
        while (combo->count() < item)
            combo->addItem(QString());
        combo->addItem(text);
    }
}

void SetHeaderCell(QObject* control, int column, const QString& text) {
    auto* grid = qobject_cast<QTableWidget*>(control);
    if (!grid || grid->rowCount() == 0 || column >= grid->columnCount())
        return;
    QTableWidgetItem* item = grid->item(0, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid->setItem(0, column, item);
    }
    item->setText(text);
}

void Apply(QWidget* window, const TextEntry& e, int language) {
    QObject* control = FindControl(window, QString::fromLatin1(e.control));
    if (!control)
        return;
    const QString text = e.text.text(language);
    switch (e.kind) {
    case TextKind::WindowCaption:
        window->setWindowTitle(text);
        break;
    case TextKind::Caption:
        SetCaption(control, text);
        break;
    case TextKind::Tooltip:
        SetTooltip(control, e.index, text);
        break;
    case TextKind::ListItem:
        SetListItem(control, e.index, text);
        break;
    case TextKind::HeaderCell:
        SetHeaderCell(control, e.index, text);
        break;
    case TextKind::Generated:
        for (int i = 0; i < e.count; ++i)
            SetListItem(control, e.index + i, e.generate(e.index + i, language));
        break;
    }
}

} // namespace

void SetControlIndex(QObject* control, int index) {
    control->setProperty(kIndexProperty, index);
}

namespace {

// The objects of a window with a name, breadth first, without looking into the dialogs the
// window owns: they are windows of their own and reuse the same control names.
QList<QObject*> Named(QWidget* window, const QString& name) {
    QList<QObject*> found;
    QList<QObject*> queue{window};
    while (!queue.isEmpty()) {
        QObject* o = queue.takeFirst();
        for (QObject* child : o->children()) {
            if (qobject_cast<QDialog*>(child))
                continue;
            if (child->objectName() == name)
                found << child;
            queue << child;
        }
    }
    return found;
}

} // namespace

QObject* FindControl(QWidget* window, const QString& control) {
    if (!window)
        return nullptr;
    if (control.isEmpty())
        return window;
    const qsizetype paren = control.indexOf(u'(');
    const QString name = paren < 0 ? control : control.left(paren);
    const QList<QObject*> all = Named(window, name);
    if (paren < 0)
        return all.isEmpty() ? nullptr : all.front();
    const int index = control.mid(paren + 1).chopped(1).toInt();
    for (QObject* o : all)
        if (o->property(kIndexProperty).toInt() == index)
            return o;
    return nullptr;
}

void ApplyLanguage(int language, const WindowLookup& lookup) {
    if (language != 0 && language != 1)
        return;
    for (const WindowTexts& w : AllWindowTexts()) {
        QWidget* window = lookup(QString::fromLatin1(w.window));
        if (!window)
            continue;
        for (const TextEntry& e : w.entries)
            Apply(window, e, language);
    }
}

} // namespace tr640

#pragma once

#include <QString>
#include <functional>

class QObject;
class QWidget;

namespace tr640 {

// Finds (and, for a dialog not made yet, creates) a window by its object name.
using WindowLookup = std::function<QWidget*(const QString& window)>;

// Writes the texts of a language (0 Chinese, 1 English) into every window, in table order.
// Any other language value writes nothing.
void ApplyLanguage(int language, const WindowLookup& lookup);

// The control of a window named as in the text tables ("Combo2", "Combo5(5)"); the window
// itself for an empty name.
QObject* FindControl(QWidget* window, const QString& control);

// Marks a widget as element `index` of the control array named by its object name.
void SetControlIndex(QObject* control, int index);

} // namespace tr640

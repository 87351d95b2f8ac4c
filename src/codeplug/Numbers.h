#pragma once

#include <QString>
#include <QStringView>

namespace tr640 {

// The number a text starts with, as a user of the radio's tables means it: optional blanks and
// sign, digits, an optional "." with digits. A text without a leading number is 0.
double LeadingNumber(QStringView text);

// True when the whole text (blanks around it allowed) is a decimal number such as "435",
// "435.0137" or ".5".
bool IsNumeric(QStringView text);

// The value of a text field that holds a whole number; 0 for an empty or non-numeric text.
// Values beyond the int range are clamped.
int WholeNumber(QStringView text);

// Fixed-point formatting: value with the given number of decimals ("0.00000" is 5).
QString FormatFixed(double value, int decimals);

} // namespace tr640

#pragma once

#include <QString>

// A typed name that is a key (a plant, a mixture, a gradation standard, a
// register entry) is never cut to fit its column: two long names that share
// their beginning would become one record, the second overwriting the first.
// A name that does not fit is refused with a message that says how long it
// may be, in characters as the user counts them.

// Characters as the user counts them: a character outside the basic plane
// (𠮷) is one.
int CharacterCount(const QString& text);

// "<field>が長すぎます。" with the limit, e.g. "合材名は64文字までです。".
QString TooLongMessage(const QString& field, int maxChars);
// For a field of `maxBytes` Shift-JIS bytes, where a full-width character
// takes two: "…全角16文字（半角32文字）までです。".
QString TooLongShiftJisMessage(const QString& field, int maxBytes);

// False, after a beep and TooLongMessage, when `name` has more than
// `maxChars` characters.
bool NameFits(const QString& name, int maxChars, const QString& field);

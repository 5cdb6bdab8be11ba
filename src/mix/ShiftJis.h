#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Texts in the files shared with the mix design software are Shift-JIS as
// Windows writes it (code page 932), on every platform.

// Decodes the bytes; bytes that are no valid character become replacement
// characters, an incomplete last character is dropped.
QString FromShiftJis(QByteArrayView bytes);

// Encodes at most `maxBytes` bytes: a character that would not fit whole is
// left out with everything after it, so a double-byte character is never
// split. Characters typed in the JIS forms that code page 932 reads otherwise
// (WAVE DASH, MINUS SIGN, ...) are written as code page 932's form. A text
// with a character that has no form at all fails with an EKanmuriError
// naming it (UnwritableMessage), so nothing is ever stored as "?".
QByteArray ToShiftJis(QStringView text, qsizetype maxBytes);

// The first character of `text` that ToShiftJis refuses; empty when there is
// none.
QString UnwritableCharacter(QStringView text);
// The user's message about such a character, with the name of the field it
// was typed into when given.
QString UnwritableMessage(const QString& character, const QString& field = QString());

// The bytes the text takes in Shift-JIS; a character without a form counts
// as two, as a full-width character.
qsizetype ShiftJisLength(QStringView text);

// The text as it reads back after ToShiftJis(text, maxBytes).
QString FitShiftJis(QStringView text, qsizetype maxBytes);

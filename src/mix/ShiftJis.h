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
// split. Characters that code page 932 lacks are written as "?".
QByteArray ToShiftJis(QStringView text, qsizetype maxBytes);

// The text as it reads back after ToShiftJis(text, maxBytes).
QString FitShiftJis(QStringView text, qsizetype maxBytes);

#include "mix/ShiftJis.h"

#include "foundation/EKanmuriError.h"

#include <QList>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <QStringDecoder>
#include <QStringEncoder>
#endif

namespace {

#ifdef Q_OS_WIN

constexpr UINT kCodePage = 932;

// Empty when the code page has no such character.
QByteArray EncodeCharacter(QStringView character)
{
    char buffer[8];
    BOOL usedDefault = FALSE;
    const int size = WideCharToMultiByte(
        kCodePage, WC_NO_BEST_FIT_CHARS, reinterpret_cast<LPCWCH>(character.utf16()),
        int(character.size()), buffer, int(sizeof buffer), nullptr, &usedDefault);
    if (size <= 0 || usedDefault)
        return {};
    return QByteArray(buffer, size);
}

QString Decode(QByteArrayView bytes)
{
    const int size = MultiByteToWideChar(kCodePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(kCodePage, 0, bytes.data(), int(bytes.size()),
                        reinterpret_cast<LPWSTR>(text.data()), size);
    return text;
}

#else

// ICU knows code page 932 under these names; the first it accepts is used.
const char* CodecName()
{
    static const char* name = [] {
        for (const char* candidate : {"cp932", "windows-31j", "Shift_JIS"}) {
            if (QStringEncoder(candidate).isValid())
                return candidate;
        }
        return static_cast<const char*>(nullptr);
    }();
    if (!name)
        throw EKanmuriError(QStringLiteral(
            "Shift-JIS の文字変換が使えないため、プラントのデータを読み書きできません。"));
    return name;
}

QByteArray EncodeCharacter(QStringView character)
{
    // A fresh encoder per character, since its error state cannot be reset.
    QStringEncoder encoder(CodecName(), QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder(character);
    return encoder.hasError() ? QByteArray() : bytes;
}

QString Decode(QByteArrayView bytes)
{
    QStringDecoder decoder(CodecName(), QStringConverter::Flag::Stateless);
    return decoder(bytes);
}

#endif

// Characters that Unicode's JIS X 0208 and JIS X 0201 tables (and so Linux
// input methods) give for a code that code page 932 reads as another
// character: written as that code, they read back as code page 932's form.
char16_t Cp932Form(char16_t c)
{
    switch (c) {
    case 0x301C: // WAVE DASH
        return 0xFF5E;
    case 0x2016: // DOUBLE VERTICAL LINE
        return 0x2225;
    case 0x2212: // MINUS SIGN
        return 0xFF0D;
    case 0x2014: // EM DASH
        return 0x2015;
    case 0x00A2: // CENT SIGN
        return 0xFFE0;
    case 0x00A3: // POUND SIGN
        return 0xFFE1;
    case 0x00AC: // NOT SIGN
        return 0xFFE2;
    case 0x00A6: // BROKEN BAR
        return 0xFFE4;
    case 0x00A5: // YEN SIGN
        return 0xFFE5;
    case 0x203E: // OVERLINE
        return 0xFFE3;
    default:
        return c;
    }
}

qsizetype CharacterLength(QStringView text, qsizetype i)
{
    return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

// The bytes of the character at the start of `character` (one or two UTF-16
// units); empty when code page 932 has no form for it.
QByteArray EncodeOne(QStringView character)
{
    if (character.size() == 1) {
        const QChar form(Cp932Form(character[0].unicode()));
        return EncodeCharacter(QStringView(&form, 1));
    }
    return EncodeCharacter(character);
}

} // namespace

QString UnwritableCharacter(QStringView text)
{
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = CharacterLength(text, i);
        if (EncodeOne(text.mid(i, length)).isEmpty())
            return text.mid(i, length).toString();
        i += length;
    }
    return QString();
}

QString UnwritableMessage(const QString& character, const QString& field)
{
    const char32_t code = character.toUcs4().value(0);
    // A character that shows nothing is named by its code as well.
    const bool visible = QChar::isPrint(code) && !QChar::isSpace(code);
    QString text = QStringLiteral("「%1」").arg(character);
    if (!visible)
        text += QStringLiteral("(文字コード U+%1)")
                    .arg(QString::number(code, 16).toUpper().rightJustified(4, u'0'));
    text += QStringLiteral("は保存できない文字です。");
    if (!field.isEmpty())
        text += QStringLiteral("(%1)").arg(field);
    return text + QStringLiteral("\n別の文字に直してください。");
}

QString FromShiftJis(QByteArrayView bytes)
{
    return bytes.isEmpty() ? QString() : Decode(bytes);
}

QByteArray ToShiftJis(QStringView text, qsizetype maxBytes)
{
    if (const QString character = UnwritableCharacter(text); !character.isEmpty())
        throw EKanmuriError(UnwritableMessage(character));
    QByteArray result;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = CharacterLength(text, i);
        const QByteArray bytes = EncodeOne(text.mid(i, length));
        if (result.size() + bytes.size() > maxBytes)
            break;
        result += bytes;
        i += length;
    }
    return result;
}

qsizetype ShiftJisLength(QStringView text)
{
    qsizetype size = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = CharacterLength(text, i);
        const qsizetype bytes = EncodeOne(text.mid(i, length)).size();
        size += bytes > 0 ? bytes : 2;
        i += length;
    }
    return size;
}

QString FitShiftJis(QStringView text, qsizetype maxBytes)
{
    return FromShiftJis(ToShiftJis(text, maxBytes));
}

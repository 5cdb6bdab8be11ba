#include "mix/ShiftJis.h"

#include "foundation/EKanmuriError.h"

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

} // namespace

QString FromShiftJis(QByteArrayView bytes)
{
    return bytes.isEmpty() ? QString() : Decode(bytes);
}

QByteArray ToShiftJis(QStringView text, qsizetype maxBytes)
{
    QByteArray result;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2
                                                                                             : 1;
        QByteArray bytes = EncodeCharacter(text.mid(i, length));
        if (bytes.isEmpty())
            bytes = QByteArrayLiteral("?");
        if (result.size() + bytes.size() > maxBytes)
            break;
        result += bytes;
        i += length;
    }
    return result;
}

QString FitShiftJis(QStringView text, qsizetype maxBytes)
{
    return FromShiftJis(ToShiftJis(text, maxBytes));
}

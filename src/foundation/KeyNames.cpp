#include "foundation/KeyNames.h"

#include "foundation/TPrompt.h"

namespace {

QString TooLong(const QString& field, const QString& limit)
{
    return QStringLiteral("%1が長すぎます。\n%1は%2までです。短くしてください。").arg(field, limit);
}

} // namespace

int CharacterCount(const QString& text)
{
    return int(text.toUcs4().size());
}

QString TooLongMessage(const QString& field, int maxChars)
{
    return TooLong(field, QStringLiteral("%1文字").arg(maxChars));
}

QString TooLongShiftJisMessage(const QString& field, int maxBytes)
{
    return TooLong(field,
                   QStringLiteral("全角%1文字（半角%2文字）").arg(maxBytes / 2).arg(maxBytes));
}

bool NameFits(const QString& name, int maxChars, const QString& field)
{
    if (CharacterCount(name) <= maxChars)
        return true;
    TPrompt::Beep();
    TPrompt::Message(TooLongMessage(field, maxChars));
    return false;
}

#include "store/Digits.h"

#include "foundation/Conversions.h"
#include "foundation/EKanmuriError.h"
#include "foundation/Settings.h"

namespace {

struct TDigitsKey
{
    int key;
    const char* fallback;
};

// Setting number and default of each grid column: the length and the width
// come first, then grid columns 1 to 11.
constexpr TDigitsKey kLength{12, "1"};
constexpr TDigitsKey kWidth{13, "1"};
constexpr TDigitsKey kColumns[11] = {{1, "1"}, {2, "1"}, {3, "3"}, {4, "3"},  {5, "3"}, {6, "1"},
                                     {7, "4"}, {8, "4"}, {9, "1"}, {10, "4"}, {11, "4"}};
// First value position of each grid column; the next column starts where it
// ends.
constexpr int kColumnStart[12] = {2, 4, 6, 8, 11, 13, 16, 20, 23, 26, 30, 33};

TDigitsKey KeyOf(int position)
{
    if (position < 0 || position >= kDigitsPositions)
        throw EKanmuriError(
            QStringLiteral("桁数の位置 %1 は 0 から 32 の範囲にありません。").arg(position));
    if (position == 0)
        return kLength;
    if (position == 1)
        return kWidth;
    int column = 0;
    while (position >= kColumnStart[column + 1])
        ++column;
    return kColumns[column];
}

QString SettingName(const TDigitsKey& key)
{
    return QStringLiteral("HojituKetasu%1").arg(key.key);
}

// The stored text, with the default written back when it is empty.
QString StoredDigits(int position)
{
    const TDigitsKey key = KeyOf(position);
    const QString name = SettingName(key);
    const QString text = ReadSetting(name);
    if (!text.trimmed().isEmpty())
        return text;
    WriteSetting(name, QString::fromLatin1(key.fallback));
    return QString::fromLatin1(key.fallback);
}

} // namespace

QString DigitsSettingName(int position)
{
    return SettingName(KeyOf(position));
}

QString DigitsDefault(int position)
{
    return QString::fromLatin1(KeyOf(position).fallback);
}

void EnsureDigitsSettings()
{
    for (int position = 0; position < kDigitsPositions; ++position)
        StoredDigits(position);
}

int DigitsOf(const QString& text)
{
    const QString digits = text.trimmed();
    bool whole = !digits.isEmpty() && digits.size() <= 3;
    for (const QChar c : digits)
        whole = whole && c >= u'0' && c <= u'9';
    const int value = whole ? digits.toInt() : -1;
    return value > kMaxDigits ? -1 : value;
}

int Digits(int position)
{
    const QString text = StoredDigits(position);
    const int value = DigitsOf(text);
    if (value < 0)
        throw ESettingsError(
            QStringLiteral("桁数の設定 \"%1\" の値 \"%2\" は 0 から %3 までの整数ではありません。"
                           "「項目別桁数の設定」で直してください。")
                .arg(DigitsSettingName(position), text)
                .arg(kMaxDigits));
    return value;
}

TDigitTable AllDigits()
{
    TDigitTable digits{};
    for (int position = 0; position < kDigitsPositions; ++position)
        digits[size_t(position)] = Digits(position);
    return digits;
}

QString DigitsFormat(int position)
{
    return QStringLiteral("%1.") + QString::number(Digits(position)) + QStringLiteral("f");
}

QString FormatDigits(int position, double value)
{
    return FormatFixed(value, Digits(position));
}

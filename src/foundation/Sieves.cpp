#include "foundation/Sieves.h"

#include "foundation/Conversions.h"

#include <cmath>

namespace {

constexpr int kSieveCount = 19;

const char* const kLabels[kSieveCount] = {
    "106.0", "75.0", "63.0", "53.0",  "37.5",  "31.5",  "26.5",  "19.0",  "13.2", "9.5",
    "4.75",  "2.36", "1.18", "0.600", "0.425", "0.300", "0.150", "0.075", "受皿"};

} // namespace

void SieveLabel(int number, QString& label)
{
    if (number >= 1 && number <= kSieveCount)
        label = QString::fromUtf8(kLabels[number - 1]);
}

double SieveSize(int number)
{
    QString label;
    SieveLabel(number, label);
    return FloatOrZero(label);
}

QString SieveDisplayLabel(int number)
{
    QString label;
    SieveLabel(number, label);
    const double size = SieveSize(number);
    if (size > 0 && size < 1)
        return QString::number(std::lround(size * 1000)) + QStringLiteral("μ");
    return label;
}

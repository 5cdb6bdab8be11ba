#include "foundation/Conversions.h"

#include "foundation/DateTime.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kNoLimit = 1e12;

// A strict decimal number: optional sign, digits with at most one point,
// optional exponent. Nothing else, not even blanks.
bool ReadStrict(const QString& text, double& value)
{
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return false;
    // The C locale would otherwise read "1,234" as 1234.
    static const QLocale strict = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        return c;
    }();
    bool ok = false;
    value = strict.toDouble(text, &ok);
    return ok && std::isfinite(value);
}

double StrictOr(const QString& text, double fallback)
{
    double v = 0;
    return ReadStrict(text, v) ? v : fallback;
}

} // namespace

double NumberOrZero(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    QString kept;
    for (QChar c : trimmed) {
        // Full-width digits, point and minus (an input method left on) are
        // the number they show, not nothing.
        if (c >= u'０' && c <= u'９')
            c = QChar(u'0' + (c.unicode() - u'０'));
        else if (c == u'．')
            c = u'.';
        else if (c == u'－' || c == u'−')
            c = u'-';
        if (c == u'-' || c == u'.' || (c >= u'0' && c <= u'9'))
            kept += c;
    }
    return StrictOr(kept, 0);
}

double FloatOrZero(const QString& text)
{
    return StrictOr(text, 0);
}

int IntegerOrZero(const QString& text)
{
    // QString::toInt would skip blanks around the number.
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return 0;
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    return ok ? v : 0;
}

double DateOrZero(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0;
    TDateTime value = 0;
    return TryStrToDate(trimmed, value) ? value : 0;
}

double RoundUp(int n, double x)
{
    const double scale = std::pow(10.0, n);
    return std::trunc(x * scale + 0.99999) / scale;
}

double RangeUpper(const QString& text)
{
    const qsizetype bar = text.indexOf(u'_');
    if (bar < 0)
        return StrictOr(text, kNoLimit);
    if (bar == 0)
        return StrictOr(text.mid(1), kNoLimit);
    if (bar == text.size() - 1)
        return kNoLimit;
    return std::max(StrictOr(text.left(bar), kNoLimit), StrictOr(text.mid(bar + 1), kNoLimit));
}

double RangeLower(const QString& text)
{
    const qsizetype bar = text.indexOf(u'_');
    if (bar < 0)
        return StrictOr(text, -kNoLimit);
    if (bar == 0)
        return -kNoLimit;
    if (bar == text.size() - 1)
        return StrictOr(text.left(bar), kNoLimit);
    return std::min(StrictOr(text.left(bar), kNoLimit), StrictOr(text.mid(bar + 1), kNoLimit));
}

QString CodeOf(const QString& text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon < 0)
        return text;
    return text.left(colon);
}

QString NameOf(const QString& text)
{
    const qsizetype colon = text.indexOf(u':');
    if (colon <= 0)
        return QString();
    return text.mid(colon + 1);
}

QString TextBefore(const QString& text, const QString& separator)
{
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? QString() : text.left(at);
}

QString TextAfter(const QString& text, const QString& separator)
{
    const qsizetype at = text.indexOf(separator);
    return at < 0 ? text : text.mid(at + separator.size());
}

namespace {

// Rounds the decimal digits `number`, of which the first `whole` stand before
// the point, half away from zero to `decimals` places (never pads).
void RoundDecimalDigits(QString& number, qsizetype& whole, int decimals)
{
    if (number.size() <= whole + decimals)
        return;
    bool up = number[whole + decimals] >= u'5';
    number.truncate(whole + decimals);
    for (qsizetype i = number.size() - 1; up && i >= 0; --i) {
        if (number[i] == u'9') {
            number[i] = u'0';
        } else {
            number[i] = QChar(number[i].unicode() + 1);
            up = false;
        }
    }
    if (up) {
        number.prepend(u'1');
        ++whole;
    }
}

} // namespace

QString FormatFixed(double value, int digits)
{
    digits = std::max(0, digits);
    if (!std::isfinite(value))
        return QString::number(value, 'f', digits);
    // Rounded as the decimal number the user typed or sees, half away from
    // zero: the value is first taken to 15 significant digits (all that a
    // double holds), then to 9 places beyond those shown, which takes away
    // what a subtraction leaves of binary error. So 2.675 gives 2.68, -0.125
    // gives -0.13 and 37.2 - 38.1875 gives -0.988, although their doubles
    // lie just below the tie.
    const QString scientific = QString::asprintf("%.14e", std::fabs(value));
    const qsizetype e = scientific.indexOf(u'e');
    const QString significant = scientific.left(1) + scientific.mid(2, e - 2);
    const int exponent = scientific.mid(e + 1).toInt();
    QString number;
    qsizetype whole = 0;
    if (exponent >= 0) {
        number = significant.leftJustified(exponent + 1, u'0');
        whole = exponent + 1;
    } else {
        number = QString(-exponent, u'0') + significant;
        whole = 1;
    }
    RoundDecimalDigits(number, whole, digits + 9);
    RoundDecimalDigits(number, whole, digits);
    number = number.leftJustified(whole + digits, u'0');
    QString result = digits > 0 ? number.left(whole) + u'.' + number.mid(whole) : number;
    // "-0.0" is shown as "0.0", as the sheets always have.
    const bool zero =
        std::all_of(number.cbegin(), number.cend(), [](QChar c) { return c == u'0'; });
    if (value < 0 && !zero)
        result.prepend(u'-');
    return result;
}

QString FormatGeneral(double value)
{
    return QString::number(value, 'g', 15);
}

#include "foundation/DateTime.h"

#include <QRegularExpression>
#include <cmath>
#include <cstdlib>

namespace {

const QDate kOrigin(1899, 12, 30);
constexpr qint64 kMsPerDay = 24LL * 60 * 60 * 1000;

} // namespace

TDateTime Now()
{
    return FromQDateTime(QDateTime::currentDateTime());
}

TDateTime EncodeDate(int year, int month, int day)
{
    return FromQDate(QDate(year, month, day));
}

TDateTime FromQDate(const QDate& value)
{
    return value.isValid() ? double(kOrigin.daysTo(value)) : 0.0;
}

TDateTime FromQDateTime(const QDateTime& value)
{
    if (!value.isValid())
        return 0.0;
    const double days = FromQDate(value.date());
    const double fraction = double(value.time().msecsSinceStartOfDay()) / double(kMsPerDay);
    // Before the origin the fraction still counts forward from the day's start.
    return days >= 0 ? days + fraction : days - fraction;
}

QDate ToQDate(TDateTime value)
{
    return kOrigin.addDays(qint64(std::trunc(value)));
}

QDateTime ToQDateTime(TDateTime value)
{
    const double whole = std::trunc(value);
    const qint64 ms = qint64(std::llround(std::fabs(value - whole) * double(kMsPerDay)));
    return QDateTime(ToQDate(value),
                     QTime::fromMSecsSinceStartOfDay(int(std::min(ms, kMsPerDay - 1))));
}

int MonthOf(TDateTime value)
{
    return ToQDate(value).month();
}

int DayOf(TDateTime value)
{
    return ToQDate(value).day();
}

QString FormatDate(TDateTime value)
{
    const QDate d = ToQDate(value);
    if (!d.isValid())
        return QString();
    return QString::asprintf("%04d/%02d/%02d", d.year(), d.month(), d.day());
}

bool TryStrToDate(const QString& text, TDateTime& value)
{
    return TryStrToDate(text, value, QDate::currentDate());
}

bool TryStrToDate(const QString& text, TDateTime& value, const QDate& today)
{
    static const QRegularExpression full(
        QStringLiteral("^\\s*(\\d{1,4})/(\\d{1,2})/(\\d{1,2})\\s*$"));
    static const QRegularExpression short_(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})\\s*$"));
    int year = 0, month = 0, day = 0;
    if (auto m = full.match(text); m.hasMatch()) {
        year = m.captured(1).toInt();
        // Two-digit years are read in the century window around today.
        if (m.captured(1).size() <= 2) {
            const int now = today.year();
            year += now / 100 * 100;
            if (year > now + 50)
                year -= 100;
        }
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else if (auto s = short_.match(text); s.hasMatch()) {
        month = s.captured(1).toInt();
        day = s.captured(2).toInt();
        // Of last, this and next year's date, the nearest; a tie goes to the
        // earlier, since days are mostly entered after they were paved.
        qint64 nearest = -1;
        for (int candidate : {today.year() - 1, today.year(), today.year() + 1}) {
            const QDate date(candidate, month, day);
            const qint64 distance = date.isValid() ? std::abs(today.daysTo(date)) : -1;
            if (distance >= 0 && (nearest < 0 || distance < nearest)) {
                nearest = distance;
                year = candidate;
            }
        }
        if (nearest < 0)
            return false;
    } else {
        return false;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    value = FromQDate(date);
    return true;
}

QString DateTimeToSqlText(TDateTime value)
{
    const QDateTime dt = ToQDateTime(value);
    const QDate d = dt.date();
    const QTime t = dt.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(),
                             t.hour(), t.minute(), t.second());
}

namespace {

// Reads `count` digits at `at`; -1 when one is not a digit.
int Digits(const QString& text, int at, int count)
{
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

TDateTime SqlTextToDateTime(const QString& text)
{
    // Lists of a whole data folder read every stored date: the form this
    // program writes is read directly, anything else through the parser.
    if (text.size() == 19 && text[4] == u'-' && text[7] == u'-' && text[10] == u' ' &&
        text[13] == u':' && text[16] == u':') {
        const QDate date(Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2));
        const int h = Digits(text, 11, 2), m = Digits(text, 14, 2), sec = Digits(text, 17, 2);
        if (date.isValid() && h >= 0 && h < 24 && m >= 0 && m < 60 && sec >= 0 && sec < 60) {
            const double days = FromQDate(date);
            const double fraction = ((h * 60 + m) * 60 + sec) * 1000.0 / double(kMsPerDay);
            return days >= 0 ? days + fraction : days - fraction;
        }
    }
    const QString t = text.trimmed();
    QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    if (!dt.isValid())
        dt = QDateTime::fromString(t, Qt::ISODate);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
        if (!d.isValid())
            return 0.0;
        return FromQDate(d);
    }
    return FromQDateTime(dt);
}

#include "foundation/DateTime.h"

#include <QRegularExpression>
#include <cmath>

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
    return ToQDate(value).toString(QStringLiteral("yyyy/MM/dd"));
}

bool TryStrToDate(const QString& text, TDateTime& value)
{
    static const QRegularExpression full(
        QStringLiteral("^\\s*(\\d{1,4})/(\\d{1,2})/(\\d{1,2})\\s*$"));
    static const QRegularExpression short_(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})\\s*$"));
    int year = 0, month = 0, day = 0;
    if (auto m = full.match(text); m.hasMatch()) {
        year = m.captured(1).toInt();
        // Two-digit years are read in the century window around today.
        if (m.captured(1).size() <= 2) {
            const int now = QDate::currentDate().year();
            year += now / 100 * 100;
            if (year > now + 50)
                year -= 100;
        }
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else if (auto s = short_.match(text); s.hasMatch()) {
        year = QDate::currentDate().year();
        month = s.captured(1).toInt();
        day = s.captured(2).toInt();
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
    return ToQDateTime(value).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

TDateTime SqlTextToDateTime(const QString& text)
{
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

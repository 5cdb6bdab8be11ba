#pragma once

// Writes Paradox tables with pxlib, as an office's earlier program left them,
// for the import's tests and benchmark: texts in Shift-JIS, dates as Paradox
// counts them.

#include "foundation/TDatabase.h"
#include "mix/ShiftJis.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <cstring>
#include <stdexcept>

extern "C" {
#include <paradox.h>
}

struct TParadoxColumn
{
    QString name;
    char type; // pxfAlpha, pxfLong, pxfShort, pxfNumber, pxfLogical, pxfDate, pxfTimestamp
    int length;
};

// The column the earlier program had for one of ours.
inline TParadoxColumn ParadoxColumnFor(const TFieldDef& field)
{
    switch (field.type) {
    case TFieldType::Integer:
        return {field.name, pxfLong, 4};
    case TFieldType::Float:
        return {field.name, pxfNumber, 8};
    case TFieldType::DateTime:
        return {field.name, pxfTimestamp, 8};
    case TFieldType::Boolean:
        return {field.name, pxfLogical, 1};
    case TFieldType::String:
        break;
    }
    return {field.name, pxfAlpha, field.size > 0 ? std::min(field.size, 255) : 32};
}

// Streams rows into a new table file.
class TParadoxWriter
{
public:
    TParadoxWriter(const QString& file, const QList<TParadoxColumn>& columns) : m_columns(columns)
    {
        static const bool booted = [] {
            PX_boot();
            return true;
        }();
        (void)booted;
        m_doc = PX_new();
        auto* fields = static_cast<pxfield_t*>(
            m_doc->malloc(m_doc, columns.size() * sizeof(pxfield_t), "fields"));
        for (int i = 0; i < columns.size(); ++i) {
            fields[i].px_fname = PX_strdup(m_doc, columns[i].name.toLatin1().constData());
            fields[i].px_ftype = columns[i].type;
            fields[i].px_flen = columns[i].length;
            fields[i].px_fdc = 0;
            m_size += columns[i].length;
        }
        if (PX_create_file(m_doc, fields, int(columns.size()), QFile::encodeName(file).constData(),
                           pxfFileTypNonIndexDB) < 0)
            throw std::runtime_error("cannot create the Paradox file");
    }
    ~TParadoxWriter()
    {
        PX_close(m_doc);
        PX_delete(m_doc);
    }

    // One value per column; an invalid QVariant leaves the field empty.
    void Add(const QVariantList& values)
    {
        QByteArray record(m_size, '\0');
        char* at = record.data();
        for (int i = 0; i < m_columns.size(); ++i) {
            const TParadoxColumn& column = m_columns[i];
            const QVariant& value = values.value(i);
            if (value.isValid())
                Put(column, value, at);
            at += column.length;
        }
        PX_put_record(m_doc, record.data());
    }

    // Paradox's day number of a date (1 January of the year 1 is day 1).
    static long Day(const QDate& date) { return long(date.toJulianDay() - 1721425); }

private:
    void Put(const TParadoxColumn& column, const QVariant& value, char* at)
    {
        switch (column.type) {
        case pxfAlpha: {
            QByteArray bytes = ToShiftJis(value.toString(), column.length);
            bytes.append('\0');
            PX_put_data_alpha(m_doc, at, column.length, bytes.data());
            break;
        }
        case pxfLong:
            PX_put_data_long(m_doc, at, column.length, int(value.toLongLong()));
            break;
        case pxfShort:
            PX_put_data_short(m_doc, at, column.length, short(value.toInt()));
            break;
        case pxfNumber:
            PX_put_data_double(m_doc, at, column.length, value.toDouble());
            break;
        case pxfLogical:
            PX_put_data_byte(m_doc, at, column.length, value.toBool() ? 1 : 0);
            break;
        case pxfDate:
            PX_put_data_long(m_doc, at, column.length, int(Day(value.toDate())));
            break;
        case pxfTimestamp: {
            const QDateTime time = value.toDateTime();
            PX_put_data_double(m_doc, at, column.length,
                               double(Day(time.date())) * 86400000.0 +
                                   time.time().msecsSinceStartOfDay());
            break;
        }
        default:
            break;
        }
    }

    QList<TParadoxColumn> m_columns;
    pxdoc_t* m_doc = nullptr;
    int m_size = 0;
};

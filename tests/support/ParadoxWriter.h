#pragma once

// Writes Paradox tables with pxlib, as an office's earlier program left them,
// for the import's tests, the fuzz tests and the benchmark: texts in the
// table's code page (Shift-JIS unless told), dates as Paradox counts them,
// version 7 or 3.5 headers.

#include "foundation/TDatabase.h"
#include "mix/ShiftJis.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringEncoder>
#include <QTime>
#include <QVariant>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <stdexcept>

extern "C" {
#include <paradox.h>
}

struct TParadoxColumn
{
    QString name;
    char type;        // pxfAlpha, pxfLong, pxfShort, pxfNumber, pxfBCD, ...
    int length;       // bytes in the record (17 for BCD)
    int decimals = 0; // of a BCD column
};

// The column the earlier program had for one of ours.
inline TParadoxColumn ParadoxColumnFor(const TFieldDef& field)
{
    switch (field.type) {
    case TFieldType::Integer:
        return {field.name, pxfLong, 4, 0};
    case TFieldType::Float:
        return {field.name, pxfNumber, 8, 0};
    case TFieldType::DateTime:
        return {field.name, pxfTimestamp, 8, 0};
    case TFieldType::Boolean:
        return {field.name, pxfLogical, 1, 0};
    case TFieldType::String:
        break;
    }
    return {field.name, pxfAlpha, field.size > 0 ? std::min(field.size, 255) : 32, 0};
}

struct TParadoxOptions
{
    // The code page the header names; 0 names none (the reader then takes
    // Shift-JIS, as it does for version 3.5, which has no place for it).
    int codePage = 932;
    bool version35 = false;
};

// Streams rows into a new table file.
class TParadoxWriter
{
public:
    TParadoxWriter(const QString& file, const QList<TParadoxColumn>& columns,
                   const TParadoxOptions& options = {})
        : m_file(file), m_columns(columns), m_options(options)
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
            fields[i].px_fname =
                PX_strdup(m_doc, Encoded(columns[i].name, 255).append('\0').constData());
            fields[i].px_ftype = columns[i].type;
            fields[i].px_flen = columns[i].length;
            fields[i].px_fdc = columns[i].decimals;
            m_size += columns[i].length;
        }
        if (PX_create_file(m_doc, fields, int(columns.size()), QFile::encodeName(file).constData(),
                           pxfFileTypNonIndexDB) < 0)
            throw std::runtime_error("cannot create the Paradox file");
    }
    ~TParadoxWriter() { Close(); }
    TParadoxWriter(const TParadoxWriter&) = delete;
    TParadoxWriter& operator=(const TParadoxWriter&) = delete;

    // One value per column; an invalid QVariant leaves the field empty, a
    // QByteArray is written as it is (as much of it as the field holds).
    void Add(const QVariantList& values)
    {
        QByteArray record(m_size, '\0');
        char* at = record.data();
        for (int i = 0; i < m_columns.size(); ++i) {
            const TParadoxColumn& column = m_columns[i];
            const QVariant& value = values.value(i);
            if (value.typeId() == QMetaType::QByteArray) {
                const QByteArray bytes = value.toByteArray();
                std::memcpy(at, bytes.constData(),
                            std::min<qsizetype>(bytes.size(), column.length));
            } else if (value.isValid()) {
                Put(column, value, at);
            }
            at += column.length;
        }
        PX_put_record(m_doc, record.data());
    }

    // Ends the file; the writer writes nothing more.
    void Close()
    {
        if (!m_doc)
            return;
        PX_close(m_doc);
        PX_delete(m_doc);
        m_doc = nullptr;
        Finish();
    }

    // Paradox's day number of a date (1 January of the year 1 is day 1).
    static long Day(const QDate& date) { return long(date.toJulianDay() - 1721425); }

    // `text` in the bytes of `codePage` (932 or 0: Shift-JIS), at most
    // `maxBytes` of them.
    static QByteArray Encode(const QString& text, int codePage, int maxBytes)
    {
        if (codePage == 0 || codePage == 932)
            return ToShiftJis(text, maxBytes);
        QStringEncoder encoder(QStringLiteral("windows-%1").arg(codePage).toLatin1().constData());
        if (!encoder.isValid())
            encoder = QStringEncoder(QStringLiteral("cp%1").arg(codePage).toLatin1().constData());
        QByteArray bytes = encoder(text);
        bytes.truncate(maxBytes);
        return bytes;
    }

private:
    QByteArray Encoded(const QString& text, int maxBytes) const
    {
        return Encode(text, m_options.version35 ? 932 : m_options.codePage, maxBytes);
    }

    void Put(const TParadoxColumn& column, const QVariant& value, char* at)
    {
        // Each value is made in a buffer of its type's size, so that a column
        // shorter than its type (a damaged table) is not written past.
        char buffer[17] = {};
        int size = 0;
        switch (column.type) {
        case pxfAlpha: {
            QByteArray bytes = Encoded(value.toString(), column.length);
            bytes.append('\0');
            PX_put_data_alpha(m_doc, at, column.length, bytes.data());
            return;
        }
        case pxfLong:
        case pxfAutoInc:
            PX_put_data_long(m_doc, buffer, 4, int(value.toLongLong()));
            size = 4;
            break;
        case pxfShort:
            PX_put_data_short(m_doc, buffer, 2, short(value.toInt()));
            size = 2;
            break;
        case pxfNumber:
        case pxfCurrency:
            PX_put_data_double(m_doc, buffer, 8, value.toDouble());
            size = 8;
            break;
        case pxfLogical:
            PX_put_data_byte(m_doc, buffer, 1, value.toBool() ? 1 : 0);
            size = 1;
            break;
        case pxfDate:
            PX_put_data_long(m_doc, buffer, 4, int(Day(value.toDate())));
            size = 4;
            break;
        case pxfTime:
            PX_put_data_long(m_doc, buffer, 4, value.toTime().msecsSinceStartOfDay());
            size = 4;
            break;
        case pxfTimestamp: {
            const QDateTime time = value.toDateTime();
            PX_put_data_double(m_doc, buffer, 8,
                               double(Day(time.date())) * 86400000.0 +
                                   time.time().msecsSinceStartOfDay());
            size = 8;
            break;
        }
        case pxfBCD: {
            // pxlib finds the digits by the decimal point.
            QByteArray text = value.toString().toLatin1();
            if (!text.contains('.'))
                text.append('.');
            PX_put_data_bcd(m_doc, buffer, column.decimals, text.data());
            size = 17;
            break;
        }
        default:
            return;
        }
        std::memcpy(at, buffer, std::min(size, column.length));
    }

    // What pxlib does not write: the code page, a BCD column's decimals
    // (its descriptor holds them instead of the length), the older layout.
    void Finish()
    {
        QFile file(m_file);
        if (!file.open(QIODevice::ReadWrite))
            return;
        QByteArray bytes = file.readAll();
        if (bytes.size() < 0x78)
            return;
        qToLittleEndian<quint16>(quint16(m_options.codePage), bytes.data() + 0x6A);
        for (int i = 0; i < m_columns.size(); ++i)
            if (m_columns[i].type == pxfBCD)
                bytes[0x78 + 2 * i + 1] = char(m_columns[i].decimals);
        if (m_options.version35)
            bytes = ToVersion35(bytes);
        file.resize(0);
        file.write(bytes);
    }

    // A version 3.5 table: no data header (the field descriptors follow the
    // common header at 0x58) and a table name of 79 bytes.
    static QByteArray ToVersion35(const QByteArray& table)
    {
        const int fields = qFromLittleEndian<quint16>(table.constData() + 0x21);
        const int headerSize = qFromLittleEndian<quint16>(table.constData() + 0x02);
        QByteArray header = table.left(0x58);
        header[0x39] = 4;
        // Not encrypted, in the older field (the newer one does not exist).
        qToLittleEndian<quint32>(0, header.data() + 0x25);
        int at = 0x78;
        // Descriptors, the table name's pointer, the field names' pointers.
        header += table.mid(at, fields * 6 + 4);
        at += fields * 6 + 4;
        QByteArray name = table.mid(at, 79);
        name[78] = '\0';
        header += name;
        at += 261;
        header += table.mid(at, headerSize - at);
        header.append(QByteArray(headerSize - header.size(), '\0'));
        return header + table.mid(headerSize);
    }

    QString m_file;
    QList<TParadoxColumn> m_columns;
    TParadoxOptions m_options;
    pxdoc_t* m_doc = nullptr;
    int m_size = 0;
};

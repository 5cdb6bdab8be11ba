#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

// A Paradox table file (".DB") of the program this one replaces, read record
// by record. Texts and column names are decoded by the code page the header
// names (932 for Japanese tables), Shift-JIS when it names none. A file that
// cannot be opened, whose header does not add up (cut short, overwritten), or
// whose columns are not laid out as their types need, is refused with an
// EKanmuriError naming it (and the column), before any record is read: the
// library underneath does not survive every damaged file.
class TParadoxTable
{
public:
    struct TField
    {
        QString Name;
        int Type = 0;     // the Paradox field type
        int Length = 0;   // bytes in the record
        int Decimals = 0; // of a BCD number
    };

    explicit TParadoxTable(const QString& file);
    ~TParadoxTable();
    TParadoxTable(const TParadoxTable&) = delete;
    TParadoxTable& operator=(const TParadoxTable&) = delete;

    // Whether this build can read Paradox files at all.
    static bool Available();

    QString File() const { return m_file; }
    const QList<TField>& Fields() const { return m_fields; }
    int RecordCount() const { return m_records; }
    // The code page the header names; 0 when it names none.
    int CodePage() const { return m_codePage; }

    // The values of record `index` (0-based), one per field: QString for
    // texts and BCD numbers ("-12.50", with the column's decimals), qlonglong for whole numbers,
    // double for numbers and currency, bool for logical fields, QDate, QTime and QDateTime; an
    // invalid QVariant for an empty field. Throws (naming the file, the record and the column) when
    // the record or one of its values cannot be read.
    QVariantList Record(int index);

private:
    struct TDocument;
    [[noreturn]] void Fail(const QString& why) const;
    QString Decoded(QByteArrayView bytes) const;

    QString m_file;
    QList<TField> m_fields;
    int m_records = 0;
    int m_recordSize = 0;
    int m_codePage = 0;
    std::unique_ptr<TDocument> m_document;
};

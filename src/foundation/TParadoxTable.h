#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

// A Paradox table file (".DB") of the program this one replaces, read record
// by record. Texts are Shift-JIS (code page 932), decoded here. A file that
// cannot be opened, or whose header does not add up (cut short, overwritten),
// is refused with an EKanmuriError naming it, before anything is read from
// it: the library underneath does not survive every damaged file.
class TParadoxTable
{
public:
    struct TField
    {
        QString Name;
        int Type = 0;   // the Paradox field type
        int Length = 0; // bytes in the record
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

    // The values of record `index` (0-based), one per field: QString for
    // texts and BCD numbers, qlonglong for whole numbers, double for
    // numbers and currency, bool for logical fields, QDate, QTime and
    // QDateTime; an invalid QVariant for an empty field. Throws (naming the
    // file) when the record cannot be read.
    QVariantList Record(int index);

private:
    struct TDocument;
    [[noreturn]] void Fail(const QString& why) const;

    QString m_file;
    QList<TField> m_fields;
    int m_records = 0;
    int m_recordSize = 0;
    std::unique_ptr<TDocument> m_document;
};

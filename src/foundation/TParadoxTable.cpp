#include "foundation/TParadoxTable.h"

#include "foundation/EKanmuriError.h"
#include "mix/ShiftJis.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTime>
#include <QtEndian>
#include <cstdlib>

#ifdef KANMURI_HAVE_PXLIB
extern "C" {
#include <paradox.h>
}
#endif

namespace {

// Paradox counts days from 1 January of the year 1 (day 1).
constexpr qint64 kJulianDayOfDayZero = 1721425;

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

#ifdef KANMURI_HAVE_PXLIB

struct TParadoxTable::TDocument
{
    pxdoc_t* doc = nullptr;
    QString error;
    ~TDocument()
    {
        if (doc) {
            PX_close(doc);
            PX_delete(doc);
        }
    }
};

namespace {

void RecordError(pxdoc_t*, int, const char* message, void* data)
{
    if (auto* error = static_cast<QString*>(data); error && message)
        *error = QString::fromLocal8Bit(message).trimmed();
}

// The header's own account of the file, checked against the file's size:
// what the library would otherwise read past the end of.
QString HeaderProblem(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("ファイルを開けません。");
    const qint64 size = f.size();
    const QByteArray head = f.read(0x78);
    if (head.size() < 0x78)
        return QStringLiteral("ファイルが短すぎます。");
    const auto u8 = [&](int at) { return quint8(head[at]); };
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(head.constData() + at); };
    const auto u32 = [&](int at) { return qFromLittleEndian<quint32>(head.constData() + at); };
    const int recordSize = u16(0x00);
    const int headerSize = u16(0x02);
    const int fileType = u8(0x04);
    const int maxTableSize = u8(0x05);
    const quint32 records = u32(0x06);
    const int fileBlocks = u16(0x0C);
    const int fields = u16(0x21);
    if (fileType != 0 && fileType != 2)
        return QStringLiteral("Paradox の表ではありません。");
    if (maxTableSize < 1 || maxTableSize > 32 || headerSize < 0x78 || headerSize > size)
        return QStringLiteral("見出しが壊れています。");
    const qint64 blockSize = qint64(maxTableSize) * 0x400;
    if (recordSize < 1 || recordSize > blockSize - 6 || fields < 1 || fields > 255)
        return QStringLiteral("見出しが壊れています。");
    if (headerSize + qint64(fileBlocks) * blockSize > size)
        return QStringLiteral("ファイルが途中で切れています。");
    if (records > quint32(fileBlocks) * quint32((blockSize - 6) / recordSize))
        return QStringLiteral("レコード数が合いません。");
    // An encrypted table reads as noise, and the library follows noise as
    // block numbers without end.
    // (0xFF00FF00 in the older field is what Paradox writes for "none".)
    if ((u32(0x25) != 0 && u32(0x25) != 0xFF00FF00u) || (u8(0x39) >= 4 && u32(0x5C) != 0))
        return QStringLiteral(
            "パスワードの付いた表です。Paradox でパスワードを外してから取り込んでください。");
    // The chain of data blocks, walked here first: the library walks it without
    // a guard against loops.
    const int firstBlock = u16(0x0E);
    QSet<int> seen;
    qint64 counted = 0;
    for (int block = firstBlock; block != 0;) {
        if (block > fileBlocks || seen.contains(block))
            return QStringLiteral("ブロックのつながりが壊れています。");
        seen.insert(block);
        if (!f.seek(headerSize + qint64(block - 1) * blockSize))
            return QStringLiteral("ファイルが途中で切れています。");
        const QByteArray blockHead = f.read(6);
        if (blockHead.size() < 6)
            return QStringLiteral("ファイルが途中で切れています。");
        const int next = qFromLittleEndian<quint16>(blockHead.constData());
        const int lastOffset = qFromLittleEndian<qint16>(blockHead.constData() + 4);
        if (lastOffset < -recordSize || lastOffset > blockSize - 6 - recordSize ||
            lastOffset % recordSize != 0)
            return QStringLiteral("ブロックの見出しが壊れています。");
        counted += lastOffset / recordSize + 1;
        block = next;
    }
    if (counted != qint64(records))
        return QStringLiteral("レコード数が合いません。");
    return QString();
}

QVariant Value(pxdoc_t* doc, const TParadoxTable::TField& field, char* data)
{
    // A field of zero bytes is empty in every type (a stored zero has its
    // sign bit set).
    bool empty = true;
    for (int i = 0; empty && i < field.Length; ++i)
        empty = data[i] == '\0';
    if (empty)
        return QVariant();
    switch (field.Type) {
    case pxfAlpha: {
        // The raw bytes, decoded here: the library's own conversion cannot
        // be trusted with Shift-JIS.
        int length = 0;
        while (length < field.Length && data[length] != '\0')
            ++length;
        if (length == 0)
            return QVariant();
        return FromShiftJis(QByteArrayView(data, length));
    }
    case pxfShort: {
        short value = 0;
        return PX_get_data_short(doc, data, field.Length, &value) > 0 ? QVariant(qlonglong(value))
                                                                      : QVariant();
    }
    case pxfLong:
    case pxfAutoInc: {
        long value = 0;
        return PX_get_data_long(doc, data, field.Length, &value) > 0 ? QVariant(qlonglong(value))
                                                                     : QVariant();
    }
    case pxfNumber:
    case pxfCurrency: {
        double value = 0;
        return PX_get_data_double(doc, data, field.Length, &value) > 0 ? QVariant(value)
                                                                       : QVariant();
    }
    case pxfLogical: {
        char value = 0;
        return PX_get_data_byte(doc, data, field.Length, &value) > 0 ? QVariant(value != 0)
                                                                     : QVariant();
    }
    case pxfDate: {
        long days = 0;
        if (PX_get_data_long(doc, data, field.Length, &days) <= 0)
            return QVariant();
        return QDate::fromJulianDay(days + kJulianDayOfDayZero);
    }
    case pxfTime: {
        long milliseconds = 0;
        if (PX_get_data_long(doc, data, field.Length, &milliseconds) <= 0)
            return QVariant();
        return QTime::fromMSecsSinceStartOfDay(int(milliseconds % 86400000));
    }
    case pxfTimestamp: {
        double milliseconds = 0;
        if (PX_get_data_double(doc, data, field.Length, &milliseconds) <= 0)
            return QVariant();
        const qint64 whole = qint64(milliseconds);
        const QDate day = QDate::fromJulianDay(whole / 86400000 + kJulianDayOfDayZero);
        return QDateTime(day, QTime::fromMSecsSinceStartOfDay(int(whole % 86400000)));
    }
    case pxfBCD: {
        char* text = nullptr;
        if (PX_get_data_bcd(doc, reinterpret_cast<unsigned char*>(data), field.Length, &text) <=
                0 ||
            !text)
            return QVariant();
        const QString value = QString::fromLatin1(text);
        doc->free(doc, text);
        return value;
    }
    default:
        // Memos, pictures and other binary fields have no column of ours.
        return QVariant();
    }
}

} // namespace

TParadoxTable::TParadoxTable(const QString& file)
    : m_file(file), m_document(std::make_unique<TDocument>())
{
    if (const QString problem = HeaderProblem(file); !problem.isEmpty())
        Fail(problem);
    static const bool booted = [] {
        PX_boot();
        return true;
    }();
    Q_UNUSED(booted);
    m_document->doc = PX_new3(RecordError, nullptr, nullptr, nullptr, &m_document->error);
    if (!m_document->doc)
        Fail(QStringLiteral("読み込みの準備ができません。"));
    if (PX_open_file(m_document->doc, QFile::encodeName(file).constData()) < 0)
        Fail(m_document->error.isEmpty() ? QStringLiteral("ファイルを開けません。")
                                         : m_document->error);
    const int count = PX_get_num_fields(m_document->doc);
    pxfield_t* fields = PX_get_fields(m_document->doc);
    m_recordSize = PX_get_recordsize(m_document->doc);
    m_records = PX_get_num_records(m_document->doc);
    if (count <= 0 || !fields || m_recordSize <= 0 || m_records < 0)
        Fail(QStringLiteral("見出しが壊れています。"));
    int total = 0;
    for (int i = 0; i < count; ++i) {
        const pxfield_t& f = fields[i];
        if (f.px_flen <= 0 || !f.px_fname)
            Fail(QStringLiteral("列の定義が壊れています。"));
        total += f.px_flen;
        m_fields.append({FromShiftJis(QByteArrayView(f.px_fname)), int(f.px_ftype), f.px_flen});
    }
    if (total != m_recordSize)
        Fail(QStringLiteral("列の長さとレコードの長さが合いません。"));
}

TParadoxTable::~TParadoxTable() = default;

bool TParadoxTable::Available()
{
    return true;
}

QVariantList TParadoxTable::Record(int index)
{
    QByteArray buffer(m_recordSize, '\0');
    if (!PX_get_record(m_document->doc, index, buffer.data()))
        Fail(QStringLiteral("%1 件目のレコードを読めません。").arg(index + 1));
    QVariantList values;
    values.reserve(m_fields.size());
    int offset = 0;
    for (const TField& field : m_fields) {
        values.append(Value(m_document->doc, field, buffer.data() + offset));
        offset += field.Length;
    }
    return values;
}

#else

struct TParadoxTable::TDocument
{
};

TParadoxTable::TParadoxTable(const QString& file) : m_file(file)
{
    Fail(QStringLiteral("この版の pTarmak は Paradox の表を読めません。"));
}

TParadoxTable::~TParadoxTable() = default;

bool TParadoxTable::Available()
{
    return false;
}

QVariantList TParadoxTable::Record(int)
{
    return {};
}

#endif

void TParadoxTable::Fail(const QString& why) const
{
    throw EKanmuriError(
        QStringLiteral("旧データ \"%1\" を読めません: %2").arg(Native(m_file), why));
}

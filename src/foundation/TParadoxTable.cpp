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
#include <cmath>
#include <functional>

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <QStringDecoder>
#endif

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
#ifndef Q_OS_WIN
    // Texts of a code page other than Shift-JIS; invalid for Shift-JIS.
    QStringDecoder decoder;
#endif
    ~TDocument()
    {
        if (doc) {
            PX_close(doc);
            PX_delete(doc);
        }
    }
};

namespace {

// The header: the part every version has, then (version 4.0 and later) the
// data header with the code page and the second encryption field; then the
// field descriptors. A version 3.5 table has its descriptors where the data
// header would be.
constexpr int kCommonHeaderSize = 0x58;
constexpr int kVersionOffset = 0x39;
constexpr int kEncryptionOffset = 0x25;
constexpr quint32 kSeeDataHeader = 0xFF00FF00u;
constexpr int kDataEncryptionOffset = 0x5C;
constexpr int kCodePageOffset = 0x6A;
constexpr int kFullHeaderSize = 0x78;
// Version bytes: 3 is 3.0, 4 is 3.5, 5 to 9 are 4.x, 10 and 11 are 5.x, 12 is 7.
constexpr int kFirstVersion = 3;
constexpr int kFirstDataHeaderVersion = 5;
constexpr int kLastVersion = 12;
constexpr int kShiftJis = 932;

void RecordError(pxdoc_t*, int, const char* message, void* data)
{
    if (auto* error = static_cast<QString*>(data); error && message)
        *error = QString::fromLocal8Bit(message).trimmed();
}

struct THeader
{
    QString problem; // empty when the header adds up
    int codePage = 0;
};

// The header's own account of the file, checked against the file's size:
// what the library would otherwise read past the end of.
THeader ReadHeader(const QString& file)
{
    const auto refused = [](const QString& why) { return THeader{why, 0}; };
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("ファイルを開けません。"));
    const qint64 size = f.size();
    const QByteArray head = f.read(kFullHeaderSize);
    if (head.size() < kCommonHeaderSize)
        return refused(QStringLiteral("ファイルが短すぎます。"));
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
    const int version = u8(kVersionOffset);
    if (fileType != 0 && fileType != 2)
        return refused(QStringLiteral("Paradox の表ではありません。"));
    if (version < kFirstVersion || version > kLastVersion)
        return refused(QStringLiteral("この版 (%1) の Paradox の表は読めません。").arg(version));
    const bool dataHeader = version >= kFirstDataHeaderVersion;
    if (dataHeader && head.size() < kFullHeaderSize)
        return refused(QStringLiteral("ファイルが短すぎます。"));
    const int descriptors = dataHeader ? kFullHeaderSize : kCommonHeaderSize;
    if (maxTableSize < 1 || maxTableSize > 32 || headerSize < descriptors + 2 * fields ||
        headerSize > size)
        return refused(QStringLiteral("見出しが壊れています。"));
    const qint64 blockSize = qint64(maxTableSize) * 0x400;
    if (recordSize < 1 || recordSize > blockSize - 6 || fields < 1 || fields > 255)
        return refused(QStringLiteral("見出しが壊れています。"));
    if (headerSize + qint64(fileBlocks) * blockSize > size)
        return refused(QStringLiteral("ファイルが途中で切れています。"));
    if (records > quint32(fileBlocks) * quint32((blockSize - 6) / recordSize))
        return refused(QStringLiteral("レコード数が合いません。"));
    // An encrypted table reads as noise, and the library follows noise as
    // block numbers without end. From version 4.0 on, 0xFF00FF00 in the older
    // field sends the reader to the newer one in the data header; a table
    // without a data header that says so would have the library read a
    // field that is not there.
    const quint32 encryption = u32(kEncryptionOffset);
    if (!dataHeader && encryption == kSeeDataHeader)
        return refused(QStringLiteral("見出しが壊れています。"));
    if ((encryption != 0 && encryption != kSeeDataHeader) ||
        (dataHeader && u32(kDataEncryptionOffset) != 0))
        return refused(QStringLiteral(
            "パスワードの付いた表です。Paradox でパスワードを外してから取り込んでください。"));
    // The chain of data blocks, walked here first: the library walks it without
    // a guard against loops.
    const int firstBlock = u16(0x0E);
    QSet<int> seen;
    qint64 counted = 0;
    for (int block = firstBlock; block != 0;) {
        if (block > fileBlocks || seen.contains(block))
            return refused(QStringLiteral("ブロックのつながりが壊れています。"));
        seen.insert(block);
        if (!f.seek(headerSize + qint64(block - 1) * blockSize))
            return refused(QStringLiteral("ファイルが途中で切れています。"));
        const QByteArray blockHead = f.read(6);
        if (blockHead.size() < 6)
            return refused(QStringLiteral("ファイルが途中で切れています。"));
        const int next = qFromLittleEndian<quint16>(blockHead.constData());
        const int lastOffset = qFromLittleEndian<qint16>(blockHead.constData() + 4);
        if (lastOffset < -recordSize || lastOffset > blockSize - 6 - recordSize ||
            lastOffset % recordSize != 0)
            return refused(QStringLiteral("ブロックの見出しが壊れています。"));
        counted += lastOffset / recordSize + 1;
        block = next;
    }
    if (counted != qint64(records))
        return refused(QStringLiteral("レコード数が合いません。"));
    return THeader{QString(), dataHeader ? u16(kCodePageOffset) : 0};
}

// Why a column's length does not fit its type; empty when it does. The
// library copies a value by the length it is given into a buffer of the
// type's own size, so a longer field overwrites memory and a shorter one is
// read past its end.
QString LayoutProblem(int type, int length, int decimals)
{
    const auto exactly = [&](int bytes) {
        return length == bytes
                   ? QString()
                   : QStringLiteral("長さ %1 バイトは型に合いません (%2 バイトのはず)。")
                         .arg(length)
                         .arg(bytes);
    };
    const auto within = [&](int least, int most) {
        return length >= least && length <= most
                   ? QString()
                   : QStringLiteral("長さ %1 バイトは型に合いません (%2～%3 バイトのはず)。")
                         .arg(length)
                         .arg(least)
                         .arg(most);
    };
    switch (type) {
    case pxfAlpha:
    case pxfBytes:
        return within(1, 255);
    case pxfShort:
        return exactly(2);
    case pxfLong:
    case pxfAutoInc:
    case pxfDate:
    case pxfTime:
        return exactly(4);
    case pxfNumber:
    case pxfCurrency:
    case pxfTimestamp:
        return exactly(8);
    case pxfLogical:
        return exactly(1);
    case pxfBCD:
        if (decimals < 0 || decimals > 32)
            return QStringLiteral("小数桁数 %1 は BCD 型に合いません (0～32 のはず)。")
                .arg(decimals);
        return exactly(17);
    case pxfMemoBLOb:
    case pxfBLOb:
    case pxfFmtMemoBLOb:
    case pxfOLE:
    case pxfGraphic:
        // The part of the memo kept in the record, and its 10-byte reference.
        return within(10, 250);
    default:
        return QStringLiteral("型 (%1) が分かりません。").arg(type);
    }
}

// A BCD number as the library gives it ("-0012.50", with the decimal point
// of the C library's locale), as "-12.50".
QString BcdText(const char* text, int decimals)
{
    QString digits = QString::fromLatin1(text);
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    const qsizetype point = digits.size() - decimals - 1;
    if (point < 0)
        return QString();
    QString whole = digits.left(point);
    const QString fraction = digits.mid(point + 1);
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    for (const QChar c : whole + fraction)
        if (!c.isDigit())
            return QString();
    QString value = whole;
    if (decimals > 0)
        value += u'.' + fraction;
    return negative ? u'-' + value : value;
}

constexpr qint64 kMsPerDay = 86400000;
// 31 December 9999 in Paradox's day count.
constexpr qint64 kLastDay = 3652059;

enum class TRead
{
    Value,
    Empty,
    Unreadable,
};

TRead Read(pxdoc_t* doc, const TParadoxTable::TField& field, char* data,
           const std::function<QString(QByteArrayView)>& decode, QVariant& value)
{
    // A field of zero bytes is empty in every type (a stored zero has its
    // sign bit set).
    bool empty = true;
    for (int i = 0; empty && i < field.Length; ++i)
        empty = data[i] == '\0';
    if (empty)
        return TRead::Empty;
    switch (field.Type) {
    case pxfAlpha: {
        // The raw bytes, decoded here: the library's own conversion cannot
        // be trusted with Shift-JIS.
        int length = 0;
        while (length < field.Length && data[length] != '\0')
            ++length;
        if (length == 0)
            return TRead::Empty;
        value = decode(QByteArrayView(data, length));
        return TRead::Value;
    }
    case pxfShort: {
        short number = 0;
        if (PX_get_data_short(doc, data, field.Length, &number) <= 0)
            return TRead::Unreadable;
        value = qlonglong(number);
        return TRead::Value;
    }
    case pxfLong:
    case pxfAutoInc: {
        long number = 0;
        if (PX_get_data_long(doc, data, field.Length, &number) <= 0)
            return TRead::Unreadable;
        value = qlonglong(number);
        return TRead::Value;
    }
    case pxfNumber:
    case pxfCurrency: {
        double number = 0;
        if (PX_get_data_double(doc, data, field.Length, &number) <= 0 || !std::isfinite(number))
            return TRead::Unreadable;
        value = number;
        return TRead::Value;
    }
    case pxfLogical: {
        char flag = 0;
        if (PX_get_data_byte(doc, data, field.Length, &flag) <= 0)
            return TRead::Unreadable;
        value = flag != 0;
        return TRead::Value;
    }
    case pxfDate: {
        long days = 0;
        if (PX_get_data_long(doc, data, field.Length, &days) <= 0 || days < 1 || days > kLastDay)
            return TRead::Unreadable;
        value = QDate::fromJulianDay(days + kJulianDayOfDayZero);
        return TRead::Value;
    }
    case pxfTime: {
        long milliseconds = 0;
        if (PX_get_data_long(doc, data, field.Length, &milliseconds) <= 0 || milliseconds < 0)
            return TRead::Unreadable;
        value = QTime::fromMSecsSinceStartOfDay(int(milliseconds % kMsPerDay));
        return TRead::Value;
    }
    case pxfTimestamp: {
        double milliseconds = 0;
        if (PX_get_data_double(doc, data, field.Length, &milliseconds) <= 0 ||
            !std::isfinite(milliseconds) || milliseconds < kMsPerDay ||
            milliseconds >= double(kLastDay + 1) * kMsPerDay)
            return TRead::Unreadable;
        const qint64 whole = qint64(milliseconds);
        const QDate day = QDate::fromJulianDay(whole / kMsPerDay + kJulianDayOfDayZero);
        value = QDateTime(day, QTime::fromMSecsSinceStartOfDay(int(whole % kMsPerDay)));
        return TRead::Value;
    }
    case pxfBCD: {
        // The library refuses (and keeps the memory it took) a value whose
        // own count of decimals differs from the column's.
        if ((quint8(data[0]) & 0x3F) != field.Decimals)
            return TRead::Unreadable;
        char* text = nullptr;
        if (PX_get_data_bcd(doc, reinterpret_cast<unsigned char*>(data), field.Decimals, &text) <=
                0 ||
            !text)
            return TRead::Unreadable;
        const QString number = BcdText(text, field.Decimals);
        doc->free(doc, text);
        if (number.isEmpty())
            return TRead::Unreadable;
        value = number;
        return TRead::Value;
    }
    default:
        // Memos, pictures and other binary fields have no column of ours.
        return TRead::Empty;
    }
}

// The name under which the system's converter knows a code page.
#ifndef Q_OS_WIN
QStringDecoder DecoderFor(int codePage)
{
    for (const QString& name :
         {QStringLiteral("windows-%1"), QStringLiteral("cp%1"), QStringLiteral("ibm-%1")}) {
        QStringDecoder decoder(name.arg(codePage).toLatin1().constData(),
                               QStringConverter::Flag::Stateless);
        if (decoder.isValid())
            return decoder;
    }
    return QStringDecoder();
}
#endif

} // namespace

TParadoxTable::TParadoxTable(const QString& file)
    : m_file(file), m_document(std::make_unique<TDocument>())
{
    const THeader header = ReadHeader(file);
    if (!header.problem.isEmpty())
        Fail(header.problem);
    m_codePage = header.codePage;
    if (m_codePage != 0 && m_codePage != kShiftJis) {
#ifdef Q_OS_WIN
        const bool known = IsValidCodePage(UINT(m_codePage));
#else
        m_document->decoder = DecoderFor(m_codePage);
        const bool known = m_document->decoder.isValid();
#endif
        if (!known)
            Fail(QStringLiteral("表の文字コード (コードページ %1) を変換できません。")
                     .arg(m_codePage));
    }
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
    QSet<QString> names;
    for (int i = 0; i < count; ++i) {
        const pxfield_t& f = fields[i];
        if (!f.px_fname)
            Fail(QStringLiteral("列の定義が壊れています。"));
        const QString name = Decoded(QByteArrayView(f.px_fname));
        if (name.trimmed().isEmpty())
            Fail(QStringLiteral("%1 番目の列に名前がありません。").arg(i + 1));
        if (const QString problem = LayoutProblem(f.px_ftype, f.px_flen, f.px_fdc);
            !problem.isEmpty())
            Fail(QStringLiteral("列 \"%1\" の%2").arg(name, problem));
        // Column names are compared without regard to case, here and on a server.
        if (names.contains(name.toLower()))
            Fail(QStringLiteral("列 \"%1\" が二つあります。").arg(name));
        names.insert(name.toLower());
        total += f.px_flen;
        m_fields.append({name, int(f.px_ftype), f.px_flen, f.px_fdc});
    }
    if (total != m_recordSize)
        Fail(QStringLiteral("列の長さとレコードの長さが合いません。"));
}

TParadoxTable::~TParadoxTable() = default;

bool TParadoxTable::Available()
{
    return true;
}

QString TParadoxTable::Decoded(QByteArrayView bytes) const
{
    if (m_codePage == 0 || m_codePage == kShiftJis)
        return FromShiftJis(bytes);
    if (bytes.isEmpty())
        return QString();
#ifdef Q_OS_WIN
    const int size =
        MultiByteToWideChar(UINT(m_codePage), 0, bytes.data(), int(bytes.size()), nullptr, 0);
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(UINT(m_codePage), 0, bytes.data(), int(bytes.size()),
                        reinterpret_cast<LPWSTR>(text.data()), size);
    return text;
#else
    return m_document->decoder.decode(bytes);
#endif
}

QVariantList TParadoxTable::Record(int index)
{
    QByteArray buffer(m_recordSize, '\0');
    if (!PX_get_record(m_document->doc, index, buffer.data()))
        Fail(QStringLiteral("%1 件目のレコードを読めません。").arg(index + 1));
    const auto decode = [this](QByteArrayView bytes) { return Decoded(bytes); };
    QVariantList values;
    values.reserve(m_fields.size());
    int offset = 0;
    for (const TField& field : m_fields) {
        QVariant value;
        if (Read(m_document->doc, field, buffer.data() + offset, decode, value) ==
            TRead::Unreadable)
            Fail(QStringLiteral("%1 件目のレコードの列 \"%2\" の値を読めません。")
                     .arg(index + 1)
                     .arg(field.Name));
        values.append(value);
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

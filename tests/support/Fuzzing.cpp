#include "support/Fuzzing.h"

#include "foundation/ConfigFolder.h"
#include "foundation/EKanmuriError.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TIniFile.h"
#include "foundation/TParadoxTable.h"
#include "foundation/TPrompt.h"
#include "mix/ShiftJis.h"
#include "mix/TGozai.h"
#include "mix/TGozaiDef.h"
#include "mix/TPlant.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSet>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

#ifdef KANMURI_HAVE_PXLIB
#include "support/ParadoxWriter.h"
#endif

namespace Fuzz {

namespace {

// What a reader says or asks about a case is part of reading it, not of the
// test: messages are dropped and questions answered No.
class TQuietPrompt : public TPromptBackend
{
public:
    void Message(const QString&, const QString&) override {}
    void Error(const QString&) override {}
    bool YesNo(const QString&, const QString&) override { return false; }
    bool OkCancel(const QString&, const QString&) override { return false; }
    TAnswer YesNoCancel(const QString&, const QString&) override { return TAnswer::Cancel; }
    bool InputText(const QString&, const QString&, QString&) override { return false; }
    void Beep() override {}
};

// Ends the program when a case runs past its limit: a hang would otherwise
// only show as a test that never ends.
class TWatchdog
{
public:
    explicit TWatchdog(int limitMs) : m_limitMs(limitMs), m_thread([this] { Watch(); }) {}
    ~TWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    void Start(const QString& label)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_label = label.toStdString();
        m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_limitMs);
        m_running = true;
        m_changed.notify_all();
    }
    void Stop()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
    }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_stop) {
            if (!m_running) {
                m_changed.wait(lock);
                continue;
            }
            const auto deadline = m_deadline;
            if (m_changed.wait_until(lock, deadline) == std::cv_status::timeout && m_running &&
                m_deadline == deadline) {
                std::fprintf(stderr, "fuzz: %s ran longer than %d ms\n", m_label.c_str(),
                             m_limitMs);
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }

    int m_limitMs;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::chrono::steady_clock::time_point m_deadline;
    std::string m_label;
    bool m_running = false;
    bool m_stop = false;
    std::thread m_thread;
};

class TRandom
{
public:
    explicit TRandom(quint32 seed) : m_generator(seed) {}
    // In [least, most].
    int Between(int least, int most) { return int(m_generator.bounded(least, most + 1)); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    template <typename T> const T& Pick(const QList<T>& list)
    {
        return list[Between(0, int(list.size()) - 1)];
    }
    quint32 Bits() { return m_generator.generate(); }
    double Real() { return m_generator.generateDouble(); }
    QByteArray Bytes(int count)
    {
        QByteArray bytes(count, '\0');
        for (char& b : bytes)
            b = char(Between(0, 255));
        return bytes;
    }

private:
    QRandomGenerator m_generator;
};

quint32 CaseSeed(quint32 seed, int index)
{
    // Another generator per case, so that case N is the same however many
    // cases ran before it.
    return QRandomGenerator(seed ^ (quint32(index) * 2654435761u)).generate();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("fuzz: cannot write " + path.toStdString());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Damage as files meet it: bytes overwritten with values that mean something
// to a reader (0, -1, largest, sign bits, the size), runs inserted or cut
// out, the file cut short or followed by junk. `hot` is where a reader
// looks first (its header); a third of the changes land there.
void Mutate(QByteArray& bytes, TRandom& random, int hot)
{
    static const QList<int> interesting = {0x00, 0x01, 0x02, 0x7F, 0x80, 0xFE, 0xFF, 0x20, 0x3F};
    for (int n = random.Between(1, 6); n > 0; --n) {
        const int size = int(bytes.size());
        const auto position = [&]() {
            if (size == 0)
                return 0;
            return hot > 0 && random.Chance(35) ? random.Between(0, qMin(hot, size) - 1)
                                                : random.Between(0, size - 1);
        };
        switch (random.Between(0, 9)) {
        case 0:
        case 1:
            if (size > 0)
                bytes[position()] = char(random.Bits() & 0xFF);
            break;
        case 2:
            if (size > 0)
                bytes[position()] ^= char(1 << random.Between(0, 7));
            break;
        case 3:
            if (size > 0)
                bytes[position()] = char(random.Pick(interesting));
            break;
        case 4:
            if (size > 1) {
                const int at = qMin(position(), size - 2);
                static const QList<int> words = {0x0000, 0x0001, 0x7FFF, 0x8000, 0xFFFF};
                const int word = random.Chance(50) ? random.Pick(words) : random.Between(0, 0xFFFF);
                bytes[at] = char(word & 0xFF);
                bytes[at + 1] = char(word >> 8);
            }
            break;
        case 5:
            bytes.insert(position(), random.Bytes(random.Between(1, 64)));
            break;
        case 6:
            if (size > 0) {
                const int at = position();
                bytes.remove(at, random.Between(1, qMax(1, qMin(64, size - at))));
            }
            break;
        case 7:
            if (size > 0)
                bytes.truncate(random.Between(0, size - 1));
            break;
        case 8:
            bytes.append(random.Bytes(random.Between(1, 512)));
            break;
        case 9:
            if (size > 8) {
                const int from = random.Between(0, size - 8);
                const QByteArray chunk = bytes.mid(from, random.Between(1, 64));
                bytes.insert(position(), chunk);
            }
            break;
        }
    }
}

bool Same(const QVariant& a, const QVariant& b)
{
    if (a.isValid() != b.isValid())
        return false;
    if (!a.isValid())
        return true;
    if (a.typeId() != b.typeId())
        return false;
    if (a.typeId() == QMetaType::Double)
        return a.toDouble() == b.toDouble();
    return a == b;
}

QString Shown(const QVariant& value)
{
    return value.isValid() ? QStringLiteral("%1 (%2)").arg(value.toString(), value.typeName())
                           : QStringLiteral("empty");
}

// One case's verdict: an empty text when it went as it must.
using TCase = std::function<QString(TRandom&, int index, bool& refused)>;

// ---------------------------------------------------------------- Paradox

#ifdef KANMURI_HAVE_PXLIB

struct TCodePageTexts
{
    int codePage;
    QStringList words;
    QStringList names;
};

const QList<TCodePageTexts>& CodePages()
{
    static const QList<TCodePageTexts> pages = {
        {932,
         {"舗装", "密粒度", "アスコン", "工区", "ｱｽﾌｧﾙﾄ", "No.", "表層", "①", "～", "13", " "},
         {"KOJICODE", "工事名", "合材名", "測点", "密度", "ｺｰﾄﾞ"}},
        {0, {"舗装", "基層", "ｶﾅ", "A", "-", " "}, {"名前", "Code", "数量"}},
        {1252,
         {"Währung", "Müller", "Straße", "café", "Größe", "€", "x", " "},
         {"Währung", "Größe", "Preis €", "Straße"}},
        {866, {"Дорога", "Цена", "асфальт", "№", " "}, {"Дорога", "Цена"}},
        {437, {"Ärger", "niño", "½", "x", " "}, {"Ärger", "Año"}},
        {1250, {"Łódź", "Žilina", "ř", " "}, {"Łódź", "Úsek"}},
    };
    return pages;
}

// Names as Paradox allows them, some of which SQL does not take unquoted.
const QStringList& AsciiNames()
{
    static const QStringList names = {
        "ID",      "Species No", "Order",           "Integer kurz", "select",   "Group",
        "a\"b",    "it's",       "x; drop table t", "1st",          "Sum(H00)", "  padded",
        "SOKUTEN", "Hiduke",     "Value",           "from",         "key",      "Date"};
    return names;
}

struct TColumnCase
{
    TParadoxColumn column;
    bool valid = true;
};

int NaturalLength(int type)
{
    switch (type) {
    case pxfShort:
        return 2;
    case pxfLong:
    case pxfAutoInc:
    case pxfDate:
    case pxfTime:
        return 4;
    case pxfNumber:
    case pxfCurrency:
    case pxfTimestamp:
        return 8;
    case pxfLogical:
        return 1;
    case pxfBCD:
        return 17;
    default:
        return 0;
    }
}

QString Text(TRandom& random, const TCodePageTexts& page, int maxBytes, int codePage)
{
    QString text;
    for (int n = random.Between(1, 6); n > 0; --n)
        text += random.Pick(page.words);
    while (!text.isEmpty() && TParadoxWriter::Encode(text, codePage, 1000).size() > maxBytes)
        text.chop(1);
    return text;
}

QString BcdValue(TRandom& random, int decimals)
{
    const int wholeDigits = random.Between(0, qMin(15, 32 - decimals));
    QString whole;
    for (int i = 0; i < wholeDigits; ++i)
        whole += QChar(u'0' + random.Between(i == 0 ? 1 : 0, 9));
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString fraction;
    for (int i = 0; i < decimals; ++i)
        fraction += QChar(u'0' + random.Between(0, 9));
    QString value = decimals > 0 ? whole + u'.' + fraction : whole;
    bool zero = true;
    for (const QChar c : value)
        zero = zero && (c == u'0' || c == u'.');
    if (!zero && random.Chance(40))
        value.prepend(u'-');
    return value;
}

// A value for a column of a sound table, and what the reader must give back.
void Value(TRandom& random, const TParadoxColumn& column, const TCodePageTexts& page, int codePage,
           QVariant& written, QVariant& expected)
{
    if (random.Chance(15))
        return; // empty
    switch (column.type) {
    case pxfAlpha: {
        const QString text = Text(random, page, column.length, codePage);
        if (!text.isEmpty())
            written = expected = text;
        return;
    }
    case pxfShort:
        written = expected = qlonglong(random.Between(-32767, 32767));
        return;
    case pxfLong:
    case pxfAutoInc: {
        // The smallest number has no form: stored, it reads as empty.
        const qint32 number = qint32(random.Bits());
        written = expected = qlonglong(number == INT_MIN ? 0 : number);
        return;
    }
    case pxfNumber:
    case pxfCurrency: {
        static const QList<double> special = {0.0, -1.0, 1e300, -1e-300, 0.1, 2.31, -273.15};
        const double number = random.Chance(30)
                                  ? random.Pick(special)
                                  : (random.Real() - 0.5) * std::pow(10.0, random.Between(-6, 12));
        written = expected = number;
        return;
    }
    case pxfLogical:
        written = expected = random.Chance(50);
        return;
    case pxfDate: {
        const QDate date = QDate(1, 1, 1).addDays(random.Between(0, 3652058));
        written = expected = date;
        return;
    }
    case pxfTime: {
        const QTime time = QTime::fromMSecsSinceStartOfDay(random.Between(0, 86399999));
        written = expected = time;
        return;
    }
    case pxfTimestamp: {
        const QDateTime time(QDate(1900, 1, 1).addDays(random.Between(0, 60000)),
                             QTime::fromMSecsSinceStartOfDay(random.Between(0, 86399) * 1000));
        written = expected = time;
        return;
    }
    case pxfBCD: {
        const QString value = BcdValue(random, column.decimals);
        written = value;
        expected = value;
        return;
    }
    default:
        // Memos and binary fields: their bytes, which the reader passes over.
        written = random.Bytes(column.length);
        return;
    }
}

QString ParadoxCase(TRandom& random, bool& refused, const QString& folder)
{
    const QString file = QDir(folder).filePath(QStringLiteral("case.DB"));
    const TCodePageTexts& page = random.Pick(CodePages());
    TParadoxOptions options;
    options.version35 = page.codePage == 932 && random.Chance(30);
    options.codePage = page.codePage;
    bool valid = true;
    // A code page no converter knows; its texts are written as Latin-1.
    if (random.Chance(3)) {
        options.codePage = 4711;
        valid = options.version35;
    }
    const int textCodePage = options.version35 || options.codePage == 4711 ? 932 : page.codePage;
    const TCodePageTexts& texts = textCodePage == page.codePage ? page : CodePages().first();

    static const QList<int> types = {pxfAlpha,    pxfShort,    pxfLong, pxfAutoInc, pxfNumber,
                                     pxfCurrency, pxfLogical,  pxfDate, pxfTime,    pxfTimestamp,
                                     pxfBCD,      pxfMemoBLOb, pxfBLOb, pxfGraphic, pxfBytes,
                                     pxfAlpha,    pxfNumber,   pxfBCD};
    static const QList<int> unknownTypes = {0x00, 0x07, 0x08, 0x0A, 0x0B, 0x11, 0x19, 0x7F};
    QList<TColumnCase> columns;
    QSet<QString> used;
    for (int n = random.Between(1, 10); n > 0; --n) {
        TColumnCase c;
        c.column.type = char(random.Pick(types));
        const int natural = NaturalLength(c.column.type);
        if (c.column.type == pxfAlpha)
            c.column.length = random.Between(1, 60);
        else if (c.column.type == pxfBytes)
            c.column.length = random.Between(1, 20);
        else if (natural == 0)
            c.column.length = random.Between(10, 40); // memo kinds
        else
            c.column.length = natural;
        if (c.column.type == pxfBCD)
            c.column.decimals = random.Chance(80) ? random.Between(0, 6) : random.Between(0, 32);
        // One column in six is laid out as no sound table has it.
        if (random.Chance(16)) {
            c.valid = false;
            switch (random.Between(0, 3)) {
            case 0:
                if (natural > 0 && c.column.type != pxfBCD) {
                    c.column.length = random.Chance(70)
                                          ? random.Between(9, 40)
                                          : random.Between(1, natural - 1 + (natural == 1));
                    if (c.column.length == natural)
                        c.column.length = natural + 1;
                } else {
                    c.valid = true;
                }
                break;
            case 1:
                c.column.type = pxfBCD;
                c.column.length = 17;
                c.column.decimals = random.Between(33, 63);
                break;
            case 2:
                c.column.type = char(random.Pick(unknownTypes));
                c.column.length = random.Between(1, 20);
                break;
            case 3: {
                c.column.type = pxfAlpha;
                c.column.length = random.Between(1, 10);
                if (random.Chance(50) || columns.isEmpty()) {
                    c.column.name = QStringLiteral(" ");
                    break;
                }
                // Named twice, the second time in capitals where that keeps
                // it the same name ("ß" does not).
                const QString twice = columns.last().column.name;
                c.column.name =
                    twice.toUpper().toLower() == twice.toLower() ? twice.toUpper() : twice;
                break;
            }
            }
        }
        if (c.column.name.isEmpty()) {
            QString name;
            for (int attempt = 0; attempt < 10 && (name.isEmpty() || used.contains(name.toLower()));
                 ++attempt)
                name = random.Chance(50) ? random.Pick(AsciiNames()) : random.Pick(texts.names);
            if (used.contains(name.toLower()))
                name += QString::number(columns.size());
            c.column.name = name;
        }
        used.insert(c.column.name.toLower());
        valid = valid && c.valid;
        columns.append(c);
    }

    QList<TParadoxColumn> layout;
    for (const TColumnCase& c : columns)
        layout.append(c.column);
    QList<QVariantList> expected;
    {
        TParadoxWriter writer(file, layout, options);
        const int rows = random.Chance(10) ? random.Between(100, 300) : random.Between(0, 30);
        for (int r = 0; r < rows; ++r) {
            QVariantList written, wanted;
            for (const TColumnCase& c : columns) {
                QVariant value, want;
                if (c.valid) {
                    Value(random, c.column, texts, textCodePage, value, want);
                } else {
                    // Raw bytes; often a negative-looking number, which the
                    // library turns around over the column's whole length.
                    QByteArray bytes = random.Bytes(c.column.length);
                    if (random.Chance(60) && !bytes.isEmpty())
                        bytes[0] = char(random.Between(1, 0x7F));
                    value = bytes;
                }
                written << value;
                wanted << want;
            }
            writer.Add(written);
            expected << wanted;
        }
    }

    const bool mutated = random.Chance(50);
    if (mutated) {
        QByteArray bytes = ReadFile(file);
        const int headerSize = bytes.size() > 4 ? quint8(bytes[2]) | quint8(bytes[3]) << 8 : 0;
        Mutate(bytes, random, random.Chance(50) ? 0x80 : qMax(0x80, headerSize + 16));
        WriteFile(file, bytes);
    }

    try {
        TParadoxTable table(file);
        QList<QVariantList> read;
        for (int r = 0; r < table.RecordCount(); ++r)
            read << table.Record(r);
        if (mutated)
            return QString();
        if (!valid) {
            QStringList layout;
            for (const TColumnCase& c : columns)
                layout << QStringLiteral("\"%1\" type %2 length %3 decimals %4%5")
                              .arg(c.column.name)
                              .arg(int(c.column.type))
                              .arg(c.column.length)
                              .arg(c.column.decimals)
                              .arg(c.valid ? QString() : QStringLiteral(" (unsound)"));
            return QStringLiteral("a table no sound program writes was read (code page %1: %2)")
                .arg(options.codePage)
                .arg(layout.join(QStringLiteral(", ")));
        }
        if (read.size() != expected.size())
            return QStringLiteral("%1 records read, %2 written")
                .arg(read.size())
                .arg(expected.size());
        for (int c = 0; c < columns.size(); ++c)
            if (table.Fields()[c].Name != columns[c].column.name)
                return QStringLiteral("column %1 read as \"%2\", written as \"%3\"")
                    .arg(c)
                    .arg(table.Fields()[c].Name, columns[c].column.name);
        for (int r = 0; r < read.size(); ++r)
            for (int c = 0; c < columns.size(); ++c)
                if (!Same(read[r][c], expected[r][c]))
                    return QStringLiteral("record %1, column \"%2\" (type %3): read %4, written %5")
                        .arg(r)
                        .arg(columns[c].column.name)
                        .arg(int(columns[c].column.type))
                        .arg(Shown(read[r][c]), Shown(expected[r][c]));
        return QString();
    } catch (const EKanmuriError& e) {
        refused = true;
        if (!e.text().contains(QDir::toNativeSeparators(file)))
            return QStringLiteral("refused without naming the file: ") + e.text();
        if (!mutated && valid)
            return QStringLiteral("a sound table was refused: ") + e.text();
        return QString();
    }
}

#endif

// ---------------------------------------------------------------- Plant.Dat

QString PlantName(TRandom& random)
{
    static const QList<QString> names = {"第一プラント", "本社工場", "Plant A",    "ＡＢＣ合材",
                                         "プラント ",    " ",        "ｱｽﾌｧﾙﾄ工場", "北工場２号機"};
    return random.Pick(names) +
           (random.Chance(50) ? QString::number(random.Between(0, 99)) : QString());
}

QList<TPlantRecord> Plants(TRandom& random, int count)
{
    QList<TPlantRecord> plants;
    for (int i = 0; i < count; ++i) {
        TPlantRecord plant;
        plant.Name = random.Chance(10) ? QString() : FitShiftJis(PlantName(random), 32);
        plant.BatchWeight = QString::number(random.Between(500, 4000));
        plant.LoadCellFactor = QStringLiteral("1.0%1").arg(random.Between(0, 9));
        plant.InitialWeighing = random.Between(0, 1);
        for (int b = 0; b < TPlantRecord::Bins; ++b) {
            plant.BinName[b] =
                random.Chance(70) ? QStringLiteral("%1号ビン").arg(b + 1) : QString();
            plant.BinRange[b] = random.Chance(70) ? QStringLiteral("13-5") : QString();
        }
        plant.Standard = random.Chance(25) ? 1 : 0;
        plants.append(plant);
    }
    return plants;
}

QByteArray PlantFile(const QList<TPlantRecord>& plants)
{
    QByteArray bytes;
    for (const TPlantRecord& plant : plants)
        bytes += plant.ToBytes();
    return bytes;
}

QString PlantCase(TRandom& random, int, bool& refused)
{
    const QString file = TPlant::FileName();
    const QList<TPlantRecord> plants =
        Plants(random, random.Chance(2) ? random.Between(50, 100) : random.Between(0, 8));
    QByteArray bytes = PlantFile(plants);
    const bool mutated = random.Chance(60);
    if (mutated) {
        // Length bytes past their field, in particular.
        for (int n = random.Between(0, 3); n > 0 && !plants.isEmpty(); --n) {
            static const QList<int> lengthBytes = {0, 33, 42, 55, 68, 133, 146, 198};
            const int at = random.Between(0, int(plants.size()) - 1) * TPlantRecord::Size +
                           random.Pick(lengthBytes);
            bytes[at] = char(random.Between(0, 255));
        }
        Mutate(bytes, random, TPlantRecord::Size);
    }
    WriteFile(file, bytes);
    try {
        TPlant plant;
        QStringList list;
        plant.FillList(list);
        plant.LoadStandard();
        // Each listed plant loads (a sample of a long list).
        for (int n = 0; n < qMin(4, int(list.size())); ++n) {
            const QString name = list.size() <= 4 ? list[n] : random.Pick(list);
            if (!plant.LoadByName(name))
                return QStringLiteral("the listed plant \"%1\" is not found").arg(name);
            if (plant.Name != name)
                return QStringLiteral("\"%1\" loaded \"%2\"").arg(name, plant.Name);
        }
        if (!mutated) {
            QStringList names;
            for (const TPlantRecord& p : plants)
                if (!p.Name.trimmed().isEmpty())
                    names << p.Name;
            if (list != names)
                return QStringLiteral("the list is \"%1\", the file holds \"%2\"")
                    .arg(list.join(u'|'), names.join(u'|'));
        }
        // Writing into what was read: a new plant is found afterwards.
        TPlant added;
        added.Assign(Plants(random, 1).first());
        added.Standard = random.Chance(30) ? 1 : 0;
        const QString name = QStringLiteral("追加%1").arg(random.Between(0, 999));
        if (added.Save(name)) {
            TPlant check;
            if (!check.LoadByName(name) || check.BatchWeight != added.BatchWeight)
                return QStringLiteral("the plant saved as \"%1\" does not read back").arg(name);
        }
        if (!list.isEmpty())
            plant.Delete(random.Pick(list));
        return QString();
    } catch (const EKanmuriError& e) {
        refused = true;
        return e.text().isEmpty() ? QStringLiteral("refused without a message") : QString();
    }
}

// ---------------------------------------------------------------- .Goz

QString GozCase(TRandom& random, int, bool& refused)
{
    const QList<TPlantRecord> plants = Plants(random, random.Between(0, 6));
    WriteFile(TPlant::FileName(), PlantFile(plants));
    const bool always = random.Chance(15);
    const QString setting = QStringLiteral("PlantDataAlwaysDefaultUse");
    if ((ReadSetting(setting) == QStringLiteral("TRUE")) != always)
        WriteSetting(setting, always ? QStringLiteral("TRUE") : QString());
    static const QList<QString> mixtures = {"密粒度13", "粗粒度20",          "mix", "a.b", "..",
                                            "x/y",      "再生密粒度ｱｽｺﾝ(13)"};
    const QString mixture = random.Pick(mixtures);

    // A name of a plant in the file, or any bytes.
    QString wanted;
    QByteArray name;
    if (!plants.isEmpty() && random.Chance(70)) {
        wanted = random.Pick(plants).Name;
        name = ToShiftJis(wanted, 32);
    } else {
        name = random.Bytes(random.Between(0, 40));
    }
    QByteArray bytes;
    bytes.append(char(name.size()));
    bytes += name;
    const int size =
        random.Chance(50) ? TGozai::FileSize : random.Between(0, TGozai::FileSize + 100);
    if (bytes.size() < size)
        bytes += random.Chance(50) ? QByteArray(size - bytes.size(), '\0')
                                   : random.Bytes(size - int(bytes.size()));
    const bool mutated = random.Chance(40);
    if (mutated)
        Mutate(bytes, random, 40);
    const bool plain = !mixture.contains(u'/') && mixture != QStringLiteral("..");
    if (plain)
        WriteFile(QDir(TPlant::MixDataFolder()).filePath(mixture + QStringLiteral(".Goz")), bytes);
    try {
        const TPlantRecord plant = TGozaiDef::PlantForMix(mixture);
        TPlant standard;
        standard.LoadStandard();
        if (mutated || !plain)
            return QString();
        // The plant named, when the file holds it whole; else the standard one.
        TPlant named;
        const bool found = !always && !wanted.isEmpty() && named.LoadByName(wanted);
        const QString expected = found ? named.Name : standard.Name;
        if (plant.Name != expected)
            return QStringLiteral("the mixture's plant is \"%1\", not \"%2\"")
                .arg(plant.Name, expected);
        return QString();
    } catch (const EKanmuriError& e) {
        refused = true;
        return e.text().isEmpty() ? QStringLiteral("refused without a message") : QString();
    }
}

// ---------------------------------------------------------------- INI files

// Text as an editor, another program or a damaged disk may leave an INI file:
// sections and values named twice, lines without "=", bytes that are no UTF-8,
// carriage returns, NULs, a byte order mark, very long lines.
QByteArray IniText(TRandom& random, const QStringList& sections, const QStringList& names)
{
    QByteArray text;
    if (random.Chance(10))
        text += "\xEF\xBB\xBF";
    for (int n = random.Between(0, 30); n > 0; --n) {
        switch (random.Between(0, 9)) {
        case 0:
        case 1:
            text += '[' + random.Pick(sections).toUtf8() + "]\n";
            break;
        case 2:
            text += random.Bytes(random.Between(0, 40)) + '\n';
            break;
        case 3:
            text += "; " + random.Bytes(random.Between(0, 20)) + "\r\n";
            break;
        case 4:
            if (random.Chance(5)) {
                text += random.Pick(names).toUtf8() + '=' +
                        QByteArray(random.Between(10000, 100000), 'x') + '\n';
                break;
            }
            [[fallthrough]];
        default: {
            QByteArray name = random.Pick(names).toUtf8();
            if (random.Chance(20))
                name = name.toLower();
            QByteArray value = random.Chance(70) ? QByteArray::number(random.Between(-5, 70000))
                                                 : random.Bytes(random.Between(0, 30));
            if (random.Chance(20))
                value += "\\n\\\\\\r";
            text += (random.Chance(10) ? "  " : "") + name + '=' + value +
                    (random.Chance(20) ? "\r\n" : "\n");
        }
        }
    }
    return text;
}

QString IniValue(TRandom& random)
{
    static const QList<QString> values = {"",     "C:\\データ\\", "/srv/kanmuri/",     "a=b",
                                          "[x]",  "line\nbreak",  "\\\\server\\share", " spaced ",
                                          "TRUE", "値;コメント"};
    return random.Pick(values);
}

QString SettingsCase(TRandom& random, int, bool& refused)
{
    static const QStringList names = {
        "HaigoDataPath", "PlantDataAlwaysDefaultUse", "HojitsuSa", "Juryo3", "hin_Font", "=", "",
        "名前"};
    QByteArray text = IniText(random, {"kanmuri", "KANMURI", "other", "", "kanmuri]"}, names);
    if (random.Chance(30))
        Mutate(text, random, 0);
    WriteFile(ConfigFile(QStringLiteral("settings.ini")), text);
    try {
        for (int n = 0; n < 4; ++n)
            ReadSetting(random.Pick(names));
        // Writing over what was read.
        const QString name = random.Pick(QStringList{"HaigoDataPath", "Juryo3", "Neu"});
        const QString value = IniValue(random);
        WriteSetting(name, value);
        if (ReadSetting(name) != value)
            return QStringLiteral("\"%1\" written as \"%2\" reads \"%3\"")
                .arg(name, value, ReadSetting(name));
        EnsureSettingsKey();
        return QString();
    } catch (const EKanmuriError& e) {
        refused = true;
        return e.text().isEmpty() ? QStringLiteral("refused without a message") : QString();
    }
}

QString EngineCase(TRandom& random, int, bool& refused, const QString& folder)
{
    static const QStringList names = {"PATH", "TYPE", "HOST", "PORT", "DATABASE", "USER"};
    QByteArray text = IniText(random, {"KANMURI", "kanmuri", "OTHER", "KANMURI "}, names);
    if (random.Chance(30))
        Mutate(text, random, 0);
    WriteFile(ConfigFile(QStringLiteral("engine.ini")), text);
    try {
        TDatabase::IsServer();
        const TServerSettings server = TDatabase::AliasServer();
        if (server.port < 1 || server.port > 65535)
            return QStringLiteral("port %1 read").arg(server.port);
        const QString aliasFolder = TDatabase::AliasFolder(kAlias);
        if (!aliasFolder.endsWith(QDir::separator()) && !aliasFolder.endsWith(u'/'))
            return QStringLiteral("the folder \"%1\" lacks its separator").arg(aliasFolder);
        // Written over what was read, the settings read back.
        TServerSettings next;
        next.host = QStringLiteral("db%1.example").arg(random.Between(0, 9));
        next.port = random.Between(1, 65535);
        next.database = QStringLiteral("kanmuri");
        next.user = IniValue(random).trimmed().remove(u'\n');
        TDatabase::SetAliasServer(kAlias, next);
        const TServerSettings back = TDatabase::AliasServer();
        if (!TDatabase::IsServer() || back.host != next.host || back.port != next.port ||
            back.user != next.user)
            return QStringLiteral("the server settings do not read back");
        const QString data = QDir(folder).filePath(QStringLiteral("data")) + QDir::separator();
        TDatabase::SetAliasFolder(kAlias, data);
        if (TDatabase::IsServer() || TDatabase::AliasFolder(kAlias) != data)
            return QStringLiteral("the folder does not read back");
        return QString();
    } catch (const EKanmuriError& e) {
        refused = true;
        return e.text().isEmpty() ? QStringLiteral("refused without a message") : QString();
    }
}

} // namespace

QString TReport::Summary() const
{
    return QStringLiteral("%1: %2 cases, %3 read whole, %4 refused with a message, %5 failed; "
                          "slowest case %6 ms (case %7), %8 s in all")
        .arg(reader)
        .arg(cases)
        .arg(read)
        .arg(refused)
        .arg(failures.size())
        .arg(slowestMs)
        .arg(slowestCase)
        .arg(QString::number(totalMs / 1000.0, 'f', 1));
}

QString ScratchTemplate()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString base =
        memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    return QDir(base).filePath(QStringLiteral("kanmuri-fuzz-XXXXXX"));
}

QStringList Readers()
{
    return {QStringLiteral("paradox"), QStringLiteral("plant"), QStringLiteral("goz"),
            QStringLiteral("settings"), QStringLiteral("engine")};
}

TReport Run(const QString& reader, int count, quint32 seed, const QString& folder, int limitMs,
            int first)
{
    TReport report;
    report.reader = reader;
    // The configuration folder of the run, put back afterwards.
    const QByteArray configBefore = qgetenv("KANMURI_CONFIG_DIR");
    const QString config = QDir(folder).filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    qputenv("KANMURI_CONFIG_DIR", config.toUtf8());
    const auto restore = qScopeGuard([&] {
        TDatabase::Close();
        qputenv("KANMURI_CONFIG_DIR", configBefore);
    });
    TCase run;
    if (reader == QStringLiteral("paradox")) {
#ifdef KANMURI_HAVE_PXLIB
        run = [folder](TRandom& random, int index, bool& refused) {
            Q_UNUSED(index);
            return ParadoxCase(random, refused, folder);
        };
#else
        report.failures << QStringLiteral("this build cannot read Paradox tables");
        return report;
#endif
    } else if (reader == QStringLiteral("plant") || reader == QStringLiteral("goz")) {
        const QString mix = QDir(folder).filePath(QStringLiteral("mix"));
        QDir().mkpath(mix);
        WriteSetting(QStringLiteral("HaigoDataPath"), mix + QDir::separator());
        run = reader == QStringLiteral("plant") ? TCase(PlantCase) : TCase(GozCase);
    } else if (reader == QStringLiteral("settings")) {
        run = SettingsCase;
    } else if (reader == QStringLiteral("engine")) {
        run = [folder](TRandom& random, int index, bool& refused) {
            return EngineCase(random, index, refused, folder);
        };
    } else {
        report.failures << QStringLiteral("no reader \"%1\"").arg(reader);
        return report;
    }

    // Messages and questions of the code under test are answered quietly.
    TPromptBackend* before = TPrompt::Backend();
    TQuietPrompt prompt;
    TPrompt::SetBackend(&prompt);
    TWatchdog watchdog(limitMs);
    QElapsedTimer total;
    total.start();
    for (int index = first; index < first + count; ++index) {
        TRandom random(CaseSeed(seed, index));
        watchdog.Start(QStringLiteral("%1 case %2 of seed %3").arg(reader).arg(index).arg(seed));
        QElapsedTimer timer;
        timer.start();
        bool refused = false;
        QString failure;
        try {
            failure = run(random, index, refused);
        } catch (const std::exception& e) {
            failure = QStringLiteral("unexpected exception: ") + QString::fromLocal8Bit(e.what());
        }
        watchdog.Stop();
        const qint64 elapsed = timer.elapsed();
        if (elapsed > report.slowestMs) {
            report.slowestMs = elapsed;
            report.slowestCase = index;
        }
        ++report.cases;
        if (!failure.isEmpty()) {
            if (report.failures.size() < 20)
                report.failures << QStringLiteral("case %1: %2").arg(index).arg(failure);
            else
                report.failures.last() = QStringLiteral("... and more");
        } else if (refused) {
            ++report.refused;
        } else {
            ++report.read;
        }
    }
    report.totalMs = total.elapsed();
    TPrompt::SetBackend(before);
    return report;
}

} // namespace Fuzz

#include "mix/TPlant.h"

#include "foundation/EKanmuriError.h"
#include "foundation/KeyNames.h"
#include "foundation/Settings.h"
#include "foundation/TPrompt.h"
#include "mix/ShiftJis.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kSetting = QStringLiteral("HaigoDataPath");

QString ShownPath(const QFile& file)
{
    return QDir::toNativeSeparators(file.fileName());
}

void Open(QFile& file, QIODevice::OpenMode mode)
{
    if (!file.open(mode))
        throw EKanmuriError(
            QStringLiteral("\"%1\" を開けません。\n%2").arg(ShownPath(file), file.errorString()));
}

// The complete records of the file. A record cut short at the end (a file
// another program left half written) is no plant.
QByteArray ReadRecords(QFile& file)
{
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EKanmuriError(
            QStringLiteral("\"%1\" を読めません。\n%2").arg(ShownPath(file), file.errorString()));
    data.truncate(data.size() - data.size() % TPlantRecord::Size);
    return data;
}

qsizetype RecordCount(const QByteArray& data)
{
    return data.size() / TPlantRecord::Size;
}

TPlantRecord RecordAt(const QByteArray& data, qsizetype index)
{
    return TPlantRecord::FromBytes(
        QByteArrayView(data).sliced(index * TPlantRecord::Size, TPlantRecord::Size));
}

void WriteAt(QFile& file, qint64 position, const QByteArray& bytes)
{
    if (!file.seek(position) || file.write(bytes) != bytes.size() || !file.flush())
        throw EKanmuriError(QStringLiteral("\"%1\" に書き込めません。\n%2")
                                .arg(ShownPath(file), file.errorString()));
}

bool FitsField(const QString& name)
{
    return ShiftJisLength(name) <= TPlantRecord::NameBytes;
}

// Names are matched as they read back from the file, so that a name typed in
// the JIS forms (WAVE DASH, ...) finds the plant it was saved as. A name too
// long for its field is no plant: cut, it would find another plant that
// shares its beginning. A name that cannot be written (one read from a
// damaged record) is matched as it is.
QString StoredName(const QString& name)
{
    if (!UnwritableCharacter(name).isEmpty())
        return name;
    if (!FitsField(name))
        return QString();
    return FitShiftJis(name, TPlantRecord::NameBytes);
}

// A plant under a blank name would be one that no list shows.
bool IsBlank(const QString& name)
{
    return name.trimmed().isEmpty();
}

bool EndsWithSeparator(const QString& path)
{
    return path.endsWith(u'/') || path.endsWith(u'\\');
}

} // namespace

TPlant::TPlant(QObject* parent) : QObject(parent) {}

void TPlant::Clear()
{
    Assign(TPlantRecord());
}

void TPlant::Assign(const TPlantRecord& record)
{
    static_cast<TPlantRecord&>(*this) = record;
}

bool TPlant::LoadByName(const QString& name)
{
    QFile file(FileName());
    if (!file.exists())
        return false;
    const QString key = StoredName(name);
    if (key.isEmpty())
        return false;
    Open(file, QIODevice::ReadOnly);
    const QByteArray data = ReadRecords(file);
    for (qsizetype i = 0; i < RecordCount(data); ++i) {
        const TPlantRecord record = RecordAt(data, i);
        if (record.Name == key) {
            Assign(record);
            return true;
        }
    }
    return false;
}

void TPlant::LoadStandard()
{
    Clear();
    QFile file(FileName());
    if (!file.exists())
        return;
    Open(file, QIODevice::ReadOnly);
    const QByteArray data = ReadRecords(file);
    for (qsizetype i = 0; i < RecordCount(data); ++i) {
        Assign(RecordAt(data, i));
        if (Standard == 1)
            return;
    }
}

bool TPlant::Save(const QString& name)
{
    // Checked before the file is opened, so that nothing is half written: a
    // text that Shift-JIS cannot hold fails here, and so does a blank name or
    // one too long for its field.
    if (IsBlank(name)) {
        TPrompt::Beep();
        TPrompt::Message(QStringLiteral("プラント名を入力してください。"));
        return false;
    }
    if (!FitsField(name)) {
        TPrompt::Beep();
        TPrompt::Message(TooLongShiftJisMessage(QStringLiteral("プラント名"), NameBytes));
        return false;
    }
    TPlantRecord saved = *this;
    saved.Name = FitShiftJis(name, NameBytes);
    const QByteArray bytes = saved.ToBytes();

    QFile file(FileName());
    Open(file, QIODevice::ReadWrite);
    const QByteArray data = ReadRecords(file);
    const qsizetype count = RecordCount(data);

    qsizetype target = count;
    for (qsizetype i = 0; i < count; ++i) {
        const TPlantRecord stored = RecordAt(data, i);
        if (stored.Name != saved.Name)
            continue;
        if (stored.Standard == 1 && Standard == 0) {
            TPrompt::Message(QStringLiteral("標準のプラントのチェックをオフにする場合は、"
                                            "他のプラントを標準のプラントにして下さい。"));
            return false;
        }
        target = i;
        break;
    }

    if (Standard == 1) {
        const QByteArray notStandard(4, '\0');
        for (qsizetype i = 0; i < count; ++i)
            WriteAt(file, i * Size + StandardOffset, notStandard);
    }

    // Appending also overwrites a record cut short at the end of the file.
    WriteAt(file, target * Size, bytes);
    Name = saved.Name;
    return true;
}

bool TPlant::Delete(const QString& name)
{
    QFile file(FileName());
    if (!file.exists())
        return false;
    const QString key = StoredName(name);
    if (key.isEmpty())
        return false;
    Open(file, QIODevice::ReadWrite);
    const QByteArray data = ReadRecords(file);
    for (qsizetype i = 0; i < RecordCount(data); ++i) {
        const TPlantRecord stored = RecordAt(data, i);
        if (stored.Name != key)
            continue;
        if (stored.Standard == 1) {
            TPrompt::Message(
                QStringLiteral("標準のプラントに設定されているため、削除できません。"));
            return false;
        }
        // A deleted plant keeps its place and its other bytes; the file never shrinks.
        WriteAt(file, i * Size + NameOffset, QByteArray(1, '\0'));
        return true;
    }
    return false;
}

void TPlant::FillList(QStringList& list) const
{
    list.clear();
    QFile file(FileName());
    if (!file.exists())
        return;
    Open(file, QIODevice::ReadOnly);
    const QByteArray data = ReadRecords(file);
    for (qsizetype i = 0; i < RecordCount(data); ++i) {
        const QString name = RecordAt(data, i).Name;
        if (!name.trimmed().isEmpty())
            list.append(name);
    }
}

QString TPlant::MixDataFolder()
{
    const QString stored = ReadSetting(kSetting);
    if (!stored.isEmpty()) {
        if (QFileInfo(stored).isDir())
            return stored;
        // Most likely a network share that is offline for now: falling back
        // would read and write another Plant.Dat and forget the setting.
        throw EKanmuriError(
            QStringLiteral("配合データフォルダ \"%1\" が見つかりません。\n"
                           "フォルダがあるか、ネットワークにつながっているかを確かめてください。")
                .arg(QDir::toNativeSeparators(stored)));
    }

    // Only read here: other code relies on the current directory staying put.
    QString current = QDir::toNativeSeparators(QDir::currentPath());
    if (EndsWithSeparator(current))
        current.chop(1);
    const QString folder =
        current + QDir::separator() + QStringLiteral("HaigoData") + QDir::separator();
    if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder))
        throw EKanmuriError(current + QDir::separator() +
                            QStringLiteral("HaigoDataフォルダを作成できませんでした"));
    WriteSetting(QStringLiteral("Haigodatapath"), folder);
    return folder;
}

QString TPlant::FileName()
{
    QString folder = MixDataFolder();
    // The setting may have been typed without the closing separator.
    if (!EndsWithSeparator(folder))
        folder += QDir::separator();
    return folder + QStringLiteral("Plant.Dat");
}

#include "foundation/TIniFile.h"

#include "foundation/EKanmuriError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

namespace {

QString Escape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else
            out += c;
    }
    return out;
}

QString Unescape(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size()) {
            QChar n = text[++i];
            out += n == u'n' ? QChar(u'\n') : n == u'r' ? QChar(u'\r') : n;
        } else {
            out += c;
        }
    }
    return out;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TIniFile::TIniFile(const QString& path) : m_path(path) {}

bool TIniFile::Exists() const
{
    return QFileInfo::exists(m_path);
}

QList<TIniFile::Section> TIniFile::Load() const
{
    QList<Section> sections;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return sections;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';'))
            continue;
        if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
            sections.append({trimmed.mid(1, trimmed.size() - 2), {}});
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || sections.isEmpty())
            continue;
        const QString name = line.left(eq).trimmed();
        const QString value = Unescape(line.mid(eq + 1));
        QList<Entry>& entries = sections.last().entries;
        auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const Entry& e) { return SameName(e.name, name); });
        if (it != entries.end())
            it->value = value;
        else
            entries.append({name, value});
    }
    return sections;
}

void TIniFile::Save(const QList<Section>& sections)
{
    QString text;
    for (const Section& s : sections) {
        text += u'[' + s.name + QStringLiteral("]\n");
        for (const Entry& e : s.entries)
            text += e.name + u'=' + Escape(e.value) + u'\n';
        text += u'\n';
    }
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit())
        throw ESettingsError(QStringLiteral("設定ファイル \"%1\" に書き込めません。\n%2")
                                 .arg(QDir::toNativeSeparators(m_path), file.errorString()));
}

template <typename Change> void TIniFile::Modify(Change change)
{
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder))
        throw ESettingsError(QStringLiteral("設定フォルダ \"%1\" を作成できません。")
                                 .arg(QDir::toNativeSeparators(folder)));
    QLockFile lock(m_path + QStringLiteral(".lock"));
    lock.setStaleLockTime(10000);
    if (!lock.tryLock(5000))
        throw ESettingsError(QStringLiteral("設定ファイル \"%1\" は他のプログラムが使用中です。")
                                 .arg(QDir::toNativeSeparators(m_path)));
    QList<Section> sections = Load();
    if (change(sections))
        Save(sections);
}

bool TIniFile::HasSection(const QString& section) const
{
    const QList<Section> sections = Load();
    return std::any_of(sections.begin(), sections.end(),
                       [&](const Section& s) { return SameName(s.name, section); });
}

QString TIniFile::Read(const QString& section, const QString& name, bool* found) const
{
    if (found)
        *found = false;
    for (const Section& s : Load()) {
        if (!SameName(s.name, section))
            continue;
        for (const Entry& e : s.entries) {
            if (SameName(e.name, name)) {
                if (found)
                    *found = true;
                return e.value;
            }
        }
    }
    return QString();
}

void TIniFile::Write(const QString& section, const QString& name, const QString& value)
{
    Modify([&](QList<Section>& sections) {
        auto s = std::find_if(sections.begin(), sections.end(),
                              [&](const Section& x) { return SameName(x.name, section); });
        if (s == sections.end()) {
            sections.append({section, {}});
            s = sections.end() - 1;
        }
        auto e = std::find_if(s->entries.begin(), s->entries.end(),
                              [&](const Entry& x) { return SameName(x.name, name); });
        if (e != s->entries.end())
            e->value = value;
        else
            s->entries.append({name, value});
        return true;
    });
}

void TIniFile::EnsureSection(const QString& section)
{
    if (HasSection(section))
        return;
    Modify([&](QList<Section>& sections) {
        for (const Section& s : sections)
            if (SameName(s.name, section))
                return false;
        sections.append({section, {}});
        return true;
    });
}

#pragma once

#include <QString>
#include <QStringList>

// A small UTF-8 INI file with case-insensitive section and value names, read
// afresh on every call. Writes lock the file against other programs and
// replace it atomically, so a reader never sees half a file and two writers
// do not lose each other's values.
class TIniFile
{
public:
    explicit TIniFile(const QString& path);

    QString Path() const { return m_path; }
    bool Exists() const;
    bool HasSection(const QString& section) const;
    // The value's text; empty when the file, section or value is missing.
    QString Read(const QString& section, const QString& name, bool* found = nullptr) const;
    // Throws ESettingsError when the file cannot be written.
    void Write(const QString& section, const QString& name, const QString& value);
    // Creates the file and the section when missing; throws like Write.
    void EnsureSection(const QString& section);

private:
    struct Entry
    {
        QString name;
        QString value;
    };
    struct Section
    {
        QString name;
        QList<Entry> entries;
    };
    QList<Section> Load() const;
    void Save(const QList<Section>& sections);
    template <typename Change> void Modify(Change change);

    QString m_path;
};

#include "foundation/FileVersion.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <vector>
#include <windows.h>
#endif

namespace {

QString BaseNameWithoutExe(const QString& fileName)
{
    QString name = QFileInfo(fileName).fileName();
    if (name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    return name;
}

bool IsProgramFile(const QString& fileName)
{
    const QString program = QCoreApplication::instance()
                                ? BaseNameWithoutExe(QCoreApplication::applicationFilePath())
                                : QStringLiteral("pTarmak");
    const QString name = BaseNameWithoutExe(fileName);
    return name.compare(program, Qt::CaseInsensitive) == 0 ||
           name.compare(QStringLiteral("pTarmak"), Qt::CaseInsensitive) == 0;
}

#ifdef Q_OS_WIN
QString ResourceString(const QString& fileName, const QString& key)
{
    const std::wstring path = fileName.toStdWString();
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return QString();
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data()))
        return QString();
    struct Translation
    {
        WORD language;
        WORD codePage;
    };
    Translation* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < sizeof(Translation))
        return QString();
    const QString sub = QStringLiteral("\\StringFileInfo\\%1%2\\%3")
                            .arg(translation->language, 4, 16, QChar(u'0'))
                            .arg(translation->codePage, 4, 16, QChar(u'0'))
                            .arg(key);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), reinterpret_cast<LPCWSTR>(sub.utf16()),
                        reinterpret_cast<void**>(&value), &length) ||
        length == 0)
        return QString();
    return QString::fromWCharArray(value, int(length) - 1);
}
#endif

} // namespace

QString ProgramVersion()
{
    return QStringLiteral(KANMURI_VERSION);
}

QString FileVersionString(const QString& fileName, const QString& key)
{
#ifdef Q_OS_WIN
    const QString fromResource = ResourceString(fileName, key);
    if (!fromResource.isEmpty())
        return fromResource;
#endif
    if (IsProgramFile(fileName) &&
        (key.compare(QStringLiteral("FileVersion"), Qt::CaseInsensitive) == 0 ||
         key.compare(QStringLiteral("ProductVersion"), Qt::CaseInsensitive) == 0))
        return ProgramVersion();
    return QString();
}

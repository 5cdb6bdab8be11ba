#include "foundation/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

void InstallFontSubstitutes()
{
    struct Mapping
    {
        const char16_t* windowsName;
        QStringList candidates;
    };
    const Mapping mappings[] = {
        {u"ＭＳ Ｐゴシック",
         {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
          QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")}},
        {u"ＭＳ ゴシック",
         {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
          QStringLiteral("IPAexGothic")}},
        {u"ＭＳ Ｐ明朝",
         {QStringLiteral("IPAPMincho"), QStringLiteral("IPAexMincho"),
          QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAMincho")}},
        {u"ＭＳ 明朝",
         {QStringLiteral("IPAMincho"), QStringLiteral("IPAexMincho"),
          QStringLiteral("Noto Serif CJK JP")}},
    };
    const QStringList installed = QFontDatabase::families();
    for (const Mapping& m : mappings) {
        const QString name = QString::fromUtf16(m.windowsName);
        if (installed.contains(name))
            continue;
        QStringList available;
        for (const QString& c : m.candidates)
            if (installed.contains(c))
                available << c;
        if (!available.isEmpty())
            QFont::insertSubstitutions(name, available);
    }
}

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
    // Substitutes are only looked at for a family that is not installed, and
    // then in order, the first installed one taken: there is no need to read
    // the font list here (which takes longer than the rest of the start).
    for (const Mapping& m : mappings)
        QFont::insertSubstitutions(QString::fromUtf16(m.windowsName), m.candidates);
}

#include "help/THelpPages.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString kFolder = QStringLiteral(":/help/");

// The register windows' topics, by the context strings they carry.
const QHash<QString, QString>& Contexts()
{
    static const QHash<QString, QString> contexts = {
        {QStringLiteral("HID00000002"), QStringLiteral("koji")},
        {QStringLiteral("HID00000003"), QStringLiteral("hacchusya")},
        {QStringLiteral("HID00000004"), QStringLiteral("ukeoisya")},
        {QStringLiteral("HID00000005"), QStringLiteral("simei")}};
    return contexts;
}

bool Exists(const QString& name)
{
    return !name.isEmpty() && QFile::exists(kFolder + name + QStringLiteral(".html"));
}

QString Decoded(QString text)
{
    static const QRegularExpression number(QStringLiteral("&#(\\d+);"));
    QRegularExpressionMatch match;
    while ((match = number.match(text)).hasMatch())
        text.replace(match.capturedStart(), match.capturedLength(),
                     QChar(char16_t(match.captured(1).toUShort())));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    return text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

} // namespace

const QList<THelpPages::TEntry>& THelpPages::Contents()
{
    // The window pages follow the program's menus.
    static const QList<TEntry> contents = {
        {QStringLiteral("index"), 0},     {QStringLiteral("start"), 0},
        {QStringLiteral("windows"), 0},   {QStringLiteral("main"), 1},
        {QStringLiteral("open"), 1},      {QStringLiteral("koji"), 1},
        {QStringLiteral("hacchusya"), 1}, {QStringLiteral("ukeoisya"), 1},
        {QStringLiteral("simei"), 1},     {QStringLiteral("kosyu"), 1},
        {QStringLiteral("gozai"), 1},     {QStringLiteral("kikaku"), 1},
        {QStringLiteral("plant"), 1},     {QStringLiteral("hantei"), 1},
        {QStringLiteral("houhou"), 1},    {QStringLiteral("printset"), 1},
        {QStringLiteral("preview"), 1},   {QStringLiteral("env"), 1},
        {QStringLiteral("server"), 1},    {QStringLiteral("digits"), 1},
        {QStringLiteral("font"), 1},      {QStringLiteral("import"), 1},
        {QStringLiteral("terms"), 0},     {QStringLiteral("trouble"), 0},
        {QStringLiteral("cmdline"), 0}};
    return contents;
}

QString THelpPages::Home()
{
    return QStringLiteral("index");
}

QString THelpPages::Html(const QString& name)
{
    QFile file(kFolder + name + QStringLiteral(".html"));
    if (name.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QString THelpPages::Title(const QString& name)
{
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    return Decoded(title.match(Html(name)).captured(1).trimmed());
}

QString THelpPages::PlainText(const QString& name)
{
    QString html = Html(name);
    static const QRegularExpression head(QStringLiteral("<head>.*?</head>"),
                                         QRegularExpression::DotMatchesEverythingOption |
                                             QRegularExpression::CaseInsensitiveOption);
    html.remove(head);
    // Blocks end a line; inline markup (bold, links, code) is part of the
    // words it marks.
    static const QRegularExpression block(
        QStringLiteral("<(/?(p|br|li|h\\d|tr|td|th|div|dt|dd|table|ol|ul|pre)\\b[^>]*)>"),
        QRegularExpression::CaseInsensitiveOption);
    html.replace(block, QStringLiteral("\n"));
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    html.remove(tag);
    return Decoded(html);
}

QString THelpPages::PageOf(const QString& topic)
{
    const QString page = topic.section(u'#', 0, 0);
    const QString name = Contexts().value(page, page);
    return Exists(name) ? name : Home();
}

QString THelpPages::AnchorOf(const QString& topic)
{
    return topic.contains(u'#') ? topic.section(u'#', 1) : QString();
}

QUrl THelpPages::Url(const QString& topic)
{
    QUrl url(QStringLiteral("qrc") + kFolder + PageOf(topic) + QStringLiteral(".html"));
    if (const QString anchor = AnchorOf(topic); !anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QString THelpPages::PageOfUrl(const QUrl& url)
{
    const QString path = url.path();
    if (url.scheme() != QStringLiteral("qrc") || !path.startsWith(QStringLiteral("/help/")) ||
        !path.endsWith(QStringLiteral(".html")))
        return QString();
    return path.mid(6, path.size() - 6 - 5);
}

QString THelpPages::Folded(const QString& text)
{
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QStringList THelpPages::Search(const QString& words)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList wanted = Folded(words).split(blanks, Qt::SkipEmptyParts);
    if (wanted.isEmpty())
        return {};
    struct THit
    {
        QString name;
        qsizetype count;
        int order;
    };
    QList<THit> hits;
    const QList<TEntry>& pages = Contents();
    for (int i = 0; i < pages.size(); ++i) {
        const QString text = Folded(PlainText(pages[i].Name));
        qsizetype count = 0;
        for (const QString& word : wanted) {
            const qsizetype n = text.count(word);
            if (n == 0) {
                count = 0;
                break;
            }
            count += n;
        }
        if (count > 0)
            hits.append({pages[i].Name, count, i});
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const THit& a, const THit& b) { return a.count > b.count; });
    QStringList names;
    for (const THit& hit : hits)
        names << hit.name;
    return names;
}

#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

// The help pages, built into the program (resource folder ":/help", one
// "<name>.html" per page, pictures beside them), in the order of the
// contents, and the search over them.
//
// A topic names a page ("main"), a place on a page ("main#csv"), or one of
// the context strings the register windows carry ("HID00000002").
class THelpPages
{
public:
    struct TEntry
    {
        QString Name; // the page's file name without ".html"
        int Level;    // 0 at the top of the contents, 1 under the entry before
    };

    // Every page, in the order of the contents.
    static const QList<TEntry>& Contents();
    // The page shown when a topic names none.
    static QString Home();

    // The page's markup; empty when there is no such page.
    static QString Html(const QString& name);
    // Its title (the <title> of the page).
    static QString Title(const QString& name);
    // Its text without markup: what the reader sees, for the search.
    static QString PlainText(const QString& name);

    // The page and the place on it that `topic` names; an unknown topic
    // names the home page.
    static QString PageOf(const QString& topic);
    static QString AnchorOf(const QString& topic);
    static QUrl Url(const QString& topic);
    // The page of a help address (the inverse of Url); empty for another.
    static QString PageOfUrl(const QUrl& url);

    // The pages in which every word of `words` stands (blanks separate the
    // words; full-width and half-width letters, and upper and lower case,
    // count alike), the one with the most hits first.
    static QStringList Search(const QString& words);
    // `text` as the search compares it.
    static QString Folded(const QString& text);
};

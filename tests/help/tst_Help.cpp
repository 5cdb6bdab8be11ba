#include "acceptance/TFormGokakuHanteiti.h"
#include "acceptance/TFormGokakuHanteitiKeisanHouhou.h"
#include "app/TCommandLine.h"
#include "app/TfrmEditHojitsu4.h"
#include "app/TfrmSetFont.h"
#include "app/TfrmSetHojituKetasu.h"
#include "controls/TFormSelect.h"
#include "controls/TfSelectMultiItems.h"
#include "controls/TfrmListBox.h"
#include "foundation/Settings.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "help/THelp.h"
#include "help/THelpPages.h"
#include "help/TfrmHelp.h"
#include "masters/TfrmEditHacchusya.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "masters/TfrmEditSimei.h"
#include "masters/TfrmEditUkeoisya.h"
#include "mix/TFormGozaiDefVer.h"
#include "mix/TFormPlant.h"
#include "mix/TFormRyudoKikaku.h"
#include "mix/TGozaiDef.h"
#include "mix/TPlant.h"
#include "mix/TfrmEditGozaiDef.h"
#include "print/TFormPreview.h"
#include "print/TFormPrintSet.h"
#include "print/TfrmPreView.h"
#include "support/TTestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTextStream>
#include <functional>
#include <memory>

namespace {

// `text` as the comparison of quotes sees it: without blanks and line
// breaks, and without the "&" that marks a menu's key ("登録(&O)" is shown
// "登録(O)").
QString Plain(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    text.removeIf([](QChar c) { return c.isSpace(); });
    return text;
}

// Every string literal of the program's sources; literals written one after
// the other are one text, as the compiler joins them.
QStringList SourceTexts(const QString& folder)
{
    QStringList texts;
    QDirIterator files(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString code = QString::fromUtf8(file.readAll());
        QString joined;
        bool joining = false;
        for (qsizetype i = 0; i < code.size(); ++i) {
            const QChar c = code[i];
            if (c == u'/' && code.mid(i, 2) == QStringLiteral("//")) {
                i = code.indexOf(u'\n', i);
                if (i < 0)
                    break;
                continue;
            }
            if (c == u'/' && code.mid(i, 2) == QStringLiteral("/*")) {
                i = code.indexOf(QStringLiteral("*/"), i + 2) + 1;
                if (i <= 0)
                    break;
                continue;
            }
            if (c == u'\'') { // a character: '"' is no string
                while (++i < code.size() && code[i] != u'\'')
                    if (code[i] == u'\\')
                        ++i;
                continue;
            }
            if (c == u'"') {
                QString literal;
                while (++i < code.size() && code[i] != u'"') {
                    if (code[i] == u'\\' && i + 1 < code.size()) {
                        const QChar e = code[++i];
                        literal += e == u'n' ? QChar(u'\n') : e == u't' ? QChar(u'\t') : e;
                    } else {
                        literal += code[i];
                    }
                }
                joined = joining ? joined + literal : literal;
                joining = true;
                continue;
            }
            // Blanks and a prefix (u"", u8"", L"") keep literals together.
            if (c.isSpace() ||
                (joining && (c == u'u' || c == u'8' || c == u'L') &&
                 code.mid(i).contains(QRegularExpression(QStringLiteral("^(u8|u|L)\"")))))
                continue;
            if (joining)
                texts << Plain(joined);
            joining = false;
        }
        if (joining)
            texts << Plain(joined);
    }
    return texts;
}

// The texts a page quotes in 「」, the outer quote only.
QStringList Quotes(const QString& text)
{
    QStringList quotes;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'「' && depth++ == 0)
            start = i + 1;
        else if (text[i] == u'」' && depth > 0 && --depth == 0)
            quotes << text.mid(start, i - start);
    }
    return quotes;
}

// Whether `quote` (where "…" stands for what the program fills in) is a text
// of the program: its pieces stand, in order, in one literal; or it is a
// whole message (or its first sentences) whose "%1" parts it fills in.
class TProgramTexts
{
public:
    explicit TProgramTexts(const QStringList& literals) : m_literals(literals)
    {
        static const QRegularExpression hole(QStringLiteral("%\\d"));
        for (const QString& literal : literals) {
            if (!literal.contains(hole))
                continue;
            QStringList sentences;
            for (qsizetype end = literal.indexOf(u'。'); end >= 0;
                 end = literal.indexOf(u'。', end + 1))
                sentences << literal.left(end + 1);
            sentences << literal;
            for (const QString& sentence : sentences) {
                QString pattern = QRegularExpression::escape(sentence);
                pattern.replace(QRegularExpression(QStringLiteral("\\\\?%\\d")),
                                QStringLiteral("(.+?)"));
                m_templates << QRegularExpression(QStringLiteral("^") + pattern +
                                                  QStringLiteral("$"));
            }
        }
    }

    bool Contains(const QString& quote) const
    {
        const QStringList pieces = quote.split(u'…', Qt::SkipEmptyParts);
        if (pieces.isEmpty())
            return false;
        for (const QString& literal : m_literals) {
            qsizetype at = 0;
            for (const QString& piece : pieces) {
                at = literal.indexOf(piece, at);
                if (at < 0)
                    break;
                at += piece.size();
            }
            if (at >= 0)
                return true;
        }
        for (const QRegularExpression& message : m_templates)
            if (message.match(quote).hasMatch())
                return true;
        return false;
    }

private:
    QStringList m_literals;
    QList<QRegularExpression> m_templates;
};

// The buttons of the message boxes and dialogs that Qt shows for the program,
// in its Japanese translation.
QStringList QtTexts()
{
    QStringList texts;
    static const QRegularExpression key(QStringLiteral("\\([A-Z]\\)$"));
    for (const char* button : {"OK", "Cancel", "&Yes", "&No", "Save", "Open"})
        texts << Plain(QCoreApplication::translate("QPlatformTheme", button)).remove(key);
    return texts;
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

    QStringList m_quoted;

    // F1 in `window` (and, when given, a click on its entry `entry`) opens
    // the help at `topic`.
    void ExpectHelp(QWidget* window, const QString& topic, const char* entry = nullptr)
    {
        const auto check = [&](const char* how) {
            TfrmHelp* help = THelp::Window();
            QVERIFY2(help && help->isVisible(), how);
            QCOMPARE(help->CurrentPage(), THelpPages::PageOf(topic));
            QCOMPARE(help->CurrentAnchor(), THelpPages::AnchorOf(topic));
            help->hide();
            help->ShowTopic(QStringLiteral("cmdline"));
        };
        QVERIFY2(ActivateWindow(window), qPrintable(window->objectName()));
        QTest::keyClick(window, Qt::Key_F1);
        check(qPrintable(window->objectName()));
        if (entry) {
            TriggerAction(window, entry);
            check(entry);
        }
        window->hide();
    }

private slots:
    void initTestCase()
    {
        WriteSetting(QStringLiteral("HaigoDataPath"),
                     TTestEnvironment::Current().NewFolder() + QDir::separator());
    }

    void everyWindowOpensItsPage()
    {
        TfrmEditHojitsu4 main;
        ExpectHelp(&main, QStringLiteral("index"), "mnuContents");
        TriggerAction(&main, "mnuStart");
        QCOMPARE(THelp::Window()->CurrentPage(), QStringLiteral("start"));

        auto koji = std::make_unique<TfrmEditKoji>(nullptr);
        ExpectHelp(koji.get(), QStringLiteral("koji"), "mnuHelp");
        TfrmListBox projects(koji.get()); // "工事検索" gives the window's own page
        ExpectHelp(&projects, QStringLiteral("koji"));
        TfrmEditHacchusya client;
        ExpectHelp(&client, QStringLiteral("hacchusya"), "mnuHelp");
        TfrmEditUkeoisya contractor;
        ExpectHelp(&contractor, QStringLiteral("ukeoisya"), "mnuHelp");
        TfrmEditSimei person;
        ExpectHelp(&person, QStringLiteral("simei"), "mnuHelp");
        TfrmEditKosyu workTypes;
        ExpectHelp(&workTypes, QStringLiteral("kosyu"));

        // The mixture tables of a fresh data folder are made when asked.
        for (int i = 0; i < 3; ++i)
            TTestEnvironment::Current().prompt.AnswerNext(true);
        TfrmEditGozaiDef mixes;
        ExpectHelp(&mixes, QStringLiteral("gozai"));
        TriggerAction(&mixes, "mnuContents");
        QCOMPARE(THelp::Window()->CurrentPage(), QStringLiteral("index"));
        TFormRyudoKikaku standards;
        ExpectHelp(&standards, QStringLiteral("kikaku"));
        TFormPlant plants;
        ExpectHelp(&plants, QStringLiteral("plant"));
        TFormGozaiDefVer version;
        ExpectHelp(&version, QStringLiteral("gozai#version"));
        TFormSelect names;
        ExpectHelp(&names, QStringLiteral("gozai#open"));
        TGozaiDef mix;
        TPlant plant;
        TFormGokakuHanteiti acceptance(&mix, &plant);
        ExpectHelp(&acceptance, QStringLiteral("hantei"));
        TFormGokakuHanteitiKeisanHouhou method;
        ExpectHelp(&method, QStringLiteral("houhou"));

        TfrmSetDataPath environment;
        ExpectHelp(&environment, QStringLiteral("env"));
        TfrmSetHojituKetasu digits;
        ExpectHelp(&digits, QStringLiteral("digits"));
        TfrmSetFont font;
        ExpectHelp(&font, QStringLiteral("font"));
        TFormPrintSet printSettings;
        ExpectHelp(&printSettings, QStringLiteral("printset"));
        TfrmPreView sheetPreview;
        ExpectHelp(&sheetPreview, QStringLiteral("preview"));
        TFormPreview acceptancePreview;
        ExpectHelp(&acceptancePreview, QStringLiteral("preview#acceptance"));
        TfSelectMultiItems open;
        ExpectHelp(&open, QStringLiteral("open"));

        THelp::Show(QStringLiteral("index"));
        ExpectHelp(THelp::Window(), QStringLiteral("index#usage"));
    }

    void pagesLinksAndPicturesExist()
    {
        QStringList listed;
        for (const THelpPages::TEntry& entry : THelpPages::Contents()) {
            listed << entry.Name;
            QVERIFY2(!THelpPages::Title(entry.Name).isEmpty(), qPrintable(entry.Name));
        }
        const QStringList files = QDir(QStringLiteral(":/help")).entryList({"*.html"});
        QCOMPARE(files.size(), listed.size());
        for (const char* context : {"HID00000002", "HID00000003", "HID00000004", "HID00000005"})
            QVERIFY(THelpPages::PageOf(QString::fromLatin1(context)) != THelpPages::Home());

        static const QRegularExpression link(QStringLiteral("(href|src)=\"([^\"]*)\""));
        static const QRegularExpression anchor(QStringLiteral("(name|id)=\"([^\"]*)\""));
        QStringList broken;
        for (const QString& page : listed) {
            for (auto m = link.globalMatch(THelpPages::Html(page)); m.hasNext();) {
                const QRegularExpressionMatch target = m.next();
                const QString file = target.captured(2).section(u'#', 0, 0);
                const QString place = target.captured(2).section(u'#', 1);
                const QString html = THelpPages::Html(file.isEmpty() ? page : file.chopped(5));
                bool found = file.isEmpty() || QFile::exists(QStringLiteral(":/help/") + file);
                if (found && !place.isEmpty()) {
                    found = false;
                    for (auto a = anchor.globalMatch(html); a.hasNext();)
                        if (a.next().captured(2) == place)
                            found = true;
                }
                if (!found)
                    broken << page + QStringLiteral(": ") + target.captured(2);
            }
            for (const QString& quote : Quotes(THelpPages::PlainText(page)))
                m_quoted << page + u'\t' + quote;
        }
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
    }

    void quotedTextsAreTheProgramsOwn()
    {
        QVERIFY(!m_quoted.isEmpty());
        const TProgramTexts program(SourceTexts(QFINDTESTDATA("../../src")));
        const QStringList qt = QtTexts();
        QStringList unknown;
        for (const QString& entry : std::as_const(m_quoted)) {
            const QString quote = Plain(entry.section(u'\t', 1));
            if (!qt.contains(quote) && !program.Contains(quote))
                unknown << entry;
        }
        QVERIFY2(unknown.isEmpty(), qPrintable(QStringLiteral("\n") + unknown.join(u'\n')));
    }

    void searchFindsAWordOnItsPage()
    {
        // Only the font page names its window's caption; full-width and
        // upper case letters find it too.
        QCOMPARE(THelpPages::Search(QStringLiteral("frmSetFont")), QStringList{"font"});
        QCOMPARE(THelpPages::Search(QStringLiteral("ＦＲＭＳＥＴＦＯＮＴ")), QStringList{"font"});
        QCOMPARE(THelpPages::Search(QStringLiteral("frmSetFont 鉄道")), QStringList());

        THelp::Show(QStringLiteral("index"));
        TfrmHelp* help = THelp::Window();
        help->SearchEdit->setText(QStringLiteral("frmSetFont"));
        QTest::mouseClick(help->SearchButton, Qt::LeftButton);
        QCOMPARE(help->Results->count(), 1);
        help->ResultsClick(help->Results->item(0));
        QCOMPARE(help->CurrentPage(), QStringLiteral("font"));
        QCOMPARE(help->Browser->textCursor().selectedText(), QStringLiteral("frmSetFont"));
        help->actBack->trigger();
        QCOMPARE(help->CurrentPage(), QStringLiteral("index"));
    }

    void commandLinePageNamesEveryCommand()
    {
        QString usage, errors;
        QTextStream out(&usage), err(&errors);
        QCOMPARE(TCommandLine::Run({QStringLiteral("--help")}, out, err), 0);
        out.flush();
        const QString page = THelpPages::PlainText(QStringLiteral("cmdline"));
        static const QRegularExpression word(QStringLiteral("(pTarmak [a-z-]+|--[a-z-]+)"));
        QStringList missing;
        for (auto m = word.globalMatch(usage); m.hasNext();)
            if (const QString w = m.next().captured(1); !page.contains(w))
                missing << w;
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u' ')));
    }
};

KANMURI_TEST_MAIN(TestHelp)
#include "tst_Help.moc"

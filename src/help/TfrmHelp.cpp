#include "help/TfrmHelp.h"

#include "foundation/gui/TActivation.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"
#include "help/THelpPages.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TfrmHelp::TfrmHelp(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("ヘルプ"));
    // Reading the help and coming back is no change of window: what was
    // typed there stays.
    TActivation::SetPassive(this);

    QToolBar* tools = addToolBar(QStringLiteral("ヘルプ"));
    tools->setObjectName(QStringLiteral("ToolBar1"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    actBack =
        Named(tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("戻る")),
              "actBack");
    actBack->setShortcut(QKeySequence::Back);
    actForward = Named(
        tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("進む")),
        "actForward");
    actForward->setShortcut(QKeySequence::Forward);
    actHome = Named(
        tools->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("目次")),
        "actHome");

    auto* splitter = new QSplitter(this);
    setCentralWidget(splitter);

    Tabs = Named(new QTabWidget(splitter), "Tabs");
    Contents = Named(new QTreeWidget(Tabs), "Contents");
    Contents->setHeaderHidden(true);
    Contents->setRootIsDecorated(true);
    Tabs->addTab(Contents, QStringLiteral("目次"));

    auto* searchPage = new QWidget(Tabs);
    SearchEdit = Named(new QLineEdit(searchPage), "SearchEdit");
    SearchEdit->setPlaceholderText(QStringLiteral("調べたい言葉"));
    SearchButton = Named(new QPushButton(QStringLiteral("検索"), searchPage), "SearchButton");
    Results = Named(new QListWidget(searchPage), "Results");
    auto* row = new QHBoxLayout;
    row->addWidget(SearchEdit);
    row->addWidget(SearchButton);
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addLayout(row);
    searchLayout->addWidget(Results);
    Tabs->addTab(searchPage, QStringLiteral("検索"));

    Browser = Named(new QTextBrowser(splitter), "Browser");
    Browser->setOpenExternalLinks(true);
    QFont text = Browser->font();
    text.setPointSize(11);
    Browser->setFont(text);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 750});

    QTreeWidgetItem* parentItem = nullptr;
    for (const THelpPages::TEntry& entry : THelpPages::Contents()) {
        QTreeWidgetItem* item = entry.Level > 0 && parentItem ? new QTreeWidgetItem(parentItem)
                                                              : new QTreeWidgetItem(Contents);
        item->setText(0, THelpPages::Title(entry.Name));
        item->setData(0, Qt::UserRole, entry.Name);
        if (entry.Level == 0)
            parentItem = item;
    }
    Contents->expandAll();

    Connect(actBack, &QAction::triggered, Browser, &QTextBrowser::backward);
    Connect(actForward, &QAction::triggered, Browser, &QTextBrowser::forward);
    Connect(actHome, &QAction::triggered, this,
            [](TfrmHelp* w) { w->ShowTopic(THelpPages::Home()); });
    Connect(Browser, &QTextBrowser::backwardAvailable, actBack, &QAction::setEnabled);
    Connect(Browser, &QTextBrowser::forwardAvailable, actForward, &QAction::setEnabled);
    Connect(Browser, &QTextBrowser::sourceChanged, this, &TfrmHelp::BrowserSourceChanged);
    Connect(Contents, &QTreeWidget::itemClicked, this, &TfrmHelp::ContentsClick);
    Connect(Contents, &QTreeWidget::itemActivated, this, &TfrmHelp::ContentsClick);
    Connect(SearchButton, &QPushButton::clicked, this, &TfrmHelp::SearchClick);
    Connect(SearchEdit, &QLineEdit::returnPressed, this, &TfrmHelp::SearchClick);
    Connect(Results, &QListWidget::itemClicked, this, &TfrmHelp::ResultsClick);
    Connect(Results, &QListWidget::itemActivated, this, &TfrmHelp::ResultsClick);
    actBack->setEnabled(false);
    actForward->setEnabled(false);

    // F1 here explains the help itself.
    THelp::AddKey(this, QStringLiteral("index#usage"));

    resize(980, 700);
    CentreOnScreen(this);
}

void TfrmHelp::ShowTopic(const QString& topic)
{
    m_words.clear();
    Browser->setSource(THelpPages::Url(topic));
}

QString TfrmHelp::CurrentPage() const
{
    return THelpPages::PageOfUrl(Browser->source());
}

QString TfrmHelp::CurrentAnchor() const
{
    return Browser->source().fragment();
}

void TfrmHelp::SelectInContents(const QString& page)
{
    const QSignalBlocker quiet(Contents);
    for (QTreeWidgetItemIterator it(Contents); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == page) {
            Contents->setCurrentItem(*it);
            return;
        }
    }
    Contents->clearSelection();
}

void TfrmHelp::BrowserSourceChanged(const QUrl& url)
{
    const QString page = THelpPages::PageOfUrl(url);
    setWindowTitle(QStringLiteral("ヘルプ - ") + THelpPages::Title(page));
    SelectInContents(page);
    // Opened from the search: the first place of the words is shown marked.
    if (!m_words.isEmpty())
        Browser->moveCursor(QTextCursor::Start);
    for (const QString& word : std::as_const(m_words))
        if (Browser->find(word))
            break;
    m_words.clear();
}

void TfrmHelp::ContentsClick(QTreeWidgetItem* item, int)
{
    if (item)
        ShowTopic(item->data(0, Qt::UserRole).toString());
}

void TfrmHelp::SearchClick()
{
    Results->clear();
    const QStringList found = THelpPages::Search(SearchEdit->text());
    for (const QString& page : found) {
        auto* item = new QListWidgetItem(THelpPages::Title(page), Results);
        item->setData(Qt::UserRole, page);
    }
    if (found.isEmpty() && !SearchEdit->text().trimmed().isEmpty()) {
        auto* item = new QListWidgetItem(QStringLiteral("見つかりませんでした。"), Results);
        item->setFlags(Qt::NoItemFlags);
    }
}

void TfrmHelp::ResultsClick(QListWidgetItem* item)
{
    const QString page = item ? item->data(Qt::UserRole).toString() : QString();
    if (page.isEmpty())
        return;
    const QStringList words = SearchEdit->text().simplified().split(u' ', Qt::SkipEmptyParts);
    ShowTopic(page);
    // The page may be the one shown: no new source, so mark here too.
    m_words = words;
    BrowserSourceChanged(Browser->source());
}

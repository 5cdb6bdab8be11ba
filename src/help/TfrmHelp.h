#pragma once

#include <QMainWindow>

class QAction;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class QUrl;

// The help window: the contents (or the pages a search found) on the left,
// the page on the right, with back, forward and the contents page above.
class TfrmHelp : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmHelp(QWidget* parent = nullptr);

    void ShowTopic(const QString& topic);
    // The page shown ("main") and the place on it ("csv", or empty).
    QString CurrentPage() const;
    QString CurrentAnchor() const;

    QTabWidget* Tabs;
    QTreeWidget* Contents;
    QLineEdit* SearchEdit;
    QPushButton* SearchButton;
    QListWidget* Results;
    QTextBrowser* Browser;
    QAction* actBack;
    QAction* actForward;
    QAction* actHome;

public slots:
    void ContentsClick(QTreeWidgetItem* item, int column = 0);
    void SearchClick();
    void ResultsClick(QListWidgetItem* item);
    void BrowserSourceChanged(const QUrl& url);

private:
    void SelectInContents(const QString& page);

    // The words of the last search, marked on a page opened from its results.
    QStringList m_words;
};

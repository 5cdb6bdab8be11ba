#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

// What the list asks its rows for: those whose shown texts contain every
// word, in the order of one column (-1: as given).
struct TListQuery
{
    QStringList Words;
    int SortColumn = -1;
    Qt::SortOrder Order = Qt::AscendingOrder;
};

// Rows read as they are needed, for lists too long to read whole: Count says
// how many rows a query finds, Rows gives `count` of them from the `first`,
// each the caption followed by the sub-items.
struct TListSource
{
    std::function<int(const TListQuery&)> Count;
    std::function<QList<QStringList>(const TListQuery&, int first, int count)> Rows;
};

// "データを開く": one row per stored item, a caption and four sub-items (the
// last column is hidden). The caller fills the rows or gives a source, shows
// it modally and after OK reads SelectedSubItems; OK without a selected row
// gives none. The search box above the list narrows it to the rows that
// contain every word typed; a click on a heading sorts by that column.
class TfSelectMultiItems : public QDialog
{
    Q_OBJECT
public:
    explicit TfSelectMultiItems(QWidget* parent = nullptr);

    static constexpr int kSubItemCount = 4;
    // Rows read from a source at a time: the first of them show at once, more
    // follow as the list is scrolled down.
    static constexpr int kPageRows = 200;

    void Clear();
    // Sub-items beyond the fourth are ignored, missing ones are empty.
    void AddItem(const QString& caption, const QStringList& subItems);
    // Replaces every row: each is the caption followed by the sub-items.
    void SetRows(QList<QStringList> rows);
    // Replaces every row by those of `source`, in the order of `sortColumn`,
    // with an empty search. Reads the count and the first rows.
    void SetSource(TListSource source, int sortColumn, Qt::SortOrder order);
    // The titles of the shown columns; without them the list has no headings.
    void SetHeadings(const QStringList& headings);
    // The rows the search finds.
    int RowCount() const;
    // The four sub-items of the selected row, or an empty list when no row is
    // selected.
    QStringList SelectedSubItems() const;

    QLineEdit* Edit1;
    QTreeView* ListView1;
    QLabel* Label1;
    QPushButton* Button1;

public slots:
    void Button1Click();
    void ListView1DblClick();
    void ListView1ColumnClick(int column);
    void Edit1Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    class TRows;
    class TGivenRows;
    void PlaceControls();
    void Requery(const TListSource& source, const TListQuery& query);
    void ShowGivenRows();
    TRows* m_rows;
    std::shared_ptr<TGivenRows> m_given;
};

#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTreeView;

// "データを開く": one row per stored item, a caption and four sub-items (the
// last column is hidden). The caller fills the rows, shows it modally and
// after OK reads SelectedSubItems; OK without a selected row gives none.
// The rows live in a model, so a list of 100,000 opens at once.
class TfSelectMultiItems : public QDialog
{
    Q_OBJECT
public:
    explicit TfSelectMultiItems(QWidget* parent = nullptr);

    static constexpr int kSubItemCount = 4;

    void Clear();
    // Sub-items beyond the fourth are ignored, missing ones are empty.
    void AddItem(const QString& caption, const QStringList& subItems);
    // Replaces every row: each is the caption followed by the sub-items.
    void SetRows(QList<QStringList> rows);
    int RowCount() const;
    // The four sub-items of the selected row, or an empty list when no row is
    // selected.
    QStringList SelectedSubItems() const;

    QTreeView* ListView1;
    QPushButton* Button1;

public slots:
    void Button1Click();
    void ListView1DblClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    class TRows;
    void PlaceControls();
    TRows* m_rows;
};

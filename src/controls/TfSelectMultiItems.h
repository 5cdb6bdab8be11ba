#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTreeWidget;

// "データを開く": one row per stored item, a caption and four sub-items (the
// last column is hidden). The caller fills the rows, shows it modally and
// after OK reads SelectedSubItems; OK without a selected row gives none.
class TfSelectMultiItems : public QDialog
{
    Q_OBJECT
public:
    explicit TfSelectMultiItems(QWidget* parent = nullptr);

    static constexpr int kSubItemCount = 4;

    void Clear();
    // Sub-items beyond the fourth are ignored, missing ones are empty.
    void AddItem(const QString& caption, const QStringList& subItems);
    // The four sub-items of the selected row, or an empty list when no row is
    // selected.
    QStringList SelectedSubItems() const;

    QTreeWidget* ListView1;
    QPushButton* Button1;

public slots:
    void Button1Click();
    void ListView1DblClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceControls();
};

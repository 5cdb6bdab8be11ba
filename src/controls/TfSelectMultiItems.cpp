#include "controls/TfSelectMultiItems.h"

#include "foundation/TApplication.h"
#include "help/THelp.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>

// The rows as texts, caption first; read-only.
class TfSelectMultiItems::TRows : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : 1 + kSubItemCount;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_rows[index.row()].value(index.column());
    }

    void Set(QList<QStringList> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }
    void Append(QStringList row)
    {
        beginInsertRows({}, int(m_rows.size()), int(m_rows.size()));
        m_rows.append(std::move(row));
        endInsertRows();
    }
    const QStringList& Row(int row) const { return m_rows[row]; }

private:
    QList<QStringList> m_rows;
};

TfSelectMultiItems::TfSelectMultiItems(QWidget* parent) : QDialog(parent), m_rows(new TRows(this))
{
    setObjectName(QStringLiteral("fSelectMultiItems"));
    setWindowTitle(QStringLiteral("データを開く"));
    THelp::AddKey(this, QStringLiteral("open"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    ListView1 = new QTreeView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(m_rows);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setHeaderHidden(true);
    ListView1->header()->setStretchLastSection(false);
    const int widths[] = {250, 100, 100, 100};
    for (int column = 0; column < 4; ++column)
        ListView1->setColumnWidth(column, widths[column]);
    // The record ID: carried for the caller, not shown.
    ListView1->setColumnHidden(4, true);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);

    resize(561, 316);
    PlaceControls();

    Connect(Button1, &QPushButton::clicked, this, &TfSelectMultiItems::Button1Click);
    Connect(ListView1, &QTreeView::doubleClicked, this, &TfSelectMultiItems::ListView1DblClick);
}

void TfSelectMultiItems::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceControls();
}

void TfSelectMultiItems::PlaceControls()
{
    // At 561 x 316: the list 241 high across the top, the button at (456, 248).
    ListView1->setGeometry(0, 0, width(), height() - 75);
    Button1->setGeometry(width() - 105, height() - 68, 75, 25);
}

void TfSelectMultiItems::Clear()
{
    m_rows->Set({});
}

void TfSelectMultiItems::AddItem(const QString& caption, const QStringList& subItems)
{
    QStringList row{caption};
    for (int i = 0; i < kSubItemCount; ++i)
        row << subItems.value(i);
    m_rows->Append(std::move(row));
}

void TfSelectMultiItems::SetRows(QList<QStringList> rows)
{
    for (QStringList& row : rows) {
        while (row.size() < 1 + kSubItemCount)
            row << QString();
    }
    m_rows->Set(std::move(rows));
}

int TfSelectMultiItems::RowCount() const
{
    return m_rows->rowCount();
}

QStringList TfSelectMultiItems::SelectedSubItems() const
{
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return {};
    return m_rows->Row(selected.first().row()).mid(1, kSubItemCount);
}

void TfSelectMultiItems::Button1Click()
{
    accept();
}

void TfSelectMultiItems::ListView1DblClick()
{
    Button1Click();
}

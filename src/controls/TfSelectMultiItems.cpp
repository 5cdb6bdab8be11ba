#include "controls/TfSelectMultiItems.h"

#include "foundation/gui/TApplication.h"
#include "help/THelp.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QTreeView>
#include <algorithm>
#include <utility>

// The rows found so far, caption first; read-only. More are read from the
// source when the view scrolls to the last of them.
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
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return m_headings.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    bool canFetchMore(const QModelIndex& parent) const override
    {
        return !parent.isValid() && m_rows.size() < m_found;
    }
    void fetchMore(const QModelIndex& parent) override
    {
        if (parent.isValid())
            return;
        // The view asks again whenever it is at the end of the rows: a read
        // that failed once is not repeated for every scroll.
        const int found = std::exchange(m_found, int(m_rows.size()));
        TApplication::Guard([&] {
            QList<QStringList> rows = m_source.Rows(m_query, int(m_rows.size()), kPageRows);
            if (rows.isEmpty())
                return; // fewer than counted: rows deleted meanwhile
            beginInsertRows({}, int(m_rows.size()), int(m_rows.size() + rows.size()) - 1);
            m_rows.append(Completed(std::move(rows)));
            endInsertRows();
            m_found = std::max(found, int(m_rows.size()));
        });
    }

    // Reads the count and the first rows of `query`; on failure the rows
    // stay as they were.
    void Query(const TListSource& source, const TListQuery& query)
    {
        const int found = source.Count(query);
        QList<QStringList> rows =
            found > 0 ? source.Rows(query, 0, kPageRows) : QList<QStringList>();
        beginResetModel();
        m_source = source;
        m_query = query;
        m_rows = Completed(std::move(rows));
        m_found = std::max(found, int(m_rows.size()));
        endResetModel();
    }
    void SetHeadings(const QStringList& headings)
    {
        m_headings = headings;
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }

    const QStringList& Row(int row) const { return m_rows[row]; }
    int Found() const { return m_found; }
    const TListQuery& Query() const { return m_query; }
    const TListSource& Source() const { return m_source; }

private:
    static QList<QStringList> Completed(QList<QStringList> rows)
    {
        for (QStringList& row : rows) {
            while (row.size() < 1 + kSubItemCount)
                row << QString();
        }
        return rows;
    }

    TListSource m_source;
    TListQuery m_query;
    QList<QStringList> m_rows;
    int m_found = 0;
    QStringList m_headings;
};

// Rows the caller gave, searched and sorted here.
class TfSelectMultiItems::TGivenRows
{
public:
    QList<QStringList> rows;

    TListSource Source(const std::shared_ptr<TGivenRows>& self)
    {
        return {[self](const TListQuery& query) { return int(self->Found(query).size()); },
                [self](const TListQuery& query, int first, int count) {
                    const QList<int>& found = self->Found(query);
                    QList<QStringList> page;
                    for (int i = first; i < std::min(int(found.size()), first + count); ++i)
                        page << self->rows[found[i]];
                    return page;
                }};
    }

private:
    // The rows `query` finds, in its order; kept for the pages that follow.
    const QList<int>& Found(const TListQuery& query)
    {
        if (m_valid && m_rowsFound == rows.size() && query.Words == m_query.Words &&
            query.SortColumn == m_query.SortColumn && query.Order == m_query.Order)
            return m_found;
        m_found.clear();
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList shown = rows[i].mid(0, kSubItemCount);
            if (std::all_of(query.Words.begin(), query.Words.end(), [&](const QString& word) {
                    return std::any_of(shown.begin(), shown.end(), [&](const QString& text) {
                        return text.contains(word, Qt::CaseInsensitive);
                    });
                }))
                m_found << i;
        }
        if (query.SortColumn >= 0) {
            const int column = query.SortColumn;
            const bool descending = query.Order == Qt::DescendingOrder;
            std::stable_sort(m_found.begin(), m_found.end(), [&](int a, int b) {
                const int order = rows[a].value(column).compare(rows[b].value(column));
                return descending ? order > 0 : order < 0;
            });
        }
        m_query = query;
        m_rowsFound = rows.size();
        m_valid = true;
        return m_found;
    }

    TListQuery m_query;
    QList<int> m_found;
    qsizetype m_rowsFound = 0;
    bool m_valid = false;
};

TfSelectMultiItems::TfSelectMultiItems(QWidget* parent)
    : QDialog(parent), m_rows(new TRows(this)), m_given(std::make_shared<TGivenRows>())
{
    setObjectName(QStringLiteral("fSelectMultiItems"));
    setWindowTitle(QStringLiteral("データを開く"));
    THelp::AddKey(this, QStringLiteral("open"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setPlaceholderText(QStringLiteral("検索"));
    Edit1->setClearButtonEnabled(true);
    Edit1->installEventFilter(this);

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
    ListView1->header()->setSectionsClickable(true);
    ListView1->header()->setSortIndicatorShown(false);
    ListView1->installEventFilter(this);
    const int widths[] = {250, 100, 100, 100};
    for (int column = 0; column < 4; ++column)
        ListView1->setColumnWidth(column, widths[column]);
    // The record ID: carried for the caller, not shown.
    ListView1->setColumnHidden(4, true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    setTabOrder(Edit1, ListView1);
    setTabOrder(ListView1, Button1);

    resize(561, 316);
    PlaceControls();
    ShowGivenRows();

    Connect(Button1, &QPushButton::clicked, this, &TfSelectMultiItems::Button1Click);
    Connect(ListView1, &QTreeView::doubleClicked, this, &TfSelectMultiItems::ListView1DblClick);
    Connect(ListView1->header(), &QHeaderView::sectionClicked, this,
            &TfSelectMultiItems::ListView1ColumnClick);
    Connect(Edit1, &QLineEdit::textChanged, this, &TfSelectMultiItems::Edit1Change);
}

void TfSelectMultiItems::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceControls();
}

void TfSelectMultiItems::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Edit1->setFocus();
}

void TfSelectMultiItems::PlaceControls()
{
    // At 561 x 316: the search box across the top, the list below it down to
    // 241, the count and the button at 248.
    Edit1->setGeometry(4, 4, width() - 8, 22);
    ListView1->setGeometry(0, 30, width(), height() - 105);
    Label1->setGeometry(8, height() - 64, width() - 130, 17);
    Button1->setGeometry(width() - 105, height() - 68, 75, 25);
}

// The list follows the search box: moving keys go to the list, and text
// typed into the list goes to the box, which searches every row, not only
// those read so far.
bool TfSelectMultiItems::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == Edit1) {
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(ListView1, event);
            return true;
        default:
            break;
        }
    } else if (watched == ListView1 && !key->text().isEmpty() && key->text()[0].isPrint() &&
               !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        Edit1->setFocus();
        QCoreApplication::sendEvent(Edit1, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfSelectMultiItems::Requery(const TListSource& source, const TListQuery& query)
{
    // The heading flips its arrow when clicked; it shows the order of the
    // rows shown, also when they could not be read again.
    const auto showOrder = qScopeGuard([this] {
        const TListQuery& shown = m_rows->Query();
        QHeaderView* header = ListView1->header();
        header->setSortIndicatorShown(shown.SortColumn >= 0);
        if (shown.SortColumn >= 0)
            header->setSortIndicator(shown.SortColumn, shown.Order);
    });
    m_rows->Query(source, query);
    const QString count = QLocale(QLocale::Japanese, QLocale::Japan).toString(m_rows->Found());
    Label1->setText(query.Words.isEmpty() ? QStringLiteral("%1 件").arg(count)
                                          : QStringLiteral("%1 件を表示").arg(count));
}

void TfSelectMultiItems::ShowGivenRows()
{
    SetSource(m_given->Source(m_given), -1, Qt::AscendingOrder);
}

void TfSelectMultiItems::SetSource(TListSource source, int sortColumn, Qt::SortOrder order)
{
    {
        const QSignalBlocker quiet(Edit1);
        Edit1->clear();
    }
    Requery(source, {{}, sortColumn, order});
}

void TfSelectMultiItems::SetHeadings(const QStringList& headings)
{
    m_rows->SetHeadings(headings);
    ListView1->setHeaderHidden(headings.isEmpty());
}

void TfSelectMultiItems::Clear()
{
    m_given->rows.clear();
    ShowGivenRows();
}

void TfSelectMultiItems::AddItem(const QString& caption, const QStringList& subItems)
{
    QStringList row{caption};
    for (int i = 0; i < kSubItemCount; ++i)
        row << subItems.value(i);
    m_given->rows.append(std::move(row));
    ShowGivenRows();
}

void TfSelectMultiItems::SetRows(QList<QStringList> rows)
{
    m_given->rows = std::move(rows);
    ShowGivenRows();
}

int TfSelectMultiItems::RowCount() const
{
    return m_rows->Found();
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

// The same heading again reverses the order; another one sorts by its column,
// ascending.
void TfSelectMultiItems::ListView1ColumnClick(int column)
{
    TListQuery query = m_rows->Query();
    if (query.SortColumn == column) {
        query.Order = query.Order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    } else {
        query.SortColumn = column;
        query.Order = Qt::AscendingOrder;
    }
    Requery(m_rows->Source(), query);
}

void TfSelectMultiItems::Edit1Change()
{
    TListQuery query = m_rows->Query();
    // Full-width spaces separate words as well.
    query.Words = Edit1->text().simplified().split(u' ', Qt::SkipEmptyParts);
    if (query.Words == m_rows->Query().Words)
        return;
    Requery(m_rows->Source(), query);
}

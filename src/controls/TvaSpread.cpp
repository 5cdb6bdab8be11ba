#include "controls/TvaSpread.h"

#include "foundation/Conversions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>

namespace {

// Item data: the text as typed or set (before formatting), the decimals.
constexpr int RawRole = Qt::UserRole;
constexpr int DecimalsRole = Qt::UserRole + 1;

constexpr double DefaultColWidth = 8;
// Pixels added to a column's characters for the grid line and cell margins.
constexpr int CellPadding = 4;

// The shown text of `raw` in a cell with `decimals` (-1: none).
QString FormatCell(const QString& raw, int decimals)
{
    if (decimals < 0)
        return raw;
    bool ok = false;
    const double value = raw.trimmed().toDouble(&ok); // C locale
    if (!ok || !std::isfinite(value))
        return raw;
    return FormatFixed(value, decimals);
}

bool IsPlainKey(const QKeyEvent* event)
{
    return !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

// The cells a user command wrote, with their texts before it, so that each
// cell whose text ends up different is reported once, after the command.
class TvaSpread::TChanges
{
public:
    void Touch(const TvaSpread* grid, int col, int row)
    {
        const qint64 key = (qint64(col) << 32) | quint32(row);
        if (m_before.contains(key))
            return;
        m_before.insert(key, grid->Text(col, row));
        m_order.append(QPoint(col, row));
    }
    void Report(TvaSpread* grid) const
    {
        for (const QPoint& cell : m_order) {
            const qint64 key = (qint64(cell.x()) << 32) | quint32(cell.y());
            if (grid->Text(cell.x(), cell.y()) != m_before.value(key))
                emit grid->Changed(cell.x(), cell.y());
        }
    }

private:
    QList<QPoint> m_order;
    QHash<qint64, QString> m_before;
};

// Line edits for the cells: the user's text goes through the grid (decimals,
// change signal); Enter commits and moves the cursor; Insert toggles the mode.
class TvaSpread::TDelegate : public QStyledItemDelegate
{
public:
    explicit TDelegate(TvaSpread* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) |
                             Qt::AlignVCenter);
        Q_UNUSED(option);
        m_editor = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setText(m_grid->TypedText(index.column() + 1, index.row() + 1));
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line)
            return;
        TChanges changes;
        m_grid->UserWrite(index.column() + 1, index.row() + 1, line->text(), changes);
        changes.Report(m_grid);
    }

    QLineEdit* Editor() const { return m_editor; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        auto* editor = qobject_cast<QWidget*>(object);
        if (editor && event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
                m_grid->SetEditMode(m_grid->EditMode() == TEditMode::Overwrite
                                        ? TEditMode::Insert
                                        : TEditMode::Overwrite);
                return true;
            }
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && IsPlainKey(key)) {
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                m_grid->MoveAfterEnter();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TvaSpread* m_grid;
    mutable QPointer<QLineEdit> m_editor;
};

TvaSpread::TvaSpread(QWidget* parent) : QTableWidget(parent)
{
    m_delegate = new TDelegate(this);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Typing on a cell is handled in keyPressEvent, to honour the edit mode.
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    m_widths = {-1};

    static const char* const texts[] = {"切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "消去(&D)"};
    static const char* const names[] = {"CutAction", "CopyAction", "PasteAction", "ClearAction"};
    m_menu = new QMenu(this);
    for (int i = 0; i < 4; ++i) {
        auto* action = new QAction(QString::fromUtf8(texts[i]), this);
        action->setObjectName(QString::fromLatin1(names[i]));
        connect(action, &QAction::triggered, this, [this, i] { RunBlockCommand(m_commands[i]); });
        m_menu->addAction(action);
        m_actions[i] = action;
    }
    ApplyWidths();
}

// Size ----------------------------------------------------------------------

void TvaSpread::SetMaxCols(int cols)
{
    cols = std::max(0, cols);
    const int old = columnCount();
    setColumnCount(cols);
    for (int c = old; c < cols; ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem());
    m_widths.resize(cols + 1, DefaultColWidth);
    ApplyWidths();
}

void TvaSpread::SetMaxRows(int rows)
{
    rows = std::max(0, rows);
    const int old = rowCount();
    setRowCount(rows);
    for (int r = old; r < rows; ++r)
        setVerticalHeaderItem(r, new QTableWidgetItem());
}

// Cells ---------------------------------------------------------------------

bool TvaSpread::IsDataCell(int col, int row) const
{
    return col >= 1 && row >= 1 && col <= MaxCols() && row <= MaxRows();
}

QTableWidgetItem* TvaSpread::Cell(int col, int row) const
{
    return IsDataCell(col, row) ? item(row - 1, col - 1) : nullptr;
}

QTableWidgetItem* TvaSpread::MakeCell(int col, int row)
{
    if (!IsDataCell(col, row))
        return nullptr;
    QTableWidgetItem* cell = item(row - 1, col - 1);
    if (!cell) {
        cell = new QTableWidgetItem();
        setItem(row - 1, col - 1, cell);
    }
    return cell;
}

QString TvaSpread::Text(int col, int row) const
{
    if (col == 0 && row == 0)
        return m_corner;
    if (row == 0) {
        const QTableWidgetItem* heading =
            col <= MaxCols() ? horizontalHeaderItem(col - 1) : nullptr;
        return heading ? heading->text() : QString();
    }
    if (col == 0) {
        const QTableWidgetItem* heading = row <= MaxRows() ? verticalHeaderItem(row - 1) : nullptr;
        return heading ? heading->text() : QString();
    }
    const QTableWidgetItem* cell = Cell(col, row);
    return cell ? cell->text() : QString();
}

QString TvaSpread::TypedText(int col, int row) const
{
    if (!IsDataCell(col, row))
        return Text(col, row);
    const QTableWidgetItem* cell = Cell(col, row);
    if (!cell)
        return QString();
    const QVariant typed = cell->data(RawRole);
    return typed.isValid() ? typed.toString() : cell->text();
}

void TvaSpread::StoreText(QTableWidgetItem* cell, const QString& text)
{
    cell->setData(RawRole, text);
    const QVariant decimals = cell->data(DecimalsRole);
    cell->setText(FormatCell(text, decimals.isValid() ? decimals.toInt() : -1));
}

void TvaSpread::SetText(int col, int row, const QString& text)
{
    if (col == 0 && row == 0) {
        m_corner = text;
    } else if (row == 0) {
        if (col >= 1 && col <= MaxCols()) {
            if (QTableWidgetItem* heading = horizontalHeaderItem(col - 1))
                heading->setText(text);
            else
                setHorizontalHeaderItem(col - 1, new QTableWidgetItem(text));
        }
    } else if (col == 0) {
        if (row >= 1 && row <= MaxRows()) {
            if (QTableWidgetItem* heading = verticalHeaderItem(row - 1))
                heading->setText(text);
            else
                setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
        }
    } else if (QTableWidgetItem* cell = MakeCell(col, row)) {
        StoreText(cell, text);
    }
}

void TvaSpread::ClearRange(int col, int row, int col2, int row2)
{
    for (int r = std::max(1, row); r <= std::min(row2, MaxRows()); ++r)
        for (int c = std::max(1, col); c <= std::min(col2, MaxCols()); ++c)
            if (QTableWidgetItem* cell = Cell(c, r))
                StoreText(cell, QString());
}

// Widths and heights --------------------------------------------------------

double TvaSpread::ColWidth(int col) const
{
    if (col == 0 && m_widths[0] < 0)
        return double(verticalHeader()->width()) / fontMetrics().averageCharWidth();
    return col >= 0 && col < m_widths.size() ? m_widths[col] : 0;
}

void TvaSpread::SetColWidth(int col, double chars)
{
    if (col < 0 || col >= m_widths.size())
        return;
    m_widths[col] = std::max(0.0, chars);
    ApplyWidths();
}

void TvaSpread::ApplyWidths()
{
    const int average = fontMetrics().averageCharWidth();
    auto pixels = [&](double chars) { return int(std::lround(chars * average)) + CellPadding; };
    QHeaderView* rowHeadings = verticalHeader();
    if (m_widths[0] < 0) {
        rowHeadings->setMinimumWidth(0);
        rowHeadings->setMaximumWidth(QWIDGETSIZE_MAX);
        rowHeadings->setVisible(true);
    } else if (m_widths[0] == 0) {
        rowHeadings->setVisible(false);
    } else {
        rowHeadings->setFixedWidth(pixels(m_widths[0]));
        rowHeadings->setVisible(true);
    }
    for (int c = 1; c < m_widths.size(); ++c) {
        if (m_widths[c] <= 0) {
            setColumnHidden(c - 1, true);
        } else {
            setColumnHidden(c - 1, false);
            setColumnWidth(c - 1, pixels(m_widths[c]));
        }
    }
    // Only on a change: setting it resizes every row, also those a window sized.
    const int rowHeight = fontMetrics().height() + 6;
    if (rowHeadings->defaultSectionSize() != rowHeight)
        rowHeadings->setDefaultSectionSize(rowHeight);
}

int TvaSpread::RowHeight(int row) const
{
    if (row == 0)
        return horizontalHeader()->isHidden() ? 0 : horizontalHeader()->height();
    if (row < 1 || row > MaxRows() || isRowHidden(row - 1))
        return 0;
    return rowHeight(row - 1);
}

void TvaSpread::SetRowHeight(int row, int pixels)
{
    if (row == 0) {
        horizontalHeader()->setVisible(pixels > 0);
        if (pixels > 0)
            horizontalHeader()->setFixedHeight(pixels);
    } else if (row >= 1 && row <= MaxRows()) {
        setRowHidden(row - 1, pixels <= 0);
        if (pixels > 0)
            setRowHeight(row - 1, pixels);
    }
}

void TvaSpread::AddCellSpan(int col, int row, int cols, int rows)
{
    if (IsDataCell(col, row) && cols >= 1 && rows >= 1)
        setSpan(row - 1, col - 1, rows, cols);
}

void TvaSpread::changeEvent(QEvent* event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ApplyWidths();
}

// Decimals and locks --------------------------------------------------------

int TvaSpread::Decimals(int col, int row) const
{
    const QTableWidgetItem* cell = Cell(col, row);
    const QVariant decimals = cell ? cell->data(DecimalsRole) : QVariant();
    return decimals.isValid() ? decimals.toInt() : -1;
}

void TvaSpread::SetDecimals(int col, int row, int decimals)
{
    QTableWidgetItem* cell = MakeCell(col, row);
    if (!cell)
        return;
    if (decimals < 0) {
        cell->setData(DecimalsRole, QVariant());
        cell->setData(Qt::TextAlignmentRole, QVariant());
    } else {
        cell->setData(DecimalsRole, decimals);
        cell->setData(Qt::TextAlignmentRole, int(Qt::AlignRight | Qt::AlignVCenter));
    }
    StoreText(cell, cell->data(RawRole).toString());
}

void TvaSpread::SetBlockDecimals(int col, int row, int col2, int row2, int decimals)
{
    for (int r = row; r <= row2; ++r)
        for (int c = col; c <= col2; ++c)
            SetDecimals(c, r, decimals);
}

bool TvaSpread::Locked(int col, int row) const
{
    if (!IsDataCell(col, row))
        return true;
    const QTableWidgetItem* cell = Cell(col, row);
    return cell && !(cell->flags() & Qt::ItemIsEditable);
}

void TvaSpread::SetLocked(int col, int row, bool locked)
{
    if (QTableWidgetItem* cell = MakeCell(col, row))
        cell->setFlags(locked ? cell->flags() & ~Qt::ItemIsEditable
                              : cell->flags() | Qt::ItemIsEditable);
}

void TvaSpread::SetBlockLocked(int col, int row, int col2, int row2, bool locked)
{
    for (int r = row; r <= row2; ++r)
        for (int c = col; c <= col2; ++c)
            SetLocked(c, r, locked);
}

// Cursor, selection, edit mode ----------------------------------------------

bool TvaSpread::CommitEdit()
{
    QLineEdit* editor = m_delegate->Editor();
    if (state() != QAbstractItemView::EditingState || !editor)
        return false;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

int TvaSpread::ActiveCol() const
{
    return currentIndex().isValid() ? currentIndex().column() + 1 : 0;
}

int TvaSpread::ActiveRow() const
{
    return currentIndex().isValid() ? currentIndex().row() + 1 : 0;
}

void TvaSpread::SetActiveCell(int col, int row)
{
    if (IsDataCell(col, row))
        setCurrentCell(row - 1, col - 1);
}

TvaSpread::TBlock TvaSpread::SelectedBlock() const
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) {
        const int col = ActiveCol(), row = ActiveRow();
        return col && row ? TBlock{col, row, col, row} : TBlock{};
    }
    TBlock block{ranges[0].leftColumn() + 1, ranges[0].topRow() + 1, ranges[0].rightColumn() + 1,
                 ranges[0].bottomRow() + 1};
    for (const QTableWidgetSelectionRange& range : ranges) {
        block.Col = std::min(block.Col, range.leftColumn() + 1);
        block.Row = std::min(block.Row, range.topRow() + 1);
        block.Col2 = std::max(block.Col2, range.rightColumn() + 1);
        block.Row2 = std::max(block.Row2, range.bottomRow() + 1);
    }
    return block;
}

void TvaSpread::SetSelectedBlock(int col, int row, int col2, int row2)
{
    col = std::max(1, col);
    row = std::max(1, row);
    col2 = std::min(col2, MaxCols());
    row2 = std::min(row2, MaxRows());
    if (col > col2 || row > row2)
        return;
    clearSelection();
    setCurrentCell(row - 1, col - 1, QItemSelectionModel::ClearAndSelect);
    setRangeSelected(QTableWidgetSelectionRange(row - 1, col - 1, row2 - 1, col2 - 1), true);
}

void TvaSpread::SetEditMode(TEditMode mode)
{
    if (mode == m_editMode)
        return;
    m_editMode = mode;
    emit EditModeChanged(mode);
}

bool TvaSpread::CanEnter(int col, int row) const
{
    return IsDataCell(col, row) && !isColumnHidden(col - 1) && !isRowHidden(row - 1) &&
           !Locked(col, row);
}

void TvaSpread::MoveAfterEnter()
{
    const int col = ActiveCol(), row = ActiveRow();
    if (!col || !row)
        return;
    const int cols = MaxCols();
    auto moveTo = [this](int c, int r) {
        if (!CanEnter(c, r))
            return false;
        SetActiveCell(c, r);
        return true;
    };
    switch (m_enterAction) {
    case TEnterAction::None:
        break;
    case TEnterAction::Up:
        for (int r = row - 1; r >= 1 && !moveTo(col, r); --r) {
        }
        break;
    case TEnterAction::Down:
        for (int r = row + 1; r <= MaxRows() && !moveTo(col, r); ++r) {
        }
        break;
    case TEnterAction::Next:
        for (int i = (row - 1) * cols + col;
             i < MaxRows() * cols && !moveTo(i % cols + 1, i / cols + 1); ++i) {
        }
        break;
    case TEnterAction::Previous:
        for (int i = (row - 1) * cols + col - 2; i >= 0 && !moveTo(i % cols + 1, i / cols + 1);
             --i) {
        }
        break;
    }
}

// Editing -------------------------------------------------------------------

bool TvaSpread::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!QTableWidget::edit(index, trigger, event))
        return false;
    // The view selects the whole text of a new editor; insert mode keeps the
    // text and puts the cursor at its end.
    if (QLineEdit* editor = m_delegate->Editor(); editor && m_editMode == TEditMode::Insert) {
        editor->end(false);
    }
    return true;
}

QWidget* TvaSpread::StartTyping()
{
    if (state() == EditingState || !currentIndex().isValid())
        return nullptr;
    if (!edit(currentIndex(), AllEditTriggers, nullptr))
        return nullptr;
    return m_delegate->Editor();
}

void TvaSpread::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopyBlock();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        CutBlock();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteBlock();
        return;
    }
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        switch (event->key()) {
        case Qt::Key_Delete:
            ClearBlock();
            return;
        case Qt::Key_Insert:
            SetEditMode(m_editMode == TEditMode::Overwrite ? TEditMode::Insert
                                                           : TEditMode::Overwrite);
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            MoveAfterEnter();
            return;
        default:
            break;
        }
    }
    const QString text = event->text();
    if (IsPlainKey(event) && !text.isEmpty() && text.at(0).isPrint()) {
        if (QWidget* editor = StartTyping()) {
            QCoreApplication::sendEvent(editor, event);
            return;
        }
    }
    QTableWidget::keyPressEvent(event);
}

void TvaSpread::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty() || !event->preeditString().isEmpty()) {
        if (QWidget* editor = StartTyping()) {
            QCoreApplication::sendEvent(editor, event);
            return;
        }
    }
    QTableWidget::inputMethodEvent(event);
}

void TvaSpread::UserWrite(int col, int row, const QString& text, TChanges& changes)
{
    if (!IsDataCell(col, row) || Locked(col, row))
        return;
    changes.Touch(this, col, row);
    StoreText(MakeCell(col, row), text);
}

// Block commands ------------------------------------------------------------

void TvaSpread::RunBlockCommand(TBlockCommand command)
{
    switch (command) {
    case TBlockCommand::Cut:
        CutBlock();
        break;
    case TBlockCommand::Copy:
        CopyBlock();
        break;
    case TBlockCommand::Paste:
        PasteBlock();
        break;
    case TBlockCommand::Clear:
        ClearBlock();
        break;
    }
}

void TvaSpread::SetPopupCommand(TBlockCommand entry, TBlockCommand command)
{
    m_commands[int(entry)] = command;
}

void TvaSpread::contextMenuEvent(QContextMenuEvent* event)
{
    if (!m_popupEnabled) {
        QTableWidget::contextMenuEvent(event);
        return;
    }
    m_menu->exec(event->globalPos());
    event->accept();
}

void TvaSpread::CopyBlock()
{
    const TBlock block = SelectedBlock();
    if (!block.IsValid())
        return;
    QStringList lines;
    for (int r : ShownRows(block.Row, block.Row2)) {
        QStringList cells;
        for (int c : ShownCols(block.Col, block.Col2))
            cells.append(Text(c, r));
        lines.append(cells.join(u'\t'));
    }
    QGuiApplication::clipboard()->setText(lines.join(u'\n'));
}

void TvaSpread::CutBlock()
{
    const TBlock block = SelectedBlock();
    if (!block.IsValid())
        return;
    CopyBlock();
    EmptyBlock(block);
}

void TvaSpread::ClearBlock()
{
    const TBlock block = SelectedBlock();
    if (block.IsValid())
        EmptyBlock(block);
}

void TvaSpread::EmptyBlock(const TBlock& block)
{
    TChanges changes;
    for (int r : ShownRows(block.Row, block.Row2))
        for (int c : ShownCols(block.Col, block.Col2))
            if (!Text(c, r).isEmpty())
                UserWrite(c, r, QString(), changes);
    changes.Report(this);
}

QList<int> TvaSpread::ShownCols(int first, int last) const
{
    QList<int> cols;
    for (int c = std::max(1, first); c <= std::min(last, MaxCols()); ++c)
        if (!isColumnHidden(c - 1))
            cols.append(c);
    return cols;
}

QList<int> TvaSpread::ShownRows(int first, int last) const
{
    QList<int> rows;
    for (int r = std::max(1, first); r <= std::min(last, MaxRows()); ++r)
        if (!isRowHidden(r - 1))
            rows.append(r);
    return rows;
}

// Writes the clipboard's rows with their first cell at (col, row), up to
// lastCol and lastRow. Hidden columns and rows are passed over: the
// clipboard's cells go to the cells the user sees, in order, and nothing is
// written where it could not be seen.
void TvaSpread::PasteAt(int col, int row, const QList<QStringList>& rows, int lastCol, int lastRow,
                        TChanges& changes)
{
    const QList<int> cols = ShownCols(col, lastCol);
    const QList<int> targetRows = ShownRows(row, lastRow);
    for (int i = 0; i < rows.size() && i < targetRows.size(); ++i)
        for (int j = 0; j < rows[i].size() && j < cols.size(); ++j)
            UserWrite(cols[j], targetRows[i], rows[i][j], changes);
}

// Paste rules: a block one column wide receives the clipboard in each of its
// rows when the clipboard is one row deep, a block one row high in each of its
// columns when the clipboard is one column wide, and a single cell once; each
// such paste writes the whole clipboard from its cell, clipped only to the
// grid, so one copied value fills the whole selection. Any other paste (a
// block of several columns and rows, or a clipboard that reaches along the
// block) goes once to the block's top-left, clipped to the block, so that a
// copied column never runs past the selected one.
void TvaSpread::PasteBlock()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasText())
        return;
    const TBlock block = SelectedBlock();
    if (!block.IsValid())
        return;
    QString text = mime->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(u'\n'))
        text.chop(1);
    QList<QStringList> rows;
    qsizetype width = 0;
    for (const QString& line : text.split(u'\n')) {
        rows.append(line.split(u'\t'));
        width = std::max(width, rows.last().size());
    }

    TChanges changes;
    const bool oneCol = block.Col == block.Col2, oneRow = block.Row == block.Row2;
    if (oneCol && oneRow) {
        PasteAt(block.Col, block.Row, rows, MaxCols(), MaxRows(), changes);
    } else if (oneCol && rows.size() == 1) {
        for (int r : ShownRows(block.Row, block.Row2))
            PasteAt(block.Col, r, rows, MaxCols(), MaxRows(), changes);
    } else if (oneRow && width == 1) {
        for (int c : ShownCols(block.Col, block.Col2))
            PasteAt(c, block.Row, rows, MaxCols(), MaxRows(), changes);
    } else {
        PasteAt(block.Col, block.Row, rows, block.Col2, block.Row2, changes);
    }
    changes.Report(this);
}

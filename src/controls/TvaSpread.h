#pragma once

#include <QTableWidget>
#include <array>

class QAction;
class QMenu;

// The spread grid that stands in for the system's ActiveX grid `TvaSpread`.
//
// Cells are addressed by column and row from 1; row 0 holds the column
// headings and column 0 the row headings (Text/SetText reach them too). Use
// this 1-based API, not the 0-based QTableWidget one. The window names the
// grid (`setObjectName("vaSpread2")`).
//
// Text set by code (SetText, ClearRange, SetMaxRows, ...) never reports a
// change; a cell typed by the user, and every block command (which are user
// commands: keys, popup menu, or a window running one on the user's behalf),
// emits Changed(col, row) once for each cell whose text it changed.
class TvaSpread : public QTableWidget
{
    Q_OBJECT
public:
    // "上書": typing on a cell replaces its text; "挿入": editing keeps the
    // text and inserts at the cursor. The Insert key toggles the two.
    enum class TEditMode
    {
        Overwrite,
        Insert
    };
    // Where the cursor moves after Enter (the system's EditEnterAction).
    enum class TEnterAction
    {
        None,
        Up,
        Down,
        Next,
        Previous
    };
    enum class TBlockCommand
    {
        Cut,
        Copy,
        Paste,
        Clear
    };
    Q_ENUM(TEditMode)
    Q_ENUM(TEnterAction)
    Q_ENUM(TBlockCommand)

    struct TBlock
    {
        int Col = 0, Row = 0, Col2 = 0, Row2 = 0; // inclusive; 0 when there is none
        bool IsValid() const { return Col > 0 && Row > 0 && Col2 >= Col && Row2 >= Row; }
        bool operator==(const TBlock&) const = default;
    };

    explicit TvaSpread(QWidget* parent = nullptr);

    int MaxCols() const { return columnCount(); }
    void SetMaxCols(int cols);
    int MaxRows() const { return rowCount(); }
    void SetMaxRows(int rows);

    // Any cell, headings included; an unwritten cell is empty. A cell with
    // decimals gives its number formatted (see SetDecimals).
    QString Text(int col, int row) const;
    void SetText(int col, int row, const QString& text);
    // The text as it was typed or set, before the cell's decimals format it
    // ("5.125" in a cell that shows "5.13"); a cell's editor starts with it,
    // so that a value is never rounded by being edited.
    QString TypedText(int col, int row) const;
    // Empties the cells of a block (data only: decimals and locks stay).
    void ClearRange(int col, int row, int col2, int row2);

    // Width in characters of the grid font's average width; 0 hides the
    // column. Column 0 is the row heading column. New columns are 8 wide.
    double ColWidth(int col) const;
    void SetColWidth(int col, double chars);
    // Height in pixels; 0 hides the row. Row 0 is the heading row.
    int RowHeight(int row) const;
    void SetRowHeight(int row, int pixels);
    // Joins cells into one (the system's AddCellSpan); headings cannot span.
    void AddCellSpan(int col, int row, int cols, int rows);

    // Decimals of a cell, -1 when none. A cell with decimals shows and gives
    // a number typed or set into it as "%.<d>f" (C locale, rounded): "1.5"
    // gives "1.50" with 2. Empty text stays empty; text that is not a number
    // stays as typed. Changing the decimals reformats what was typed or set.
    int Decimals(int col, int row) const;
    void SetDecimals(int col, int row, int decimals);
    void SetBlockDecimals(int col, int row, int col2, int row2, int decimals);
    // Every present row of the column.
    void SetColDecimals(int col, int decimals)
    {
        SetBlockDecimals(col, 1, col, MaxRows(), decimals);
    }

    // Locked cells are display-only: the user cannot edit them, block
    // commands skip them, Enter does not move onto them.
    bool Locked(int col, int row) const;
    void SetLocked(int col, int row, bool locked);
    void SetBlockLocked(int col, int row, int col2, int row2, bool locked);

    TEditMode EditMode() const { return m_editMode; }
    void SetEditMode(TEditMode mode);
    TEnterAction EnterAction() const { return m_enterAction; }
    void SetEnterAction(TEnterAction action) { m_enterAction = action; }

    // Takes what is being typed into a cell as Enter would (the cursor
    // stays); false when no cell was being edited. Windows call it before
    // they read or leave the grid, so typing is never lost.
    bool CommitEdit();

    // The cursor cell; 0, 0 when there is none.
    int ActiveCol() const;
    int ActiveRow() const;
    void SetActiveCell(int col, int row);

    // The selected block; the cursor cell when nothing is selected.
    TBlock SelectedBlock() const;
    void SetSelectedBlock(int col, int row, int col2, int row2);

    // The popup menu "切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "消去(&D)"
    // (off by default). Its actions are named "CutAction", "CopyAction",
    // "PasteAction" and "ClearAction". An entry runs its own command unless
    // SetPopupCommand gives it another (e.g. Clear -> Cut).
    bool PopupMenuEnabled() const { return m_popupEnabled; }
    void SetPopupMenuEnabled(bool enabled) { m_popupEnabled = enabled; }
    QAction* PopupAction(TBlockCommand entry) const { return m_actions[int(entry)]; }
    void SetPopupCommand(TBlockCommand entry, TBlockCommand command);

public slots:
    // The block commands, on the selected block (keys: Ctrl+X, Ctrl+C,
    // Ctrl+V, Delete). Copy puts the block's text on the clipboard, tab
    // between cells and "\n" between rows; Cut copies, then empties; Clear
    // empties without touching the clipboard. Paste (only when the clipboard
    // holds text): a one-column block receives a one-row clipboard in each of
    // its rows, a one-row block a one-column clipboard in each of its
    // columns, a cell the clipboard once, each such paste clipped only to the
    // grid; anything else goes once to the block's top-left, clipped to the
    // block. Locked cells are skipped. Hidden columns and rows (width or
    // height 0) take no part: copy leaves them out, paste writes the
    // clipboard's cells into the shown cells in order, cut and clear leave
    // them as they are.
    void CutBlock();
    void CopyBlock();
    void PasteBlock();
    void ClearBlock();
    void RunBlockCommand(TBlockCommand command);

signals:
    void Changed(int col, int row);
    void EditModeChanged(TvaSpread::TEditMode mode);

protected:
    using QTableWidget::edit;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;

private:
    class TDelegate;
    class TChanges;

    QTableWidgetItem* Cell(int col, int row) const;
    QTableWidgetItem* MakeCell(int col, int row);
    bool IsDataCell(int col, int row) const;
    bool CanEnter(int col, int row) const;
    void StoreText(QTableWidgetItem* item, const QString& text);
    // A user's write into a data cell (locked cells are left alone).
    void UserWrite(int col, int row, const QString& text, TChanges& changes);
    // The shown columns (rows) from first to last, within the grid.
    QList<int> ShownCols(int first, int last) const;
    QList<int> ShownRows(int first, int last) const;
    void PasteAt(int col, int row, const QList<QStringList>& rows, int lastCol, int lastRow,
                 TChanges& changes);
    void EmptyBlock(const TBlock& block);
    void MoveAfterEnter();
    void ApplyWidths();
    // Starts editing the cursor cell as typing does; returns its editor.
    QWidget* StartTyping();

    TDelegate* m_delegate = nullptr;
    TEditMode m_editMode = TEditMode::Overwrite;
    TEnterAction m_enterAction = TEnterAction::None;
    QList<double> m_widths; // index 0: row headings (negative: automatic)
    QString m_corner;
    bool m_popupEnabled = false;
    QMenu* m_menu = nullptr;
    std::array<QAction*, 4> m_actions{};
    std::array<TBlockCommand, 4> m_commands{TBlockCommand::Cut, TBlockCommand::Copy,
                                            TBlockCommand::Paste, TBlockCommand::Clear};
};

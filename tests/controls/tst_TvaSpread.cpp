#include "controls/TvaSpread.h"
#include "support/TTestEnvironment.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>

using TBlock = TvaSpread::TBlock;
using TEditMode = TvaSpread::TEditMode;
using TEnterAction = TvaSpread::TEnterAction;

class TestTvaSpread : public QObject
{
    Q_OBJECT

    std::unique_ptr<TvaSpread> grid;

    // The widget that gets the keys: the cell editor while one is open.
    QWidget* KeyTarget() const
    {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : grid.get();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(KeyTarget(), key, modifiers);
    }
    void Type(const QString& text)
    {
        for (QChar c : text)
            QTest::keyClicks(KeyTarget(), QString(c));
    }
    // Types into a cell as a user does: go there, type, Enter.
    void TypeInto(int col, int row, const QString& text)
    {
        grid->SetActiveCell(col, row);
        Type(text);
        Key(Qt::Key_Return);
    }
    QPoint CellCentre(int col, int row) const
    {
        return grid->visualRect(grid->model()->index(row - 1, col - 1)).center();
    }
    // The grid's texts of rows 1.., each row's cells joined by ",".
    QStringList Rows() const
    {
        QStringList rows;
        for (int r = 1; r <= grid->MaxRows(); ++r) {
            QStringList cells;
            for (int c = 1; c <= grid->MaxCols(); ++c)
                cells.append(grid->Text(c, r));
            rows.append(cells.join(u','));
        }
        return rows;
    }
    void Fill(const QStringList& rows)
    {
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split(u',');
            for (int c = 0; c < cells.size(); ++c)
                grid->SetText(c + 1, r + 1, cells[c]);
        }
    }
    static void SetClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

private slots:
    void init()
    {
        grid = std::make_unique<TvaSpread>();
        grid->setObjectName("vaSpread2");
        grid->SetMaxCols(4);
        grid->SetMaxRows(4);
        grid->resize(600, 300);
        grid->show();
        grid->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(grid.get()));
        grid->setFocus();
    }
    void cleanup() { grid.reset(); }

    void cellsAndHeadingsAreOneBased()
    {
        grid->SetText(1, 0, "面積");
        grid->SetText(0, 2, "実際");
        grid->SetText(2, 3, "x");
        QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString("面積"));
        QCOMPARE(grid->verticalHeaderItem(1)->text(), QString("実際"));
        QCOMPARE(grid->item(2, 1)->text(), QString("x"));
        QCOMPARE(grid->Text(1, 0), QString("面積"));
        QCOMPARE(grid->Text(0, 2), QString("実際"));
        QCOMPARE(grid->Text(2, 3), QString("x"));
        // Unwritten headings show nothing, not Qt's section numbers.
        QCOMPARE(grid->model()->headerData(3, Qt::Horizontal).toString(), QString());
        // Outside the grid: ignored, empty.
        grid->SetText(5, 1, "y");
        QCOMPARE(grid->Text(5, 1), QString());
        grid->SetMaxRows(2);
        QCOMPARE(grid->MaxRows(), 2);
        QCOMPARE(grid->Text(2, 3), QString());
    }

    void decimalsFormatNumbersOnly()
    {
        grid->SetColDecimals(1, 2);
        grid->SetText(1, 1, "1.5");
        grid->SetText(1, 2, "");
        grid->SetText(1, 3, "abc");
        grid->SetText(1, 4, "1,5"); // C locale: not a number
        QCOMPARE(grid->Text(1, 1), QString("1.50"));
        QCOMPARE(grid->Text(1, 2), QString());
        QCOMPARE(grid->Text(1, 3), QString("abc"));
        QCOMPARE(grid->Text(1, 4), QString("1,5"));
        QCOMPARE(grid->Decimals(1, 4), 2);
        QCOMPARE(grid->Decimals(2, 1), -1);

        // Changing the decimals formats again what was set; rounded.
        grid->SetText(1, 1, "2.71828");
        QCOMPARE(grid->Text(1, 1), QString("2.72"));
        grid->SetDecimals(1, 1, 3);
        QCOMPARE(grid->Text(1, 1), QString("2.718"));
        grid->SetDecimals(1, 1, 0);
        QCOMPARE(grid->Text(1, 1), QString("3"));

        // Typed by the user, too.
        TypeInto(1, 2, "7");
        QCOMPARE(grid->Text(1, 2), QString("7.00"));
    }

    void changeSignalOnlyForUserEdits()
    {
        QSignalSpy changed(grid.get(), &TvaSpread::Changed);
        grid->SetText(2, 2, "5");
        grid->ClearRange(1, 1, 4, 4);
        grid->SetMaxRows(6);
        QCOMPARE(changed.count(), 0);

        TypeInto(3, 2, "42");
        QCOMPARE(grid->Text(3, 2), QString("42"));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed[0], (QList<QVariant>{3, 2}));

        // Typing the same text again changes nothing.
        TypeInto(3, 2, "42");
        QCOMPARE(changed.count(), 1);

        // Block commands report each cell they changed.
        grid->SetText(1, 1, "a");
        grid->SetSelectedBlock(1, 1, 2, 1); // (2,1) is empty
        grid->PopupAction(TvaSpread::TBlockCommand::Clear)->trigger();
        QCOMPARE(grid->Text(1, 1), QString());
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed[1], (QList<QVariant>{1, 1}));
    }

    void typingReplacesOrInsertsByEditMode()
    {
        QSignalSpy modes(grid.get(), &TvaSpread::EditModeChanged);
        QCOMPARE(grid->EditMode(), TEditMode::Overwrite);
        grid->SetText(1, 1, "12");
        TypeInto(1, 1, "3");
        QCOMPARE(grid->Text(1, 1), QString("3"));

        Key(Qt::Key_Insert);
        QCOMPARE(grid->EditMode(), TEditMode::Insert);
        QCOMPARE(modes.count(), 1);
        grid->SetText(1, 1, "12");
        TypeInto(1, 1, "3");
        QCOMPARE(grid->Text(1, 1), QString("123"));

        // F2 in insert mode: the cursor at the end, the text kept.
        Key(Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QVERIFY(!editor->hasSelectedText());
        Key(Qt::Key_Home);
        Type("0");
        // Insert while editing toggles as well.
        Key(Qt::Key_Insert);
        QCOMPARE(grid->EditMode(), TEditMode::Overwrite);
        QCOMPARE(modes.count(), 2);
        Key(Qt::Key_Return);
        QCOMPARE(grid->Text(1, 1), QString("0123"));
    }

    void enterMovesByDirection()
    {
        QCOMPARE(grid->EnterAction(), TEnterAction::None);
        TypeInto(2, 2, "1");
        QCOMPARE(QPoint(grid->ActiveCol(), grid->ActiveRow()), QPoint(2, 2));

        grid->SetEnterAction(TEnterAction::Down);
        TypeInto(2, 2, "1");
        QCOMPARE(QPoint(grid->ActiveCol(), grid->ActiveRow()), QPoint(2, 3));
        // Enter without editing moves too; at the edge it stays.
        Key(Qt::Key_Return);
        Key(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QPoint(grid->ActiveCol(), grid->ActiveRow()), QPoint(2, 4));

        grid->SetEnterAction(TEnterAction::Up);
        TypeInto(2, 2, "1");
        QCOMPARE(QPoint(grid->ActiveCol(), grid->ActiveRow()), QPoint(2, 1));

        // Next wraps to the next row and passes over hidden and locked cells.
        grid->SetEnterAction(TEnterAction::Next);
        grid->SetColWidth(4, 0);
        grid->SetLocked(1, 3, true);
        TypeInto(3, 2, "1");
        QCOMPARE(QPoint(grid->ActiveCol(), grid->ActiveRow()), QPoint(2, 3));

        grid->SetEnterAction(TEnterAction::Previous);
        TypeInto(2, 3, "1");
        QCOMPARE(QPoint(grid->ActiveCol(), grid->ActiveRow()), QPoint(3, 2));
    }

    void lockedCellsAreDisplayOnly()
    {
        grid->SetText(1, 1, "total");
        grid->SetLocked(1, 1, true);
        TypeInto(1, 1, "9");
        QCOMPARE(grid->Text(1, 1), QString("total"));
        grid->SetText(1, 1, "by code");
        QCOMPARE(grid->Text(1, 1), QString("by code"));
        SetClipboard("x");
        grid->SetSelectedBlock(1, 1, 1, 2);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{"by code,,,", "x,,,", ",,,", ",,,"}));
    }

    void blockFromMouseSelection()
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(2, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(3, 4));
        QCOMPARE(grid->SelectedBlock(), (TBlock{2, 1, 3, 4}));
        // Nothing selected: the cursor cell (where the last click went).
        grid->clearSelection();
        QCOMPARE(grid->SelectedBlock(), (TBlock{3, 4, 3, 4}));
    }

    void copyCutAndClear()
    {
        Fill({"a,b,c,d", "e,f,g,h", "i,j,k,l", "m,n,o,p"});
        grid->SetSelectedBlock(2, 1, 3, 2);
        Key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(Clipboard(), QString("b\tc\nf\tg"));

        grid->SetSelectedBlock(1, 3, 2, 4);
        Key(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(Clipboard(), QString("i\tj\nm\tn"));
        QCOMPARE(Rows(), (QStringList{"a,b,c,d", "e,f,g,h", ",,k,l", ",,o,p"}));

        grid->SetSelectedBlock(4, 1, 4, 4);
        Key(Qt::Key_Delete);
        QCOMPARE(Clipboard(), QString("i\tj\nm\tn"));
        QCOMPARE(Rows(), (QStringList{"a,b,c,", "e,f,g,", ",,k,", ",,o,"}));

        // Copy gives the cells as shown.
        grid->SetDecimals(1, 1, 1);
        grid->SetText(1, 1, "2");
        grid->SetSelectedBlock(1, 1, 1, 1);
        grid->PopupAction(TvaSpread::TBlockCommand::Copy)->trigger();
        QCOMPARE(Clipboard(), QString("2.0"));
    }

    void popupEntryCanRunAnotherCommand()
    {
        grid->SetPopupMenuEnabled(true);
        grid->SetPopupCommand(TvaSpread::TBlockCommand::Clear, TvaSpread::TBlockCommand::Cut);
        auto* clear = grid->findChild<QAction*>("ClearAction");
        QVERIFY(clear);
        QCOMPARE(clear->text(), QString("消去(&D)"));
        grid->SetText(1, 1, "a");
        SetClipboard("old");
        grid->SetSelectedBlock(1, 1, 1, 1);
        clear->trigger();
        QCOMPARE(grid->Text(1, 1), QString());
        QCOMPARE(Clipboard(), QString("a"));
    }

    void pasteOneValueFillsColumnBlock()
    {
        SetClipboard("5");
        grid->SetSelectedBlock(2, 1, 2, 4);
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Rows(), (QStringList{",5,,", ",5,,", ",5,,", ",5,,"}));
    }

    void pasteOneValueFillsRowBlock()
    {
        SetClipboard("5\r\n");
        grid->SetSelectedBlock(1, 2, 3, 2);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{",,,", "5,5,5,", ",,,", ",,,"}));
    }

    void pasteCopiedColumnIntoColumnBlockStaysInTheBlock()
    {
        // A column of values onto a shorter selected column: once from the
        // top, cut at the selection's end; the row below keeps its value.
        Fill({",,,", ",,,", ",,,", ",keep,,"});
        SetClipboard("1\n2\n3\n4\n5\n");
        grid->SetSelectedBlock(2, 1, 2, 3);
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Rows(), (QStringList{",1,,", ",2,,", ",3,,", ",keep,,"}));

        // A copied area onto a column: only the block's column is written.
        grid->ClearRange(1, 1, 4, 4);
        SetClipboard("a\tb\nc\td\ne\tf");
        grid->SetSelectedBlock(3, 1, 3, 2);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{",,a,", ",,c,", ",,,", ",,,"}));

        // A column shorter than the selection: the rest stays as it was.
        grid->SetText(1, 3, "z");
        grid->SetText(1, 4, "z");
        SetClipboard("x\ny");
        grid->SetSelectedBlock(1, 1, 1, 4);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{"x,,a,", "y,,c,", "z,,,", "z,,,"}));
    }

    void pasteCopiedRowIntoColumnBlockRepeatsPerRow()
    {
        // One row deep: every selected row gets the whole row, to the grid's
        // edge; and the same across for a column onto a selected row.
        SetClipboard("a\tb\tc");
        grid->SetSelectedBlock(3, 2, 3, 3);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{",,,", ",,a,b", ",,a,b", ",,,"}));

        grid->ClearRange(1, 1, 4, 4);
        SetClipboard("p\r\nq\r\n");
        grid->SetSelectedBlock(2, 3, 3, 3);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{",,,", ",,,", ",p,p,", ",q,q,"}));
    }

    void pasteCopiedRowIntoRowBlockStaysInTheBlock()
    {
        SetClipboard("1\t2\t3\t4");
        grid->SetSelectedBlock(2, 2, 3, 2);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{",,,", ",1,2,", ",,,", ",,,"}));

        grid->ClearRange(1, 1, 4, 4);
        SetClipboard("1\t2\n3\t4");
        grid->SetSelectedBlock(1, 4, 4, 4);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{",,,", ",,,", ",,,", "1,2,,"}));
    }

    void pasteIntoAreaBlockOnceClippedToBlock()
    {
        // 2 x 2 into 3 x 3: once at the top-left, not repeated; the trailing
        // newline adds no empty row.
        Fill({",,,", ",,,", "z,z,z,z"});
        SetClipboard("a\tb\nc\td\n");
        grid->SetSelectedBlock(1, 1, 3, 3);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{"a,b,,", "c,d,,", "z,z,z,z", ",,,"}));

        // 3 x 3 into 2 x 2: clipped to the block.
        grid->ClearRange(1, 1, 4, 4);
        SetClipboard("1\t2\t3\r\n4\t5\t6\r\n7\t8\t9\r\n");
        grid->SetSelectedBlock(2, 2, 3, 3);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{",,,", ",1,2,", ",4,5,", ",,,"}));
    }

    void pasteIntoOneCellSpillsUpToGridEdge()
    {
        SetClipboard("1\t2\t3\n4\t5\t6\n7\t8\t9");
        grid->SetSelectedBlock(3, 3, 3, 3);
        grid->PasteBlock();
        QCOMPARE(Rows(), (QStringList{",,,", ",,,", ",,1,2", ",,4,5"}));
    }

    void pasteWithoutTextDoesNothing()
    {
        QSignalSpy changed(grid.get(), &TvaSpread::Changed);
        grid->SetText(1, 1, "keep");
        auto* mime = new QMimeData;
        mime->setData("application/x-kanmuri-test", "1\t2");
        QGuiApplication::clipboard()->setMimeData(mime);
        grid->SetSelectedBlock(1, 1, 2, 2);
        Key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Rows(), (QStringList{"keep,,,", ",,,", ",,,", ",,,"}));
        QCOMPARE(changed.count(), 0);
    }

    void widthZeroHidesColumn()
    {
        QCOMPARE(grid->ColWidth(2), 8.0);
        grid->SetColWidth(2, 0);
        QVERIFY(grid->isColumnHidden(1));
        QCOMPARE(grid->ColWidth(2), 0.0);
        grid->SetColWidth(2, 8);
        QVERIFY(!grid->isColumnHidden(1));
        grid->SetColWidth(3, 4);
        QVERIFY(grid->columnWidth(1) > grid->columnWidth(2));
        // Widths leave row heights alone.
        grid->SetRowHeight(2, 40);
        grid->SetColWidth(1, 5);
        QCOMPARE(grid->RowHeight(2), 40);
        const int average = grid->fontMetrics().averageCharWidth();
        QVERIFY(grid->columnWidth(1) >= 8 * average);
        // A bigger font widens the same number of characters.
        QFont big = grid->font();
        big.setPointSize(big.pointSize() * 2);
        const int before = grid->columnWidth(1);
        grid->setFont(big);
        QVERIFY(grid->columnWidth(1) > before);
    }
};

KANMURI_TEST_MAIN(TestTvaSpread)
#include "tst_TvaSpread.moc"

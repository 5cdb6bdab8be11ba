#include "app/TfrmEditHojitsu4.h"

#include "app/HojitsuSheetPreview.h"
#include "app/TCsvExport.h"
#include "app/TForms.h"
#include "app/THojitsuWorkbook.h"
#include "app/TParadoxImport.h"
#include "app/TfrmSetFont.h"
#include "app/TfrmSetHojituKetasu.h"
#include "controls/TComboBox.h"
#include "controls/TFileChooser.h"
#include "controls/TFolderDialog.h"
#include "controls/TStatusBar.h"
#include "controls/TfSelectMultiItems.h"
#include "controls/TvaSpread.h"
#include "foundation/Conversions.h"
#include "foundation/EKanmuriError.h"
#include "foundation/FileVersion.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TActivation.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "mix/ShiftJis.h"
#include "mix/TGozaiDef.h"
#include "mix/TfrmEditGozaiDef.h"
#include "print/TReportProgress.h"
#include "print/TZqPrinter.h"
#include "store/Derivation.h"
#include "store/Digits.h"
#include "store/HojituGrid.h"
#include "store/THojituHead4.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QValidator>
#include <cmath>

using namespace HojituGrid;

namespace {

const QString kTrue = QStringLiteral("TRUE");
const QString kHojitsuSa = QStringLiteral("HojitsuSa");
const QString kFillerZeroPrint = QStringLiteral("FillerZeroPrint");
constexpr int kStationBytes = 16;

// The panels of the status bar.
enum TPanel
{
    VersionPanel = 0,
    EditModePanel = 1, // "上書" or "挿入"; a click switches
    EnterPanel = 2,    // where Enter moves in the grid; a click steps on
    RecordPanel = 3,   // the header's ID
};

// The cells of the mixture's grid (vaSpread1), in its only row.
constexpr int kMixRow = 1;
constexpr int kMixDensityCol = 1;
constexpr int kMixBinderCol = 2;
constexpr int kMixFillerCol = 3;

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Label(QWidget* parent, const QString& caption, int x, int y, int width = 80)
{
    auto* label = new QLabel(caption, parent);
    label->setGeometry(x, y, width, 16);
    return label;
}

// The station's column holds 16 bytes of Shift-JIS: what would not fit is
// refused as it is typed or pasted, never cut off when saved.
class TStationValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return ShiftJisLength(input) <= kStationBytes ? Acceptable : Invalid;
    }
};

// The enter panel's arrows, in the order a click steps through them.
const QList<TvaSpread::TEnterAction> kEnterSteps = {
    TvaSpread::TEnterAction::Up, TvaSpread::TEnterAction::Next, TvaSpread::TEnterAction::Down,
    TvaSpread::TEnterAction::Previous, TvaSpread::TEnterAction::None};

QString EnterArrow(TvaSpread::TEnterAction action)
{
    switch (action) {
    case TvaSpread::TEnterAction::Up:
        return QStringLiteral("↑");
    case TvaSpread::TEnterAction::Down:
        return QStringLiteral("↓");
    case TvaSpread::TEnterAction::Next:
        return QStringLiteral("→");
    case TvaSpread::TEnterAction::Previous:
        return QStringLiteral("←");
    case TvaSpread::TEnterAction::None:
        break;
    }
    return QStringLiteral("□");
}

void ShowModeless(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

TfrmEditHojitsu4::TfrmEditHojitsu4(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmEditHojitsu4"));
    setWindowTitle(QStringLiteral("アスファルト合材舗設実績表"));

    CreateMenus();
    CreateControls();

    m_statusBar = new TStatusBar(this);
    m_statusBar->AddPanel(100);
    m_statusBar->AddPanel(50);
    m_statusBar->AddPanel(50);
    m_statusBar->AddPanel(50, Qt::AlignLeft);
    m_statusBar->AddPanel(50);
    setStatusBar(m_statusBar);
    Connect(m_statusBar, &TStatusBar::PanelClicked, this, &TfrmEditHojitsu4::StatusBar1Click);

    resize(800, 540);
    CentreOnScreen(this);

    m_head = new THojituHead4(this);
    m_line = new THojituLine4(this);
    m_statusBar->SetPanelText(RecordPanel, QStringLiteral("0"));
    RefreshStatusPanels();
    TApplication::Guard([this] { FormCreate(); });
}

TfrmEditHojitsu4::~TfrmEditHojitsu4()
{
    TApplication::Guard([this] {
        WriteSetting(kHojitsuSa,
                     CheckBox3->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    });
}

void TfrmEditHojitsu4::CreateControls()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    setCentralWidget(panel);
    CreateHeaderControls(panel);
    CreateEntryGrid();
    vaSpread2->setParent(panel);
    vaSpread2->setGeometry(8, 106, 782, 262);
    CreateOptionsAndButtons(panel);
    ConnectControls();
}

void TfrmEditHojitsu4::CreateHeaderControls(QWidget* panel)
{
    Label(panel, QStringLiteral("工事名"), 8, 8);
    ComboBox1 = Named(new TComboBox(panel), "ComboBox1");
    ComboBox1->setGeometry(8, 24, 310, 22);
    Label(panel, QStringLiteral("工種名"), 326, 8);
    ComboBox2 = Named(new TComboBox(panel), "ComboBox2");
    ComboBox2->setGeometry(326, 24, 170, 22);
    Label(panel, QStringLiteral("合材名"), 504, 8);
    ComboBox3 = Named(new TComboBox(panel), "ComboBox3");
    ComboBox3->setGeometry(504, 24, 286, 22);
    ImeOff(ComboBox1);
    ImeHiragana(ComboBox2);
    ImeHiragana(ComboBox3);

    vaSpread1 = Named(new TvaSpread(panel), "vaSpread1");
    vaSpread1->setGeometry(8, 54, 310, 46);
    vaSpread1->SetMaxCols(kMixFillerCol);
    vaSpread1->SetMaxRows(kMixRow);
    vaSpread1->SetColWidth(0, 0);
    const QStringList mixHeadings = {QStringLiteral("設計密度"), QStringLiteral("設計ﾊﾞｲﾝﾀﾞ量"),
                                     QStringLiteral("設計石粉量")};
    for (int col = kMixDensityCol; col <= kMixFillerCol; ++col) {
        vaSpread1->SetColWidth(col, 12);
        vaSpread1->SetText(col, 0, mixHeadings[col - 1]);
    }
    ImeOff(vaSpread1);

    Label(panel, QStringLiteral("舗設日"), 326, 56);
    ComboBox4 = Named(new TComboBox(panel), "ComboBox4");
    ComboBox4->setGeometry(326, 72, 116, 22);
    // A date is read without its leading zeros too: completed from the list,
    // "2026/04/1" would become the stored "2026/04/10".
    ComboBox4->setCompleter(nullptr);
    ImeOff(ComboBox4);
    Label(panel, QStringLiteral("測点"), 450, 56);
    Edit1 = Named(new QLineEdit(panel), "Edit1");
    Edit1->setGeometry(450, 72, 150, 22);
    Edit1->setValidator(new TStationValidator(Edit1));
    ImeOff(Edit1);
    Label(panel, QStringLiteral("延長"), 608, 56);
    Edit2 = Named(new QLineEdit(panel), "Edit2");
    Edit2->setGeometry(608, 72, 88, 22);
    Edit2->setAlignment(Qt::AlignRight);
    ImeOff(Edit2);
    Label(panel, QStringLiteral("幅員"), 704, 56);
    Edit3 = Named(new QLineEdit(panel), "Edit3");
    Edit3->setGeometry(704, 72, 86, 22);
    Edit3->setAlignment(Qt::AlignRight);
    ImeOff(Edit3);
}

void TfrmEditHojitsu4::CreateOptionsAndButtons(QWidget* panel)
{
    CheckBox1 =
        Named(new QCheckBox(QStringLiteral("当日までの合計を表示する"), panel), "CheckBox1");
    CheckBox1->setGeometry(8, 376, 220, 20);
    CheckBox2 = Named(new QCheckBox(QStringLiteral("合材ごとに集計する"), panel), "CheckBox2");
    CheckBox2->setGeometry(236, 376, 180, 20);
    CheckBox3 = Named(new QCheckBox(QStringLiteral("差=実際-設計"), panel), "CheckBox3");
    CheckBox3->setGeometry(424, 376, 150, 20);
    CheckBox4 = Named(new QCheckBox(QStringLiteral("未使用材料は印刷しない"), panel), "CheckBox4");
    CheckBox4->setGeometry(8, 400, 220, 20);
    CheckBox5 = Named(new QCheckBox(QStringLiteral("１行印字"), panel), "CheckBox5");
    CheckBox5->setGeometry(236, 400, 180, 20);

    Button4 = Named(new QPushButton(QStringLiteral("プリンタの設定"), panel), "Button4");
    Button4->setGeometry(424, 432, 110, 28);
    Button1 = Named(new QPushButton(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ"), panel), "Button1");
    Button1->setGeometry(542, 432, 80, 28);
    Button2 = Named(new QPushButton(QStringLiteral("OK"), panel), "Button2");
    Button2->setGeometry(626, 432, 80, 28);
    Button3 = Named(new QPushButton(QStringLiteral("閉じる(&C)"), panel), "Button3");
    Button3->setGeometry(710, 432, 80, 28);
    // Enter in an edit or a cell moves on; it never presses a button.
    for (QPushButton* button : {Button1, Button2, Button3, Button4})
        button->setAutoDefault(false);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setObjectName(QStringLiteral("EscapeShortcut"));
    Connect(escape, &QShortcut::activated, this, &TfrmEditHojitsu4::Button3Click);
}

void TfrmEditHojitsu4::ConnectControls()
{
    // A choice is acted on once the list has closed: the question about
    // unsaved typing may then put the box back as it was.
    Connect(ComboBox1, &TComboBox::DropDown, this, &TfrmEditHojitsu4::ComboBox1DropDown);
    Connect(ComboBox1, &QComboBox::activated, this, &TfrmEditHojitsu4::ComboBox1Select,
            Qt::QueuedConnection);
    Connect(ComboBox2, &TComboBox::DropDown, this, &TfrmEditHojitsu4::ComboBox2DropDown);
    Connect(ComboBox2, &QComboBox::activated, this, &TfrmEditHojitsu4::ComboBox2Select,
            Qt::QueuedConnection);
    Connect(ComboBox3, &TComboBox::DropDown, this, &TfrmEditHojitsu4::ComboBox3DropDown);
    Connect(ComboBox3, &QComboBox::activated, this, &TfrmEditHojitsu4::ComboBox3Select,
            Qt::QueuedConnection);
    Connect(ComboBox4, &TComboBox::DropDown, this, &TfrmEditHojitsu4::ComboBox4DropDown);
    Connect(ComboBox4, &QComboBox::activated, this, &TfrmEditHojitsu4::ComboBox4Select,
            Qt::QueuedConnection);
    ComboBox4->installEventFilter(this);
    // Enter in the date box goes to the day typed, as leaving it does.
    Connect(ComboBox4->lineEdit(), &QLineEdit::returnPressed, this,
            &TfrmEditHojitsu4::ComboBox4Exit);
    Connect(Edit2, &QLineEdit::returnPressed, this, &TfrmEditHojitsu4::Edit2KeyEnter);
    Connect(Edit3, &QLineEdit::returnPressed, this, &TfrmEditHojitsu4::Edit3KeyEnter);
    Connect(Edit1, &QLineEdit::textEdited, this, &TfrmEditHojitsu4::Touch);
    // Typed, the length or width is taken as typed, even where its text is
    // the one shown.
    Connect(Edit2, &QLineEdit::textEdited, this, [](TfrmEditHojitsu4* w) {
        w->m_typed[0] = true;
        w->m_deriveDue = true;
        w->Touch();
    });
    Connect(Edit3, &QLineEdit::textEdited, this, [](TfrmEditHojitsu4* w) {
        w->m_typed[1] = true;
        w->m_deriveDue = true;
        w->Touch();
    });
    // A length or width typed is followed by what was derived from it, once
    // the box is left or Enter pressed.
    for (QLineEdit* edit : {Edit2, Edit3})
        Connect(edit, &QLineEdit::editingFinished, this, [](TfrmEditHojitsu4* w) {
            if (w->m_deriveDue)
                w->Derive(AllDigits());
        });
    Connect(vaSpread2, &TvaSpread::Changed, this, &TfrmEditHojitsu4::vaSpread2Change);
    Connect(vaSpread2, &TvaSpread::EditModeChanged, this, &TfrmEditHojitsu4::RefreshStatusPanels);
    Connect(CheckBox1, &QCheckBox::clicked, this, &TfrmEditHojitsu4::CheckBox1Click);
    Connect(CheckBox2, &QCheckBox::clicked, this, &TfrmEditHojitsu4::CheckBox2Click);
    Connect(CheckBox3, &QCheckBox::clicked, this, &TfrmEditHojitsu4::CheckBox3Click);
    Connect(CheckBox4, &QCheckBox::clicked, this, &TfrmEditHojitsu4::CheckBox4Click);
    Connect(Button1, &QPushButton::clicked, this, &TfrmEditHojitsu4::Button1Click);
    Connect(Button2, &QPushButton::clicked, this, &TfrmEditHojitsu4::Button2Click);
    Connect(Button3, &QPushButton::clicked, this, &TfrmEditHojitsu4::Button3Click);
    Connect(Button4, &QPushButton::clicked, this, &TfrmEditHojitsu4::Button4Click);
}

void TfrmEditHojitsu4::CreateEntryGrid()
{
    vaSpread2 = Named(new TvaSpread(this), "vaSpread2");
    vaSpread2->SetMaxCols(Columns);
    vaSpread2->SetMaxRows(LastTotalRow);
    // Rows 1 and 2 carry the headings, column 0 the row labels.
    vaSpread2->SetRowHeight(0, 0);
    vaSpread2->SetColWidth(0, 8);
    for (int col = 1; col <= Columns; ++col)
        vaSpread2->SetColWidth(col, 9);
    for (int row = 1; row <= LastTotalRow; ++row)
        vaSpread2->SetRowHeight(row, 22);
    vaSpread2->SetRowHeight(SeparatorRow, 6);
    for (const TGroup& group : Groups()) {
        vaSpread2->AddCellSpan(group.FirstCol, GroupRow, group.Cols, 1);
        vaSpread2->SetText(group.FirstCol, GroupRow, group.Caption);
    }
    for (int col = 1; col <= Columns; ++col)
        vaSpread2->SetText(col, HeadingRow, ColumnHeadings()[col - 1]);
    for (int i = 0; i < RowLabels().size(); ++i) {
        vaSpread2->SetText(0, FirstEntryRow + i, RowLabels()[i]);
        vaSpread2->SetText(0, FirstTotalRow + i, RowLabels()[i]);
    }
    // Only cells that hold a value of the day take input.
    vaSpread2->SetBlockLocked(1, GroupRow, Columns, LastTotalRow, true);
    for (int col = 1; col <= Columns; ++col)
        for (int row = FirstEntryRow; row <= LastEntryRow; ++row)
            if (PositionAt(col, row) >= 0)
                vaSpread2->SetLocked(col, row, false);
    for (int col = 1; col <= Columns; ++col)
        for (int row = 1; row <= LastTotalRow; ++row)
            if (QTableWidgetItem* cell = vaSpread2->item(row - 1, col - 1))
                cell->setTextAlignment(row <= HeadingRow ? Qt::AlignCenter
                                                         : Qt::AlignRight | Qt::AlignVCenter);
    vaSpread2->SetEnterAction(TvaSpread::TEnterAction::Next);
    const TCell area = EntryCell(FirstGridPosition);
    vaSpread2->SetActiveCell(area.Col, area.Row);
    ImeOff(vaSpread2);
}

QAction* TfrmEditHojitsu4::AddItem(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

void TfrmEditHojitsu4::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル"));
    file->setObjectName(QStringLiteral("mnuFile"));
    Connect(AddItem(file, QStringLiteral("mnuOpen"), QStringLiteral("開く")), &QAction::triggered,
            this, &TfrmEditHojitsu4::mnuOpenClick);
    Connect(AddItem(file, QStringLiteral("mnuDelete"), QStringLiteral("削除")), &QAction::triggered,
            this, &TfrmEditHojitsu4::mnuDeleteClick);
    Connect(AddItem(file, QStringLiteral("mnuDeleteDay"), QStringLiteral("削除（当日）")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuDeleteDayClick);
    Connect(AddItem(file, QStringLiteral("mnuCsv"), QStringLiteral("CSV に書き出し")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuCsvClick);
    Connect(AddItem(file, QStringLiteral("mnuExcel"), QStringLiteral("Excel に書き出し")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuExcelClick);
    Connect(AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる")),
            &QAction::triggered, this, &TfrmEditHojitsu4::Button3Click);

    QMenu* data = menuBar()->addMenu(QStringLiteral("データ"));
    data->setObjectName(QStringLiteral("mnuData"));
    Connect(AddItem(data, QStringLiteral("mnuKoji"), QStringLiteral("工事データ")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuKojiClick);
    Connect(AddItem(data, QStringLiteral("mnuKosyu"), QStringLiteral("工種データ")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuKosyuClick);
    Connect(AddItem(data, QStringLiteral("mnuGozai"), QStringLiteral("合材データ")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuGozaiClick);

    QMenu* settings = menuBar()->addMenu(QStringLiteral("環境設定"));
    settings->setObjectName(QStringLiteral("mnuSettings"));
    Connect(AddItem(settings, QStringLiteral("mnuDataPath"),
                    QStringLiteral("データ格納フォルダの設定")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuDataPathClick);
    Connect(AddItem(settings, QStringLiteral("mnuKetasu"), QStringLiteral("項目別桁数の設定")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuKetasuClick);
    Connect(AddItem(settings, QStringLiteral("mnuFont"), QStringLiteral("フォントの設定")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuFontClick);
    Connect(AddItem(settings, QStringLiteral("mnuImport"), QStringLiteral("旧データの取り込み")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuImportClick);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* contents = AddItem(help, QStringLiteral("mnuContents"), QStringLiteral("目次"));
    contents->setShortcut(Qt::Key_F1);
    Connect(contents, &QAction::triggered, this,
            [](QWidget*) { THelp::Show(QStringLiteral("index")); });
    Connect(AddItem(help, QStringLiteral("mnuStart"), QStringLiteral("はじめに")),
            &QAction::triggered, this, [](QWidget*) { THelp::Show(QStringLiteral("start")); });
    Connect(AddItem(help, QStringLiteral("mnuAbout"), QStringLiteral("舗設実績表について")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuAboutClick);
}

void TfrmEditHojitsu4::FormCreate()
{
    m_place = TDatabase::Place();
    // An unreachable data folder is reported once, at start.
    if (TDatabase::IsAvailable()) {
        THojituHead4::EnsureTables();
        THojituLine4::EnsureTables();
    }
}

void TfrmEditHojitsu4::FollowDataPlaceIfMoved()
{
    if (const QString place = TDatabase::Place(); place != m_place) {
        m_place = place;
        FollowDataPlace();
    }
}

void TfrmEditHojitsu4::FollowDataPlace()
{
    if (!TDatabase::IsAvailable())
        return;
    const TDigitTable digits = AllDigits();
    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    // The record of the keys shown, as the new place holds it: the ID held
    // belongs to the old one, where it may be another record's.
    m_head->LoadByKeys();
    m_statusBar->SetPanelText(RecordPanel, QString::number(m_head->ID));
    // Typing not yet saved stays, to be saved there.
    if (m_modified) {
        m_line->SID = m_head->ID;
        return;
    }
    ShowDay(LoadDay(m_line->Hiduke), false, digits);
}

bool TfrmEditHojitsu4::event(QEvent* event)
{
    const bool result = QMainWindow::event(event);
    if (TActivation::ReloadDue(this, event))
        TApplication::Guard([this] { FormActivate(); });
    return result;
}

bool TfrmEditHojitsu4::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the date box (not for its own list) loads the day typed.
    if (event->type() == QEvent::FocusOut && watched == ComboBox4 &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
        !ComboBox4->isAncestorOf(QApplication::focusWidget()) &&
        QApplication::focusWidget() != ComboBox4)
        TApplication::Guard([this] { ComboBox4Exit(); });
    return QMainWindow::eventFilter(watched, event);
}

void TfrmEditHojitsu4::closeEvent(QCloseEvent* event)
{
    bool leave = false;
    TApplication::Guard([&] { leave = ConfirmLeave(); });
    if (!leave) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
    // Modeless windows opened from here may still be showing; closing the
    // main window ends the program all the same.
    if (event->isAccepted())
        QCoreApplication::quit();
}

void TfrmEditHojitsu4::FormActivate()
{
    // The data folder (or server) may have been changed meanwhile, in a
    // window opened from another one.
    FollowDataPlaceIfMoved();
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("pTarmak.exe"));
    m_statusBar->SetPanelText(VersionPanel,
                              QStringLiteral("Ver.") +
                                  FileVersionString(program, QStringLiteral("FileVersion")));
    // A box set from its setting acts as if the user had clicked it.
    const bool actualMinusDesign = ReadSetting(kHojitsuSa) == QStringLiteral("1");
    if (CheckBox3->isChecked() != actualMinusDesign) {
        CheckBox3->setChecked(actualMinusDesign);
        CheckBox3Click();
    }
    const bool fillerZero = ReadSetting(kFillerZeroPrint) == kTrue;
    if (CheckBox4->isChecked() != fillerZero) {
        CheckBox4->setChecked(fillerZero);
        CheckBox4Click();
    }
    RefreshStatusPanels();
}

// Showing -------------------------------------------------------------------

QString TfrmEditHojitsu4::ControlText(int position) const
{
    if (position == 0)
        return Edit2->text();
    if (position == 1)
        return Edit3->text();
    const TCell cell = EntryCell(position);
    return vaSpread2->Text(cell.Col, cell.Row);
}

void TfrmEditHojitsu4::SetControlText(int position, const QString& text)
{
    if (position == 0) {
        Edit2->setText(text);
    } else if (position == 1) {
        Edit3->setText(text);
    } else {
        const TCell cell = EntryCell(position);
        vaSpread2->SetText(cell.Col, cell.Row, text);
    }
}

void TfrmEditHojitsu4::ShowValue(int position, double value, const TDigitTable& digits)
{
    const QString text = FormatFixed(value, digits[size_t(position)]);
    SetControlText(position, text);
    m_shownText[size_t(position)] = text;
    m_shownValue[size_t(position)] = value;
    m_typed[size_t(position)] = false;
}

void TfrmEditHojitsu4::ShowText(int position, const QString& text)
{
    SetControlText(position, text);
    m_shownText[size_t(position)] = text;
    m_shownValue[size_t(position)] = NumberOrZero(text);
    m_typed[size_t(position)] = false;
}

void TfrmEditHojitsu4::ShowLine(const TDigitTable& digits)
{
    ComboBox4->SetText(FormatDate(m_line->Hiduke));
    Edit1->setText(m_line->Sokuten);
    for (int position = 0; position <= LastPosition; ++position)
        ShowValue(position, m_line->Values[size_t(position)], digits);
    m_derived.reset();
    m_modified = false;
    RefreshTotals(digits);
}

void TfrmEditHojitsu4::ShowDay(bool stored, bool densityFromCores, const TDigitTable& digits)
{
    ShowLine(digits);
    if (!stored && !m_head->Gozai->DataName.isEmpty()) {
        PrefillDay(densityFromCores);
        Derive(digits);
    }
}

void TfrmEditHojitsu4::RefreshTotals()
{
    RefreshTotals(AllDigits());
}

void TfrmEditHojitsu4::RefreshTotals(const TDigitTable& digits)
{
    const THojituLine4::TValues totals =
        m_line->Totals(CheckBox1->isChecked(), CheckBox2->isChecked(), m_head->Gozai->DataName,
                       m_head->Koji->Code);
    for (int position : THojituLine4::SummedPositions()) {
        const TCell cell = TotalCell(position);
        vaSpread2->SetText(cell.Col, cell.Row,
                           FormatFixed(totals[size_t(position)], digits[size_t(position)]));
    }
}

void TfrmEditHojitsu4::RefreshHeaderFields()
{
    ComboBox1->SetText(m_head->Koji->Code + u':' + m_head->Koji->Kojimei);
    ComboBox2->SetText(m_head->Kosyu->Kosyumei);
    ComboBox3->SetText(m_head->Gozai->DataName);
    m_statusBar->SetPanelText(RecordPanel, QString::number(m_head->ID));
}

void TfrmEditHojitsu4::RefreshStatusPanels()
{
    m_statusBar->SetPanelText(EditModePanel,
                              vaSpread2->EditMode() == TvaSpread::TEditMode::Overwrite
                                  ? QStringLiteral("上書")
                                  : QStringLiteral("挿入"));
    m_statusBar->SetPanelText(EnterPanel, EnterArrow(vaSpread2->EnterAction()));
}

void TfrmEditHojitsu4::ShowMixPrefill()
{
    const TMixPrefill prefill = MixPrefill(*m_head->Gozai);
    vaSpread1->SetText(kMixDensityCol, kMixRow, prefill.Density);
    vaSpread1->SetText(kMixBinderCol, kMixRow, prefill.Binder);
    vaSpread1->SetText(kMixFillerCol, kMixRow, prefill.Filler);
}

void TfrmEditHojitsu4::PrefillDay(bool densityFromCores)
{
    const QString density = vaSpread1->Text(kMixDensityCol, kMixRow);
    QString actual = density;
    if (densityFromCores) {
        QString measured;
        if (CoreDensity(m_head->Koji->Code, m_head->Gozai->DataName, measured))
            actual = measured;
    }
    ShowText(PositionAt(DensityCol, DesignRow), density);
    ShowText(PositionAt(DensityCol, ActualRow), actual);
    // The design, actual and site ratios of binder and filler.
    for (int row = DesignRow; row <= SiteRow; ++row) {
        ShowText(PositionAt(BinderRatioCol, row), vaSpread1->Text(kMixBinderCol, kMixRow));
        ShowText(PositionAt(FillerRatioCol, row), vaSpread1->Text(kMixFillerCol, kMixRow));
    }
}

void TfrmEditHojitsu4::ClearLine()
{
    const TDateTime date = m_line->Hiduke;
    m_line->Clear();
    m_line->Hiduke = date;
    m_line->SID = m_head->ID;
}

bool TfrmEditHojitsu4::LoadFirstOrClear()
{
    if (m_head->ID != 0) {
        m_line->SID = m_head->ID;
        if (m_line->LoadFirst())
            return true;
    }
    m_line->Clear();
    m_line->SID = m_head->ID;
    return false;
}

bool TfrmEditHojitsu4::LoadDay(TDateTime date)
{
    m_line->SID = m_head->ID;
    m_line->Hiduke = date;
    const bool found = m_head->ID != 0 && m_line->LoadByDay();
    if (!found)
        ClearLine();
    return found;
}

bool TfrmEditHojitsu4::DayStored() const
{
    if (m_head->ID == 0)
        return false;
    THojituLine4 probe;
    probe.SID = m_head->ID;
    probe.Hiduke = m_line->Hiduke;
    return probe.LoadByDay();
}

// Deriving ------------------------------------------------------------------

THojituLine4::TValues TfrmEditHojitsu4::Values() const
{
    THojituLine4::TValues values{};
    for (int position = 0; position <= LastPosition; ++position) {
        const QString text = ControlText(position);
        values[size_t(position)] =
            !m_typed[size_t(position)] && text == m_shownText[size_t(position)]
                ? m_shownValue[size_t(position)]
                : NumberOrZero(text);
    }
    return values;
}

void TfrmEditHojitsu4::Derive()
{
    m_deriveDue = true;
    Derive(AllDigits());
}

void TfrmEditHojitsu4::Derive(const TDigitTable& digits)
{
    m_deriveDue = false;
    // A pasted block is reported cell by cell: a cell whose change is not
    // reported yet is the user's all the same, never derived over.
    for (int position = FirstGridPosition; position <= LastPosition; ++position)
        if (ControlText(position) != m_shownText[size_t(position)]) {
            m_typed[size_t(position)] = true;
            m_derived[size_t(position)] = false;
        }
    THojituLine4::TValues values = Values();
    DeriveDay(values, CheckBox3->isChecked(), &m_derived);
    for (int position = FirstGridPosition; position <= LastPosition; ++position)
        ShowValue(position, values[size_t(position)], digits);
}

void TfrmEditHojitsu4::Touch()
{
    m_modified = true;
}

void TfrmEditHojitsu4::CommitTyping()
{
    vaSpread2->CommitEdit();
}

void TfrmEditHojitsu4::vaSpread2Change(int col, int row)
{
    m_deriveDue = true;
    m_modified = true;
    // A value typed is the user's: it is no longer derived.
    if (const int position = PositionAt(col, row); position >= 0) {
        m_typed[size_t(position)] = true;
        m_derived[size_t(position)] = false;
    }
    Derive();
}

void TfrmEditHojitsu4::Edit2KeyEnter()
{
    const double area = NumberOrZero(Edit2->text()) * NumberOrZero(Edit3->text());
    if (ControlText(FirstGridPosition).trimmed().isEmpty() && area != 0) {
        ShowText(FirstGridPosition, FormatFixed(area, 3));
        // The program's value: it follows the length and width from now on.
        m_derived[size_t(FirstGridPosition)] = true;
        m_modified = true;
    }
}

void TfrmEditHojitsu4::Edit3KeyEnter()
{
    Derive();
}

// Unsaved typing --------------------------------------------------------------

bool TfrmEditHojitsu4::ConfirmLeave(const std::function<void()>& restore)
{
    CommitTyping();
    if (!m_modified)
        return true;
    switch (
        TPrompt::YesNoCancel(QStringLiteral("%1 の入力内容が保存されていません。\n保存しますか？")
                                 .arg(FormatDate(m_line->Hiduke)))) {
    case TAnswer::Yes: {
        // The question names the shown day: it is saved under its own date,
        // not under one typed into the date box and not yet gone to, and a
        // stored record's day under that record's keys, not over the day of
        // another record whose name was typed into a box meanwhile.
        ComboBox4->SetText(FormatDate(m_line->Hiduke));
        if (m_head->ID == 0) {
            if (restore)
                restore();
            return SaveDay();
        }
        const QStringList typed{ComboBox1->Text(), ComboBox2->Text(), ComboBox3->Text()};
        RefreshHeaderFields();
        bool saved = false;
        try {
            saved = SaveDay();
        } catch (...) {
            ComboBox1->SetText(typed[0]);
            ComboBox2->SetText(typed[1]);
            ComboBox3->SetText(typed[2]);
            throw;
        }
        ComboBox1->SetText(typed[0]);
        ComboBox2->SetText(typed[1]);
        ComboBox3->SetText(typed[2]);
        return saved;
    }
    case TAnswer::No:
        m_modified = false;
        return true;
    case TAnswer::Cancel:
        break;
    }
    return false;
}

// Choosing ------------------------------------------------------------------

TComboBox* TfrmEditHojitsu4::Box(int box) const
{
    return std::array{ComboBox1, ComboBox2, ComboBox3, ComboBox4}[size_t(box)];
}

void TfrmEditHojitsu4::OpenList(int box, const std::function<void(QStringList&)>& fill)
{
    m_textBefore[box] = Box(box)->Text();
    QStringList items;
    fill(items);
    Box(box)->SetItems(items);
}

void TfrmEditHojitsu4::ComboBox1DropDown()
{
    OpenList(0, [](QStringList& projects) { TKoji::FillList(projects); });
}

void TfrmEditHojitsu4::Choose(int box, const std::function<void(const TDigitTable&)>& load)
{
    TComboBox* combo = Box(box);
    const QString before = TextBefore(box);
    m_textBefore[box] = QString();
    const auto putBack = [&] { combo->SetText(before); };
    try {
        const TDigitTable digits = AllDigits();
        if (!ConfirmLeave(putBack)) {
            putBack();
            return;
        }
        load(digits);
    } catch (...) {
        putBack();
        throw;
    }
}

void TfrmEditHojitsu4::ComboBox1Select(int index)
{
    const QString chosen = ComboBox1->itemText(index);
    Choose(0, [&](const TDigitTable& digits) {
        m_head->Koji->LoadByCode(CodeOf(chosen));
        m_head->LoadByKeys();
        RefreshHeaderFields();
        ShowDay(LoadFirstOrClear(), true, digits);
    });
}

void TfrmEditHojitsu4::ComboBox2DropDown()
{
    OpenList(1, [](QStringList& names) { TKosyu::FillList(names); });
}

void TfrmEditHojitsu4::ComboBox2Select(int index)
{
    const QString chosen = ComboBox2->itemText(index);
    Choose(1, [&](const TDigitTable& digits) {
        m_head->Kosyu->LoadByName(chosen);
        m_head->LoadByKeys();
        const bool stored = LoadFirstOrClear();
        RefreshHeaderFields();
        ShowDay(stored, true, digits);
    });
}

void TfrmEditHojitsu4::ComboBox3DropDown()
{
    OpenList(2, [](QStringList& names) {
        if (TDatabase::TableExists(TGozaiDef::TableName()))
            TGozaiDef::FillList(names);
    });
}

void TfrmEditHojitsu4::ComboBox3Select(int index)
{
    const QString chosen = ComboBox3->itemText(index);
    Choose(2, [&](const TDigitTable& digits) {
        m_head->Gozai->LoadByName(chosen);
        ShowMixPrefill();
        m_head->LoadByKeys();
        const bool stored = LoadFirstOrClear();
        RefreshHeaderFields();
        ShowDay(stored, true, digits);
        if (stored)
            Derive(digits);
    });
}

void TfrmEditHojitsu4::ComboBox4DropDown()
{
    OpenList(3, [this](QStringList& dates) {
        m_line->SID = m_head->ID;
        if (m_head->ID != 0)
            m_line->ListDates(dates);
    });
}

void TfrmEditHojitsu4::ComboBox4Select(int index)
{
    const QString chosen = ComboBox4->itemText(index);
    TDateTime date = 0;
    if (!ReadDate(chosen, date)) {
        ComboBox4->SetText(FormatDate(m_line->Hiduke));
        return;
    }
    m_textBefore[3] = FormatDate(m_line->Hiduke);
    Choose(3, [&](const TDigitTable& digits) { ShowDay(LoadDay(date), false, digits); });
}

void TfrmEditHojitsu4::ComboBox4Exit()
{
    GoToTypedDate();
}

bool TfrmEditHojitsu4::GoToTypedDate()
{
    const QString shown = FormatDate(m_line->Hiduke);
    TDateTime date = 0;
    // An empty or unreadable date loads nothing: the day shown stays.
    if (!ReadDate(ComboBox4->Text(), date) || std::floor(date) == std::floor(m_line->Hiduke)) {
        ComboBox4->SetText(shown);
        return true;
    }
    const TDigitTable digits = AllDigits();
    if (!ConfirmLeave()) {
        ComboBox4->SetText(shown);
        return false;
    }
    ShowDay(LoadDay(date), false, digits);
    return true;
}

// Saving ----------------------------------------------------------------------

void TfrmEditHojitsu4::TakeHeaderKeys(THojituHead4& head)
{
    head.Koji->LoadByCode(CodeOf(ComboBox1->Text()));
    head.Kosyu->LoadByName(ComboBox2->Text());
    // A mixture typed rather than chosen: the day is printed and prefilled
    // with that mixture's definition, not the one shown before. Blanks
    // typed around its name are not part of it (unless a mixture is so
    // named), as for a work type.
    const QString typed = ComboBox3->Text();
    if (typed != head.Gozai->DataName) {
        if (!head.Gozai->LoadByName(typed) && typed != typed.trimmed())
            head.Gozai->LoadByName(typed.trimmed());
        ShowMixPrefill();
    }
}

QString TfrmEditHojitsu4::TextBefore(int box) const
{
    if (!m_textBefore[box].isNull())
        return m_textBefore[box];
    switch (box) {
    case 0:
        return m_head->Koji->Code + u':' + m_head->Koji->Kojimei;
    case 1:
        return m_head->Kosyu->Kosyumei;
    case 2:
        return m_head->Gozai->DataName;
    default:
        return FormatDate(m_line->Hiduke);
    }
}

bool TfrmEditHojitsu4::SaveDay()
{
    CommitTyping();
    TDigitTable digits{};
    try {
        digits = AllDigits();
    } catch (const EKanmuriError& error) {
        throw EKanmuriError(error.text() + QStringLiteral("\n舗設実績は保存されていません。"));
    }
    // A derivation that could not be made (a bad digits setting then) is
    // made now: a corrected input is never stored beside a value of the old.
    if (m_deriveDue)
        Derive(digits);
    const QString code = CodeOf(ComboBox1->Text());
    TDateTime date = 0;
    const QString problem =
        SaveProblem(code, ComboBox2->Text(), ComboBox3->Text(), ComboBox4->Text(), date);
    if (!problem.isEmpty()) {
        TPrompt::Message(problem);
        return false;
    }
    TakeHeaderKeys(*m_head);
    m_head->Save();
    RefreshHeaderFields();

    m_line->SID = m_head->ID;
    m_line->Hiduke = date;
    m_line->Sokuten = Edit1->text();
    m_line->Values = Values();
    m_line->Save();
    ComboBox4->SetText(FormatDate(m_line->Hiduke));
    m_modified = false;
    RefreshTotals(digits);
    return true;
}

bool TfrmEditHojitsu4::Button2Click()
{
    return SaveDay();
}

void TfrmEditHojitsu4::Button1Click()
{
    // The sheet shows what is stored: the day on screen is saved first, and
    // a day that could not be saved is not left off a sheet unnoticed.
    if (!SaveDay())
        return;
    PreviewHojitsuSheet(*m_head, m_line->SID, {CheckBox2->isChecked(), CheckBox5->isChecked()},
                        this);
}

void TfrmEditHojitsu4::Button3Click()
{
    close();
}

void TfrmEditHojitsu4::Button4Click()
{
    TZqPrinter::Instance().SetupDialog(this);
}

// Opening and deleting --------------------------------------------------------

void TfrmEditHojitsu4::mnuOpenClick()
{
    TfSelectMultiItems* dialog = TForms::Instance().fSelectMultiItems;
    if (!dialog)
        return;
    // Read a page at a time: an office's list has every day of every record.
    const auto listQuery = [](const TListQuery& query) {
        return THojituListQuery{query.Words, query.SortColumn, query.Order == Qt::DescendingOrder};
    };
    TListSource source;
    source.Count = [=](const TListQuery& query) {
        return THojituHead4::ListCount(listQuery(query));
    };
    source.Rows = [=](const TListQuery& query, int first, int count) {
        QList<THojituListItem> items;
        THojituHead4::ListPage(listQuery(query), first, count, items);
        QList<QStringList> rows;
        for (THojituListItem& item : items)
            rows.append(QStringList{item.Caption} + item.SubItems);
        return rows;
    };
    dialog->SetHeadings({QStringLiteral("工事名"), QStringLiteral("工種名"),
                         QStringLiteral("合材名"), QStringLiteral("舗設日")});
    dialog->SetSource(source, 3, Qt::DescendingOrder);
    dialog->move(pos());
    if (dialog->exec() != QDialog::Accepted)
        return;
    const QStringList chosen = dialog->SelectedSubItems();
    // OK with nothing selected counts as Cancel: the window stays as it was.
    if (chosen.isEmpty())
        return;
    const TDigitTable digits = AllDigits();
    const int id = int(NumberOrZero(chosen.value(3)));
    THojituHead4 probe;
    probe.LoadById(id);
    if (probe.ID == 0) {
        TPrompt::Message(QStringLiteral("選んだ舗設実績は見つかりません。\n"
                                        "ほかのパソコンで削除された可能性があります。"));
        return;
    }
    if (!ConfirmLeave())
        return;
    m_head->LoadById(id);
    bool stored = false;
    if (m_head->ID != 0) {
        ShowMixPrefill();
        stored = LoadDay(DateOrZero(chosen.value(2)));
    } else {
        m_line->Clear();
    }
    RefreshHeaderFields();
    ShowDay(stored, false, digits);
}

void TfrmEditHojitsu4::mnuDeleteClick()
{
    CommitTyping();
    if (!TPrompt::OkCancel(QStringLiteral("本当に削除しますか？"), kEmptyCaption))
        return;
    const TDigitTable digits = AllDigits();
    // The header the boxes name now, whatever was shown before.
    THojituHead4 named;
    TakeHeaderKeys(named);
    named.LoadByKeys();
    if (named.ID == 0) {
        TPrompt::Message(QStringLiteral("削除する舗設実績がありません。"));
        if (m_head->ID == 0)
            return;
    }
    if (named.ID != m_head->ID) {
        // The shown day belongs to the header shown, not to the one the
        // boxes name now: typing on it is saved under its own header, or
        // dropped, as the user says.
        const QStringList typed{ComboBox1->Text(), ComboBox2->Text(), ComboBox3->Text()};
        const bool leave = ConfirmLeave([this] { RefreshHeaderFields(); });
        ComboBox1->SetText(typed[0]);
        ComboBox2->SetText(typed[1]);
        ComboBox3->SetText(typed[2]);
        if (!leave)
            return;
    }
    if (named.ID != 0)
        named.Delete();
    // The window shows what remains: the header the boxes name, without days.
    TakeHeaderKeys(*m_head);
    m_head->ID = 0;
    m_line->Clear();
    m_line->SID = 0;
    RefreshHeaderFields();
    ShowDay(false, true, digits);
}

void TfrmEditHojitsu4::mnuDeleteDayClick()
{
    CommitTyping();
    // A date typed into the box is the day meant.
    if (!GoToTypedDate())
        return;
    const QString date = FormatDate(m_line->Hiduke);
    if (!DayStored()) {
        TPrompt::Message(
            QStringLiteral("%1 の舗設実績は保存されていません。削除するものはありません。")
                .arg(date));
        return;
    }
    if (!TPrompt::OkCancel(QStringLiteral("%1 の舗設実績を削除しますか？").arg(date),
                           kEmptyCaption))
        return;
    const TDigitTable digits = AllDigits();
    m_line->SID = m_head->ID;
    m_line->DeleteDay();
    ClearLine();
    ShowDay(false, false, digits);
}

// The file an export goes to, chosen by the user; empty when the record is
// not named in full or the choice was cancelled.
QString TfrmEditHojitsu4::ChooseExportFile(const QString& caption, const QString& objectName,
                                           const QString& filter, const QString& extension)
{
    const QString code = CodeOf(ComboBox1->Text());
    if (code.trimmed().isEmpty() || ComboBox3->Text().trimmed().isEmpty() ||
        (!CheckBox2->isChecked() && ComboBox2->Text().trimmed().isEmpty())) {
        TPrompt::Message(
            QStringLiteral("書き出す舗設実績の工事名・工種名・合材名を選んでください。"));
        return {};
    }
    const QString name = TCsvExport::FileName(code, ComboBox3->Text(), extension);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QFileDialog dialog(this, caption, QDir(folder).filePath(name), filter);
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(extension);
    QString file;
    if (!TFileChooser::Choose(dialog, file))
        return {};
    return file;
}

void TfrmEditHojitsu4::mnuCsvClick()
{
    const QString file =
        ChooseExportFile(QStringLiteral("CSV に書き出し"), QStringLiteral("CsvFileDialog"),
                         QStringLiteral("CSV ファイル (*.csv)"), QStringLiteral("csv"));
    if (file.isEmpty())
        return;
    TCsvExport::Write(CodeOf(ComboBox1->Text()), ComboBox2->Text(), ComboBox3->Text(),
                      CheckBox2->isChecked(), file);
    TPrompt::Message(
        QStringLiteral("\"%1\" に書き出しました。").arg(QDir::toNativeSeparators(file)));
}

void TfrmEditHojitsu4::mnuExcelClick()
{
    const QString file =
        ChooseExportFile(QStringLiteral("Excel に書き出し"), QStringLiteral("ExcelFileDialog"),
                         QStringLiteral("Excel ファイル (*.xlsx)"), QStringLiteral("xlsx"));
    if (file.isEmpty())
        return;
    THojitsuWorkbook::Export(CodeOf(ComboBox1->Text()), ComboBox2->Text(), ComboBox3->Text(),
                             {CheckBox2->isChecked(), CheckBox5->isChecked()}, file);
    TPrompt::Message(
        QStringLiteral("\"%1\" に書き出しました。").arg(QDir::toNativeSeparators(file)));
}

void TfrmEditHojitsu4::mnuImportClick()
{
    if (!ConfirmLeave())
        return;
    TFolderDialog chooser(this);
    chooser.Title = QStringLiteral("旧データのフォルダの選択");
    if (!chooser.Execute())
        return;
    TParadoxImport import(chooser.Directory);
    const QString caption = QStringLiteral("旧データの取り込み");
    bool replace = false;
    if (const QStringList holding = import.TablesHoldingData(); !holding.isEmpty()) {
        if (!TPrompt::YesNo(QStringLiteral("次の表にはすでにデータがあります: %1\n"
                                           "取り込むデータで置き換えますか？\n"
                                           "（置き換えた表の今のデータはなくなります）")
                                .arg(holding.join(QStringLiteral("、"))),
                            caption))
            return;
        replace = true;
    }
    std::unique_ptr<TReportProgress> progress;
    const auto reports = import.Run(replace, [&](qint64 done, qint64 total) {
        if (!progress)
            progress = std::make_unique<TReportProgress>(int(total), this);
        progress->Step(int(done));
    });
    progress.reset();
    // What the window showed may be gone or another record now.
    const TDigitTable digits = AllDigits();
    m_head->ID = 0;
    m_head->LoadByKeys();
    const bool stored = LoadFirstOrClear();
    RefreshHeaderFields();
    ShowDay(stored, true, digits);
    TPrompt::Message(QStringLiteral("旧データを取り込みました。\n\n") +
                         TParadoxImport::ReportText(reports),
                     caption);
}

void TfrmEditHojitsu4::mnuAboutClick()
{
    TPrompt::Message(
        QStringLiteral("アスファルト合材舗設実績表\n%1").arg(m_statusBar->PanelText(VersionPanel)),
        QStringLiteral("舗設実績表について"));
}

// Check boxes and the status bar ----------------------------------------------

void TfrmEditHojitsu4::CheckBox1Click()
{
    RefreshTotals();
}

void TfrmEditHojitsu4::CheckBox2Click()
{
    RefreshTotals();
}

void TfrmEditHojitsu4::CheckBox3Click()
{
    Derive();
    WriteSetting(kHojitsuSa, CheckBox3->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void TfrmEditHojitsu4::CheckBox4Click()
{
    WriteSetting(kFillerZeroPrint, CheckBox4->isChecked() ? kTrue : QStringLiteral("FALSE"));
}

void TfrmEditHojitsu4::StatusBar1Click(int panel)
{
    if (panel == EditModePanel) {
        vaSpread2->SetEditMode(vaSpread2->EditMode() == TvaSpread::TEditMode::Overwrite
                                   ? TvaSpread::TEditMode::Insert
                                   : TvaSpread::TEditMode::Overwrite);
    } else if (panel == EnterPanel) {
        const qsizetype at = kEnterSteps.indexOf(vaSpread2->EnterAction());
        vaSpread2->SetEnterAction(kEnterSteps[(at + 1) % kEnterSteps.size()]);
    }
    RefreshStatusPanels();
}

// Other windows -----------------------------------------------------------------

void TfrmEditHojitsu4::mnuDataPathClick()
{
    TfrmSetDataPath* dialog = TForms::Instance().frmSetDataPath;
    if (dialog && !m_followsDataPathDialog) {
        Connect(dialog, &QDialog::accepted, this, &TfrmEditHojitsu4::FollowDataPlaceIfMoved);
        m_followsDataPathDialog = true;
    }
    if (dialog)
        dialog->move(pos());
    ShowModeless(dialog);
}

void TfrmEditHojitsu4::mnuKojiClick()
{
    ShowModeless(TForms::Instance().frmEditKoji);
}

void TfrmEditHojitsu4::mnuKosyuClick()
{
    ShowModeless(TForms::Instance().frmEditKosyu);
}

void TfrmEditHojitsu4::mnuGozaiClick()
{
    ShowModeless(TForms::Instance().frmEditGozaiDef);
}

void TfrmEditHojitsu4::mnuKetasuClick()
{
    ShowModeless(TForms::Instance().frmSetHojituKetasu);
}

void TfrmEditHojitsu4::mnuFontClick()
{
    if (TfrmSetFont* dialog = TForms::Instance().frmSetFont)
        dialog->exec();
}

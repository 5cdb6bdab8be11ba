#include "mix/TfrmEditGozaiDef.h"

#include "acceptance/TFormGokakuHanteiti.h"
#include "controls/TComboBox.h"
#include "controls/TFormSelect.h"
#include "controls/TvaSpread.h"
#include "foundation/Conversions.h"
#include "foundation/KeyNames.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "help/THelp.h"
#include "mix/TFormGozaiDefVer.h"
#include "mix/TFormPlant.h"
#include "mix/TFormRyudoKikaku.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "mix/TRyudoKikaku.h"
#include "mix/TRyudoRange.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kBins = 6;
constexpr int kRatioCols = THotbinHaigoritu::ColumnCount; // 14
constexpr int kRangeCols = TGozaiDef::RangeRows;          // 12
constexpr int kMassCols = 11;
constexpr int kRowHeight = 20;
constexpr int kBinWidth = 8;
// Row headings of the range and mass grids are as wide, so that their bin
// columns stand one below the other.
constexpr double kSieveHeadingWidth = 7;

const QStringList kMaterials = {QStringLiteral("Ｒ１"), QStringLiteral("Ｒ２"),
                                QStringLiteral("石粉１"), QStringLiteral("石粉２"),
                                QStringLiteral("顔料")};
const QStringList kBinders = {QStringLiteral("アス"), QStringLiteral("ゴム"),
                              QStringLiteral("添加剤")};
const QStringList kRatioRows = {QStringLiteral("骨材配合率"), QStringLiteral("全配合率")};
const QStringList kDensityRows = {QStringLiteral("容積補正率"), QStringLiteral("含水量"),
                                  QStringLiteral("実際密度"),   QStringLiteral("理論最大密度"),
                                  QStringLiteral("空隙率"),     QStringLiteral("安定度"),
                                  QStringLiteral("フロー値")};
const QStringList kUses = {QStringLiteral("安定処理"), QStringLiteral("歩道舗装"),
                           QStringLiteral("表層基層（中間層）")};

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* Caption(QWidget* parent, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    return label;
}

// The title panel over a grid.
QLabel* Title(QWidget* parent, const QString& text, const QRect& place)
{
    QLabel* title = Caption(parent, text, place);
    title->setFrameStyle(QFrame::Panel | QFrame::Raised);
    title->setAlignment(Qt::AlignCenter);
    title->setAutoFillBackground(true);
    return title;
}

TvaSpread* Grid(QWidget* parent, const char* name, int cols, int rows, const QRect& place)
{
    auto* grid = Named(new TvaSpread(parent), name);
    grid->setGeometry(place);
    grid->SetMaxCols(cols);
    grid->SetMaxRows(rows);
    grid->SetRowHeight(0, kRowHeight + 2);
    for (int row = 1; row <= rows; ++row)
        grid->SetRowHeight(row, kRowHeight);
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->SetPopupMenuEnabled(true);
    // In this window "消去(&D)" of the popup menu keeps the block on the
    // clipboard, as "切り取り(&T)" does.
    grid->SetPopupCommand(TvaSpread::TBlockCommand::Clear, TvaSpread::TBlockCommand::Cut);
    return grid;
}

// A ratio as typed: a plain decimal number (full-width digits allowed),
// nothing else; "12,5" is not 125.
bool ReadRatio(const QString& text, double& value)
{
    QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    if (plain.isEmpty()) {
        value = 0;
        return true;
    }
    QLocale strict = QLocale::c();
    strict.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    value = strict.toDouble(plain, &ok);
    return ok && std::isfinite(value);
}

QAction* Item(QMenu* menu, const char* name, const QString& caption, const QString& hint)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    action->setToolTip(hint);
    return action;
}

} // namespace

TfrmEditGozaiDef::TfrmEditGozaiDef(QWidget* parent)
    : TRegisterDialog(parent, QSize(753, 478), false)
{
    setObjectName(QStringLiteral("frmEditGozaiDef"));
    setWindowTitle(QStringLiteral("合材データの登録"));
    THelp::AddKey(this, QStringLiteral("gozai"));
    QWidget* client = Client();
    CreateFields(client);
    CreateButtons(client);
    CreateMenus();

    Connect(ComboBox1, &TComboBox::DropDown, this, &TfrmEditGozaiDef::ComboBox1DropDown);
    Connect(ComboBox1, &QComboBox::activated, this, &TfrmEditGozaiDef::ComboBox1Select);
    Connect(ComboBox2, &TComboBox::DropDown, this, &TfrmEditGozaiDef::ComboBox2DropDown);
    Connect(ComboBox2, &QComboBox::activated, this, &TfrmEditGozaiDef::ComboBox2Select);
    Connect(BitBtn1, &QPushButton::clicked, this, &TfrmEditGozaiDef::BitBtn1Click);
    Connect(BitBtn2, &QPushButton::clicked, this, &TfrmEditGozaiDef::BitBtn2Click);
    Connect(BitBtn3, &QPushButton::clicked, this, &TfrmEditGozaiDef::BitBtn3Click);

    // The record's tables are checked, with their questions, on activation.
    m_gozaiDef = new TGozaiDef(this);
    m_plant = new TPlant(this);
}

void TfrmEditGozaiDef::CreateFields(QWidget* client)
{
    Caption(client, QStringLiteral("合材名"), QRect(8, 6, 54, 18));
    ComboBox1 = Named(new TComboBox(client), "ComboBox1");
    ComboBox1->setGeometry(64, 4, 224, 22);
    // No maximum length: a pasted name would be cut to it unseen and saved
    // over the definition that shares its beginning. Saving says when a name
    // is too long.
    ComboBox1->setMaxVisibleItems(30);
    ComboBox1->view()->setMinimumWidth(300);
    ImeHiragana(ComboBox1);
    Caption(client, QStringLiteral("印刷名"), QRect(300, 6, 44, 18));
    Edit1 = Named(new QLineEdit(client), "Edit1");
    Edit1->setGeometry(348, 4, 224, 22);
    Edit1->setMaxLength(TGozaiDef::NameLength);
    ImeHiragana(Edit1);

    Caption(client, QStringLiteral("粒度規格"), QRect(8, 32, 54, 18));
    ComboBox2 = Named(new TComboBox(client), "ComboBox2");
    ComboBox2->setGeometry(64, 30, 224, 22);
    ComboBox2->setMaxVisibleItems(25);
    ComboBox2->view()->setMinimumWidth(300);
    ImeHiragana(ComboBox2);
    Caption(client, QStringLiteral("工　種"), QRect(300, 32, 44, 18));
    ComboBox3 = Named(new QComboBox(client), "ComboBox3");
    ComboBox3->setGeometry(348, 30, 164, 22);
    ComboBox3->addItems(kUses);
    CheckBox1 =
        Named(new QCheckBox(QStringLiteral("Ｒ材を最終ビン計量値に累積する"), client), "CheckBox1");
    CheckBox1->setGeometry(520, 31, 233, 20);

    Title(client, QStringLiteral("ホットビン配合率"), QRect(8, 58, 745, 16));
    vaSpread11 = Grid(client, "vaSpread11", kRatioCols, 2, QRect(8, 74, 745, 84));
    vaSpread11->SetBlockDecimals(1, 1, kRatioCols, 2, 2);
    vaSpread11->SetEnterAction(TvaSpread::TEnterAction::Next);
    for (int row = 1; row <= 2; ++row)
        vaSpread11->SetText(0, row, kRatioRows[row - 1]);

    Title(client, QStringLiteral("各ビンの粒度範囲・目標粒度"), QRect(8, 164, 540, 16));
    vaSpread13 = Grid(client, "vaSpread13", kRangeCols, 0, QRect(8, 180, 540, 186));
    vaSpread13->SetColWidth(0, kSieveHeadingWidth);
    vaSpread13->SetEnterAction(TvaSpread::TEnterAction::Down);

    Title(client, QStringLiteral("基準密度設定範囲"), QRect(554, 164, 199, 16));
    vaSpread12 = Grid(client, "vaSpread12", 1, TGozaiDef::MitudoCount, QRect(554, 180, 199, 168));
    vaSpread12->SetText(1, 0, QStringLiteral("設定値"));
    vaSpread12->SetColWidth(1, 9);
    vaSpread12->SetEnterAction(TvaSpread::TEnterAction::Down);
    for (int row = 1; row <= TGozaiDef::MitudoCount; ++row)
        vaSpread12->SetText(0, row, kDensityRows[row - 1]);

    Title(client, QStringLiteral("各ビンの質量範囲"), QRect(8, 372, 540, 16));
    vaSpread14 = Grid(client, "vaSpread14", kMassCols, 1, QRect(8, 388, 540, 64));
    vaSpread14->SetColWidth(0, kSieveHeadingWidth);
    vaSpread14->SetEnterAction(TvaSpread::TEnterAction::Next);

    ComboBox1->installEventFilter(this);
    ComboBox1->lineEdit()->installEventFilter(this);
    for (TvaSpread* grid : {vaSpread11, vaSpread12, vaSpread13, vaSpread14}) {
        ImeOff(grid);
        grid->viewport()->installEventFilter(this);
    }
}

void TfrmEditGozaiDef::CreateButtons(QWidget* client)
{
    BitBtn3 = Named(new QPushButton(QStringLiteral("合格判定値"), client), "BitBtn3");
    BitBtn3->setGeometry(554, 356, 199, 26);
    BitBtn1 = Named(new QPushButton(QStringLiteral("登録"), client), "BitBtn1");
    BitBtn1->setGeometry(554, 390, 97, 26);
    BitBtn2 = Named(new QPushButton(QStringLiteral("閉じる"), client), "BitBtn2");
    BitBtn2->setGeometry(656, 390, 97, 26);
    const QList<QPair<QPushButton*, QString>> hints = {
        {BitBtn3, QStringLiteral("合格判定値を表示します")},
        {BitBtn1, QStringLiteral("表示データを登録します")},
        {BitBtn2, QStringLiteral("合材データの登録を終了します")}};
    for (const auto& [button, hint] : hints) {
        button->setAutoDefault(false);
        button->setToolTip(hint);
        button->setStatusTip(hint);
    }

    StatusLine = Named(new QStatusBar(client), "StatusLine");
    StatusLine->setGeometry(0, 456, 753, 22);
    StatusLine->setSizeGripEnabled(false);
}

void TfrmEditGozaiDef::CreateMenus()
{
    QMenu* file = AddMenu(QStringLiteral("mnuFile"), QStringLiteral("ファイル(&F)"));
    Connect(Item(file, "mnuNew", QStringLiteral("新規作成(&N)"),
                 QStringLiteral("新しいファイルを作成します")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuNewClick);
    Connect(Item(file, "mnuOpen", QStringLiteral("開く(&O)"),
                 QStringLiteral("既存のファイルを開きます")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuOpenClick);
    Connect(Item(file, "mnuSave", QStringLiteral("上書き保存(&S)"),
                 QStringLiteral("現在のファイルを保存します")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuSaveClick);
    Connect(Item(file, "mnuSaveAs", QStringLiteral("名前を付けて保存(&A)"),
                 QStringLiteral("ファイルを別の名前をつけて保存します")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuSaveAsClick);
    Connect(Item(file, "mnuDelete", QStringLiteral("削除(&D)"),
                 QStringLiteral("現在のファイルを削除します")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuDeleteClick);
    file->addSeparator();
    Connect(Item(file, "mnuClose", QStringLiteral("閉じる(&X)"),
                 QStringLiteral("このアプリケーションを終了します")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuCloseClick);
    QMenu* data = AddMenu(QStringLiteral("mnuData"), QStringLiteral("データ(&D)"));
    Connect(Item(data, "mnuPlant", QStringLiteral("プラントの登録(&P)"),
                 QStringLiteral("プラントのデータを登録します")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuPlantClick);
    Connect(Item(data, "mnuKikaku", QStringLiteral("粒度規格の登録(&R)"),
                 QStringLiteral("粒度規格を登録します。")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuKikakuClick);
    QMenu* options = AddMenu(QStringLiteral("mnuOptions"), QStringLiteral("オプション(&O)"));
    Connect(Item(options, "mnuOption", QStringLiteral("環境設定(&O)"),
                 QStringLiteral("データパスの設定をします。")),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuOptionClick);
    QMenu* help = AddMenu(QStringLiteral("mnuHelpMenu"), QStringLiteral("ヘルプ(&H)"));
    Connect(Item(help, "mnuContents", QStringLiteral("目次(&C)"), QString()), &QAction::triggered,
            this, [](QWidget*) { THelp::Show(QStringLiteral("index")); });
    Connect(Item(help, "mnuVersion", QStringLiteral("バージョン情報(&A)"), QString()),
            &QAction::triggered, this, &TfrmEditGozaiDef::mnuVersionClick);
}

bool TfrmEditGozaiDef::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        StatusLine->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return TRegisterDialog::event(event);
}

void TfrmEditGozaiDef::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        TApplication::Guard([this] { FormShow(); });
    TRegisterDialog::showEvent(event);
}

bool TfrmEditGozaiDef::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving the name field, or Enter in it, makes the combo box report the
    // typed name as chosen when the list holds it. That is no choice: loading
    // the definition would throw away what the window shows, which the user
    // may be about to save under that name.
    if (watched == ComboBox1 || watched == ComboBox1->lineEdit()) {
        const auto type = event->type();
        const bool enter =
            type == QEvent::KeyPress && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                                         static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (enter || type == QEvent::FocusOut) {
            m_nameTyped = true;
            QTimer::singleShot(0, this, [this] { m_nameTyped = false; });
        }
        return TRegisterDialog::eventFilter(watched, event);
    }
    // Cell editors are made on demand: numbers and ranges are typed without
    // the input method.
    if (event->type() == QEvent::ChildAdded) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (child->isWidgetType())
            ImeOff(static_cast<QWidget*>(child));
    }
    return TRegisterDialog::eventFilter(watched, event);
}

// Showing and activation -----------------------------------------------------

void TfrmEditGozaiDef::EmptyWindow()
{
    ComboBox1->SetText(QString());
    ComboBox2->SetText(QString());
    Edit1->clear();
    ComboBox3->setCurrentIndex(0);
    for (TvaSpread* grid : {vaSpread11, vaSpread12, vaSpread13, vaSpread14})
        grid->ClearRange(1, 1, grid->MaxCols(), grid->MaxRows());
}

void TfrmEditGozaiDef::FormShow()
{
    EmptyWindow();
}

void TfrmEditGozaiDef::FormActivate()
{
    Reload(false);
}

void TfrmEditGozaiDef::Reload(bool fromTables)
{
    // The table questions wait in message boxes; an activation that comes
    // meanwhile (the focus passing through another window of the program)
    // must not ask them a second time.
    if (m_activating)
        return;
    m_activating = true;
    const auto done = qScopeGuard([this] { m_activating = false; });
    // A cause shared by the steps (an unreachable data folder) is shown once;
    // the steps that do not need it still run, so the window shows the record.
    TApplication::TErrorBatch errors;
    TApplication::Guard([this] { m_gozaiDef->EnsureTables(TPrompt::YesNo); });
    if (fromTables) {
        const QString name = m_gozaiDef->DataName; // a copy: loading clears the record first
        TApplication::Guard([this, &name] { m_gozaiDef->LoadByName(name); });
    }
    TApplication::Guard([this] { m_plant->LoadStandard(); });
    ShowBinHeadings(*m_plant);
    TApplication::Guard([this] { ShowRecord(); });
}

void TfrmEditGozaiDef::ShowBinHeadings(const TPlantRecord& plant)
{
    for (TvaSpread* grid : {vaSpread11, vaSpread13, vaSpread14}) {
        for (int bin = 1; bin <= kBins; ++bin) {
            if (!plant.HasBin(bin - 1)) {
                grid->SetColWidth(bin, 0);
            } else {
                grid->SetText(bin, 0, plant.BinName[bin - 1].trimmed());
                grid->SetColWidth(bin, kBinWidth);
            }
        }
        for (int i = 0; i < kMaterials.size(); ++i)
            grid->SetText(kBins + 1 + i, 0, kMaterials[i]);
    }
    for (int i = 0; i < kBinders.size(); ++i)
        vaSpread11->SetText(12 + i, 0, kBinders[i]);
    vaSpread13->SetText(12, 0, QStringLiteral("目標粒度"));
}

void TfrmEditGozaiDef::ShowRecord()
{
    TGozaiDef* def = m_gozaiDef;
    ComboBox1->SetText(def->DataName);
    Edit1->setText(def->PrintName);
    ComboBox2->SetText(def->Standard->Kikakumei);
    ComboBox3->setCurrentIndex(def->Kosyu >= 0 && def->Kosyu < kUses.size() ? def->Kosyu : -1);

    const int rows = std::min(def->Standard->UsedSieveCount(), TRyudoRange::ValueCount);
    vaSpread13->SetMaxRows(rows);
    def->Standard->ShowSieveLabels(*vaSpread13);

    for (int row = 1; row <= TGozaiDef::MitudoCount; ++row)
        vaSpread12->SetText(1, row, def->Mitudo[row - 1]);
    for (int row = 1; row <= TGozaiDef::RatioRows; ++row)
        for (int col = 1; col <= kRatioCols; ++col)
            vaSpread11->SetText(col, row, FormatGeneral(def->Ratios[row - 1]->D[col - 1]));
    for (int col = 1; col <= kRangeCols; ++col)
        for (int row = 1; row <= rows; ++row)
            vaSpread13->SetText(col, row, def->Ranges[col - 1]->Values[row - 1]);
    for (int col = 1; col <= kMassCols; ++col)
        vaSpread14->SetText(col, 1, def->Jyuryo[col - 1]);
    CheckBox1->setChecked(def->Ruiseki);
    SetRatioDecimals();

    SelectStandard(false);
}

void TfrmEditGozaiDef::SetRatioDecimals()
{
    double rubber = 0;
    if (!ReadRatio(vaSpread11->TypedText(13, 2), rubber))
        rubber = 0;
    const bool three =
        ReadSetting(QStringLiteral("KaisituKetaCheck")) == QStringLiteral("true") && rubber > 0;
    vaSpread11->SetBlockDecimals(12, 2, 13, 2, three ? 3 : 2);
}

void TfrmEditGozaiDef::SelectStandard(bool keepTyped)
{
    TRyudoKikaku* standard = m_gozaiDef->Standard;
    QStringList shown;
    if (keepTyped)
        for (int row = 1; row <= vaSpread13->MaxRows(); ++row)
            shown << vaSpread13->Text(12, row);
    standard->LoadByName(ComboBox2->Text());
    const int rows = std::min(standard->UsedSieveCount(), TRyudoRange::ValueCount);
    vaSpread13->SetMaxRows(rows);
    for (int row = 1; row <= rows; ++row)
        vaSpread13->SetRowHeight(row, kRowHeight);
    standard->ShowSieveLabels(*vaSpread13);
    const TRyudoRange* target = m_gozaiDef->Ranges[kRangeCols - 1];
    for (int row = 1; row <= rows; ++row)
        vaSpread13->SetText(12, row,
                            row <= shown.size() ? shown[row - 1] : target->Values[row - 1]);
}

// Taking the window's contents -------------------------------------------------

void TfrmEditGozaiDef::CommitTyping()
{
    // A cell still open (a menu used by its key) gives up its text when its
    // grid takes the focus back.
    QWidget* focus = QApplication::focusWidget();
    for (TvaSpread* grid : {vaSpread11, vaSpread12, vaSpread13, vaSpread14})
        if (focus && focus != grid && grid->isAncestorOf(focus))
            grid->setFocus();
}

QString TfrmEditGozaiDef::RatioCellName(int col, int row) const
{
    QString column = vaSpread11->Text(col, 0);
    if (col <= kBins && vaSpread11->ColWidth(col) == 0)
        column = QStringLiteral("ビン%1").arg(col);
    return QStringLiteral("「%1」の「%2」").arg(kRatioRows[row - 1], column);
}

bool TfrmEditGozaiDef::TakeContents()
{
    CommitTyping();
    TGozaiDef* def = m_gozaiDef;
    // Read before anything is taken: a refused cell leaves the record as it was.
    std::array<std::array<double, kRatioCols>, TGozaiDef::RatioRows> ratios{};
    for (int row = 1; row <= TGozaiDef::RatioRows; ++row) {
        for (int col = 1; col <= kRatioCols; ++col) {
            // As typed: the cell may show it rounded to its decimals.
            const QString text = vaSpread11->TypedText(col, row);
            if (!ReadRatio(text, ratios[row - 1][col - 1])) {
                TPrompt::Beep();
                TPrompt::Message(QStringLiteral("ホットビン配合率%1の「%2」は数値として読めません。"
                                                "\n数字と小数点（例 12.5）で入力してください。")
                                     .arg(RatioCellName(col, row), text.trimmed()));
                vaSpread11->SetActiveCell(col, row);
                vaSpread11->setFocus();
                return false;
            }
        }
    }

    if (!TakeStandard())
        return false;

    def->DataName = ComboBox1->Text();
    def->PrintName = Edit1->text();
    // A use this window does not list stays as it was stored.
    if (ComboBox3->currentIndex() >= 0)
        def->Kosyu = ComboBox3->currentIndex();
    for (int row = 1; row <= TGozaiDef::MitudoCount; ++row)
        def->Mitudo[row - 1] = vaSpread12->Text(1, row);
    for (int row = 0; row < TGozaiDef::RatioRows; ++row)
        for (int col = 0; col < kRatioCols; ++col)
            def->Ratios[row]->D[col] = ratios[row][col];
    const int rows = std::min(vaSpread13->MaxRows(), TRyudoRange::ValueCount);
    for (int col = 1; col <= kRangeCols; ++col)
        for (int row = 1; row <= rows; ++row)
            def->Ranges[col - 1]->Values[row - 1] = vaSpread13->Text(col, row);
    for (int col = 1; col <= kMassCols; ++col)
        def->Jyuryo[col - 1] = vaSpread14->Text(col, 1);
    def->Jyuryo[TGozaiDef::RangeRows - 1].clear();
    def->Ruiseki = CheckBox1->isChecked();
    return true;
}

bool TfrmEditGozaiDef::TakeStandard()
{
    // The standard is taken by the name the field shows, typed or chosen:
    // the ID held may be that of another standard (the one shown before the
    // name was typed, one deleted meanwhile), and its sieve rows may have
    // changed since they were shown.
    const QString typed = ComboBox2->Text();
    TRyudoKikaku found;
    found.LoadByName(typed);
    if (found.ID == 0) {
        TPrompt::Beep();
        TPrompt::Message(typed.trimmed().isEmpty()
                             ? QStringLiteral("粒度規格を選んでください。")
                             : QStringLiteral("粒度規格「%1」は登録されていません。\n"
                                              "一覧から選ぶか、「粒度規格の登録」で登録して"
                                              "ください。")
                                   .arg(typed));
        ComboBox2->setFocus();
        return false;
    }
    const TRyudoKikaku* standard = m_gozaiDef->Standard;
    if (found.ID != standard->ID || found.Kikakumei != standard->Kikakumei ||
        found.Values != standard->Values)
        SelectStandard(true);
    return true;
}

bool TfrmEditGozaiDef::NameAcceptable(const QString& name)
{
    // A blank name would be a definition that every list shows as an empty
    // entry; one too long for the table is refused, never cut. The window
    // keeps what was typed.
    if (name.trimmed().isEmpty()) {
        TPrompt::Beep();
        TPrompt::Message(QStringLiteral("合材名を入力してください。"));
    } else if (NameFits(name, TGozaiDef::NameLength, QStringLiteral("合材名"))) {
        return true;
    }
    ComboBox1->setFocus();
    return false;
}

bool TfrmEditGozaiDef::SaveAs(const QString& name)
{
    if (!NameAcceptable(name))
        return false;
    m_gozaiDef->Save(name);
    return true;
}

// Commands -------------------------------------------------------------------

void TfrmEditGozaiDef::ComboBox1DropDown()
{
    QStringList names;
    TGozaiDef::FillList(names);
    ComboBox1->SetItems(names);
}

void TfrmEditGozaiDef::ComboBox1Select()
{
    if (m_nameTyped)
        return;
    const QString name = ComboBox1->Text();
    m_gozaiDef->LoadByName(name);
    // The mixture is shown also when its plant cannot be read (the mix data
    // folder offline): the bin headings then stay those of the last plant.
    TApplication::Guard([&] {
        const TPlantRecord plant = TGozaiDef::PlantForMix(name);
        if (plant.Name.isEmpty())
            m_plant->LoadStandard();
        else if (!m_plant->LoadByName(plant.Name))
            m_plant->Assign(plant);
    });
    ShowBinHeadings(*m_plant);
    ShowRecord();
}

void TfrmEditGozaiDef::ComboBox2DropDown()
{
    QStringList names;
    m_gozaiDef->Standard->FillList(names);
    ComboBox2->SetItems(names);
}

void TfrmEditGozaiDef::ComboBox2Select()
{
    SelectStandard(true);
}

void TfrmEditGozaiDef::BitBtn1Click()
{
    if (TakeContents())
        SaveAs(ComboBox1->Text());
}

void TfrmEditGozaiDef::BitBtn2Click()
{
    close();
}

void TfrmEditGozaiDef::BitBtn3Click()
{
    // The acceptance criteria read the record as the window shows it.
    if (!TakeContents())
        return;
    TFormGokakuHanteiti form(m_gozaiDef, m_plant, this);
    form.exec();
}

void TfrmEditGozaiDef::mnuNewClick()
{
    EmptyWindow();
    m_gozaiDef->Clear();
    ShowRecord();
}

void TfrmEditGozaiDef::mnuOpenClick()
{
    TFormSelect dialog(this);
    QStringList names;
    TGozaiDef::FillList(names);
    dialog.ListBox1->addItems(names);
    if (!names.isEmpty())
        dialog.ListBox1->setCurrentRow(0);
    if (dialog.exec() != QDialog::Accepted || dialog.SelectedIndex() < 0)
        return;
    m_gozaiDef->LoadByName(dialog.SelectedText());
    ShowRecord();
}

void TfrmEditGozaiDef::mnuSaveClick()
{
    BitBtn1Click();
}

void TfrmEditGozaiDef::mnuSaveAsClick()
{
    // Taken before the question, so that nothing typed depends on what
    // happens while it is asked.
    if (!TakeContents())
        return;
    QString name = ComboBox1->Text();
    if (!TPrompt::InputText(QStringLiteral("名前を付けて保存"),
                            QStringLiteral("新しい名前を入力してください。"), name))
        return;
    if (!NameAcceptable(name))
        return;
    ComboBox1->SetText(name);
    m_gozaiDef->DataName = ComboBox1->Text();
    SaveAs(ComboBox1->Text());
}

void TfrmEditGozaiDef::mnuDeleteClick()
{
    if (!TPrompt::YesNo(QStringLiteral("削除してよろしいですか？"), QStringLiteral("警告")))
        return;
    if (!m_gozaiDef->Delete())
        TPrompt::Message(
            QStringLiteral("合材データ「%1」は登録されていないため、削除しませんでした。")
                .arg(m_gozaiDef->DataName));
}

void TfrmEditGozaiDef::mnuCloseClick()
{
    close();
}

void TfrmEditGozaiDef::mnuPlantClick()
{
    TFormPlant form(this);
    if (form.exec() != QDialog::Accepted)
        return;
    m_plant->LoadStandard();
    ShowBinHeadings(*m_plant);
}

void TfrmEditGozaiDef::mnuKikakuClick()
{
    TFormRyudoKikaku form(this);
    if (!form.Execute())
        return;
    ComboBox2->SetText(form.KikakuName());
    SelectStandard(true);
}

void TfrmEditGozaiDef::mnuOptionClick()
{
    const QString before = TDatabase::Place();
    TfrmSetDataPath dialog(this);
    bool accepted = false;
    if (auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1")))
        connect(ok, &QPushButton::clicked, this, [&accepted] { accepted = true; });
    dialog.exec();
    if (!accepted)
        return;
    // Another data folder: its tables are checked at once, and the
    // definition is read again from it. The IDs held (its own, its
    // standard's, its ratio and range rows') belong to the old folder; saved
    // into the new one they would point at other rows or overwrite them.
    // The same folder: what is typed stays.
    if (TDatabase::Place() != before)
        Reload(true);
    else
        m_gozaiDef->EnsureTables(TPrompt::YesNo);
}

void TfrmEditGozaiDef::mnuVersionClick()
{
    TFormGozaiDefVer form(this);
    form.exec();
}

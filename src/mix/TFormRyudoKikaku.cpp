#include "mix/TFormRyudoKikaku.h"

#include "controls/TComboBox.h"
#include "controls/TvaSpread.h"
#include "foundation/GradationChart.h"
#include "foundation/KeyNames.h"
#include "foundation/Sieves.h"
#include "foundation/TDatabase.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TActivation.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"
#include "mix/TRyudoKikaku.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kClientWidth = 438;
constexpr int kClientHeight = 401;
constexpr int kSieveCount = TRyudoKikaku::SieveCount;
const QString kStandard = QStringLiteral("[0]標準");

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TFormRyudoKikaku::TFormRyudoKikaku(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_chart(265, 201, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("FormRyudoKikaku"));
    setWindowTitle(QStringLiteral("粒度規格の登録"));
    THelp::AddKey(this, QStringLiteral("kikaku"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    MainMenu1 = Named(new QMenuBar(this), "MainMenu1");
    QMenu* file = MainMenu1->addMenu(QStringLiteral("ファイル"));
    file->setObjectName(QStringLiteral("mnuFile"));
    mnuNew = file->addAction(QStringLiteral("新規作成(&N)"));
    mnuNew->setObjectName(QStringLiteral("mnuNew"));
    mnuSave = file->addAction(QStringLiteral("データ登録(&R)"));
    mnuSave->setObjectName(QStringLiteral("mnuSave"));
    mnuDelete = file->addAction(QStringLiteral("データ削除(&D)"));
    mnuDelete->setObjectName(QStringLiteral("mnuDelete"));
    file->addSeparator();
    mnuClose = file->addAction(QStringLiteral("閉じる(&C)"));
    mnuClose->setObjectName(QStringLiteral("mnuClose"));
    const int menuHeight = MainMenu1->sizeHint().height();
    MainMenu1->setGeometry(0, 0, kClientWidth, menuHeight);
    setFixedSize(kClientWidth, kClientHeight + menuHeight);

    // Everything below the menu, placed in client coordinates.
    auto* client = new QWidget(this);
    client->setGeometry(0, menuHeight, kClientWidth, kClientHeight);

    auto* label = new QLabel(QStringLiteral("粒度規格名"), client);
    label->setGeometry(8, 12, 70, 16);
    ComboBox1 = Named(new TComboBox(client), "ComboBox1");
    ComboBox1->setGeometry(80, 8, 350, 22);
    // No maximum length: a pasted name would be cut to it unseen and saved
    // over the standard that shares its beginning; saving refuses it instead.
    ImeHiragana(ComboBox1);
    label->setBuddy(ComboBox1);

    vaSpread11 = Named(new TvaSpread(client), "vaSpread11");
    vaSpread11->setGeometry(8, 40, 152, 324);
    vaSpread11->SetMaxCols(2);
    vaSpread11->SetMaxRows(kSieveCount + 1);
    // Row 1 and column 1 carry the headings; the grid's own are not needed.
    vaSpread11->SetColWidth(0, 0);
    vaSpread11->SetRowHeight(0, 0);
    vaSpread11->SetColWidth(1, 8);
    vaSpread11->SetColWidth(2, 10);
    for (int row = 1; row <= kSieveCount + 1; ++row)
        vaSpread11->SetRowHeight(row, 16);
    vaSpread11->SetBlockLocked(1, 1, 2, 1, true);
    vaSpread11->SetBlockLocked(1, 2, 1, kSieveCount + 1, true);
    vaSpread11->SetEnterAction(TvaSpread::TEnterAction::Down);
    vaSpread11->SetPopupMenuEnabled(true);
    vaSpread11->installEventFilter(this);
    vaSpread11->viewport()->installEventFilter(this);

    Image1 = Named(new QLabel(client), "Image1");
    Image1->setGeometry(166, 40, 265, 201);

    BitBtn1 = Named(new QPushButton(QStringLiteral("登録"), client), "BitBtn1");
    BitBtn1->setGeometry(166, 367, 85, 26);
    BitBtn3 = Named(new QPushButton(QStringLiteral("採用"), client), "BitBtn3");
    BitBtn3->setGeometry(256, 367, 85, 26);
    BitBtn2 = Named(new QPushButton(QStringLiteral("閉じる"), client), "BitBtn2");
    BitBtn2->setGeometry(346, 367, 85, 26);
    for (QPushButton* button : {BitBtn1, BitBtn3, BitBtn2})
        button->setAutoDefault(false);

    Connect(ComboBox1, &TComboBox::DropDown, this, &TFormRyudoKikaku::ComboBox1DropDown);
    Connect(ComboBox1, &QComboBox::activated, this, &TFormRyudoKikaku::ComboBox1Click);
    Connect(BitBtn1, &QPushButton::clicked, this, &TFormRyudoKikaku::BitBtn1Click);
    Connect(BitBtn3, &QPushButton::clicked, this, &TFormRyudoKikaku::BitBtn3Click);
    Connect(BitBtn2, &QPushButton::clicked, this, &TFormRyudoKikaku::BitBtn2Click);
    Connect(mnuNew, &QAction::triggered, this, &TFormRyudoKikaku::mnuNewClick);
    Connect(mnuSave, &QAction::triggered, this, &TFormRyudoKikaku::mnuSaveClick);
    Connect(mnuDelete, &QAction::triggered, this, &TFormRyudoKikaku::mnuDeleteClick);
    Connect(mnuClose, &QAction::triggered, this, &TFormRyudoKikaku::mnuCloseClick);

    m_kikaku = new TRyudoKikaku(this);
    LabelRows();
    vaSpread11->SetText(1, 1, QStringLiteral("フルイ目"));
    vaSpread11->SetText(2, 1, QStringLiteral("規格値"));
    m_chart.fill(Qt::white);
    Image1->setPixmap(QPixmap::fromImage(m_chart));

    CentreOnScreen(this);
    TApplication::Guard([this] { FormCreate(); });
}

void TFormRyudoKikaku::FormCreate()
{
    if (TDatabase::IsAvailable())
        m_kikaku->EnsureTables();
}

bool TFormRyudoKikaku::Execute()
{
    return exec() == QDialog::Accepted;
}

QString TFormRyudoKikaku::KikakuName() const
{
    return ComboBox1->currentText();
}

bool TFormRyudoKikaku::event(QEvent* event)
{
    const bool result = QDialog::event(event);
    if (TActivation::ReloadDue(this, event))
        TApplication::Guard([this] { FormActivate(); });
    return result;
}

void TFormRyudoKikaku::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        TApplication::Guard([this] { FormShow(); });
    QDialog::showEvent(event);
}

bool TFormRyudoKikaku::eventFilter(QObject* watched, QEvent* event)
{
    // The cell editors are children of the viewport; Enter is released in
    // one of them or in the grid itself.
    if (watched == vaSpread11->viewport() && event->type() == QEvent::ChildAdded) {
        if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
            child->installEventFilter(this);
    } else if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            (watched == vaSpread11 || watched->parent() == vaSpread11->viewport()))
            TApplication::Guard([this] { vaSpread11KeyUp(); });
    }
    return QDialog::eventFilter(watched, event);
}

void TFormRyudoKikaku::LabelRows()
{
    for (int sieve = 1; sieve <= kSieveCount; ++sieve)
        vaSpread11->SetText(1, sieve + 1, SieveDisplayLabel(sieve));
}

void TFormRyudoKikaku::EmptyValues()
{
    vaSpread11->ClearRange(2, 2, 2, kSieveCount + 1);
}

void TFormRyudoKikaku::TakeContents()
{
    // A cell still being edited (the menu used by its keys) gives up its
    // text when the grid takes the focus back.
    if (QWidget* focus = QApplication::focusWidget();
        focus && focus != vaSpread11 && vaSpread11->isAncestorOf(focus))
        vaSpread11->setFocus();
    m_kikaku->SetName(ComboBox1->currentText());
    for (int sieve = 1; sieve <= kSieveCount; ++sieve)
        m_kikaku->SetValue(sieve, vaSpread11->Text(2, sieve + 1));
}

void TFormRyudoKikaku::DrawChart()
{
    QList<TSieveRange> pairs;
    for (int sieve = 1; sieve <= kSieveCount; ++sieve) {
        const QString text = vaSpread11->Text(2, sieve + 1);
        if (!text.trimmed().isEmpty())
            pairs.append({sieve, text});
    }
    {
        QPainter canvas(&m_chart);
        canvas.setFont(font());
        canvas.setPen(Qt::black);
        canvas.setBrush(Qt::white);
        GradationChart(canvas, m_chart.rect(), pairs, 1, 1, true);
    }
    Image1->setPixmap(QPixmap::fromImage(m_chart));
}

void TFormRyudoKikaku::FormShow()
{
    ComboBox1->setEditText(QString());
    LabelRows();
    EmptyValues();
}

void TFormRyudoKikaku::FormActivate()
{
    if (ComboBox1->currentText().isEmpty())
        ComboBox1->setEditText(kStandard);
    ComboBox1Click();
}

void TFormRyudoKikaku::ComboBox1DropDown()
{
    QStringList names;
    m_kikaku->FillList(names);
    ComboBox1->SetItems(names);
}

void TFormRyudoKikaku::ComboBox1Click()
{
    m_kikaku->LoadByName(ComboBox1->currentText());
    ComboBox1->setEditText(m_kikaku->Kikakumei);
    for (int sieve = 1; sieve <= kSieveCount; ++sieve)
        vaSpread11->SetText(2, sieve + 1, m_kikaku->Values[sieve - 1]);
    DrawChart();
}

void TFormRyudoKikaku::vaSpread11KeyUp()
{
    TakeContents();
    DrawChart();
}

bool TFormRyudoKikaku::SaveWindow()
{
    if (!NameFits(ComboBox1->currentText(), TRyudoKikaku::ColumnNameLength,
                  QStringLiteral("粒度規格名"))) {
        ComboBox1->setFocus();
        return false;
    }
    TakeContents();
    m_kikaku->Save(m_kikaku->Kikakumei);
    return true;
}

void TFormRyudoKikaku::BitBtn1Click()
{
    SaveWindow();
}

void TFormRyudoKikaku::BitBtn3Click()
{
    // A standard that was not saved is not handed over.
    if (SaveWindow())
        accept();
}

void TFormRyudoKikaku::BitBtn2Click()
{
    reject();
}

void TFormRyudoKikaku::mnuNewClick()
{
    ComboBox1->setEditText(QString());
    LabelRows();
    EmptyValues();
    m_kikaku->Clear();
    // Not to leave the previous standard's band beside an empty grid.
    DrawChart();
}

void TFormRyudoKikaku::mnuSaveClick()
{
    BitBtn1Click();
}

void TFormRyudoKikaku::mnuDeleteClick()
{
    m_kikaku->Delete(ComboBox1->currentText());
}

void TFormRyudoKikaku::mnuCloseClick()
{
    reject();
}

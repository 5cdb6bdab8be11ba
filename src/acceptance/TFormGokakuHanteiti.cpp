#include "acceptance/TFormGokakuHanteiti.h"

#include "acceptance/AcceptancePrint.h"
#include "acceptance/TFormGokakuHanteitiKeisanHouhou.h"
#include "acceptance/TGokakuHanteiti.h"
#include "controls/TvaSpread.h"
#include "foundation/Settings.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"
#include "mix/TGozaiDef.h"
#include "mix/TPlant.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

template <typename T> T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

const QString kV1keta = QStringLiteral("GokakuHanteiti_V1keta");
const QString kSecondFromEnd =
    QStringLiteral("GokakuHanteiti_236mmChokkin_is_always_Second_from_endbin");

constexpr int kBins = 6;
constexpr int kHeadHeight = 22;
constexpr int kRowHeight = 24;

QString Flag(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

TFormGokakuHanteiti::TFormGokakuHanteiti(TGozaiDef* mix, TPlant* editorPlant, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_mix(mix), m_calculator(new TGokakuHanteiti(this)),
      m_keisanHouhou(new TFormGokakuHanteitiKeisanHouhou(this))
{
    m_calculator->SetSharedPlant(editorPlant);
    setObjectName(QStringLiteral("FormGokakuHanteiti"));
    setWindowTitle(QStringLiteral("合格判定値"));
    THelp::AddKey(this, QStringLiteral("hantei"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(760, 440);

    StaticText1 = Named(new QLabel(QStringLiteral("計量自記記録の合格判定値計算表"), this),
                        QStringLiteral("StaticText1"));
    StaticText1->setGeometry(8, 8, 744, 24);
    StaticText1->setAlignment(Qt::AlignCenter);
    QFont title = font();
    title.setPointSize(12);
    title.setBold(true);
    StaticText1->setFont(title);

    CreateCalculationGrid();
    CreateJudgementGrid();
    CreateValueFields();

    CheckBox1 = Named(new QCheckBox(QStringLiteral("新材は小数点第1位表示とする"), this),
                      QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(8, 340, 440, 20);
    CheckBox2 =
        Named(new QCheckBox(
                  QStringLiteral("2.36mm直近ホットビンは常に最終ビンの手前のビンまでの累計"), this),
              QStringLiteral("CheckBox2"));
    CheckBox2->setGeometry(8, 364, 440, 20);

    BitBtn2 = Named(new QPushButton(QStringLiteral("印刷"), this), QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(552, 396, 96, 30);
    BitBtn1 = Named(new QPushButton(QStringLiteral("閉じる"), this), QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(656, 396, 96, 30);

    Connect(CheckBox1, &QCheckBox::clicked, this, &TFormGokakuHanteiti::CheckBox1Click);
    Connect(CheckBox2, &QCheckBox::clicked, this, &TFormGokakuHanteiti::CheckBox2Click);
    Connect(BitBtn1, &QPushButton::clicked, this, &TFormGokakuHanteiti::BitBtn1Click);
    Connect(BitBtn2, &QPushButton::clicked, this, &TFormGokakuHanteiti::BitBtn2Click);
    CentreOnScreen(this);
}

void TFormGokakuHanteiti::CreateCalculationGrid()
{
    vaSpread11 = Named(new TvaSpread(this), QStringLiteral("vaSpread11"));
    vaSpread11->setGeometry(8, 40, 744, kHeadHeight + 3 * kRowHeight + 4);
    vaSpread11->SetMaxCols(TGokakuResult::Columns);
    vaSpread11->SetMaxRows(3);
    vaSpread11->SetColWidth(0, 10);
    vaSpread11->SetRowHeight(0, kHeadHeight);
    const QStringList rows = {QStringLiteral("配合率(％)"), QStringLiteral("質　量(Kg)"),
                              QStringLiteral("累　計(Kg)")};
    for (int row = 1; row <= 3; ++row) {
        vaSpread11->SetRowHeight(row, kRowHeight);
        vaSpread11->SetText(0, row, rows[row - 1]);
    }
    const QStringList fixed = {QStringLiteral("再生１"), QStringLiteral("再生２"),
                               QStringLiteral("石粉"),   QStringLiteral("アス"),
                               QStringLiteral("添加剤"), QStringLiteral("合計")};
    for (int col = kBins + 1; col <= TGokakuResult::Columns; ++col) {
        vaSpread11->SetText(col, 0, fixed[col - kBins - 1]);
        vaSpread11->SetColWidth(col, 8);
    }
    for (int row = 1; row <= 3; ++row)
        for (int col = 1; col <= TGokakuResult::Columns; ++col)
            vaSpread11->SetLocked(col, row, true);
}

void TFormGokakuHanteiti::CreateJudgementGrid()
{
    vaSpread12 = Named(new TvaSpread(this), QStringLiteral("vaSpread12"));
    vaSpread12->setGeometry(56, 148, 386, kHeadHeight + 6 * kRowHeight + 4);
    vaSpread12->SetMaxCols(2);
    vaSpread12->SetMaxRows(6);
    vaSpread12->SetColWidth(0, 0);
    vaSpread12->SetColWidth(1, 28);
    vaSpread12->SetColWidth(2, 28);
    vaSpread12->SetRowHeight(0, kHeadHeight);
    vaSpread12->SetText(1, 0, QStringLiteral("判定値Ⅰ(Kg)"));
    vaSpread12->SetText(2, 0, QStringLiteral("判定値Ⅱ(％)"));
    for (int row = 1; row <= 6; ++row)
        vaSpread12->SetRowHeight(row, kRowHeight);
    // The labels beside the judgement rows: "粒度" and "再生" over two rows.
    struct TRowLabel
    {
        const char* name;
        const char16_t* text;
        int row;
        int rows;
    };
    const TRowLabel labels[] = {{"Label1", u"粒度", 1, 2},
                                {"Label2", u"石粉", 3, 1},
                                {"Label3", u"アス", 4, 1},
                                {"Label4", u"再生", 5, 2}};
    for (const TRowLabel& l : labels) {
        auto* label =
            Named(new QLabel(QString::fromUtf16(l.text), this), QString::fromLatin1(l.name));
        label->setGeometry(8, vaSpread12->y() + 2 + kHeadHeight + (l.row - 1) * kRowHeight, 44,
                           l.rows * kRowHeight);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Raised);
    }
    for (int row = 1; row <= 6; ++row)
        for (int col = 1; col <= 2; ++col)
            vaSpread12->SetLocked(col, row, true);
}

void TFormGokakuHanteiti::CreateValueFields()
{
    const QStringList symbols = {QStringLiteral("Ｗ＝"), QStringLiteral("Ｗａ＝"),
                                 QStringLiteral("Ａ＝"), QStringLiteral("Ｆ＝"),
                                 QStringLiteral("Ｓ＝"), QStringLiteral("Ｇ＝"),
                                 QStringLiteral("Ｈ＝"), QStringLiteral("Ｗ’＝")};
    for (int i = 0; i < 8; ++i) {
        const int y = 148 + (i % 4) * 30;
        const int x = 460 + (i / 4) * 148;
        auto* label = new QLabel(symbols[i], this);
        label->setGeometry(x, y + 3, 40, 18);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Edits[i] = Named(new QLineEdit(this), QStringLiteral("Edit%1").arg(i + 1));
        Edits[i]->setGeometry(x + 44, y, 92, 24);
        Edits[i]->setAlignment(Qt::AlignRight);
        Edits[i]->setReadOnly(true);
    }

    Label9 = Named(new QLabel(this), QStringLiteral("Label9"));
    Label9->setGeometry(460, 276, 292, 20);
}

void TFormGokakuHanteiti::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        TApplication::Guard([this] { FormShow(); });
}

void TFormGokakuHanteiti::FormShow()
{
    ShowResult(TGokakuResult());
    m_calculator->LoadPlant(*m_mix);
    ShowBinHeadings();
    CheckBox1->setChecked(TGokakuHanteiti::OneDecimalSetting());
    CheckBox2->setChecked(TGokakuHanteiti::SecondFromEndSetting());
    const bool recycled = TGokakuHanteiti::HasRecycled(*m_mix);
    CheckBox1->setVisible(!recycled);
    m_calculator->Method = TGokakuHanteiti::PlantGuide;
    Label9->clear();
    if (recycled) {
        Label9->setText(TGokakuHanteiti::MethodName(TGokakuHanteiti::PlantGuide));
        m_calculator->Method = TFormGokakuHanteitiKeisanHouhou::MethodOf(m_keisanHouhou->exec());
        Label9->setText(TGokakuHanteiti::MethodName(m_calculator->Method));
    }
    Recalculate();
}

void TFormGokakuHanteiti::ShowBinHeadings()
{
    const TPlant& plant = *m_calculator->Plant;
    for (int bin = 1; bin <= kBins; ++bin) {
        vaSpread11->SetText(bin, 0, plant.BinName[bin - 1].trimmed());
        vaSpread11->SetColWidth(bin, plant.HasBin(bin - 1) ? 8 : 0);
    }
}

void TFormGokakuHanteiti::Recalculate()
{
    TGokakuResult result;
    const bool done = m_calculator->Calculate(*m_mix, m_mix->Kosyu, result);
    ShowResult(result);
    if (!done)
        TPrompt::Message(TGokakuHanteiti::NotCalculatedMessage());
}

void TFormGokakuHanteiti::ShowResult(const TGokakuResult& r)
{
    const bool oneDecimal =
        !TGokakuHanteiti::HasRecycled(*m_mix) && TGokakuHanteiti::OneDecimalSetting();
    auto number = [oneDecimal](double v) { return TGokakuHanteiti::Format(v, oneDecimal); };
    for (int col = 1; col <= TGokakuResult::Columns; ++col) {
        vaSpread11->SetText(col, 1, number(r.Ratio[col - 1]));
        vaSpread11->SetText(col, 2, number(r.Mass[col - 1]));
        vaSpread11->SetText(col, 3, number(r.Cumul[col - 1]));
    }
    struct TCell
    {
        int col;
        int row;
        const TJudgeEntry& entry;
    };
    const TCell cells[] = {{1, 1, r.FinalBin},       {1, 2, r.GradingI},     {2, 2, r.GradingII},
                           {1, 3, r.FillerI},        {2, 3, r.FillerII},     {1, 4, r.AsphaltI},
                           {2, 4, r.AsphaltII},      {1, 5, r.RecycledMixI}, {1, 6, r.RecycledAggI},
                           {2, 6, r.RecycledRatioII}};
    vaSpread12->ClearRange(1, 1, 2, 6);
    for (const TCell& cell : cells)
        vaSpread12->SetText(cell.col, cell.row, TGokakuHanteiti::EntryText(cell.entry, oneDecimal));
    if (m_mix->Kosyu == 1)
        vaSpread12->ClearRange(1, 1, 2, 2);

    const double values[] = {r.W, r.Wa, r.A, r.F, r.S, r.G, r.RPrime, r.WPrime};
    for (int i = 0; i < 8; ++i)
        Edits[i]->setText(number(values[i]));
}

void TFormGokakuHanteiti::CheckBox1Click()
{
    WriteSetting(kV1keta, Flag(CheckBox1->isChecked()));
    Recalculate();
}

void TFormGokakuHanteiti::CheckBox2Click()
{
    WriteSetting(kSecondFromEnd, Flag(CheckBox2->isChecked()));
    Recalculate();
}

void TFormGokakuHanteiti::BitBtn1Click()
{
    reject();
}

void TFormGokakuHanteiti::BitBtn2Click()
{
    // The window closes after its button in every case, printed or not.
    TApplication::Guard([this] { PrintAcceptanceSheet(this, *m_calculator, *m_mix); });
    done(mrYes);
}

#include "app/TfrmSetHojituKetasu.h"

#include "controls/TvaSpread.h"
#include "foundation/Settings.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TActivation.h"
#include "foundation/gui/TApplication.h"
#include "help/THelp.h"
#include "store/Digits.h"
#include "store/HojituGrid.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QString kLengthSetting = QStringLiteral("HojituKetasu12");
const QString kWidthSetting = QStringLiteral("HojituKetasu13");
constexpr int kColumns = 11;
constexpr int kDigitsRow = 3;

QString ColumnSetting(int col)
{
    return QStringLiteral("HojituKetasu%1").arg(col);
}

} // namespace

TfrmSetHojituKetasu::TfrmSetHojituKetasu(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmSetHojituKetasu"));
    setWindowTitle(QStringLiteral("桁数の設定"));
    THelp::AddKey(this, QStringLiteral("digits"));
    setModal(false);
    setFixedSize(560, 168);

    auto* length = Named(new QLabel(QStringLiteral("延長"), this), "Label1");
    length->setGeometry(8, 8, 64, 16);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit1->setGeometry(8, 26, 64, 22);
    ImeOff(Edit1);
    auto* width = Named(new QLabel(QStringLiteral("幅員"), this), "Label2");
    width->setGeometry(80, 8, 64, 16);
    Edit2 = Named(new QLineEdit(this), "Edit2");
    Edit2->setGeometry(80, 26, 64, 22);
    ImeOff(Edit2);

    // The headings of the editor's entry grid, in its first two rows.
    vaSpread1 = Named(new TvaSpread(this), "vaSpread1");
    vaSpread1->setGeometry(8, 58, 544, 68);
    vaSpread1->SetMaxCols(kColumns);
    vaSpread1->SetMaxRows(kDigitsRow);
    vaSpread1->SetColWidth(0, 0);
    vaSpread1->SetRowHeight(0, 0);
    for (int col = 1; col <= kColumns; ++col)
        vaSpread1->SetColWidth(col, 7);
    for (int row = 1; row <= kDigitsRow; ++row)
        vaSpread1->SetRowHeight(row, 20);
    vaSpread1->AddCellSpan(1, 1, 5, 1);
    vaSpread1->AddCellSpan(6, 1, 3, 1);
    vaSpread1->AddCellSpan(9, 1, 3, 1);
    vaSpread1->SetText(1, 1, QStringLiteral("合材"));
    vaSpread1->SetText(6, 1, QStringLiteral("バインダー"));
    vaSpread1->SetText(9, 1, QStringLiteral("石粉"));
    const QStringList headings = {
        QStringLiteral("面積"),   QStringLiteral("厚さ"), QStringLiteral("密度"),
        QStringLiteral("ｔ"),     QStringLiteral("差"),   QStringLiteral("配合率"),
        QStringLiteral("積算量"), QStringLiteral("差"),   QStringLiteral("配合率"),
        QStringLiteral("積算量"), QStringLiteral("差")};
    for (int col = 1; col <= kColumns; ++col)
        vaSpread1->SetText(col, 2, headings[col - 1]);
    vaSpread1->SetBlockLocked(1, 1, kColumns, 2, true);
    vaSpread1->SetEnterAction(TvaSpread::TEnterAction::Next);
    vaSpread1->SetActiveCell(1, kDigitsRow);
    ImeOff(vaSpread1);

    Button1 = Named(new QPushButton(QStringLiteral("OK"), this), "Button1");
    Button1->setGeometry(472, 134, 80, 26);
    Button1->setDefault(true);

    Connect(Button1, &QPushButton::clicked, this, &TfrmSetHojituKetasu::Button1Click);

    TApplication::Guard([this] { FormCreate(); });
}

void TfrmSetHojituKetasu::FormCreate()
{
    EnsureDigitsSettings();
}

bool TfrmSetHojituKetasu::event(QEvent* event)
{
    const bool result = QDialog::event(event);
    if (TActivation::ReloadDue(this, event))
        TApplication::Guard([this] { FormActivate(); });
    return result;
}

void TfrmSetHojituKetasu::FormActivate()
{
    Edit1->setText(ReadSetting(kLengthSetting));
    Edit2->setText(ReadSetting(kWidthSetting));
    for (int col = 1; col <= kColumns; ++col)
        vaSpread1->SetText(col, kDigitsRow, ReadSetting(ColumnSetting(col)));
}

void TfrmSetHojituKetasu::Button1Click()
{
    vaSpread1->CommitEdit();
    // Nothing is stored while one field is not a number of decimals: a
    // wrong value would stop every display of a day. Empty is allowed; it
    // stands for the default.
    struct TField
    {
        QString Setting, Text, Caption;
        QWidget* Control;
        int Col;
    };
    QList<TField> fields = {{kLengthSetting, Edit1->text(), QStringLiteral("延長"), Edit1, 0},
                            {kWidthSetting, Edit2->text(), QStringLiteral("幅員"), Edit2, 0}};
    for (const HojituGrid::TGroup& group : HojituGrid::Groups())
        for (int col = group.FirstCol; col < group.FirstCol + group.Cols; ++col)
            fields.append(
                {ColumnSetting(col), vaSpread1->Text(col, kDigitsRow),
                 group.Caption + QStringLiteral("の") + HojituGrid::ColumnHeadings()[col - 1],
                 vaSpread1, col});
    for (const TField& field : fields) {
        if (field.Text.trimmed().isEmpty() || DigitsOf(field.Text) >= 0)
            continue;
        TPrompt::Message(QStringLiteral("「%1」の桁数 \"%2\" は使えません。\n"
                                        "0 から %3 までの整数で入力してください。")
                             .arg(field.Caption, field.Text)
                             .arg(kMaxDigits));
        if (field.Col > 0)
            vaSpread1->SetActiveCell(field.Col, kDigitsRow);
        field.Control->setFocus();
        return;
    }
    for (const TField& field : fields)
        WriteSetting(field.Setting, field.Text);
    close();
}

#include "acceptance/TFormGokakuHanteitiKeisanHouhou.h"

#include "acceptance/TGokakuHanteiti.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"

#include <QPushButton>

TFormGokakuHanteitiKeisanHouhou::TFormGokakuHanteitiKeisanHouhou(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FormGokakuHanteitiKeisanHouhou"));
    setWindowTitle(QStringLiteral("合格判定値の計算方法を選んでください"));
    THelp::AddKey(this, QStringLiteral("houhou"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(361, 105);

    BitBtn1 = new QPushButton(TGokakuHanteiti::MethodName(TGokakuHanteiti::PlantGuide), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(24, 16, 313, 33);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(TGokakuHanteiti::MethodName(TGokakuHanteiti::ReuseGuide), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(24, 56, 313, 33);

    Connect(BitBtn1, &QPushButton::clicked, this, &TFormGokakuHanteitiKeisanHouhou::BitBtn1Click);
    Connect(BitBtn2, &QPushButton::clicked, this, &TFormGokakuHanteitiKeisanHouhou::BitBtn2Click);
    CentreOnScreen(this);
}

TGokakuHanteiti::TMethod TFormGokakuHanteitiKeisanHouhou::MethodOf(int result)
{
    return result == mrYes ? TGokakuHanteiti::ReuseGuide : TGokakuHanteiti::PlantGuide;
}

void TFormGokakuHanteitiKeisanHouhou::BitBtn1Click()
{
    done(mrOk);
}

void TFormGokakuHanteitiKeisanHouhou::BitBtn2Click()
{
    done(mrYes);
}

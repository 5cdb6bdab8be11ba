#include "foundation/TfrmSetDataPath.h"

#include "controls/TFolderDialog.h"
#include "foundation/Conversions.h"
#include "foundation/Ime.h"
#include "foundation/NetworkFolder.h"
#include "foundation/Settings.h"
#include "foundation/TActivation.h"
#include "foundation/TApplication.h"
#include "foundation/TColor.h"
#include "foundation/TDatabase.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTrue = QStringLiteral("TRUE");
const QString kFalse = QStringLiteral("FALSE");

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Colours are read leniently: missing or unreadable is 0 (black).
TColor ReadColor(const QString& name)
{
    const double value = NumberOrZero(ReadSetting(name));
    return value >= -2147483648.0 && value <= 2147483647.0 ? TColor(qint64(value)) : 0;
}

} // namespace

TfrmSetDataPath::TfrmSetDataPath(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSetDataPath"));
    setWindowTitle(QStringLiteral("環境設定"));
    setModal(false);
    setFixedSize(420, 200);

    auto* label = new QLabel(QStringLiteral("データ格納フォルダ"), this);
    label->setGeometry(8, 8, 300, 16);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit1->setGeometry(8, 26, 330, 22);
    ImeOff(Edit1);
    Button1 = Named(new QPushButton(QStringLiteral("パス"), this), "Button1");
    Button1->setGeometry(344, 25, 68, 24);

    CheckBox1 = Named(new QCheckBox(QStringLiteral("社印を使わない"), this), "CheckBox1");
    CheckBox1->setGeometry(8, 60, 200, 20);

    // Kept and saved, but not offered to the user.
    Panel2 = Named(new QFrame(this), "Panel2");
    Panel2->setGeometry(8, 84, 200, 48);
    CheckBox2 = Named(new QCheckBox(QStringLiteral("使用/未使用"), Panel2), "CheckBox2");
    CheckBox2->setGeometry(0, 0, 200, 20);
    CheckBox3 = Named(new QCheckBox(QStringLiteral("率の印刷"), Panel2), "CheckBox3");
    CheckBox3->setGeometry(0, 24, 200, 20);
    Panel2->hide();

    auto* range = Named(new QGroupBox(QStringLiteral("温度範囲"), this), "Panel1");
    range->setGeometry(220, 58, 192, 90);
    auto* ship = new QLabel(QStringLiteral("出荷"), range);
    ship->setGeometry(16, 22, 72, 16);
    auto* site = new QLabel(QStringLiteral("施工"), range);
    site->setGeometry(104, 22, 72, 16);
    Panel3 = Named(new QFrame(range), "Panel3");
    Panel3->setGeometry(16, 42, 72, 36);
    Panel4 = Named(new QFrame(range), "Panel4");
    Panel4->setGeometry(104, 42, 72, 36);
    for (QFrame* box : {Panel3, Panel4}) {
        box->setFrameShape(QFrame::Box);
        box->setAutoFillBackground(true);
        box->setToolTip(QStringLiteral("ダブルクリックで色を選びます"));
        box->installEventFilter(this);
    }

    BitBtn1 = Named(new QPushButton(QStringLiteral("OK"), this), "BitBtn1");
    BitBtn1->setGeometry(332, 164, 80, 26);
    BitBtn1->setDefault(true);

    FolderDialog1 = new TFolderDialog(this);

    Connect(Button1, &QPushButton::clicked, this, &TfrmSetDataPath::Button1Click);
    Connect(BitBtn1, &QPushButton::clicked, this, &TfrmSetDataPath::BitBtn1Click);
}

bool TfrmSetDataPath::event(QEvent* event)
{
    const bool result = QDialog::event(event);
    if (TActivation::ReloadDue(this, event))
        TApplication::Guard([this] { FormActivate(); });
    return result;
}

bool TfrmSetDataPath::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Panel3) {
            TApplication::Guard([this] { Panel3DblClick(); });
            return true;
        }
        if (watched == Panel4) {
            TApplication::Guard([this] { Panel4DblClick(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

TColor TfrmSetDataPath::BoxColor(int box) const
{
    return TColor((box == 0 ? Panel3 : Panel4)->property("TColor").toInt());
}

void TfrmSetDataPath::SetBoxColor(QFrame* box, TColor color)
{
    // The stored value is kept as read, so a system colour survives a save.
    box->setProperty("TColor", color);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, ColorFromTColor(color));
    box->setPalette(palette);
}

void TfrmSetDataPath::FormActivate()
{
    Edit1->setText(TDatabase::AliasFolder(kAlias));
    CheckBox1->setChecked(ReadSetting(QStringLiteral("UnUseInkan")) == kTrue);
    CheckBox2->setChecked(ReadSetting(QStringLiteral("UseSiyou")) == kTrue);
    CheckBox3->setChecked(ReadSetting(QStringLiteral("UseRate")) == kTrue);
    SetBoxColor(Panel3, ReadColor(QStringLiteral("ColorOndoNeriRange")));
    SetBoxColor(Panel4, ReadColor(QStringLiteral("ColorOndoSikiRange")));
}

void TfrmSetDataPath::Button1Click()
{
    FolderDialog1->Title = QStringLiteral("フォルダーの選択");
    FolderDialog1->Directory = Edit1->text();
    if (FolderDialog1->Execute())
        Edit1->setText(FolderDialog1->Directory);
}

void TfrmSetDataPath::ChooseColor(QFrame* box)
{
    const QColor chosen =
        QColorDialog::getColor(box->palette().color(QPalette::Window), this, QString());
    if (chosen.isValid())
        SetBoxColor(box, TColorFromColor(chosen));
}

void TfrmSetDataPath::Panel3DblClick()
{
    ChooseColor(Panel3);
}

void TfrmSetDataPath::Panel4DblClick()
{
    ChooseColor(Panel4);
}

void TfrmSetDataPath::BitBtn1Click()
{
    TDatabase::SetAliasFolder(kAlias, Edit1->text());
    WriteSetting(QStringLiteral("UnUseInkan"), CheckBox1->isChecked() ? kTrue : kFalse);
    WriteSetting(QStringLiteral("UseSiyou"), CheckBox2->isChecked() ? kTrue : kFalse);
    WriteSetting(QStringLiteral("UseRate"), CheckBox3->isChecked() ? kTrue : kFalse);
    WriteSetting(QStringLiteral("ColorOndoNeriRange"), QString::number(BoxColor(0)));
    WriteSetting(QStringLiteral("ColorOndoSikiRange"), QString::number(BoxColor(1)));
    close();
    WarnIfNetworkDataFolder();
    TDatabase::CheckIntegrity();
}

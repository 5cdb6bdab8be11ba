#include "foundation/gui/TfrmSetDataPath.h"

#include "controls/TFolderDialog.h"
#include "controls/TfrmProgressBar.h"
#include "foundation/Conversions.h"
#include "foundation/NetworkFolder.h"
#include "foundation/Settings.h"
#include "foundation/TColor.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/Ime.h"
#include "foundation/gui/TActivation.h"
#include "foundation/gui/TApplication.h"
#include "help/THelp.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <climits>
#include <memory>

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
    THelp::AddKey(this, QStringLiteral("env"));
    setModal(false);
    // The server's settings sit between the folder and the other settings.
    constexpr int below = 152;
    setFixedSize(420, 200 + below);

    RadioFolder =
        Named(new QRadioButton(QStringLiteral("データ格納フォルダ"), this), "RadioFolder");
    RadioFolder->setGeometry(8, 6, 300, 20);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit1->setGeometry(8, 26, 330, 22);
    ImeOff(Edit1);
    Button1 = Named(new QPushButton(QStringLiteral("パス"), this), "Button1");
    Button1->setGeometry(344, 25, 68, 24);

    RadioServer =
        Named(new QRadioButton(
                  QStringLiteral("データベースサーバー (PostgreSQL、複数のパソコンで共用)"), this),
              "RadioServer");
    RadioServer->setGeometry(8, 58, 404, 20);
    const auto field = [this](const QString& caption, int x, int y, int width, const char* name) {
        auto* text = new QLabel(caption, this);
        text->setGeometry(x, y + 3, 84, 16);
        auto* edit = Named(new QLineEdit(this), name);
        edit->setGeometry(x + 86, y, width, 22);
        ImeOff(edit);
        return edit;
    };
    EditHost = field(QStringLiteral("サーバー名"), 8, 80, 176, "EditHost");
    EditPort = field(QStringLiteral("ポート"), 276, 80, 50, "EditPort");
    EditPort->setMaxLength(5);
    EditDatabase = field(QStringLiteral("データベース名"), 8, 106, 120, "EditDatabase");
    EditUser = field(QStringLiteral("ユーザー名"), 220, 106, 106, "EditUser");
    ButtonTest = Named(new QPushButton(QStringLiteral("接続テスト"), this), "ButtonTest");
    ButtonTest->setGeometry(94, 134, 100, 24);
    ButtonCopy = Named(new QPushButton(QStringLiteral("フォルダのデータをサーバーへコピー"), this),
                       "ButtonCopy");
    ButtonCopy->setGeometry(200, 134, 212, 24);
    ButtonCopy->setToolTip(QStringLiteral("上のデータ格納フォルダのデータを、空のデータベース"
                                          "サーバーにコピーします"));

    CheckBox1 = Named(new QCheckBox(QStringLiteral("社印を使わない"), this), "CheckBox1");
    CheckBox1->setGeometry(8, 60 + below, 200, 20);

    // Kept and saved, but not offered to the user.
    Panel2 = Named(new QFrame(this), "Panel2");
    Panel2->setGeometry(8, 84 + below, 200, 48);
    CheckBox2 = Named(new QCheckBox(QStringLiteral("使用/未使用"), Panel2), "CheckBox2");
    CheckBox2->setGeometry(0, 0, 200, 20);
    CheckBox3 = Named(new QCheckBox(QStringLiteral("率の印刷"), Panel2), "CheckBox3");
    CheckBox3->setGeometry(0, 24, 200, 20);
    Panel2->hide();

    auto* range = Named(new QGroupBox(QStringLiteral("温度範囲"), this), "Panel1");
    range->setGeometry(220, 58 + below, 192, 90);
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
    BitBtn1->setGeometry(332, 164 + below, 80, 26);
    BitBtn1->setDefault(true);

    FolderDialog1 = new TFolderDialog(this);

    Connect(Button1, &QPushButton::clicked, this, &TfrmSetDataPath::Button1Click);
    Connect(BitBtn1, &QPushButton::clicked, this, &TfrmSetDataPath::BitBtn1Click);
    Connect(ButtonTest, &QPushButton::clicked, this, &TfrmSetDataPath::ButtonTestClick);
    Connect(ButtonCopy, &QPushButton::clicked, this, &TfrmSetDataPath::ButtonCopyClick);
    Connect(RadioFolder, &QRadioButton::toggled, this, &TfrmSetDataPath::PlaceChanged);
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
    const TServerSettings server = TDatabase::AliasServer(kAlias);
    EditHost->setText(server.host);
    EditPort->setText(QString::number(server.port));
    EditDatabase->setText(server.database);
    EditUser->setText(server.user);
    (TDatabase::IsServer(kAlias) ? RadioServer : RadioFolder)->setChecked(true);
    PlaceChanged();
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

void TfrmSetDataPath::PlaceChanged()
{
    const bool server = RadioServer->isChecked();
    Edit1->setEnabled(!server);
    Button1->setEnabled(!server);
    for (QWidget* w : std::initializer_list<QWidget*>{EditHost, EditPort, EditDatabase, EditUser,
                                                      ButtonTest, ButtonCopy})
        w->setEnabled(server);
}

bool TfrmSetDataPath::TypedServer(TServerSettings& server)
{
    bool ok = false;
    server.host = EditHost->text().trimmed();
    server.port = EditPort->text().trimmed().toInt(&ok);
    server.database = EditDatabase->text().trimmed();
    server.user = EditUser->text().trimmed();
    if (!ok || server.port < 1 || server.port > 65535) {
        TPrompt::Message(QStringLiteral("ポート番号は 1 から 65535 までの数で入力してください "
                                        "(PostgreSQL の標準は 5432)。"));
        EditPort->setFocus();
        return false;
    }
    // A server alias without them could never connect.
    for (QLineEdit* edit : {EditHost, EditDatabase, EditUser}) {
        if (edit->text().trimmed().isEmpty()) {
            TPrompt::Message(
                QStringLiteral("サーバー名、データベース名、ユーザー名を入力してください。"));
            edit->setFocus();
            return false;
        }
    }
    return true;
}

void TfrmSetDataPath::ButtonTestClick()
{
    TServerSettings server;
    if (!TypedServer(server))
        return;
    const QString problem = TDatabase::TestServer(server);
    if (problem.isEmpty())
        TPrompt::Message(
            QStringLiteral("データベースサーバー \"%1\" に接続できました。").arg(server.Name()),
            QStringLiteral("接続テスト"));
    else
        TPrompt::Message(QStringLiteral("データベースサーバー \"%1\" に接続できません。\n%2")
                             .arg(server.Name(), problem),
                         QStringLiteral("接続テスト"));
}

void TfrmSetDataPath::ButtonCopyClick()
{
    TServerSettings server;
    if (!TypedServer(server))
        return;
    const QString folder = Edit1->text();
    if (!TPrompt::YesNo(QStringLiteral("データ格納フォルダ \"%1\" のデータを、データベースサーバー "
                                       "\"%2\" にコピーします。\nコピーは空のデータベースにだけ"
                                       "できます。コピーしますか?")
                            .arg(QDir::toNativeSeparators(folder), server.Name()),
                        QStringLiteral("サーバーへコピー")))
        return;
    // A large folder takes a while on the server: the window shows how far.
    std::unique_ptr<TfrmProgressBar> progress;
    const QList<TCopiedTable> copied =
        TDatabase::CopyFolderToServer(folder, server, [&](qint64 done, qint64 total) {
            if (!progress) {
                progress = std::make_unique<TfrmProgressBar>(this);
                progress->ProgressBar1->setMaximum(int(std::min<qint64>(total, INT_MAX)));
                progress->show();
            }
            progress->ProgressBar1->setValue(int(std::min<qint64>(done, INT_MAX)));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    progress.reset();
    TPrompt::Message(CopyReportText(folder, server, copied) +
                         QStringLiteral("\n\nこのサーバーを使うには「データベースサーバー」を"
                                        "選んで OK を押してください。"),
                     QStringLiteral("サーバーへコピー"));
}

void TfrmSetDataPath::BitBtn1Click()
{
    if (RadioServer->isChecked()) {
        TServerSettings server;
        if (!TypedServer(server))
            return;
        TDatabase::SetAliasServer(kAlias, server);
    } else {
        TDatabase::SetAliasFolder(kAlias, Edit1->text());
    }
    WriteSetting(QStringLiteral("UnUseInkan"), CheckBox1->isChecked() ? kTrue : kFalse);
    WriteSetting(QStringLiteral("UseSiyou"), CheckBox2->isChecked() ? kTrue : kFalse);
    WriteSetting(QStringLiteral("UseRate"), CheckBox3->isChecked() ? kTrue : kFalse);
    WriteSetting(QStringLiteral("ColorOndoNeriRange"), QString::number(BoxColor(0)));
    WriteSetting(QStringLiteral("ColorOndoSikiRange"), QString::number(BoxColor(1)));
    // Accepted (not only closed): windows that show data follow the new place.
    accept();
    WarnIfNetworkDataFolder();
    TDatabase::CheckIntegrity();
}

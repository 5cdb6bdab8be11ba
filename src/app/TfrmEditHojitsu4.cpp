#include "app/TfrmEditHojitsu4.h"

#include "app/TForms.h"
#include "app/TfrmSetFont.h"
#include "app/TfrmSetHojituKetasu.h"
#include "controls/TStatusBar.h"
#include "foundation/FileVersion.h"
#include "foundation/TActivation.h"
#include "foundation/TApplication.h"
#include "foundation/TDatabase.h"
#include "foundation/TfrmSetDataPath.h"
#include "foundation/WindowPlacement.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QMenuBar>

TfrmEditHojitsu4::TfrmEditHojitsu4(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmEditHojitsu4"));
    setWindowTitle(QStringLiteral("アスファルト合材舗設実績表"));
    resize(800, 560);

    CreateMenus();

    m_statusBar = new TStatusBar(this);
    m_statusBar->AddPanel(100);
    m_statusBar->AddPanel(50);
    m_statusBar->AddPanel(50);
    m_statusBar->AddPanel(50, Qt::AlignLeft);
    m_statusBar->AddPanel(50);
    setStatusBar(m_statusBar);

    CentreOnScreen(this);

    m_head = new THojituHead4(this);
    m_line = new THojituLine4(this);
    TApplication::Guard([this] { FormCreate(); });
}

void TfrmEditHojitsu4::FormCreate()
{
    if (TDatabase::IsAvailable()) {
        THojituHead4::EnsureTables();
        THojituLine4::EnsureTables();
    }
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
    AddItem(file, QStringLiteral("mnuOpen"), QStringLiteral("開く"));
    AddItem(file, QStringLiteral("mnuDelete"), QStringLiteral("削除"));
    AddItem(file, QStringLiteral("mnuDeleteDay"), QStringLiteral("削除（当日）"));
    AddItem(file, QStringLiteral("mnuClose"), QStringLiteral("閉じる"));

    QMenu* data = menuBar()->addMenu(QStringLiteral("データ"));
    data->setObjectName(QStringLiteral("mnuData"));
    Connect(AddItem(data, QStringLiteral("mnuKoji"), QStringLiteral("工事データ")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuKojiClick);
    Connect(AddItem(data, QStringLiteral("mnuKosyu"), QStringLiteral("工種データ")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuKosyuClick);
    AddItem(data, QStringLiteral("mnuGozai"), QStringLiteral("合材データ"));

    QMenu* settings = menuBar()->addMenu(QStringLiteral("環境設定"));
    settings->setObjectName(QStringLiteral("mnuSettings"));
    QAction* dataPath = AddItem(settings, QStringLiteral("mnuDataPath"),
                                QStringLiteral("データ格納フォルダの設定"));
    Connect(dataPath, &QAction::triggered, this, &TfrmEditHojitsu4::mnuDataPathClick);
    Connect(AddItem(settings, QStringLiteral("mnuKetasu"), QStringLiteral("項目別桁数の設定")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuKetasuClick);
    Connect(AddItem(settings, QStringLiteral("mnuFont"), QStringLiteral("フォントの設定")),
            &QAction::triggered, this, &TfrmEditHojitsu4::mnuFontClick);

    QMenu* help = menuBar()->addMenu(QStringLiteral("ヘルプ"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    AddItem(help, QStringLiteral("mnuAbout"), QStringLiteral("舗設実績表について"));
}

bool TfrmEditHojitsu4::event(QEvent* event)
{
    const bool result = QMainWindow::event(event);
    if (TActivation::ReloadDue(this, event))
        TApplication::Guard([this] { FormActivate(); });
    return result;
}

void TfrmEditHojitsu4::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    // Modeless windows opened from here may still be showing; closing the
    // main window ends the program all the same.
    if (event->isAccepted())
        QCoreApplication::quit();
}

void TfrmEditHojitsu4::FormActivate()
{
    const QString program =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("pTarmak.exe"));
    m_statusBar->SetPanelText(0, QStringLiteral("Ver. ") +
                                     FileVersionString(program, QStringLiteral("FileVersion")));
}

namespace {

void ShowModeless(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void TfrmEditHojitsu4::mnuDataPathClick()
{
    TfrmSetDataPath* dialog = TForms::Instance().frmSetDataPath;
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

void TfrmEditHojitsu4::mnuKetasuClick()
{
    ShowModeless(TForms::Instance().frmSetHojituKetasu);
}

void TfrmEditHojitsu4::mnuFontClick()
{
    if (TfrmSetFont* dialog = TForms::Instance().frmSetFont)
        dialog->exec();
}

#include "controls/TRegisterDialog.h"

#include "foundation/TApplication.h"
#include "foundation/THelp.h"
#include "foundation/WindowPlacement.h"

#include <QEvent>
#include <QMenuBar>
#include <QTimer>

TRegisterDialog::TRegisterDialog(QWidget* parent, const QSize& clientSize, bool sizeable)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_menu(new QMenuBar(this)), m_client(new QWidget(this))
{
    m_menu->setObjectName(QStringLiteral("MainMenu1"));
    m_client->setObjectName(QStringLiteral("Client"));
    const int menuHeight = m_menu->sizeHint().height();
    const QSize size(clientSize.width(), clientSize.height() + menuHeight);
    if (sizeable)
        resize(size);
    else
        setFixedSize(size);
    m_menu->setGeometry(0, 0, size.width(), menuHeight);
    m_client->setGeometry(0, menuHeight, clientSize.width(), clientSize.height());
    CentreOnScreen(this);
}

QMenu* TRegisterDialog::AddMenu(const QString& name, const QString& caption)
{
    QMenu* menu = m_menu->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* TRegisterDialog::AddItem(QMenu* menu, const QString& name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

QAction* TRegisterDialog::AddHelp(const QString& context)
{
    QAction* help = m_menu->addAction(QStringLiteral("ヘルプ"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->setShortcut(Qt::Key_F1);
    help->setShortcutContext(Qt::WindowShortcut);
    addAction(help);
    connect(help, &QAction::triggered, this,
            [context] { TApplication::Guard([&] { THelp::Show(context); }); });
    return help;
}

int TRegisterDialog::RunModal(QDialog* dialog)
{
    const int result = dialog->exec();
    dialog->hide();
    FormActivate();
    // The system gives the focus back to this window later, through the
    // event loop; that activation has just been run.
    m_activationHandled = !isActiveWindow();
    if (m_activationHandled)
        QTimer::singleShot(1000, this, [this] { m_activationHandled = false; });
    return result;
}

bool TRegisterDialog::event(QEvent* event)
{
    const bool result = QDialog::event(event);
    if (event->type() == QEvent::WindowActivate) {
        if (m_activationHandled)
            m_activationHandled = false;
        else
            TApplication::Guard([this] { FormActivate(); });
    }
    return result;
}

void TRegisterDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    const int menuHeight = m_menu->height();
    m_menu->resize(width(), menuHeight);
    m_client->setGeometry(0, menuHeight, width(), height() - menuHeight);
}

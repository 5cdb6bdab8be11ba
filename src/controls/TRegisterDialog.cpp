#include "controls/TRegisterDialog.h"

#include "foundation/gui/TActivation.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"

#include <QEvent>
#include <QLayout>
#include <QMenuBar>
#include <QVBoxLayout>

TRegisterDialog::TRegisterDialog(QWidget* parent, const QSize& clientSize, bool sizeable)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_menu(new QMenuBar(this)), m_client(new QWidget(this))
{
    m_menu->setObjectName(QStringLiteral("MainMenu1"));
    m_client->setObjectName(QStringLiteral("Client"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(m_menu);
    layout->addWidget(m_client);
    if (sizeable) {
        m_client->setMinimumSize(clientSize / 2);
        m_initialClientSize = clientSize;
    } else {
        m_client->setFixedSize(clientSize);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
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
    THelp::SetTopic(this, context);
    connect(help, &QAction::triggered, this,
            [context] { TApplication::Guard([&] { THelp::Show(context); }); });
    return help;
}

bool TRegisterDialog::event(QEvent* event)
{
    const bool result = QDialog::event(event);
    if (TActivation::ReloadDue(this, event))
        TApplication::Guard([this] { FormActivate(); });
    return result;
}

void TRegisterDialog::showEvent(QShowEvent* event)
{
    // Centred once, when the menu bar and the controls have their sizes; later
    // showings keep where the user put the window.
    if (!m_placed) {
        m_placed = true;
        if (m_initialClientSize.isValid())
            resize(m_initialClientSize.width(),
                   m_initialClientSize.height() + m_menu->sizeHint().height());
        layout()->activate();
        CentreOnScreen(this);
    }
    QDialog::showEvent(event);
}

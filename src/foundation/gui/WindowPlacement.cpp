#include "foundation/gui/WindowPlacement.h"

#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget* window)
{
    const QWidget* owner = window->parentWidget() ? window->parentWidget()->window() : window;
    const QScreen* screen = owner->screen();
    if (!screen)
        return;
    const QRect s = screen->geometry();
    window->move(s.x() + (s.width() - window->width()) / 2,
                 s.y() + (s.height() - window->height()) / 2);
}

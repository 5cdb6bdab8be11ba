#include "foundation/TColor.h"

#include <QGuiApplication>
#include <QPalette>

QColor ColorFromTColor(TColor value)
{
    if (quint32(value) & 0xFF000000u)
        return QGuiApplication::palette().color(QPalette::Window);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

TColor TColorFromColor(const QColor& color)
{
    return TColor(color.red() | (color.green() << 8) | (color.blue() << 16));
}

#include "print/TPageOffset.h"

#include "print/CmDrawing.h"

TPageOffset::TPageOffset(float x, float y) : m_previousX(PageOffsetX()), m_previousY(PageOffsetY())
{
    SetPageOffset(x, y);
}

TPageOffset::~TPageOffset()
{
    SetPageOffset(m_previousX, m_previousY);
}

TPageOffset TPageOffset::FromMargins(int leftMm, int topMm)
{
    return TPageOffset(-leftMm / 10.0f, -topMm / 10.0f);
}

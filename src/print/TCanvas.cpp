#include "print/TCanvas.h"

#include <QPen>
#include <cmath>

namespace {

const QString kDefaultFontName = QStringLiteral("ＭＳ Ｐゴシック");
constexpr int kDefaultFontSize = 9;

} // namespace

TCanvas::TCanvas(QPaintDevice* target, const TDeviceMetrics& device) : m_device(device)
{
    m_painter.begin(target);
    // Positions are whole device pixels at printer resolution; smoothing
    // would only blur the recorded page on screen.
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    ResetFont();
    ApplyPen();
    ApplyBrush();
}

TCanvas::~TCanvas()
{
    End();
}

void TCanvas::End()
{
    if (m_painter.isActive())
        m_painter.end();
}

bool TCanvas::IsActive() const
{
    return m_painter.isActive();
}

void TCanvas::ResetFont()
{
    m_font = QFont(kDefaultFontName);
    // Measured unhinted, as the printer and the PDF writer lay the text out,
    // so that widths measured here are the widths on paper.
    m_font.setHintingPreference(QFont::PreferNoHinting);
    m_fontSize = kDefaultFontSize;
    m_fontColor = Qt::black;
    ApplyFont();
}

void TCanvas::SetFontName(const QString& name)
{
    m_font.setFamily(name);
    ApplyFont();
}

void TCanvas::SetFontSize(int points)
{
    if (points == m_fontSize)
        return;
    m_fontSize = points;
    ApplyFont();
}

int TCanvas::FontHeight() const
{
    return -m_font.pixelSize();
}

void TCanvas::SetFontBold(bool on)
{
    m_font.setBold(on);
    ApplyFont();
}

void TCanvas::SetFontItalic(bool on)
{
    m_font.setItalic(on);
    ApplyFont();
}

void TCanvas::SetFontUnderline(bool on)
{
    m_font.setUnderline(on);
    ApplyFont();
}

void TCanvas::SetFontColor(const QColor& color)
{
    m_fontColor = color;
}

void TCanvas::ApplyFont()
{
    // A size in points at the device's vertical resolution, as the printer
    // would size it; at least one pixel, as Qt refuses a zero size.
    const int pixels = int(std::lround(std::abs(m_fontSize) * double(m_device.dpiY) / 72.0));
    m_font.setPixelSize(std::max(1, pixels));
    m_metrics.reset();
    if (m_painter.isActive())
        m_painter.setFont(m_font);
}

const QFontMetricsF& TCanvas::Metrics() const
{
    if (!m_metrics)
        m_metrics.emplace(m_font);
    return *m_metrics;
}

void TCanvas::SetPenWidth(int pixels)
{
    if (pixels == m_penWidth)
        return;
    m_penWidth = pixels;
    ApplyPen();
}

void TCanvas::SetPenStyle(Qt::PenStyle style)
{
    if (style == m_penStyle)
        return;
    m_penStyle = style;
    ApplyPen();
}

void TCanvas::SetPenColor(const QColor& color)
{
    m_penColor = color;
    ApplyPen();
}

void TCanvas::ApplyPen()
{
    m_textPen = false;
    if (!m_painter.isActive())
        return;
    // Round ends and joins, as a printer's wide pens have: the four strokes
    // of a frame then close at the corners.
    QPen pen(m_penColor, std::max(0, m_penWidth), m_penStyle, Qt::RoundCap, Qt::RoundJoin);
    m_painter.setPen(pen);
}

void TCanvas::SetBrushStyle(Qt::BrushStyle style)
{
    if (style == m_brushStyle)
        return;
    m_brushStyle = style;
    ApplyBrush();
}

void TCanvas::SetBrushColor(const QColor& color)
{
    m_brushColor = color;
    ApplyBrush();
}

void TCanvas::ApplyBrush()
{
    if (m_painter.isActive())
        m_painter.setBrush(QBrush(m_brushColor, m_brushStyle));
}

int TCanvas::TextWidth(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    return int(std::lround(Metrics().horizontalAdvance(text)));
}

int TCanvas::TextHeight() const
{
    return int(std::lround(Metrics().ascent() + Metrics().descent()));
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (!m_painter.isActive() || text.isEmpty())
        return;
    // The painter keeps the text's pen until a line is drawn: a page of
    // texts records no pen changes between them.
    if (!m_textPen || m_painter.pen().color() != m_fontColor) {
        m_painter.setPen(m_fontColor);
        m_textPen = true;
    }
    // Qt places a text by its baseline.
    m_painter.drawText(QPointF(x, y + Metrics().ascent()), text);
}

void TCanvas::UseLinePen()
{
    if (m_textPen)
        ApplyPen();
}

void TCanvas::MoveTo(int x, int y)
{
    m_penPos = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y)
{
    const QPoint to(x, y);
    if (m_painter.isActive() && m_penStyle != Qt::NoPen) {
        UseLinePen();
        m_painter.drawLine(m_penPos, to);
    }
    m_penPos = to;
}

void TCanvas::Ellipse(int left, int top, int right, int bottom)
{
    UseLinePen();
    if (m_painter.isActive())
        m_painter.drawEllipse(QRect(left, top, right - left, bottom - top).normalized());
}

void TCanvas::Rectangle(int left, int top, int right, int bottom)
{
    UseLinePen();
    if (m_painter.isActive())
        m_painter.drawRect(QRect(left, top, right - left, bottom - top).normalized());
}

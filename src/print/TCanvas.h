#pragma once

#include "print/TDeviceMetrics.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <optional>

class QPaintDevice;

// A surface to draw a printed page on, in the device pixels of its reference
// device (the printer the page is meant for), whatever it records into.
// Pixel (0, 0) is the top-left corner of the printable area.
//
// Fonts are sized in points and turned into pixels with the device's
// vertical resolution; texts are placed by the top of their line, as the
// sheets lay them out. The pen and the brush are those of the lines and
// shapes; text is drawn in the font's colour and never paints a background.
class TCanvas
{
public:
    // Begins drawing on `target` (a page's recording, or the printer itself).
    TCanvas(QPaintDevice* target, const TDeviceMetrics& device);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // Finishes the drawing; the canvas draws nothing afterwards.
    void End();
    bool IsActive() const;

    const TDeviceMetrics& Device() const { return m_device; }
    int PixelsPerInchX() const { return m_device.dpiX; }
    int PixelsPerInchY() const { return m_device.dpiY; }

    // Font.
    QString FontName() const { return m_font.family(); }
    void SetFontName(const QString& name);
    int FontSize() const { return m_fontSize; }
    void SetFontSize(int points);
    // The font's height as a size in points gives it: minus its em height in
    // device pixels.
    int FontHeight() const;
    bool FontBold() const { return m_font.bold(); }
    void SetFontBold(bool on);
    bool FontItalic() const { return m_font.italic(); }
    void SetFontItalic(bool on);
    bool FontUnderline() const { return m_font.underline(); }
    void SetFontUnderline(bool on);
    QColor FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor& color);
    // Name, size 9 regular, black: what a new page starts with.
    void ResetFont();

    // Pen of lines and outlines; width in device pixels (0 draws the thinnest
    // line the device has).
    int PenWidth() const { return m_penWidth; }
    void SetPenWidth(int pixels);
    Qt::PenStyle PenStyle() const { return m_penStyle; }
    void SetPenStyle(Qt::PenStyle style);
    QColor PenColor() const { return m_penColor; }
    void SetPenColor(const QColor& color);

    // Fill of closed shapes; none on a new canvas.
    Qt::BrushStyle BrushStyle() const { return m_brushStyle; }
    void SetBrushStyle(Qt::BrushStyle style);
    QColor BrushColor() const { return m_brushColor; }
    void SetBrushColor(const QColor& color);

    // Measuring in device pixels, in the current font.
    int TextWidth(const QString& text) const;
    // The height of a line of text (ascent and descent).
    int TextHeight() const;

    // Drawing in device pixels. A text's `y` is the top of its line.
    void TextOut(int x, int y, const QString& text);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    QPoint PenPos() const { return m_penPos; }
    void Ellipse(int left, int top, int right, int bottom);
    void Rectangle(int left, int top, int right, int bottom);

    // The painter, for drawing that these operations do not cover; its
    // coordinates are the same device pixels, its pen the line's.
    QPainter& Painter()
    {
        UseLinePen();
        return m_painter;
    }

private:
    void ApplyFont();
    void ApplyPen();
    void UseLinePen();
    void ApplyBrush();
    const QFontMetricsF& Metrics() const;

    TDeviceMetrics m_device;
    QPainter m_painter;
    QFont m_font;
    int m_fontSize = 9;
    QColor m_fontColor = Qt::black;
    int m_penWidth = 1;
    Qt::PenStyle m_penStyle = Qt::SolidLine;
    QColor m_penColor = Qt::black;
    Qt::BrushStyle m_brushStyle = Qt::NoBrush;
    QColor m_brushColor = Qt::white;
    QPoint m_penPos;
    bool m_textPen = false; // the painter holds the text's pen, not the line's
    mutable std::optional<QFontMetricsF> m_metrics;
};

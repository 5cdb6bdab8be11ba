#include "print/CmDrawing.h"

#include "print/TCanvas.h"
#include "print/TStyleLine.h"

#include <QTextBoundaryFinder>
#include <cmath>

namespace {

constexpr double kCmPerInch = 2.54;
// The sheets' text widths were measured with this many centimetres to the
// inch; kept so that fitted sizes come out as on the forms the clients know.
constexpr double kMeasureCmPerInch = 2.55;
constexpr int kSmallestFontSize = 5;

float pageOffsetX = 0;
float pageOffsetY = 0;

// The device values every helper converts with.
struct TPixels
{
    int dpiX;
    int dpiY;
    int offX;
    int offY;

    double Left(double x) const { return x * dpiX / kCmPerInch - offX; }
    double Top(double y) const { return y * dpiY / kCmPerInch - offY; }
    int X(double x) const { return int(Left(x)); }
    int Y(double y) const { return int(Top(y)); }
};

TPixels PixelsOf(const TCanvas& canvas, float scale)
{
    TPixels p;
    p.dpiX = int(scale * canvas.PixelsPerInchX());
    p.dpiY = int(scale * canvas.PixelsPerInchY());
    p.offX = int(scale * canvas.Device().offsetLeft) + int(p.dpiX * pageOffsetX / kCmPerInch);
    p.offY = int(scale * canvas.Device().offsetTop) + int(p.dpiY * pageOffsetY / kCmPerInch);
    return p;
}

// Puts the font size and the brush style back whatever way the drawing ends.
class TKeepFont
{
public:
    explicit TKeepFont(TCanvas& canvas)
        : m_canvas(canvas), m_size(canvas.FontSize()), m_brush(canvas.BrushStyle())
    {
    }
    ~TKeepFont()
    {
        if (m_canvas.FontSize() != m_size)
            m_canvas.SetFontSize(m_size);
        if (m_canvas.BrushStyle() != m_brush)
            m_canvas.SetBrushStyle(m_brush);
    }
    int Size() const { return m_size; }

private:
    TCanvas& m_canvas;
    int m_size;
    Qt::BrushStyle m_brush;
};

// The number of leading characters of the shortest prefix at least `width`
// wide; characters.size() + 1 when even the whole text is narrower.
qsizetype ShortestPrefixAtLeast(const TCanvas& canvas, const QStringList& characters, int width)
{
    // Widths grow with the prefix: halve the range.
    qsizetype low = 1;
    qsizetype high = characters.size() + 1;
    while (low < high) {
        const qsizetype mid = (low + high) / 2;
        if (canvas.TextWidth(characters.mid(0, mid).join(QString())) >= width)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

void DrawHorizontal(TCanvas& canvas, const QString& text, int textWidth, TBoxAlign align,
                    float left, float top, const TPixels& p, int boxW, int boxH)
{
    const int y = int(p.Top(top)) + (boxH + canvas.FontHeight()) / 2;
    const double start = p.Left(left);
    switch (align) {
    case baLeft:
        canvas.TextOut(int(start), y, text);
        break;
    case baCenter:
        canvas.TextOut(int(start + (boxW - textWidth) / 2.0), y, text);
        break;
    case baRight:
        canvas.TextOut(int(start + (boxW - textWidth)), y, text);
        break;
    case baSpread: {
        const QStringList characters = TextCharacters(text);
        if (characters.size() == 1) {
            canvas.TextOut(int(start + (boxW - textWidth) / 2.0), y, text);
            break;
        }
        const double gap = double(boxW - textWidth) / double(characters.size() - 1);
        double x = start;
        for (const QString& c : characters) {
            canvas.TextOut(int(x), y, c);
            x += canvas.TextWidth(c) + gap;
        }
        break;
    }
    default:
        break;
    }
}

void DrawVertical(TCanvas& canvas, const QString& text, TBoxAlign align, float left, float top,
                  const TPixels& p, int boxW, int boxH)
{
    const QStringList characters = TextCharacters(text);
    const int height = canvas.TextHeight();
    const int total = height * int(characters.size());
    double y = int(top * p.dpiY / kCmPerInch) - p.offY;
    double gap = 0;
    switch (align) {
    case baCenter:
        y += (boxH - total) / 2;
        break;
    case baRight:
        y += boxH - total;
        break;
    case baSpread:
        if (characters.size() == 1)
            y += (boxH - total) / 2;
        else if (boxH > total)
            gap = double(boxH - total) / double(characters.size() - 1);
        break;
    default:
        break;
    }
    const int x0 = p.X(left);
    for (const QString& c : characters) {
        canvas.TextOut((boxW - canvas.TextWidth(c)) / 2 + x0, int(y), c);
        y += height + gap;
    }
}

} // namespace

float PageOffsetX()
{
    return pageOffsetX;
}

float PageOffsetY()
{
    return pageOffsetY;
}

void SetPageOffset(float x, float y)
{
    pageOffsetX = x;
    pageOffsetY = y;
}

QStringList TextCharacters(const QString& text)
{
    QStringList characters;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype from = 0;
    while (finder.toNextBoundary() != -1) {
        const qsizetype to = finder.position();
        characters << text.mid(from, to - from);
        from = to;
    }
    return characters;
}

void DrawBoxText(TCanvas& canvas, const QString& text, TBoxAlign align, float left, float top,
                 float right, float bottom, bool vertical, float scale)
{
    if (align == baDecimal) {
        const qsizetype point = text.indexOf(QLatin1Char('.'));
        const QString whole = point < 0 ? QString() : text.left(point);
        const QString fraction = point < 0 ? text : text.mid(point);
        const float middle = (top + bottom) / 2;
        DrawBoxText(canvas, whole, baLeft, left + 0.01f, middle, right, bottom, false, scale);
        TKeepFont keep(canvas);
        canvas.SetFontSize(int(keep.Size() * 0.8 * scale));
        DrawBoxText(canvas, fraction, baRight, left, top, right, middle, false, scale);
        return;
    }
    if (align == baInsetSpread) {
        if (vertical) {
            const float g = (bottom - top) / 10;
            top += g;
            bottom -= g;
        } else {
            const float g = (right - left) / 10;
            left += g;
            right -= g;
        }
        DrawBoxText(canvas, text, baSpread, left, top, right, bottom, vertical, scale);
        return;
    }
    const qsizetype marker = text.indexOf(QStringLiteral("\\\\"));
    if (marker >= 0) {
        const QString first = text.left(marker);
        const QString second = text.mid(marker + 2);
        if (vertical) {
            const float middle = (left + right) / 2;
            DrawBoxText(canvas, first, align, left, top, middle, bottom, vertical, scale);
            DrawBoxText(canvas, second, align, middle, top, right, bottom, vertical, scale);
        } else {
            const float middle = (top + bottom) / 2;
            DrawBoxText(canvas, first, align, left, top, right, middle, vertical, scale);
            DrawBoxText(canvas, second, align, left, middle, right, bottom, vertical, scale);
        }
        return;
    }
    if (text.isEmpty())
        return;

    TKeepFont keep(canvas);
    canvas.SetFontSize(int(scale * keep.Size()));
    const TPixels p = PixelsOf(canvas, scale);
    canvas.SetBrushStyle(Qt::NoBrush);
    const int boxW = int((right - left) * p.dpiX / kCmPerInch);
    const int boxH = int((bottom - top) * p.dpiY / kCmPerInch);

    if (vertical) {
        DrawVertical(canvas, text, align, left, top, p, boxW, boxH);
        return;
    }
    const int textWidth = canvas.TextWidth(text);
    if (textWidth > boxW) {
        const QStringList characters = TextCharacters(text);
        const qsizetype count = ShortestPrefixAtLeast(canvas, characters, boxW);
        // When not even the first character fits (or the box is narrower than
        // a pixel) there is nothing to put on the first line: the text is
        // drawn as it is, on one line, rather than split without end.
        if (count > 1 && count <= characters.size()) {
            const QString first = characters.mid(0, count - 1).join(QString());
            const QString rest = characters.mid(count - 1).join(QString());
            canvas.SetFontSize(keep.Size());
            const float middle = (top + bottom) / 2;
            DrawBoxText(canvas, first, align, left, top, right, middle, false, scale);
            DrawBoxText(canvas, rest, align, left, middle, right, bottom, false, scale);
            return;
        }
    }
    DrawHorizontal(canvas, text, textWidth, align, left, top, p, boxW, boxH);
}

void DrawLineCm(TCanvas& canvas, float x1, float y1, float x2, float y2, float scale)
{
    const TPixels p = PixelsOf(canvas, scale);
    const int width = canvas.PenWidth();
    TStyleLine line(&canvas);
    line.SetLineWidth(width);
    switch (canvas.PenStyle()) {
    case Qt::SolidLine:
        line.SetKind(slSolid);
        break;
    case Qt::DotLine:
        line.SetKind(slDot);
        break;
    case Qt::DashDotLine:
        line.SetKind(slDashDot);
        break;
    default:
        line.SetKind(slDefault);
        break;
    }
    line.MoveTo(p.X(x1), p.Y(y1));
    line.LineTo(p.X(x2), p.Y(y2));
    canvas.SetPenWidth(width);
}

void DrawRectCm(TCanvas& canvas, float left, float top, float right, float bottom, float scale)
{
    const TPixels p = PixelsOf(canvas, scale);
    const int width = canvas.PenWidth();
    canvas.SetPenWidth(int(width * scale));
    const int l = p.X(left);
    const int t = p.Y(top);
    const int r = p.X(right);
    const int b = p.Y(bottom);
    canvas.MoveTo(l, t);
    canvas.LineTo(r, t);
    canvas.LineTo(r, b);
    canvas.LineTo(l, b);
    canvas.LineTo(l, t);
    canvas.SetPenWidth(width);
}

void DrawCircleCm(TCanvas& canvas, float cx, float cy, float radius, float scale)
{
    const TPixels p = PixelsOf(canvas, scale);
    canvas.Ellipse(p.X(cx - radius), p.Y(cy - radius), p.X(cx + radius), p.Y(cy + radius));
}

float TextWidthCm(TCanvas& canvas, const QString& text)
{
    return float(canvas.TextWidth(text) * kMeasureCmPerInch / canvas.PixelsPerInchX());
}

void SetPenWidthMm(TCanvas& canvas, float thickness)
{
    const double pixels = canvas.PixelsPerInchX() * double(thickness) / 25.4;
    // A hair above a whole pixel is taken as that pixel, not rounded up.
    canvas.SetPenWidth(std::max(0, int(std::ceil(pixels - 0.00001))));
}

int TextWidthMm(TCanvas& canvas, const QString& text)
{
    return int(
        std::lround(canvas.TextWidth(text) * kMeasureCmPerInch * 10 / canvas.PixelsPerInchX()));
}

int FitFontSize(TCanvas& canvas, const QString& text, double widthCm)
{
    const int original = canvas.FontSize();
    int size = original;
    while (TextWidthCm(canvas, text) > widthCm && size > kSmallestFontSize) {
        --size;
        canvas.SetFontSize(size);
    }
    canvas.SetFontSize(original);
    return size;
}

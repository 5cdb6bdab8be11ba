#pragma once

#include <QList>
#include <QPointF>

class TCanvas;

enum TStyleLineKind : unsigned char
{
    slDefault = 0,
    slSolid = 1,
    slDot = 2,
    slDash = 3,
    slDashDot = 4,
    slDashDotDot = 5,
};

// Dashed and dotted lines at printer resolution, with the pattern measured in
// points, drawn as solid pieces. The pattern runs on across the pieces of a
// polyline: a dash cut by a corner goes on after it with what was left.
class TStyleLine
{
public:
    static constexpr int kMaxSegments = 6;

    explicit TStyleLine(TCanvas* canvas = nullptr);

    TCanvas* Canvas() const { return m_canvas; }
    void SetCanvas(TCanvas* canvas) { m_canvas = canvas; }

    int LineWidth() const { return m_lineWidth; }
    // Device pixels; 0 or less is taken as 1.
    void SetLineWidth(int pixels);

    TStyleLineKind Kind() const { return m_kind; }
    // Solid, or a pattern in points of the canvas's resolution; any other
    // kind keeps the current pattern.
    void SetKind(TStyleLineKind kind);

    // Segment lengths in device pixels, drawn and skipped in turn, starting
    // with a drawn one; at most six are kept.
    QList<int> Pattern() const { return m_segments; }
    void SetPattern(const QList<int>& segments);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);

private:
    void Advance(QPointF& at, QPointF step, bool drawn);
    void GoTo(QPointF to, bool drawn);

    TCanvas* m_canvas;
    int m_lineWidth = 1;
    TStyleLineKind m_kind = slDefault;
    QList<int> m_segments{20, 20};
    int m_total = 40;
    int m_segment = 1;  // from 1
    int m_position = 1; // from 1
};

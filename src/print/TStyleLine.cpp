#include "print/TStyleLine.h"

#include "print/TCanvas.h"

#include <QPoint>
#include <cmath>

TStyleLine::TStyleLine(TCanvas* canvas) : m_canvas(canvas) {}

void TStyleLine::SetLineWidth(int pixels)
{
    m_lineWidth = pixels <= 0 ? 1 : pixels;
}

void TStyleLine::SetKind(TStyleLineKind kind)
{
    if (kind == slSolid) {
        m_kind = kind;
        return;
    }
    if (kind < slDot || kind > slDashDotDot || !m_canvas)
        return;
    const double pt = m_canvas->PixelsPerInchX() / 72.0;
    QList<double> points;
    switch (kind) {
    case slDot:
        points = {4, 4};
        break;
    case slDash:
        points = {24, 8};
        break;
    case slDashDot:
        points = {12, 8, 4, 8};
        break;
    default:
        points = {12, 4, 4, 4, 4, 4};
        break;
    }
    QList<int> segments;
    for (double p : points)
        segments << int(std::lround(p * pt));
    m_kind = kind;
    SetPattern(segments);
}

void TStyleLine::SetPattern(const QList<int>& segments)
{
    m_segments = segments.mid(0, kMaxSegments);
    m_total = 0;
    for (int length : m_segments)
        m_total += std::max(0, length);
    m_segment = 1;
    m_position = 1;
}

void TStyleLine::MoveTo(int x, int y)
{
    if (!m_canvas)
        return;
    m_canvas->MoveTo(x, y);
    m_canvas->SetPenStyle(Qt::SolidLine);
    m_canvas->SetPenWidth(m_lineWidth);
    m_segment = 1;
    m_position = 1;
}

void TStyleLine::GoTo(QPointF to, bool drawn)
{
    const QPoint p = to.toPoint();
    if (drawn)
        m_canvas->LineTo(p.x(), p.y());
    else
        m_canvas->MoveTo(p.x(), p.y());
}

void TStyleLine::Advance(QPointF& at, QPointF step, bool drawn)
{
    at += step;
    GoTo(at, drawn);
}

void TStyleLine::LineTo(int x, int y)
{
    if (!m_canvas)
        return;
    // A pattern without length (no segments, or all of them empty) would
    // never advance along the line: such a line is drawn solid.
    if (m_kind == slSolid || m_segments.isEmpty() || m_total <= 0) {
        m_canvas->LineTo(x, y);
        return;
    }
    const QPointF target(x, y);
    QPointF at = m_canvas->PenPos();
    const QPointF delta = target - at;
    double left = std::hypot(delta.x(), delta.y());
    if (left == 0)
        return;
    const QPointF unit = delta / left;
    const int count = int(m_segments.size());
    auto length = [this](int segment) { return double(std::max(0, m_segments[segment - 1])); };
    auto drawn = [](int segment) { return segment % 2 == 1; };

    // The rest of a segment begun on the previous piece, and the segments
    // after it up to the end of the pattern.
    if (m_segment != 1 || m_position != 1) {
        double rest = length(m_segment) - m_position + 1;
        while (m_segment <= count) {
            if (rest > left) {
                GoTo(target, drawn(m_segment));
                m_position += int(std::lround(left));
                return;
            }
            Advance(at, unit * rest, drawn(m_segment));
            left -= rest;
            ++m_segment;
            m_position = 1;
            if (m_segment <= count)
                rest = length(m_segment);
        }
        m_segment = 1;
        m_position = 1;
    }

    // Whole patterns.
    const int whole = int(left / m_total);
    for (int n = 0; n < whole; ++n)
        for (int segment = 1; segment <= count; ++segment)
            Advance(at, unit * length(segment), drawn(segment));
    left -= double(whole) * m_total;

    // What is left, segment by segment; the phase stays where it stopped.
    for (int segment = 1; segment <= count; ++segment) {
        if (length(segment) > left) {
            GoTo(target, drawn(segment));
            m_segment = segment;
            m_position = int(std::lround(left)) + 1;
            return;
        }
        Advance(at, unit * length(segment), drawn(segment));
        left -= length(segment);
    }
    m_segment = 1;
    m_position = 1;
}

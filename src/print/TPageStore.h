#pragma once

#include "print/TDeviceMetrics.h"

#include <QPicture>
#include <QPointF>
#include <QSize>
#include <memory>
#include <vector>

class QPainter;
class TCanvas;

// A report's pages, each recorded once against the printer it is meant for
// and replayed at any size: scaled to the screen for the preview, at the
// printer's own size for printing.
//
// A page is recorded in the device pixels of its printer (see TCanvas) and
// keeps that printer's metrics, so pages of one document may differ in
// orientation.
class TPageStore
{
public:
    TPageStore();
    ~TPageStore();
    TPageStore(const TPageStore&) = delete;
    TPageStore& operator=(const TPageStore&) = delete;

    // Discards every page.
    void Clear();
    // Begins a page recorded against `device`, after finishing the page
    // being drawn; returns its canvas.
    TCanvas* NewPage(const TDeviceMetrics& device);
    // Finishes the page being drawn.
    void EndDocument();
    // The canvas of the page being drawn; null once the document is done.
    TCanvas* PageCanvas() const;

    int Count() const { return int(m_pages.size()); }
    // `index` counts from 0.
    const TDeviceMetrics& Device(int index) const;
    // The page's printable area in its device pixels.
    QSize PageSize(int index) const;

    // Draws page `index` with its printable area's corner at `at` (in the
    // painter's coordinates), `sx` and `sy` target units for each of the
    // page's device pixels.
    void Play(QPainter& painter, int index, QPointF at, double sx, double sy) const;

private:
    struct TPage;
    std::vector<std::unique_ptr<TPage>> m_pages;
    std::unique_ptr<TCanvas> m_canvas;
};

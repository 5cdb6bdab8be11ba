#include "print/TPageStore.h"

#include "print/TCanvas.h"

#include <QPainter>

struct TPageStore::TPage
{
    QPicture picture;
    TDeviceMetrics device;
};

TPageStore::TPageStore() = default;

TPageStore::~TPageStore()
{
    Clear();
}

void TPageStore::Clear()
{
    m_canvas.reset();
    m_pages.clear();
}

TCanvas* TPageStore::NewPage(const TDeviceMetrics& device)
{
    m_canvas.reset();
    auto page = std::make_unique<TPage>();
    page->device = device;
    page->picture.setBoundingRect(QRect(0, 0, device.pageWidth, device.pageHeight));
    m_canvas = std::make_unique<TCanvas>(&page->picture, device);
    m_pages.push_back(std::move(page));
    return m_canvas.get();
}

void TPageStore::EndDocument()
{
    m_canvas.reset();
}

TCanvas* TPageStore::PageCanvas() const
{
    return m_canvas.get();
}

const TDeviceMetrics& TPageStore::Device(int index) const
{
    return m_pages.at(size_t(index))->device;
}

QSize TPageStore::PageSize(int index) const
{
    const TDeviceMetrics& d = Device(index);
    return QSize(d.pageWidth, d.pageHeight);
}

void TPageStore::Play(QPainter& painter, int index, QPointF at, double sx, double sy) const
{
    const TPage& page = *m_pages.at(size_t(index));
    // The page being drawn is not complete until its canvas is closed.
    if (m_canvas && index == Count() - 1)
        return;
    // A recording replays scaled by the target's resolution over its own
    // (the screen's); that is taken out so that one page pixel becomes
    // exactly sx by sy units.
    const QPaintDevice* target = painter.device();
    const double ownX = page.picture.logicalDpiX();
    const double ownY = page.picture.logicalDpiY();
    const double dpiX = target ? target->logicalDpiX() : ownX;
    const double dpiY = target ? target->logicalDpiY() : ownY;
    painter.save();
    painter.translate(at);
    painter.scale(sx * ownX / dpiX, sy * ownY / dpiY);
    painter.drawPicture(0, 0, page.picture);
    painter.restore();
}

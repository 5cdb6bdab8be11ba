#include "print/TPrevX.h"

#include "print/EPrevError.h"
#include "print/TCanvas.h"
#include "print/TZqPrinter.h"

#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace {

constexpr int kMinZoom = 25;
constexpr int kMaxZoom = 200;
constexpr int kBorder = 10; // around the sheet on screen
constexpr int kNoEnd = 9999;

QPageLayout::Orientation OrientationOf(const TDeviceMetrics& device)
{
    return device.IsLandscape() ? QPageLayout::Landscape : QPageLayout::Portrait;
}

} // namespace

TPrevX::TPrevX(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PrevX1"));
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TPrevX::~TPrevX() = default;

void TPrevX::RequirePrinter() const
{
    if (!TZqPrinter::Instance().HasPrinter())
        throw EPrevError::NoPrinter();
}

void TPrevX::SetZoomScale(int zoom)
{
    if (zoom == m_zoom || zoom < kMinZoom || zoom > kMaxZoom)
        return;
    m_zoom = zoom;
    UpdateLayout();
}

void TPrevX::SetZoomPrintX(int percent)
{
    m_zoomPrintX = percent;
    update();
}

void TPrevX::SetZoomPrintY(int percent)
{
    m_zoomPrintY = percent;
    update();
}

void TPrevX::NewDocument()
{
    RequirePrinter();
    const TDeviceMetrics device = TZqPrinter::Instance().Metrics();
    m_pages.Clear();
    m_currentPage = 1;
    m_printFrom = 1;
    m_printTo = kNoEnd;
    m_pages.NewPage(device);
    UpdateLayout();
}

void TPrevX::NewPage()
{
    RequirePrinter();
    m_pages.NewPage(TZqPrinter::Instance().Metrics());
}

void TPrevX::EndDocument()
{
    m_pages.EndDocument();
    UpdateLayout();
}

TCanvas* TPrevX::PageCanvas() const
{
    return m_pages.PageCanvas();
}

void TPrevX::SetCurrentPage(int page)
{
    if (page == m_currentPage || page < 1 || page > PageCount())
        return;
    m_currentPage = page;
    UpdateLayout();
}

void TPrevX::SetPrintFrom(int page)
{
    if (page != m_printFrom && page >= 1 && page <= PageCount())
        m_printFrom = page;
}

void TPrevX::SetPrintTo(int page)
{
    if (page != m_printTo && page > 0)
        m_printTo = page;
}

void TPrevX::Print()
{
    if (PageCount() == 0)
        return;
    RequirePrinter();
    const int from = m_printFrom;
    const int to = std::min(PageCount(), m_printTo);
    if (from > to)
        return;
    TZqPrinter& printers = TZqPrinter::Instance();
    printers.ResetDocumentSettings();
    QPrinter& printer = printers.Printer();
    // The first page printed sets the orientation the job starts with.
    printer.setPageOrientation(OrientationOf(m_pages.Device(from - 1)));
    if (!printers.PrepareJob(m_title, window()))
        return;
    QPainter painter;
    if (!painter.begin(&printer)) {
        if (printer.outputFormat() == QPrinter::PdfFormat)
            throw EPrevError(
                QStringLiteral("PDF ファイル「%1」に書き込めませんでした。"
                               "保存先のフォルダに書き込めるか、同じ名前のファイルが"
                               "ほかのプログラムで開かれていないかを確かめてください。")
                    .arg(printer.outputFileName()));
        throw EPrevError(QStringLiteral("プリンタ「%1」で印刷を始められませんでした。")
                             .arg(printers.CurrentName()));
    }
    for (int page = from; page <= to; ++page) {
        const TDeviceMetrics& device = m_pages.Device(page - 1);
        if (page > from) {
            printer.setPageOrientation(OrientationOf(device));
            printer.newPage();
        }
        const double rx = double(printer.logicalDpiX()) / device.dpiX;
        const double ry = double(printer.logicalDpiY()) / device.dpiY;
        const int width = int(device.pageWidth * double(m_zoomPrintX) / 100);
        const int height = int(device.pageHeight * double(m_zoomPrintY) / 100);
        m_pages.Play(painter, page - 1, QPointF(0, 0), rx * width / device.pageWidth,
                     ry * height / device.pageHeight);
    }
    if (!painter.end())
        throw EPrevError(QStringLiteral("印刷を最後まで書き出せませんでした。"));
}

void TPrevX::PrintPage(int page)
{
    struct TKeepRange
    {
        TPrevX* preview;
        int from;
        int to;
        ~TKeepRange()
        {
            preview->m_printFrom = from;
            preview->m_printTo = to;
        }
    } keep{this, m_printFrom, m_printTo};
    if (page < 1 || page > PageCount())
        return;
    m_printFrom = page;
    m_printTo = page;
    Print();
}

int TPrevX::PenWidthFor(int n)
{
    int dpiY = 0;
    if (PageCount() > 0) {
        dpiY = m_pages.Device(m_currentPage - 1).dpiY;
    } else {
        RequirePrinter();
        dpiY = TZqPrinter::Instance().Metrics().dpiY;
    }
    const int width = int(std::lround(n * double(dpiY) / (logicalDpiY() * 10.0)));
    return std::max(1, width);
}

std::optional<TDeviceMetrics> TPrevX::ShownDevice() const
{
    if (PageCount() > 0)
        return m_pages.Device(m_currentPage - 1);
    return m_printerDevice;
}

std::optional<TPrevX::TSheet> TPrevX::SheetAt(int zoom) const
{
    const std::optional<TDeviceMetrics> device = ShownDevice();
    if (!device || !device->IsValid())
        return std::nullopt;
    // One resolution for both axes, the printer's vertical one, as the
    // screen's pixels are square.
    const double f = double(logicalDpiY()) / device->dpiY * zoom / 100.0;
    TSheet s;
    s.width = int(std::lround(f * device->paperWidth));
    s.height = int(std::lround(f * device->paperHeight));
    s.offsetLeft = int(std::lround(f * device->offsetLeft));
    s.offsetTop = int(std::lround(f * device->offsetTop));
    s.pageWidth = int(std::lround(f * device->pageWidth));
    s.pageHeight = int(std::lround(f * device->pageHeight));
    return s;
}

QSize TPrevX::SizeAt(int zoom) const
{
    const std::optional<TSheet> sheet = SheetAt(zoom);
    if (!sheet)
        return QSize();
    return QSize(sheet->width + 2 * kBorder, sheet->height + 2 * kBorder);
}

void TPrevX::UpdateLayout()
{
    if (PageCount() == 0) {
        // Painting never asks the printer: a missing printer shows as an
        // empty control, not as an error on every paint.
        m_printerDevice.reset();
        try {
            if (TZqPrinter::Instance().HasPrinter())
                m_printerDevice = TZqPrinter::Instance().Metrics();
        } catch (const std::exception&) {
        }
    }
    const QSize size = SizeAt(m_zoom);
    if (size.isValid() && size != this->size())
        resize(size);
    update();
}

void TPrevX::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit Resized();
}

void TPrevX::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    try {
        const std::optional<TSheet> sheet = SheetAt(m_zoom);
        if (!sheet)
            return;
        painter.setPen(QPen(Qt::black, 0, Qt::SolidLine));
        painter.setBrush(Qt::white);
        painter.drawRect(kBorder, kBorder, sheet->width, sheet->height);
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        const QPoint corner(kBorder + sheet->offsetLeft, kBorder + sheet->offsetTop);
        painter.drawRect(QRect(corner, QSize(sheet->pageWidth, sheet->pageHeight)));
        if (PageCount() == 0)
            return;
        const TDeviceMetrics& device = m_pages.Device(m_currentPage - 1);
        const int width = int(sheet->pageWidth * double(m_zoomPrintX) / 100);
        const int height = int(sheet->pageHeight * double(m_zoomPrintY) / 100);
        painter.setRenderHint(QPainter::Antialiasing, true);
        m_pages.Play(painter, m_currentPage - 1, corner, double(width) / device.pageWidth,
                     double(height) / device.pageHeight);
    } catch (const std::exception&) {
        // The background is painted; a failure to lay out the sheet must not
        // raise an error box on every repaint.
    }
}

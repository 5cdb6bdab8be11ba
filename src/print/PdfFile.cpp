#include "print/PdfFile.h"

#include "foundation/EKanmuriError.h"
#include "print/TPageStore.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace {

constexpr int kPdfDpi = 1200;

QPageLayout Layout(QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(), QPageLayout::Millimeter);
}

} // namespace

TDeviceMetrics PdfDevice(QPageLayout::Orientation orientation)
{
    const QRect paper = Layout(orientation).fullRectPixels(kPdfDpi);
    TDeviceMetrics device;
    device.dpiX = kPdfDpi;
    device.dpiY = kPdfDpi;
    device.paperWidth = paper.width();
    device.paperHeight = paper.height();
    device.pageWidth = paper.width();
    device.pageHeight = paper.height();
    return device;
}

void WritePdf(const TPageStore& store, const QString& file, QPageLayout::Orientation orientation,
              const QString& title, int zoomX, int zoomY)
{
    const auto failed = [&file] {
        return EKanmuriError(QStringLiteral("PDF ファイル「%1」に書き込めませんでした。"
                                            "保存先のフォルダがあって書き込めるか、"
                                            "同じ名前のファイルがほかのプログラムで開かれて"
                                            "いないかを確かめてください。")
                                 .arg(file));
    };
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        throw failed();
    QPdfWriter writer(&out);
    writer.setResolution(kPdfDpi);
    writer.setPageLayout(Layout(orientation));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("pTarmak"));
    QPainter painter;
    if (!painter.begin(&writer))
        throw failed();
    for (int index = 0; index < store.Count(); ++index) {
        if (index > 0)
            writer.newPage();
        const TDeviceMetrics& device = store.Device(index);
        const int width = int(device.pageWidth * double(zoomX) / 100);
        const int height = int(device.pageHeight * double(zoomY) / 100);
        store.Play(painter, index, QPointF(0, 0),
                   double(writer.logicalDpiX()) / device.dpiX * width / device.pageWidth,
                   double(writer.logicalDpiY()) / device.dpiY * height / device.pageHeight);
    }
    if (!painter.end() || !out.commit())
        throw failed();
}

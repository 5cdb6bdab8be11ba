#pragma once

#include "print/TDeviceMetrics.h"
#include "print/TPageStore.h"

#include <QString>
#include <QWidget>
#include <optional>

class TCanvas;

// The page preview: a report's pages, drawn once against the current printer
// (TZqPrinter) into its page store, shown one at a time at a zoom and printed
// at the printer's own size, all pages or a range.
//
// A report calls NewDocument, draws on PageCanvas, calls NewPage before each
// further page (after setting the printer's orientation for that page) and
// EndDocument at the end.
class TPrevX : public QWidget
{
    Q_OBJECT
public:
    explicit TPrevX(QWidget* parent = nullptr);
    ~TPrevX() override;

    // The print job's name.
    QString Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }

    // Screen zoom in percent, 25 to 200; other values are refused.
    int ZoomScale() const { return m_zoom; }
    void SetZoomScale(int zoom);
    // Stretch of every page in percent, on screen and on paper.
    int ZoomPrintX() const { return m_zoomPrintX; }
    void SetZoomPrintX(int percent);
    int ZoomPrintY() const { return m_zoomPrintY; }
    void SetZoomPrintY(int percent);
    // Print offsets in millimetres, kept for the drawing code (see
    // TPageOffset::FromMargins); the control does not use them.
    int MarginLeft() const { return m_marginLeft; }
    void SetMarginLeft(int mm) { m_marginLeft = mm; }
    int MarginTop() const { return m_marginTop; }
    void SetMarginTop(int mm) { m_marginTop = mm; }

    // Discards the pages and begins page 1 for the current printer in its
    // present orientation. EPrevError when there is no printer.
    void NewDocument();
    // Finishes the page being drawn and begins the next one, for the printer
    // in its present orientation. The new page has the default font.
    void NewPage();
    // Finishes the last page and shows the document.
    void EndDocument();
    // The canvas of the page being drawn; null after EndDocument.
    TCanvas* PageCanvas() const;

    // The page shown, from 1; other numbers are ignored.
    int CurrentPage() const { return m_currentPage; }
    void SetCurrentPage(int page);
    int PageCount() const { return m_pages.Count(); }

    // The print range, from 1; out-of-range values are ignored.
    int PrintFrom() const { return m_printFrom; }
    void SetPrintFrom(int page);
    int PrintTo() const { return m_printTo; }
    void SetPrintTo(int page);

    // Prints the print range on the current printer, each page in its own
    // orientation. A range without pages prints nothing.
    void Print();
    // Prints page `page` alone; the print range is as it was afterwards.
    void PrintPage(int page);

    // The printer's pen width for a line `n` tenths of a screen pixel thick.
    int PenWidthFor(int n);

    // The control's size for the page shown, at `zoom` percent; empty when
    // there is neither a page nor a printer.
    QSize SizeAt(int zoom) const;
    // The pages, for reading them back.
    const TPageStore& Pages() const { return m_pages; }

signals:
    void Resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The sheet on screen at the zoom, in screen pixels.
    struct TSheet
    {
        int width = 0;
        int height = 0;
        int offsetLeft = 0;
        int offsetTop = 0;
        int pageWidth = 0;
        int pageHeight = 0;
    };
    std::optional<TDeviceMetrics> ShownDevice() const;
    std::optional<TSheet> SheetAt(int zoom) const;
    void UpdateLayout();
    void RequirePrinter() const;

    TPageStore m_pages;
    QString m_title;
    int m_zoom = 25;
    int m_zoomPrintX = 100;
    int m_zoomPrintY = 100;
    int m_marginLeft = 0;
    int m_marginTop = 0;
    int m_currentPage = 1;
    int m_printFrom = 1;
    int m_printTo = 9999;
    // The printer's sheet when there are no pages, read when the layout
    // changes rather than on every paint.
    std::optional<TDeviceMetrics> m_printerDevice;
};

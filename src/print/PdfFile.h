#pragma once

#include "print/TDeviceMetrics.h"

#include <QPageLayout>
#include <QString>

class TPageStore;

// Sheets written straight to a PDF file, without a printer: A4 at a
// printer's resolution, the whole sheet printable.
TDeviceMetrics PdfDevice(QPageLayout::Orientation orientation);

// Writes the recorded pages into `file`, stretched by `zoomX`/`zoomY` percent
// as the preview prints them (the page's corner stays put). The file is
// written beside its place and put there at the end, so a failure leaves no
// half-written sheet and keeps an older file; it throws a message naming the
// file.
void WritePdf(const TPageStore& store, const QString& file, QPageLayout::Orientation orientation,
              const QString& title, int zoomX = 100, int zoomY = 100);

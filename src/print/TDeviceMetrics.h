#pragma once

// What a page is drawn against: the printer's resolution and its sheet, all in
// the printer's device pixels. Captured from the printer when a page is
// begun, so that a recorded page keeps the device it was laid out for (the
// recording surface itself reports the screen's resolution).
struct TDeviceMetrics
{
    int dpiX = 0;       // horizontal pixels per inch
    int dpiY = 0;       // vertical pixels per inch
    int paperWidth = 0; // the physical sheet
    int paperHeight = 0;
    int offsetLeft = 0; // unprintable margin at the left edge
    int offsetTop = 0;  // and at the top edge
    int pageWidth = 0;  // the printable area; device pixel (0, 0) is its corner
    int pageHeight = 0;

    bool IsValid() const { return dpiX > 0 && dpiY > 0 && pageWidth > 0 && pageHeight > 0; }
    bool IsLandscape() const { return pageWidth > pageHeight; }
    bool operator==(const TDeviceMetrics&) const = default;
};

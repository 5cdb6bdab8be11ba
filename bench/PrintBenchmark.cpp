// Printing 100 A4 landscape pages of a dense form (about 400 texts and 150
// rules each, like the paving record sheet): the time to record them, to
// show page 1 at 100 %, to show each page at 50 %, and to write them to PDF,
// and the program's peak memory.

#include "BenchClock.h"
#include "foundation/Fonts.h"
#include "print/CmDrawing.h"
#include "print/TCanvas.h"
#include "print/TPrevX.h"
#include "print/TZqPrinter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kPages = 100;

void DrawPage(TCanvas& c, int page)
{
    c.SetFontName(QStringLiteral("ＭＳ ゴシック"));
    SetPenWidthMm(c, 0.2f);
    c.SetFontSize(12);
    DrawBoxText(c, QStringLiteral("アスファルト合材舗設実績表"), baCenter, 1.5f, 1.7f, 28.2f, 2.2f,
                false, 1);
    c.SetFontSize(10);
    DrawBoxText(c, QStringLiteral("工事名　県道１２号線舗装工事 第%1工区").arg(page), baRight, 15,
                2.5f, 28.2f, 3, false, 1);
    SetPenWidthMm(c, 0.1f);
    int lines = 0;
    for (int i = 0; i <= 10; ++i, ++lines)
        DrawLineCm(c, 1.5f, 5.24f + 1.22f * i, 28.2f, 5.24f + 1.22f * i, 1);
    for (int k = 0; k <= 21; ++k, ++lines)
        DrawLineCm(c, 8.2f + 0.95f * k, 3.2f, 8.2f + 0.95f * k, 17.44f, 1);
    c.SetFontSize(9);
    int texts = 2;
    for (int k = 0; k < 21; ++k, ++texts)
        DrawBoxText(c, QString(QChar('A' + k)), baCenter, 8.2f + 0.95f * k, 4.22f,
                    8.2f + 0.95f * (k + 1), 4.73f, false, 1);
    // Ten days of two lines, each cell a number split at its point.
    for (int r = 0; r < 10; ++r) {
        const float y = 5.24f + 1.22f * r;
        DrawBoxText(c, QStringLiteral("%1/%2").arg(r % 12 + 1).arg(r + 1), baCenter, 1.5f, y, 2.4f,
                    y + 1.22f, false, 1);
        DrawBoxText(c, QStringLiteral("表層工\\\\No.%1+5.0").arg(r), baLeft, 2.5f, y, 5.71f,
                    y + 1.22f, false, 1);
        texts += 2;
        for (int k = 0; k < 18; ++k, texts += 2) {
            const float x = 8.2f + 0.95f * k;
            const QString value = QString::number(1234.5 + page * 7.25 + r * 3.5 + k, 'f', 2);
            DrawBoxText(c, value, baDecimal, x + 0.05f, y, x + 0.9f, y + 0.61f, false, 1);
            DrawBoxText(c, value, baDecimal, x + 0.05f, y + 0.61f, x + 0.9f, y + 1.22f, false, 1);
        }
        for (int h = 0; h < 10; ++h, ++lines)
            DrawLineCm(c, 7.62f + 2.0f * h, y + 0.61f, 9.4f + 2.0f * h, y + 0.61f, 1);
    }
    // Fill up to about 150 rules, some of them dotted.
    for (; lines < 150; ++lines) {
        if (lines % 3 == 0)
            c.SetPenStyle(Qt::DotLine);
        DrawLineCm(c, 1.5f, 17.5f + 0.02f * lines, 28.2f, 17.5f + 0.02f * lines, 1);
    }
    SetPenWidthMm(c, 0.3f);
    DrawRectCm(c, 1.5f, 3.2f, 28.2f, 20, 1);
    if (page == 1)
        std::printf(
            "one page: %d text boxes (a number split at its point is two texts), %d rules\n", texts,
            lines);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    InstallFontSubstitutes();
    QTemporaryDir folder;

    TZqPrinter& printers = TZqPrinter::Instance();
    printers.SetCapture({folder.path(), 1200, {}});
    printers.SetOrientation(QPageLayout::Landscape);

    TPrevX preview;
    QElapsedTimer t;
    t.start();
    preview.NewDocument();
    for (int page = 1; page <= kPages; ++page) {
        if (page > 1)
            preview.NewPage();
        DrawPage(*preview.PageCanvas(), page);
    }
    preview.EndDocument();
    const double record = Ms(t);
    if (qEnvironmentVariableIsSet("BENCH_DETAIL")) {
        QPicture probe;
        QPainter painter(&probe);
        preview.Pages().Play(painter, 0, QPointF(), 1, 1);
        painter.end();
        std::printf("page data: %lld bytes\n", (long long)probe.size());
    }

    preview.SetZoomScale(100);
    t.restart();
    const QPixmap first = preview.grab();
    const double showFirst = Ms(t);

    preview.SetZoomScale(50);
    double slowest = 0;
    double total = 0;
    for (int page = 1; page <= kPages; ++page) {
        t.restart();
        preview.SetCurrentPage(page);
        const QPixmap shown = preview.grab();
        const double ms = Ms(t);
        slowest = std::max(slowest, ms);
        total += ms;
    }

    t.restart();
    preview.Print();
    const double pdf = Ms(t);
    const QString file = printers.CapturedFiles().value(0);

    std::printf("record %d pages:           %8.1f ms   (target < 1000 ms)\n", kPages, record);
    std::printf("show page 1 at 100 %%:      %8.1f ms   (target < 30 ms)\n", showFirst);
    std::printf("show each page at 50 %%:    %8.1f ms average, %.1f ms slowest (target < 30 ms)\n",
                total / kPages, slowest);
    std::printf("write PDF:                 %8.1f ms   (target < 3000 ms), %.1f MB\n", pdf,
                QFileInfo(file).size() / 1e6);
    std::printf("peak memory:               %8.1f MB   (target < 300 MB)\n",
                PeakMemoryKb() / 1024.0);
    return 0;
}

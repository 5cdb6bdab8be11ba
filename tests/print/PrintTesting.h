#pragma once

// What the printing tests share: a printer that writes PDF files into the
// test's folder, reading a PDF back with poppler, and a paint device that
// records what is drawn on it.

#include "print/TZqPrinter.h"
#include "support/TTestEnvironment.h"

#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTextItem>
#include <cmath>
#include <functional>

// How far a place read back from a PDF may be from where it was drawn.
constexpr double kTolerance = 0.2; // mm

// Fails the test with the text of a Check... helper that found a fault.
#define CHECK_PASSES(problem)                                                                      \
    do {                                                                                           \
        const QString p_ = (problem);                                                              \
        if (!p_.isEmpty())                                                                         \
            QFAIL(qPrintable(p_));                                                                 \
    } while (false)

// Why `actual` is not `expected` (mm) within the tolerance; empty when it is.
inline QString Mismatch(const QString& what, double actual, double expected)
{
    if (std::abs(actual - expected) <= kTolerance)
        return QString();
    return QStringLiteral("%1 is at %2 mm, expected %3 mm")
        .arg(what)
        .arg(actual, 0, 'f', 2)
        .arg(expected, 0, 'f', 2);
}

// Every print goes to a PDF file in a new folder of the test; no system
// printer is listed, only the program's PDF printer.
inline void UseCapturePrinter(QMarginsF marginsMm = QMarginsF(), int dpi = 1200)
{
    TZqPrinter& printers = TZqPrinter::Instance();
    printers.SetPrinterSource([] { return QList<TPrinterEntry>(); });
    printers.SetPdfPrinterEnabled(true);
    printers.SetCapture({TTestEnvironment::Current().NewFolder(), dpi, marginsMm});
}

inline QString LastPrintedFile()
{
    const QStringList files = TZqPrinter::Instance().CapturedFiles();
    return files.isEmpty() ? QString() : files.last();
}

// A word of a PDF page, in millimetres from the page's top-left corner.
struct TPdfWord
{
    QString text;
    double left;
    double top;
    double right;
    double bottom;

    double CentreX() const { return (left + right) / 2; }
    double CentreY() const { return (top + bottom) / 2; }
};

struct TPdfPage
{
    double width; // mm
    double height;
    QList<TPdfWord> words;

    QList<TPdfWord> Find(const QString& text) const
    {
        QList<TPdfWord> found;
        for (const TPdfWord& w : words)
            if (w.text == text)
                found << w;
        return found;
    }
    TPdfWord One(const QString& text) const
    {
        const QList<TPdfWord> found = Find(text);
        if (found.size() != 1) {
            QStringList all;
            for (const TPdfWord& w : words)
                all << w.text;
            qWarning("expected one word \"%s\" among: %s", qPrintable(text),
                     qPrintable(all.join(QLatin1Char('|'))));
            return {};
        }
        return found.first();
    }
};

// The pages of a PDF as poppler's pdftotext reads them.
inline QList<TPdfPage> ReadPdf(const QString& file)
{
    QList<TPdfPage> pages;
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) {
        qWarning("pdftotext failed on %s: %s", qPrintable(file),
                 tool.readAllStandardError().constData());
        return pages;
    }
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    constexpr double mmPerPoint = 25.4 / 72;
    static const QRegularExpression pageTag(
        QString::fromLatin1(R"re(<page width="([\d.]+)" height="([\d.]+)">)re"));
    static const QRegularExpression wordTag(QString::fromLatin1(
        R"re(<word xMin="([\d.-]+)" yMin="([\d.-]+)" xMax="([\d.-]+)" yMax="([\d.-]+)">([^<]*)</word>)re"));
    const QStringList chunks = html.split(QStringLiteral("</page>"));
    for (const QString& chunk : chunks) {
        const QRegularExpressionMatch p = pageTag.match(chunk);
        if (!p.hasMatch())
            continue;
        TPdfPage page{
            p.captured(1).toDouble() * mmPerPoint, p.captured(2).toDouble() * mmPerPoint, {}};
        auto words = wordTag.globalMatch(chunk);
        while (words.hasNext()) {
            const QRegularExpressionMatch w = words.next();
            QString text = w.captured(5);
            text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
                .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
                .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
                .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
            page.words.append(
                {text, w.captured(1).toDouble() * mmPerPoint, w.captured(2).toDouble() * mmPerPoint,
                 w.captured(3).toDouble() * mmPerPoint, w.captured(4).toDouble() * mmPerPoint});
        }
        pages << page;
    }
    return pages;
}

// A paint device that keeps what is drawn on it, in its device pixels.
class TPaintRecorder : public QPaintDevice
{
public:
    struct TText
    {
        QString text;
        QPointF baseline;
        int pixelSize;
    };

    explicit TPaintRecorder(int dpi = 1200) : m_engine(this), m_dpi(dpi) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }

    QList<TText> texts;
    QList<QLineF> lines;
    QList<QRectF> ellipses;

    void Clear()
    {
        texts.clear();
        lines.clear();
        ellipses.clear();
    }
    QStringList TextsDrawn() const
    {
        QStringList all;
        for (const TText& t : texts)
            all << t.text;
        return all;
    }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
        case PdmHeight:
            return 20000;
        case PdmWidthMM:
        case PdmHeightMM:
            return int(20000 * 25.4 / m_dpi);
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmNumColors:
            return 0xffffff;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    class TEngine : public QPaintEngine
    {
    public:
        explicit TEngine(TPaintRecorder* device) : QPaintEngine(AllFeatures), m_device(device) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        Type type() const override { return User; }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            m_device->texts.append({item.text(), Map(p), item.font().pixelSize()});
        }
        void drawLines(const QLineF* lines, int count) override
        {
            for (int i = 0; i < count; ++i)
                m_device->lines.append(QLineF(Map(lines[i].p1()), Map(lines[i].p2())));
        }
        void drawLines(const QLine* lines, int count) override
        {
            for (int i = 0; i < count; ++i)
                m_device->lines.append(QLineF(Map(lines[i].p1()), Map(lines[i].p2())));
        }
        void drawEllipse(const QRectF& r) override
        {
            m_device->ellipses.append(painter()->transform().mapRect(r));
        }
        void drawEllipse(const QRect& r) override { drawEllipse(QRectF(r)); }
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

    private:
        QPointF Map(QPointF p) const { return painter()->transform().map(p); }
        TPaintRecorder* m_device;
    };
    mutable TEngine m_engine;
    int m_dpi;
};

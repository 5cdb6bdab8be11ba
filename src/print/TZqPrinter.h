#pragma once

#include "print/TDeviceMetrics.h"

#include <QList>
#include <QMarginsF>
#include <QObject>
#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

// An installed printer as the system lists it.
struct TPrinterEntry
{
    QString name;
    quint32 attributes = 0; // the system's attribute bits; 0x20 hides it

    bool operator==(const TPrinterEntry&) const = default;
};

// The program's printers: the system's printers without the hidden ones, and
// after them a printer of its own that saves PDF files, so that every sheet
// can be printed to a file and sent without any printer driver.
//
// One instance for the whole program (Instance()). It holds the current
// printer, which the previews lay their pages out for and print on, and keeps
// its list current when printers are installed or removed while the program
// runs.
class TZqPrinter : public QObject
{
    Q_OBJECT
public:
    // The first one made is the program's; Instance() makes one when none
    // was made.
    explicit TZqPrinter(QObject* parent = nullptr);
    ~TZqPrinter() override;
    static TZqPrinter& Instance();

    static QString PdfPrinterName();

    // The printers to choose from: the visible system printers, then the PDF
    // printer. Reads the system's list afresh.
    QStringList Names();
    bool IsPdfPrinter(int index);

    // Raises EZqPrinterNoPrinter when there is no printer to use.
    void CheckNoPrinter();
    bool HasPrinter();
    // The position of the current printer in Names(), -1 for the default
    // printer: the system's default printer, or the PDF printer when the
    // system has none (never whichever printer happens to be listed first).
    int GetIndex();
    // Makes printer `n` of Names() current (-1: the default printer), with
    // its default document settings.
    void SetIndex(int n);
    // The name of the current printer; empty when there is none.
    QString CurrentName();

    // The current printer's device, for drawing and printing. Raises
    // EZqPrinterNoPrinter when there is none.
    QPrinter& Printer();
    // The current printer's resolution, sheet and margins in its present
    // orientation.
    TDeviceMetrics Metrics();
    QPageLayout::Orientation Orientation();
    void SetOrientation(QPageLayout::Orientation orientation);
    // Takes the current printer's default document settings again (paper,
    // orientation), keeping the choice of printer.
    void ResetDocumentSettings();

    // The system's printer setup dialog on the current printer; the printer
    // chosen there becomes current. False when cancelled.
    bool SetupDialog(QWidget* parent);

    // Prepares the printer for a print job named `title`: the PDF printer
    // asks for the file to save (in the documents folder, named after the
    // sheet and the date). False when the user cancels.
    bool PrepareJob(const QString& title, QWidget* parent);
    // The file the PDF printer proposes for a job named `title`.
    static QString ProposedPdfFile(const QString& title);

    // The system announced changed settings: the printers are listed again
    // and, when the list differs, the printer device is made afresh. The
    // current printer stays chosen while it is installed.
    void SettingsChanged();
    // Listens for the system's announcements of changed settings (on
    // Windows, WM_WININICHANGE and WM_DEVMODECHANGE to the program's windows).
    void HookSystemMessages();

    // For tests and for systems without any printer.
    // The system's list comes from `source` instead of the system, and its
    // default printer's name from `defaultName` (empty: there is none);
    // without `defaultName` the first printer listed is the default.
    void SetPrinterSource(std::function<QList<TPrinterEntry>()> source,
                          std::function<QString()> defaultName = nullptr);
    // Without the PDF printer, a system without printers has none at all.
    void SetPdfPrinterEnabled(bool on);
    // Every printer becomes a PDF writer into `folder`: each print job writes
    // the next file there without asking, at `dpi` with the given unprintable
    // margins (millimetres), so tests read back what would be printed. An
    // empty folder ends it.
    struct TCapture
    {
        QString folder;
        int dpi = 1200;
        QMarginsF marginsMm;
    };
    void SetCapture(const TCapture& capture);
    // The files written while capturing, oldest first.
    QStringList CapturedFiles() const { return m_captured; }

signals:
    void PrintersChanged();

private:
    QList<TPrinterEntry> SystemPrinters() const;
    QList<TPrinterEntry> VisiblePrinters();
    void Refresh();
    // The entry of Names() in use: the chosen one or the default.
    int EffectiveIndex();
    QString SystemDefaultName();
    void MakeDevice();

    std::function<QList<TPrinterEntry>()> m_source;
    std::function<QString()> m_defaultSource;
    bool m_pdfEnabled = true;
    TCapture m_capture;
    QStringList m_captured;
    QList<TPrinterEntry> m_kept; // the system's list as last seen
    bool m_listed = false;
    int m_index = -1;
    QString m_chosenName; // the printer of m_index, to keep it across changes
    std::unique_ptr<QPrinter> m_printer;
    QObject* m_filter = nullptr;
};

#include "print/TZqPrinter.h"

#include "controls/TFileChooser.h"
#include "print/EZqPrinter.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSize>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTimer>
#include <cmath>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <vector>
#include <winspool.h>
#endif

namespace {

constexpr quint32 kHiddenPrinter = 0x20;

TZqPrinter* instance = nullptr;

#ifdef Q_OS_WIN
// Local and connected printers with their attribute bits, as the spooler
// lists them.
QList<TPrinterEntry> SpoolerPrinters()
{
    QList<TPrinterEntry> printers;
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPrintersW(flags, nullptr, 4, nullptr, 0, &needed, &returned);
    if (needed == 0)
        return printers;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersW(flags, nullptr, 4, buffer.data(), needed, &needed, &returned))
        return printers;
    const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i)
        printers.append(
            {QString::fromWCharArray(info[i].pPrinterName), quint32(info[i].Attributes)});
    return printers;
}

// Passes the system's announcements of changed settings to the printers.
class TSettingsFilter : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit TSettingsFilter(TZqPrinter* printers) : QObject(printers), m_printers(printers)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~TSettingsFilter() override
    {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "windows_generic_MSG")
            return false;
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->message == WM_WININICHANGE || msg->message == WM_DEVMODECHANGE) {
            // Several windows receive the one broadcast: list the printers
            // once, after it.
            if (!m_pending) {
                m_pending = true;
                QTimer::singleShot(0, this, [this] {
                    m_pending = false;
                    m_printers->SettingsChanged();
                });
            }
        }
        return false; // always passed on
    }

private:
    TZqPrinter* m_printers;
    bool m_pending = false;
};
#endif

// A file name made of what the user sees as the sheet's name: characters
// that file systems refuse become "_".
QString FileNameOf(const QString& title)
{
    QString name = title.trimmed();
    for (QChar& c : name)
        if (QStringLiteral("\\/:*?\"<>|").contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('_');
    return name.isEmpty() ? QStringLiteral("印刷") : name;
}

} // namespace

TZqPrinter::TZqPrinter(QObject* parent) : QObject(parent)
{
    if (!instance)
        instance = this;
}

TZqPrinter::~TZqPrinter()
{
    if (instance == this)
        instance = nullptr;
}

TZqPrinter& TZqPrinter::Instance()
{
    if (!instance)
        new TZqPrinter(QCoreApplication::instance());
    return *instance;
}

QString TZqPrinter::PdfPrinterName()
{
    return QStringLiteral("PDF ファイルに保存");
}

QList<TPrinterEntry> TZqPrinter::SystemPrinters() const
{
    if (m_source)
        return m_source();
#ifdef Q_OS_WIN
    return SpoolerPrinters();
#else
    QList<TPrinterEntry> printers;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        printers.append({name, 0});
    return printers;
#endif
}

void TZqPrinter::Refresh()
{
    const QList<TPrinterEntry> printers = SystemPrinters();
    if (m_listed && printers == m_kept)
        return;
    m_listed = true;
    m_kept = printers;
    m_printer.reset();
    // The printer chosen stays chosen while it is installed; otherwise the
    // default printer is used.
    m_index = -1;
    if (!m_chosenName.isEmpty()) {
        const QList<TPrinterEntry> visible = VisiblePrinters();
        for (int i = 0; i < visible.size(); ++i)
            if (visible[i].name == m_chosenName)
                m_index = i;
        if (m_chosenName == PdfPrinterName() && m_pdfEnabled)
            m_index = int(visible.size());
        if (m_index < 0)
            m_chosenName.clear();
    }
    emit PrintersChanged();
}

QList<TPrinterEntry> TZqPrinter::VisiblePrinters()
{
    if (!m_listed)
        Refresh();
    QList<TPrinterEntry> visible;
    for (const TPrinterEntry& p : m_kept)
        if (!(p.attributes & kHiddenPrinter))
            visible.append(p);
    return visible;
}

QStringList TZqPrinter::Names()
{
    Refresh();
    QStringList names;
    for (const TPrinterEntry& p : VisiblePrinters())
        names << p.name;
    if (m_pdfEnabled)
        names << PdfPrinterName();
    return names;
}

bool TZqPrinter::IsPdfPrinter(int index)
{
    return m_pdfEnabled && index >= 0 && index == VisiblePrinters().size();
}

bool TZqPrinter::HasPrinter()
{
    return !VisiblePrinters().isEmpty() || m_pdfEnabled;
}

void TZqPrinter::CheckNoPrinter()
{
    if (!HasPrinter()) {
        m_index = -1;
        throw EZqPrinterNoPrinter();
    }
}

int TZqPrinter::GetIndex()
{
    CheckNoPrinter();
    const int count = int(VisiblePrinters().size()) + (m_pdfEnabled ? 1 : 0);
    if (m_index >= count)
        throw EZqPrinterIllegalIndex();
    return m_index;
}

void TZqPrinter::SetIndex(int n)
{
    CheckNoPrinter();
    if (n < -1)
        throw EZQPrinterRangeError();
    if (n == GetIndex())
        return;
    const QList<TPrinterEntry> visible = VisiblePrinters();
    const int count = int(visible.size()) + (m_pdfEnabled ? 1 : 0);
    if (n >= count)
        throw EZQPrinterRangeError();
    m_index = n;
    m_chosenName = n < 0 ? QString() : n < visible.size() ? visible[n].name : PdfPrinterName();
    MakeDevice();
}

QString TZqPrinter::SystemDefaultName()
{
    if (m_defaultSource)
        return m_defaultSource();
    if (m_source) {
        const QList<TPrinterEntry> visible = VisiblePrinters();
        return visible.isEmpty() ? QString() : visible.first().name;
    }
    return QPrinterInfo::defaultPrinterName();
}

int TZqPrinter::EffectiveIndex()
{
    const QList<TPrinterEntry> visible = VisiblePrinters();
    if (m_index >= 0)
        return m_index;
    const QString fallback = SystemDefaultName();
    for (int i = 0; i < visible.size(); ++i)
        if (visible[i].name == fallback)
            return i;
    // Without a default printer a sheet goes to a file rather than to
    // whichever printer is listed first.
    if (m_pdfEnabled)
        return int(visible.size());
    return visible.isEmpty() ? -1 : 0;
}

QString TZqPrinter::CurrentName()
{
    if (!HasPrinter())
        return QString();
    const int index = EffectiveIndex();
    const QList<TPrinterEntry> visible = VisiblePrinters();
    return index < visible.size() ? visible[index].name : PdfPrinterName();
}

void TZqPrinter::MakeDevice()
{
    m_printer.reset();
    if (!HasPrinter())
        return;
    const int index = EffectiveIndex();
    if (!m_capture.folder.isEmpty()) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setResolution(m_capture.dpi);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setFullPage(false);
        m_printer->setPageMargins(m_capture.marginsMm, QPageLayout::Millimeter);
    } else if (IsPdfPrinter(index)) {
        // A file has no unprintable margin: the whole sheet is the page.
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_printer->setOutputFormat(QPrinter::PdfFormat);
        m_printer->setPageSize(QPageSize(QPageSize::A4));
        m_printer->setFullPage(true);
        m_printer->setPageMargins(QMarginsF(), QPageLayout::Millimeter);
    } else {
        const QString name = VisiblePrinters().at(index).name;
        m_printer =
            std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    }
    m_printer->setPageOrientation(QPageLayout::Portrait);
}

QPrinter& TZqPrinter::Printer()
{
    CheckNoPrinter();
    if (!m_printer)
        MakeDevice();
    return *m_printer;
}

TDeviceMetrics TZqPrinter::Metrics()
{
    QPrinter& p = Printer();
    const QRectF paper = p.paperRect(QPrinter::DevicePixel);
    const QRectF page = p.pageRect(QPrinter::DevicePixel);
    TDeviceMetrics m;
    m.dpiX = p.logicalDpiX();
    m.dpiY = p.logicalDpiY();
    m.paperWidth = int(std::lround(paper.width()));
    m.paperHeight = int(std::lround(paper.height()));
    m.offsetLeft = int(std::lround(page.left() - paper.left()));
    m.offsetTop = int(std::lround(page.top() - paper.top()));
    m.pageWidth = int(std::lround(page.width()));
    m.pageHeight = int(std::lround(page.height()));
    return m;
}

QPageLayout::Orientation TZqPrinter::Orientation()
{
    return Printer().pageLayout().orientation();
}

void TZqPrinter::SetOrientation(QPageLayout::Orientation orientation)
{
    Printer().setPageOrientation(orientation);
}

void TZqPrinter::ResetDocumentSettings()
{
    CheckNoPrinter();
    MakeDevice();
}

bool TZqPrinter::SetupDialog(QWidget* parent)
{
    Refresh();
    QPrinter& printer = Printer();
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
    dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!m_capture.folder.isEmpty())
        return true;
    // The printer chosen in the dialog becomes the current one, with the
    // settings made there; printing to a file there is the PDF printer.
    const QString chosen =
        printer.outputFormat() == QPrinter::PdfFormat ? PdfPrinterName() : printer.printerName();
    const QStringList names = Names();
    const int index = int(names.indexOf(chosen));
    if (index >= 0) {
        m_index = index;
        m_chosenName = chosen;
    }
    return true;
}

QString TZqPrinter::ProposedPdfFile(const QString& title)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString name = FileNameOf(title) + QLatin1Char(' ') +
                         QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) +
                         QStringLiteral(".pdf");
    return QDir(folder).filePath(name);
}

bool TZqPrinter::PrepareJob(const QString& title, QWidget* parent)
{
    QPrinter& printer = Printer();
    printer.setDocName(title);
    if (!m_capture.folder.isEmpty()) {
        const QString file =
            QDir(m_capture.folder)
                .filePath(QStringLiteral("print-%1.pdf")
                              .arg(m_captured.size() + 1, 3, 10, QLatin1Char('0')));
        printer.setOutputFileName(file);
        m_captured << file;
        return true;
    }
    if (!IsPdfPrinter(EffectiveIndex()))
        return true;
    QFileDialog dialog(parent, PdfPrinterName(), ProposedPdfFile(title),
                       QStringLiteral("PDF ファイル (*.pdf)"));
    dialog.setObjectName(QStringLiteral("PdfFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(ProposedPdfFile(title));
    QString file;
    if (!TFileChooser::Choose(dialog, file) || file.isEmpty())
        return false;
    printer.setOutputFileName(file);
    return true;
}

void TZqPrinter::SettingsChanged()
{
    Refresh();
}

void TZqPrinter::HookSystemMessages()
{
#ifdef Q_OS_WIN
    if (!m_filter)
        m_filter = new TSettingsFilter(this);
#endif
}

void TZqPrinter::SetPrinterSource(std::function<QList<TPrinterEntry>()> source,
                                  std::function<QString()> defaultName)
{
    m_source = std::move(source);
    m_defaultSource = std::move(defaultName);
    m_listed = false;
    m_kept.clear();
    Refresh();
}

void TZqPrinter::SetPdfPrinterEnabled(bool on)
{
    m_pdfEnabled = on;
    m_printer.reset();
}

void TZqPrinter::SetCapture(const TCapture& capture)
{
    m_capture = capture;
    m_captured.clear();
    m_printer.reset();
}

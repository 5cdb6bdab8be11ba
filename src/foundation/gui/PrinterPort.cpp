#include "foundation/gui/PrinterPort.h"

#include <QPrinterInfo>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <vector>
#include <winspool.h>
#ifdef _MSC_VER
#pragma comment(lib, "winspool.lib")
#endif

namespace {

QString SpoolerPort(const QString& printerName)
{
    std::wstring name = printerName.toStdWString();
    HANDLE printer = nullptr;
    if (!OpenPrinterW(name.data(), &printer, nullptr))
        return QString();
    QString port;
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed > 0) {
        std::vector<BYTE> buffer(needed);
        if (GetPrinterW(printer, 2, buffer.data(), needed, &needed)) {
            const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
            if (info->pPortName)
                port = QString::fromWCharArray(info->pPortName);
        }
    }
    ClosePrinter(printer);
    return port;
}

} // namespace
#endif

QString PrinterPort(int index)
{
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (index < 0 || index >= printers.size())
        return QString();
#ifdef Q_OS_WIN
    return SpoolerPort(printers[index].printerName());
#else
    return printers[index].printerName();
#endif
}

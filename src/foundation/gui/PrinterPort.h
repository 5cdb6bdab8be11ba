#pragma once

#include <QString>

// The port of the printer at `index` in the system's printer list
// (QPrinterInfo::availablePrinters). On Windows the spooler's port name
// ("LPT1:", "USB001", "192.168.0.5"); other systems have no ports and give the
// printer's queue name. Empty for an index outside the list or a printer that
// cannot be opened.
QString PrinterPort(int index);

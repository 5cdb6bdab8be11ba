#pragma once

#include "foundation/EKanmuriError.h"

// Failures of the printer component (TZqPrinter).
class EZqPrinter : public EKanmuriError
{
public:
    using EKanmuriError::EKanmuriError;
};

class EZqPrinterNoPrinter : public EZqPrinter
{
public:
    EZqPrinterNoPrinter() : EZqPrinter(QStringLiteral("TZqPrinter.CheckNoPrinter: No Printer")) {}
};

class EZqPrinterIllegalIndex : public EZqPrinter
{
public:
    EZqPrinterIllegalIndex()
        : EZqPrinter(QStringLiteral("TZqPrinter.GetIndex: Printers.PrinterIndex is Illegal"))
    {
    }
};

class EZQPrinterRangeError : public EZqPrinter
{
public:
    EZQPrinterRangeError()
        : EZqPrinter(QStringLiteral("TZqPrinter.SetIndex: Index is out of Range"))
    {
    }
};

#include "acceptance/AcceptancePrint.h"

#include "acceptance/TAcceptanceSheet.h"
#include "acceptance/TGokakuHanteiti.h"
#include "foundation/TPrompt.h"
#include "mix/TGozaiDef.h"
#include "mix/TPlant.h"
#include "print/TFormPreview.h"
#include "print/TFormPrintSet.h"
#include "print/TPrevX.h"
#include "print/TUpDown.h"
#include "print/TZqPrinter.h"

#include <QLineEdit>
#include <memory>

void PrintAcceptanceSheet(QWidget* owner, TGokakuHanteiti& calculator, const TGozaiDef& mix)
{
    int result = 0;
    int printerIndex = 0;
    int fontIndex = -1;
    TAcceptancePrintSettings settings;
    {
        // With "hin_fitprn" the window itself fixes the offsets and stretch.
        TFormPrintSet form(owner);
        result = form.exec();
        if (result != TFormPrintSet::mrOk && result != TFormPrintSet::mrYes)
            return;
        printerIndex = form.PrinterIndex();
        fontIndex = form.FontIndex();
        settings.fontName = form.FontName();
        settings.leftMm = form.OffsetLeft();
        settings.topMm = form.OffsetTop();
        settings.zoomX = form.ZoomX();
        settings.zoomY = form.ZoomY();
    }

    auto window = std::make_unique<TFormPreview>(owner);
    TPrevX& preview = *window->PrevX1;
    preview.SetTitle(TAcceptanceSheet::Title());
    window->PrinterIndex = printerIndex;
    window->FontIndex = fontIndex;
    window->FontName = settings.fontName;
    TZqPrinter& printers = TZqPrinter::Instance();
    if (printers.HasPrinter()) {
        printers.SetIndex(printerIndex);
        // Choosing a printer takes its default document settings.
        printers.SetOrientation(QPageLayout::Portrait);
    }
    preview.SetMarginLeft(settings.leftMm);
    preview.SetMarginTop(settings.topMm);
    preview.SetZoomPrintX(settings.zoomX);
    preview.SetZoomPrintY(settings.zoomY);
    preview.SetZoomScale(60);

    preview.NewDocument();
    // One calculation for both pages: they show the same numbers, and a
    // batch that cannot be calculated is said once.
    TGokakuResult values;
    if (!calculator.Calculate(mix, mix.Kosyu, values))
        TPrompt::Message(TGokakuHanteiti::NotCalculatedMessage());
    const TAcceptanceSheet sheet(values, *calculator.Plant, mix.PrintName, mix.Kosyu,
                                 calculator.Method, TGokakuHanteiti::OneDecimalSetting());
    const TAcceptanceSheet::TPage page{settings.fontName, settings.leftMm, settings.topMm,
                                       [&preview](int n) { return preview.PenWidthFor(n); }};
    sheet.DrawAcceptanceSummary(*preview.PageCanvas(), page);
    preview.NewPage();
    sheet.DrawAcceptanceCalcSheet(*preview.PageCanvas(), page);
    preview.EndDocument();

    window->Edit1->setText(QString::number(preview.CurrentPage()));
    window->UpDown1->SetMax(preview.PageCount());
    if (result == TFormPrintSet::mrYes) {
        preview.SetPrintFrom(1);
        preview.SetPrintTo(preview.PageCount());
        preview.Print();
    } else {
        window->exec();
    }
}

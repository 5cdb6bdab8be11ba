#include "app/HojitsuSheetPreview.h"

#include "print/EPrevError.h"
#include "print/TPrevX.h"
#include "print/TReportProgress.h"
#include "print/TZqPrinter.h"
#include "print/TfrmPreView.h"

namespace {

class TPreviewPages : public TSheetPages
{
public:
    explicit TPreviewPages(TPrevX& preview) : m_preview(preview) {}
    TCanvas* Canvas() override { return m_preview.PageCanvas(); }
    TCanvas* NewPage() override
    {
        m_preview.NewPage();
        return m_preview.PageCanvas();
    }

private:
    TPrevX& m_preview;
};

} // namespace

std::unique_ptr<TfrmPreView> BuildHojitsuSheetPreview(const THojituHead4& head, int sid,
                                                      THojitsuSheet::TOptions options,
                                                      QWidget* owner)
{
    THojitsuSheet sheet(head, sid, options);
    sheet.Load();
    TZqPrinter& printers = TZqPrinter::Instance();
    // Without a printer there is nothing to lay the pages out for; said in
    // the preview's own words rather than the printer component's.
    if (!printers.HasPrinter())
        throw EPrevError::NoPrinter();
    printers.SetOrientation(QPageLayout::Landscape);
    auto window = std::make_unique<TfrmPreView>(owner);
    TPrevX& preview = *window->PrevX1;
    preview.SetTitle(THojitsuSheet::Title());
    preview.NewDocument();
    {
        TReportProgress progress(sheet.RecordCount(), owner);
        TPreviewPages pages(preview);
        sheet.Draw(pages, [&progress](int done) { progress.Step(done); });
    }
    preview.EndDocument();
    return window;
}

void PreviewHojitsuSheet(const THojituHead4& head, int sid, THojitsuSheet::TOptions options,
                         QWidget* owner)
{
    BuildHojitsuSheetPreview(head, sid, options, owner)->exec();
}

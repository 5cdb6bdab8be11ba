#pragma once

class QWidget;
class TGokakuHanteiti;
class TGozaiDef;

// "印刷" of the acceptance window: the print settings window, then the
// two-page sheet of `mix` with the calculator's method, previewed
// (TFormPreview) or printed at once. Nothing happens when the settings
// window is closed. The page offset and the windows are let go on every
// path; the missing printer is reported by the preview (EPrevError).
void PrintAcceptanceSheet(QWidget* owner, TGokakuHanteiti& calculator, const TGozaiDef& mix);

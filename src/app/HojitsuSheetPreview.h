#pragma once

#include "app/THojitsuSheet.h"

#include <memory>

class QWidget;
class TfrmPreView;

// "ﾌﾟﾚﾋﾞｭｰ": the sheet of `head` drawn for the current printer in landscape,
// with the progress window "読込中" while it is drawn, then shown in a
// preview window of its own ("印刷プレビュー"), from which it is printed. A
// failure on the way releases both windows; nothing half drawn is shown.
void PreviewHojitsuSheet(const THojituHead4& head, int sid, THojitsuSheet::TOptions options,
                         QWidget* owner);

// The preview window with the sheet drawn, not yet shown.
std::unique_ptr<TfrmPreView> BuildHojitsuSheetPreview(const THojituHead4& head, int sid,
                                                      THojitsuSheet::TOptions options,
                                                      QWidget* owner);

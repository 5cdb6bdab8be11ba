#pragma once

class QListWidget;

// The selected entry's row of a single-selection list, -1 for none.
int SelectedRow(const QListWidget* list);
// Selects `row` (none when out of range).
void SelectRow(QListWidget* list, int row);
// Swaps the selected entry with its neighbour `step` places away (-1 up,
// +1 down), the selection following it. Nothing happens without a selection
// or at the end of the list.
void MoveSelected(QListWidget* list, int step);

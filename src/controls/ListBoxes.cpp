#include "controls/ListBoxes.h"

#include <QListWidget>

int SelectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->row(selected.first());
}

void SelectRow(QListWidget* list, int row)
{
    if (row >= 0 && row < list->count())
        list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    else
        list->clearSelection();
}

void MoveSelected(QListWidget* list, int step)
{
    const int row = SelectedRow(list);
    const int target = row + step;
    if (row < 0 || target < 0 || target >= list->count())
        return;
    QListWidgetItem* item = list->takeItem(row);
    list->insertItem(target, item);
    SelectRow(list, target);
}

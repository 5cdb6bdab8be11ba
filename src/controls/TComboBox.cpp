#include "controls/TComboBox.h"

#include <QSignalBlocker>

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
}

void TComboBox::SetItems(const QStringList& items)
{
    const QString text = currentText();
    const QSignalBlocker blocker(this);
    clear();
    addItems(items);
    setCurrentIndex(-1);
    setEditText(text);
}

void TComboBox::SetText(const QString& text)
{
    const int index = findText(text, Qt::MatchExactly);
    if (index != currentIndex()) {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    setEditText(text);
}

void TComboBox::showPopup()
{
    emit DropDown();
    QComboBox::showPopup();
}

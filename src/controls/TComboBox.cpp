#include "controls/TComboBox.h"

#include <QLineEdit>
#include <QSignalBlocker>

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    // Qt takes typed text that matches an entry, when the box loses the
    // focus, as a choice from the list. Here only the list chooses: typed
    // text is the owner's to read (a date box loads it on leaving), and a
    // choice raised by the focus going to a message box would come back
    // while that box is still open.
    QObject::disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
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

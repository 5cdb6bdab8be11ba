#include "foundation/gui/Ime.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QInputMethod>
#include <QLineEdit>
#include <QWidget>

namespace {

constexpr Qt::InputMethodHints kLatinEntry =
    Qt::ImhLatinOnly | Qt::ImhPreferNumbers | Qt::ImhNoPredictiveText;

void SetHints(QWidget* widget, Qt::InputMethodHints hints, bool reset)
{
    widget->setInputMethodHints(hints);
    // An editable combo box takes its text in its own line edit.
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->setInputMethodHints(hints);
    // The input method follows the focus widget only; others pick up their
    // hints when they get the focus.
    QWidget* focus = QApplication::focusWidget();
    if (!focus || (focus != widget && !widget->isAncestorOf(focus)))
        return;
    QInputMethod* method = QGuiApplication::inputMethod();
    if (reset)
        method->reset();
    method->update(Qt::ImHints | Qt::ImEnabled);
}

} // namespace

void ImeOff(QWidget* widget)
{
    if (widget)
        SetHints(widget, widget->inputMethodHints() | kLatinEntry, true);
}

void ImeHiragana(QWidget* widget)
{
    if (widget)
        SetHints(widget, widget->inputMethodHints() & ~(kLatinEntry | Qt::ImhPreferLatin), false);
}

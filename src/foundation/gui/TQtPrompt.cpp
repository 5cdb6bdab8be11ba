#include "foundation/gui/TQtPrompt.h"

#include "foundation/gui/TActivation.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString Title(const QString& caption)
{
    return caption.isNull() ? QApplication::applicationName() : caption;
}

// The active window owns the box; while the program is in the background,
// the window that was active last does, so that closing the box gives the
// focus back to it.
QWidget* Owner()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    QWidget* last = TActivation::LastActiveWindow();
    return last && last->isVisible() ? last : nullptr;
}

} // namespace

void TQtPrompt::Message(const QString& text, const QString& caption)
{
    QMessageBox::information(Owner(), Title(caption), text);
}

void TQtPrompt::Error(const QString& text)
{
    QMessageBox::critical(Owner(), Title(QString()), text);
}

bool TQtPrompt::YesNo(const QString& text, const QString& caption)
{
    return QMessageBox::question(Owner(), Title(caption), text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

bool TQtPrompt::OkCancel(const QString& text, const QString& caption)
{
    // OK/Cancel guards something that cannot be undone: the exclamation icon.
    return QMessageBox::warning(Owner(), Title(caption), text,
                                QMessageBox::Ok | QMessageBox::Cancel,
                                QMessageBox::Ok) == QMessageBox::Ok;
}

TAnswer TQtPrompt::YesNoCancel(const QString& text, const QString& caption)
{
    switch (QMessageBox::question(Owner(), Title(caption), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::No:
        return TAnswer::No;
    default:
        return TAnswer::Cancel;
    }
}

bool TQtPrompt::InputText(const QString& caption, const QString& prompt, QString& value)
{
    bool ok = false;
    const QString answer =
        QInputDialog::getText(Owner(), Title(caption), prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = answer;
    return ok;
}

void TQtPrompt::Beep()
{
    QApplication::beep();
}

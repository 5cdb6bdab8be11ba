#include "foundation/TQtPrompt.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString Title(const QString& caption)
{
    return caption.isEmpty() ? QApplication::applicationName() : caption;
}

} // namespace

void TQtPrompt::Message(const QString& text, const QString& caption)
{
    QMessageBox::information(QApplication::activeWindow(), Title(caption), text);
}

void TQtPrompt::Error(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), Title(QString()), text);
}

bool TQtPrompt::YesNo(const QString& text, const QString& caption)
{
    return QMessageBox::question(QApplication::activeWindow(), Title(caption), text,
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

bool TQtPrompt::OkCancel(const QString& text, const QString& caption)
{
    // OK/Cancel guards something that cannot be undone: the exclamation icon.
    return QMessageBox::warning(QApplication::activeWindow(), Title(caption), text,
                                QMessageBox::Ok | QMessageBox::Cancel,
                                QMessageBox::Ok) == QMessageBox::Ok;
}

bool TQtPrompt::InputText(const QString& caption, const QString& prompt, QString& value)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(QApplication::activeWindow(), Title(caption),
                                                 prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = answer;
    return ok;
}

void TQtPrompt::Beep()
{
    QApplication::beep();
}

#pragma once

#include <QComboBox>

// An editable combo box whose list its owner fills when it drops down.
// Refilling the list keeps the typed text and raises no change. `activated`
// means a choice from the list (or the arrow keys), never typed text.
class TComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TComboBox(QWidget* parent = nullptr);

    QString Text() const { return currentText(); }
    // The text, with the list's current entry made the one of that text (or
    // none), so that the list does not later put its own entry back.
    void SetText(const QString& text);
    void SetItems(const QStringList& items);

    void showPopup() override;

signals:
    // Just before the list opens.
    void DropDown();
};

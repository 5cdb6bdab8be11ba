#pragma once

#include <QComboBox>

// An editable combo box whose list its owner fills when it drops down.
// Refilling the list keeps the typed text and raises no change.
class TComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TComboBox(QWidget* parent = nullptr);

    QString Text() const { return currentText(); }
    void SetText(const QString& text) { setEditText(text); }
    void SetItems(const QStringList& items);

    void showPopup() override;

signals:
    // Just before the list opens.
    void DropDown();
};

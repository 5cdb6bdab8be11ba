#pragma once

#include <QGroupBox>

class QButtonGroup;
class QRadioButton;

// A framed group of radio buttons in columns; ItemIndex is the checked one
// (-1 for none).
class TRadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, int columns,
                QWidget* parent = nullptr);

    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const;

signals:
    // The checked item changed, by the user or by SetItemIndex.
    void Click();

private:
    QButtonGroup* m_group;
};

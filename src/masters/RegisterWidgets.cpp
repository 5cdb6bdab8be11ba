#include "masters/RegisterWidgets.h"

#include "controls/TComboBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

QLabel* AddLabel(QWidget* parent, const QString& caption, int left, int top)
{
    auto* label = new QLabel(caption, parent);
    label->move(left, top);
    label->adjustSize();
    return label;
}

QLineEdit* AddEdit(QWidget* parent, const QString& name, const QRect& geometry, int maxLength)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

TComboBox* AddComboBox(QWidget* parent, const QString& name, const QRect& geometry)
{
    auto* combo = new TComboBox(parent);
    combo->setObjectName(name);
    combo->setGeometry(geometry);
    return combo;
}

QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

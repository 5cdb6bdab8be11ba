#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
class TComboBox;

// The register windows place their controls at fixed positions in their
// client area; these make the labelled fields they share.
QLabel* AddLabel(QWidget* parent, const QString& caption, int left, int top);
QLineEdit* AddEdit(QWidget* parent, const QString& name, const QRect& geometry, int maxLength = 0);
TComboBox* AddComboBox(QWidget* parent, const QString& name, const QRect& geometry);
QPushButton* AddButton(QWidget* parent, const QString& name, const QString& caption,
                       const QRect& geometry);

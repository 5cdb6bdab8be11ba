#pragma once

#include <QWidget>
#include <optional>

class QLineEdit;
class QToolButton;

// Two arrow buttons that step a whole number between limits and show it in
// an associated edit. Typing in the edit counts as well: a readable number
// is taken, held to the limits; an unreadable text keeps the last value, and
// the edit shows the value taken once typing there ends.
class TUpDown : public QWidget
{
    Q_OBJECT
public:
    explicit TUpDown(Qt::Orientation orientation, QWidget* parent = nullptr);

    int Min() const { return m_min; }
    void SetMin(int value);
    int Max() const { return m_max; }
    void SetMax(int value);
    int Increment() const { return m_increment; }
    void SetIncrement(int value) { m_increment = value; }

    // The value, as the edit shows it when that is readable.
    int Position() const;
    // Sets the value, held to the limits, and shows it in the edit.
    void SetPosition(int value);

    QLineEdit* Associate() const { return m_associate; }
    void SetAssociate(QLineEdit* edit);

    // As a click on the up (right) or down (left) button.
    void Click(bool up);
    QToolButton* UpButton() const { return m_up; }
    QToolButton* DownButton() const { return m_down; }

    // The number in `text`, also written with full-width digits; none when
    // the text is not a whole number.
    static std::optional<int> ReadNumber(const QString& text);

signals:
    // After a click on either button, with the new value.
    void Clicked(int position);

private:
    int Clamp(int value) const;
    void TakeTyped();

    QToolButton* m_up;
    QToolButton* m_down;
    QLineEdit* m_associate = nullptr;
    int m_min = 0;
    int m_max = 100;
    int m_increment = 1;
    int m_position = 0;
};

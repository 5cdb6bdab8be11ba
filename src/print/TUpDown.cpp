#include "print/TUpDown.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QToolButton>

TUpDown::TUpDown(Qt::Orientation orientation, QWidget* parent) : QWidget(parent)
{
    m_up = new QToolButton(this);
    m_up->setObjectName(QStringLiteral("Up"));
    m_down = new QToolButton(this);
    m_down->setObjectName(QStringLiteral("Down"));
    m_up->setAutoRepeat(true);
    m_down->setAutoRepeat(true);
    QBoxLayout* layout = nullptr;
    if (orientation == Qt::Horizontal) {
        m_up->setArrowType(Qt::RightArrow);
        m_down->setArrowType(Qt::LeftArrow);
        layout = new QHBoxLayout(this);
        layout->addWidget(m_down);
        layout->addWidget(m_up);
    } else {
        m_up->setArrowType(Qt::UpArrow);
        m_down->setArrowType(Qt::DownArrow);
        layout = new QVBoxLayout(this);
        layout->addWidget(m_up);
        layout->addWidget(m_down);
    }
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* b : {m_up, m_down}) {
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { Click(true); });
    connect(m_down, &QToolButton::clicked, this, [this] { Click(false); });
}

void TUpDown::SetMin(int value)
{
    m_min = value;
    m_position = Clamp(m_position);
}

void TUpDown::SetMax(int value)
{
    m_max = value;
    m_position = Clamp(m_position);
}

int TUpDown::Clamp(int value) const
{
    return std::max(m_min, std::min(m_max, value));
}

std::optional<int> TUpDown::ReadNumber(const QString& text)
{
    const QString plain = text.normalized(QString::NormalizationForm_KC).trimmed();
    bool ok = false;
    const int value = plain.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

int TUpDown::Position() const
{
    if (m_associate)
        if (const std::optional<int> typed = ReadNumber(m_associate->text()))
            return Clamp(*typed);
    return m_position;
}

void TUpDown::SetPosition(int value)
{
    m_position = Clamp(value);
    if (m_associate && m_associate->text() != QString::number(m_position))
        m_associate->setText(QString::number(m_position));
}

void TUpDown::SetAssociate(QLineEdit* edit)
{
    m_associate = edit;
    if (!edit)
        return;
    connect(edit, &QLineEdit::editingFinished, this, &TUpDown::TakeTyped);
    SetPosition(m_position);
}

void TUpDown::TakeTyped()
{
    SetPosition(Position());
}

void TUpDown::Click(bool up)
{
    if (!isEnabled())
        return;
    const int from = Position();
    const int step = up ? m_increment : -m_increment;
    // Past a limit the value stays at it.
    const long long next = static_cast<long long>(from) + step;
    SetPosition(int(std::max<long long>(m_min, std::min<long long>(m_max, next))));
    emit Clicked(m_position);
}

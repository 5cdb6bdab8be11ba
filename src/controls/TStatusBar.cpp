#include "controls/TStatusBar.h"

#include <QMouseEvent>

TStatusBar::TStatusBar(QWidget* parent) : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
}

int TStatusBar::AddPanel(int width, Qt::Alignment alignment)
{
    auto* label = new QLabel(this);
    label->setObjectName(objectName() + QStringLiteral("Panel") + QString::number(m_panels.size()));
    label->setFixedWidth(width);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    // Clicks on a panel reach the bar itself: labels ignore them.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    addWidget(label);
    m_panels.append(label);
    return int(m_panels.size()) - 1;
}

QString TStatusBar::PanelText(int index) const
{
    QLabel* label = Panel(index);
    return label ? label->text() : QString();
}

void TStatusBar::SetPanelText(int index, const QString& text)
{
    if (QLabel* label = Panel(index))
        label->setText(text);
}

void TStatusBar::ClickAt(int x)
{
    for (int i = 0; i < PanelCount(); ++i) {
        const QRect r = m_panels[i]->geometry();
        if (x > r.left() && x < r.right()) {
            emit PanelClicked(i);
            return;
        }
    }
}

void TStatusBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ClickAt(event->position().toPoint().x());
    QStatusBar::mouseReleaseEvent(event);
}

#pragma once

#include <QLabel>
#include <QList>
#include <QStatusBar>

// A status bar of fixed-width panels, each a label named
// "<bar name>Panel<index>", that reports clicks by panel.
class TStatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit TStatusBar(QWidget* parent = nullptr);

    // Adds a panel of `width` pixels; returns its index.
    int AddPanel(int width, Qt::Alignment alignment = Qt::AlignCenter);
    int PanelCount() const { return int(m_panels.size()); }
    QLabel* Panel(int index) const { return m_panels.value(index); }
    QString PanelText(int index) const;
    void SetPanelText(int index, const QString& text);

signals:
    // A click whose x lies strictly between the panel's left and right edges.
    void PanelClicked(int index);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ClickAt(int x);
    QList<QLabel*> m_panels;
};

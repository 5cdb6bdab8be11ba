#pragma once

#include <QDialog>

class QMenu;
class QMenuBar;

// The frame of the register windows: a menu bar over a client area of a
// given size, the help topic on F1 and "ヘルプ", centred on the screen.
// FormActivate reloads the window when it is shown and when the focus comes
// from another window of the program (TActivation).
class TRegisterDialog : public QDialog
{
    Q_OBJECT
public:
    TRegisterDialog(QWidget* parent, const QSize& clientSize, bool sizeable);

    // Parent of the window's controls, below the menu bar.
    QWidget* Client() const { return m_client; }
    QMenuBar* MainMenu1() const { return m_menu; }

public slots:
    virtual void FormActivate() {}

protected:
    QMenu* AddMenu(const QString& name, const QString& caption);
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption);
    // The menu bar's "ヘルプ", also on F1, opening `context`.
    QAction* AddHelp(const QString& context);
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool m_placed = false;
    QSize m_initialClientSize; // sizeable windows only
    QMenuBar* m_menu;
    QWidget* m_client;
};

#pragma once

#include <QMainWindow>

class QAction;
class QMenu;
class THojituHead4;
class THojituLine4;
class TStatusBar;

// The main window: the asphalt mixture paving record sheet. Closing it ends
// the program.
class TfrmEditHojitsu4 : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfrmEditHojitsu4(QWidget* parent = nullptr);

    TStatusBar* StatusBar1() const { return m_statusBar; }
    THojituHead4* Head() const { return m_head; }
    THojituLine4* Line() const { return m_line; }

public slots:
    void FormCreate();
    void FormActivate();
    void mnuDataPathClick();
    void mnuKojiClick();
    void mnuKosyuClick();
    void mnuKetasuClick();
    void mnuFontClick();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddItem(QMenu* menu, const QString& name, const QString& caption);
    void CreateMenus();

    TStatusBar* m_statusBar = nullptr;
    THojituHead4* m_head = nullptr;
    THojituLine4* m_line = nullptr;
};

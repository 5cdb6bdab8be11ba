#include "support/TTestEnvironment.h"

#include "controls/TvaSpread.h"
#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTimer>

namespace {
TTestEnvironment* current = nullptr;
}

TTestEnvironment::TTestEnvironment()
{
    current = this;
    Reset();
    TPrompt::SetBackend(&prompt);
}

TTestEnvironment::~TTestEnvironment()
{
    TPrompt::SetBackend(nullptr);
    TDatabase::Close();
    current = nullptr;
}

TTestEnvironment& TTestEnvironment::Current()
{
    return *current;
}

void TTestEnvironment::Reset()
{
    TDatabase::Close();
    m_config = std::make_unique<QTemporaryDir>();
    qputenv("KANMURI_CONFIG_DIR", m_config->path().toUtf8());
    prompt.Clear();
}

QString TTestEnvironment::ConfigDir() const
{
    return m_config->path();
}

QString TTestEnvironment::DataDir() const
{
    return m_config->path() + QStringLiteral("/data");
}

QString TTestEnvironment::NewFolder()
{
    auto dir = std::make_shared<QTemporaryDir>();
    m_extra.append(dir);
    return dir->path();
}

void WhenModalShown(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* timer = new QTimer(qApp);
    auto elapsed = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        *elapsed += 20;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            // A dialog nobody answered would keep the test waiting for ever.
            if (modal)
                modal->close();
        }
    });
    timer->start();
}

bool ActivateWindow(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    if (QApplication::activeWindow() != window)
        QApplication::setActiveWindow(window);
    return QApplication::activeWindow() == window;
}

void DoubleClick(QWidget* modal, QWidget* viewport, QPoint at)
{
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
        dialog->reject();
}

bool ChooseFromList(QComboBox* combo, const QString& text)
{
    combo->showPopup();
    const int index = combo->findText(text, Qt::MatchExactly);
    QAbstractItemView* view = combo->view();
    if (index < 0) {
        combo->hidePopup();
        return false;
    }
    const QRect rect = view->visualRect(view->model()->index(index, combo->modelColumn()));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    if (view->isVisible())
        combo->hidePopup();
    const bool chosen = combo->currentIndex() == index;
    // A window may act on the choice once the list has closed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return chosen;
}

QStringList TableColumns(const QString& table)
{
    return TextsOf("select name from pragma_table_info('" + table + "') order by cid");
}

QStringList TableRows(const QString& table)
{
    const int columns = TableColumns(table).size();
    QStringList result;
    TQuery query("select * from " + table);
    query.Exec();
    while (query.Next()) {
        QStringList cells;
        for (int i = 0; i < columns; ++i)
            cells << query.Value(i).toString();
        result << cells.join(u'|');
    }
    return result;
}

void TypeText(QWidget* target, const QString& text)
{
    for (QChar c : text) {
        QWidget* focus = QApplication::focusWidget();
        QWidget* to = focus ? focus : target;
        if (c.unicode() < 0x80) {
            QTest::keyClicks(to, QString(c));
        } else {
            QInputMethodEvent commit;
            commit.setCommitString(QString(c));
            QCoreApplication::sendEvent(to, &commit);
        }
    }
}

void TypeIntoCell(TvaSpread* grid, int col, int row, const QString& text)
{
    grid->setFocus();
    grid->SetActiveCell(col, row);
    TypeText(grid, text);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : grid, Qt::Key_Return);
}

void TypeAndLeave(QWidget* field, const QString& text)
{
    field->setFocus();
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    else if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    TypeText(field, text);
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : field;
    QTest::keyClick(target, Qt::Key_Tab);
}

void TriggerAction(QWidget* window, const char* name)
{
    auto* action = window->findChild<QAction*>(name);
    QVERIFY2(action, name);
    action->trigger();
}

QStringList ListItems(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

#include "support/TTestEnvironment.h"

#include "foundation/TDatabase.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
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

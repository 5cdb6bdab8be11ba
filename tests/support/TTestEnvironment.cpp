#include "support/TTestEnvironment.h"

#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "foundation/TEngine.h"
#include "foundation/TIniFile.h"
#include "foundation/TQuery.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {
TTestEnvironment* current = nullptr;

// The server lane: CTest runs a test program a second time with
// KANMURI_TEST_LANE=postgres, inside scripts/with-postgres.sh, which names
// the server in KANMURI_TEST_POSTGRES ("host:port:user").
bool serverLane()
{
    return qgetenv("KANMURI_TEST_LANE") == "postgres";
}

TServerSettings laneServer()
{
    const QStringList parts = QString::fromLocal8Bit(qgetenv("KANMURI_TEST_POSTGRES")).split(u':');
    TServerSettings server;
    server.host = parts.value(0);
    server.port = parts.value(1).toInt();
    server.user = parts.value(2);
    // One database per test program, so that programs run side by side.
    server.database = QStringLiteral("kanmuri_test_%1").arg(QCoreApplication::applicationPid());
    return server;
}

bool databaseMade = false;

// Runs `statements` on `database` of the lane's server; a failure ends the
// program, since every test after it would only fail on it.
void RunOnServer(const QString& database, const QStringList& statements)
{
    const QString name = QStringLiteral("kanmuri-test-admin");
    {
        TServerSettings server = laneServer();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setUserName(server.user);
        db.setDatabaseName(database);
        db.setConnectOptions("options='-c client_min_messages=warning'");
        if (!db.open())
            qFatal("test server: %s", qPrintable(db.lastError().text()));
        QSqlQuery query(db);
        for (const QString& statement : statements)
            if (!query.exec(statement))
                qFatal("test server: %s: %s", qPrintable(statement),
                       qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(name);
}

void DropLaneDatabase()
{
    TDatabase::Close();
    RunOnServer(
        QStringLiteral("postgres"),
        {QStringLiteral("drop database if exists %1 with (force)").arg(laneServer().database)});
}

// A new empty database for the program, or its tables emptied out.
void FreshLaneDatabase()
{
    TDatabase::Close();
    const QString database = laneServer().database;
    if (!databaseMade) {
        RunOnServer(QStringLiteral("postgres"),
                    {QStringLiteral("drop database if exists %1 with (force)").arg(database),
                     QStringLiteral("create database %1").arg(database)});
        databaseMade = true;
        qAddPostRoutine(DropLaneDatabase);
    } else {
        RunOnServer(database, {QStringLiteral("drop schema public cascade"),
                               QStringLiteral("create schema public")});
    }
}

// The environment is made before the application, and the driver needs one.
void PrepareLane()
{
    if (TTestEnvironment::OnServer())
        FreshLaneDatabase();
}
Q_COREAPP_STARTUP_FUNCTION(PrepareLane)

} // namespace

bool TTestEnvironment::OnServer()
{
    return serverLane() && !qEnvironmentVariableIsEmpty("KANMURI_TEST_POSTGRES");
}

TTestEnvironment::TTestEnvironment()
{
    if (serverLane() && !OnServer()) {
        std::fprintf(stderr, "The server lane runs inside scripts/with-postgres.sh.\n");
        std::exit(77); // skipped
    }
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
    prompt.CheckAllUsed();
    prompt.Clear();
    if (OnServer()) {
        const TServerSettings server = laneServer();
        QDir().mkpath(DataDir());
        TIniFile ini(m_config->path() + QStringLiteral("/engine.ini"));
        ini.Write(kAlias, QStringLiteral("PATH"),
                  QDir::toNativeSeparators(DataDir()) + QDir::separator());
        TDatabase::SetAliasServer(kAlias, server);
        if (QCoreApplication::instance())
            FreshLaneDatabase();
    }
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
    QStringList names;
    for (const TFieldDef& field : TDatabase::TableColumns(table))
        names << field.name;
    return names;
}

QStringList ColumnsWithTypes(const QString& table)
{
    // The types as the record classes declare them, whatever the engine
    // stores.
    QStringList columns;
    for (const TFieldDef& field : TDatabase::TableColumns(table)) {
        switch (field.type) {
        case TFieldType::Integer:
            columns << field.name + " INTEGER";
            break;
        case TFieldType::String:
            columns << field.name + QString(" VARCHAR(%1)").arg(field.size);
            break;
        case TFieldType::Float:
            columns << field.name + " DOUBLE";
            break;
        case TFieldType::DateTime:
            columns << field.name + " TIMESTAMP";
            break;
        case TFieldType::Boolean:
            columns << field.name + " BOOLEAN";
            break;
        }
    }
    return columns;
}

QStringList IndexNames()
{
    return TextsOf(TDatabase::Engine().IndexNamesSql());
}

void RefuseInserts(const QString& table, const QString& condition)
{
    // Statements that are not queries cannot be prepared on a server.
    QSqlQuery query(TDatabase::Connection());
    for (const QString& sql : TDatabase::Engine().RefuseInsertsSql(table, condition))
        if (!query.exec(sql))
            qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
}

QStringList TableRows(const QString& table)
{
    const QStringList names = TableColumns(table);
    const int columns = names.size();
    QStringList result;
    // Rows in the order they were written, which for tables with IDs is the
    // IDs' order.
    TQuery query("select * from " + table + TDatabase::Engine().WrittenOrderSql(names));
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

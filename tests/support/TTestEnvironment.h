#pragma once

#include "foundation/Fonts.h"
#include "foundation/TPrompt.h"
#include "support/TScriptedPrompt.h"

#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

// Tests that need no windows of the program (KANMURI_TEST_WITHOUT_WINDOWS,
// set by tests/CMakeLists.txt) run without its application class, so that
// they link the core library alone.
#ifdef KANMURI_TEST_WITHOUT_WINDOWS
#include <QGuiApplication>
using TTestApplication = QGuiApplication;
inline bool AllChooserAnswersUsed()
{
    return true;
}
#else
#include "controls/TFileChooser.h"
#include "foundation/gui/TApplication.h"
#include <cstdio>
using TTestApplication = TApplication;
// Files a test gave TFileChooser that no chooser took fail the program, as
// unused prompt answers do.
inline bool AllChooserAnswersUsed()
{
    if (TFileChooser::Pending() == 0)
        return true;
    std::fprintf(stderr, "FAIL!  : %d file chooser answer(s) never asked for\n",
                 TFileChooser::Pending());
    return false;
}
#endif

class TvaSpread;

// A test program's own world: a fresh configuration folder (with its data
// folder) that no other program sees, and scripted prompts.
class TTestEnvironment
{
public:
    TTestEnvironment();
    ~TTestEnvironment();

    static TTestEnvironment& Current();

    // Starts over with new, empty configuration and data folders.
    void Reset();

    QString ConfigDir() const;
    // The default data folder (inside the configuration folder).
    QString DataDir() const;
    // A new empty folder that lives as long as the environment.
    QString NewFolder();

    // True in the server lane: the alias names a database of its own on the
    // throwaway PostgreSQL server that scripts/with-postgres.sh started, and
    // Reset() empties it.
    static bool OnServer();

    TScriptedPrompt prompt;

private:
    std::unique_ptr<QTemporaryDir> m_config;
    QList<std::shared_ptr<QTemporaryDir>> m_extra;
};

// Runs `action` as soon as a modal window (of type W, when given) is shown,
// e.g. to answer a dialog that a click opens. After `timeoutMs` without one it
// gives up; a modal window still open by then is closed, so a failing test
// ends instead of hanging.
void WhenModalShown(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Makes `window` the active window, as a user's click on it would, so that
// its activation handler runs. The offscreen platform does not always pass
// activation on to windows owned by another window.
bool ActivateWindow(QWidget* window);

// A user's double click at `at` in an item view's viewport, as Qt's item views
// need it (press and release before the double click). `modal`, the dialog
// the view lives in, is cancelled when it is still open afterwards, so that a
// test fails instead of waiting.
void DoubleClick(QWidget* modal, QWidget* viewport, QPoint at);

// A user's choice of `text` from a combo box's list: opens the list (so that
// its owner fills it) and clicks the entry. False when the list has no such
// entry.
bool ChooseFromList(QComboBox* combo, const QString& text);

// The control named `name` in `window`; a missing control ends the test
// program, since every later step would only fail on it.
template <typename T> T* ControlOf(QObject* window, const char* name)
{
    T* control = window->findChild<T*>(name);
    if (!control)
        qFatal("control %s missing", name);
    return control;
}

// The texts of a list's entries, in order.
QStringList ListItems(const QListWidget* list);

// Makes every insert into `table` whose row meets `condition` (on the new
// row's columns, e.g. "new.KOSYUMEI = 'Y'"; empty: every insert) fail, to
// provoke a failure part way through a transaction.
void RefuseInserts(const QString& table, const QString& condition = QString());

// The columns of `table` as "name TYPE" in SQLite's words ("ID INTEGER",
// "Name VARCHAR(30)"), in order; on a server as the program declared them.
QStringList ColumnsWithTypes(const QString& table);

// The names of the indexes, sorted.
QStringList IndexNames();

// The column names of `table`, in order.
QStringList TableColumns(const QString& table);

// Every row of `table` as "value|value|...", columns in table order, rows
// in storage order (on a server, a table with IDs in their order).
QStringList TableRows(const QString& table);

// Types `text` into the widget that has the focus (or `target`): ASCII as
// keys, everything else as the input method commits it.
void TypeText(QWidget* target, const QString& text);

// Types `text` into a cell of a grid as a user does: goes there, types, Enter.
// The grid's window must be active. (Not in tests without windows.)
void TypeIntoCell(TvaSpread* grid, int col, int row, const QString& text);

// Types `text` into a field that has the focus, then leaves it with Tab.
void TypeAndLeave(QWidget* field, const QString& text);

// Triggers the menu entry (action) named `name` of `window`, as a click on it.
void TriggerAction(QWidget* window, const char* name);

// main() for a test program: sets up the environment before the application.
#define KANMURI_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        TTestEnvironment environment;                                                              \
        TTestApplication app(argc, argv);                                                          \
        InstallFontSubstitutes();                                                                  \
        TTestApplication::setApplicationName(QStringLiteral("pTarmak"));                           \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        const int failed = QTest::qExec(&test, argc, argv);                                        \
        const bool allUsed = environment.prompt.CheckAllUsed() & AllChooserAnswersUsed();          \
        return allUsed ? failed : qMax(failed, 1);                                                 \
    }

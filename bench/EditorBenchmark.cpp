// The main window on a large data folder (1,000 headers, 100,000 days):
// program start to the main window shown, against a bare Qt main window
// started the same way; a keystroke in a grid cell to the derived values
// shown; choosing a mixture; "開く" with every day listed.
//
//   bench_editor               runs everything and prints the figures
//   bench_editor --bare-window a bare main window that quits once shown

#include "BenchData.h"
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "controls/TComboBox.h"
#include "controls/TfSelectMultiItems.h"
#include "controls/TvaSpread.h"
#include "foundation/TApplication.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

// Answers every question Yes: the mixture tables of a new data folder.
class TYesPrompt : public TScriptedPrompt
{
public:
    bool YesNo(const QString&, const QString&) override { return true; }
};

void DefineMixtures()
{
    TGozaiDef mix;
    mix.EnsureTables();
    for (int m = 0; m < kMixtures; ++m) {
        mix.Clear();
        mix.DataName = mix.PrintName = Mixture(m);
        mix.Mitudo[2] = QStringLiteral("2.35");
        mix.Save(mix.DataName);
    }
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from starting `program` to its exit, which it does once its
// main window is shown.
double StartTime(const QString& program, const QStringList& arguments, const QString& config)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KANMURI_CONFIG_DIR"), config);
    environment.insert(QStringLiteral("KANMURI_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(60000);
    return timer.nsecsElapsed() / 1e6;
}

int BareWindow(int argc, char** argv)
{
    QApplication app(argc, argv);
    // With a menu and a text, as every real window has: the fonts are loaded.
    QMainWindow window;
    window.resize(800, 540);
    window.menuBar()->addMenu(QStringLiteral("ファイル"));
    window.setCentralWidget(new QLabel(QStringLiteral("アスファルト合材舗設実績表")));
    // Ends right after the first paint, as pTarmak does for the benchmark.
    struct TQuitAfterPaint : QObject
    {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                QTimer::singleShot(0, qApp, &QCoreApplication::quit);
            return false;
        }
    } quit;
    window.installEventFilter(&quit);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && QByteArray(argv[1]) == "--bare-window")
        return BareWindow(argc, argv);

    QTemporaryDir config;
    qputenv("KANMURI_CONFIG_DIR", config.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    TYesPrompt prompt;
    TPrompt::SetBackend(&prompt);

    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    QElapsedTimer fill;
    fill.start();
    Fill();
    DefineMixtures();
    TDatabase::Close();
    std::printf("filled %d headers and %d days in %.1f s\n", kProjects * kKosyu * kMixtures,
                kProjects * kKosyu * kMixtures * kDays, fill.elapsed() / 1000.0);

    // Process starts, alternating, after one start of each to warm the
    // caches (and to make the day's backup, which only the first start of a
    // day does).
    const QString here = QCoreApplication::applicationDirPath();
    const QString program = QDir(here).filePath(QStringLiteral("../pTarmak"));
    const QString bare = QCoreApplication::applicationFilePath();
    StartTime(program, {}, config.path());
    StartTime(bare, {QStringLiteral("--bare-window")}, config.path());
    QList<double> programTimes, bareTimes;
    for (int i = 0; i < 7; ++i) {
        programTimes << StartTime(program, {}, config.path());
        bareTimes << StartTime(bare, {QStringLiteral("--bare-window")}, config.path());
    }
    const double programStart = Median(programTimes), bareStart = Median(bareTimes);
    std::printf("%-44s %8.1f ms\n", "start to main window shown (median of 7)", programStart);
    std::printf("%-44s %8.1f ms   ratio %.2f (target <= 1.5)\n", "  a bare Qt main window",
                bareStart, programStart / bareStart);

    TForms& forms = TForms::Instance();
    forms.CreateAll();
    TfrmEditHojitsu4* w = forms.frmEditHojitsu4;
    w->show();
    QTest::qWaitForWindowExposed(w);
    QApplication::setActiveWindow(w);
    w->ComboBox1DropDown();
    w->ComboBox1Select(w->ComboBox1->findText(Code(7) + QStringLiteral(":工事7")));
    w->ComboBox2DropDown();
    w->ComboBox2->SetItems({Kosyu(2)});
    w->ComboBox2Select(0);
    w->ComboBox3DropDown();

    constexpr int runs = 100;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        w->ComboBox3Select(i % kMixtures);
    std::printf("%-44s %8.3f ms   (target < 20 ms)\n", "choosing a mixture",
                timer.nsecsElapsed() / 1e6 / runs);

    // A keystroke that ends an entry: the digit typed, then Enter, which
    // stores the cell and derives every value.
    w->vaSpread2->setFocus();
    double typing = 0;
    for (int i = 0; i < runs; ++i) {
        w->vaSpread2->SetActiveCell(4, 5);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_4);
        timer.restart();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        typing += timer.nsecsElapsed() / 1e6;
    }
    std::printf("%-44s %8.3f ms   (target < 5 ms)\n", "keystroke to derived values shown",
                typing / runs);

    // "開く": from the menu to the list shown, every day in it.
    TfSelectMultiItems* dialog = forms.fSelectMultiItems;
    double opened = 0;
    qsizetype rows = 0;
    for (int i = 0; i < 3; ++i) {
        QTimer::singleShot(0, dialog, [&] {
            opened += timer.nsecsElapsed() / 1e6;
            rows = dialog->RowCount();
            dialog->reject();
        });
        timer.restart();
        w->mnuOpenClick();
    }
    std::printf("%-44s %8.1f ms   (target < 500 ms, %lld entries)\n", "\"開く\" to the list shown",
                opened / 3, static_cast<long long>(rows));

    forms.DestroyAll();
    TPrompt::SetBackend(nullptr);
    TDatabase::Close();
    return 0;
}

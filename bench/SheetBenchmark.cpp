// The paving record sheet of a long record: 1,000 days of one header (100
// pages), and per mixture 10 headers of 100 days each. Times building the
// preview (as "ﾌﾟﾚﾋﾞｭｰ" does, progress window included) and writing the PDF
// through the command line's export, and the program's peak memory.

#include "BenchClock.h"
#include "BenchData.h"
#include "app/HojitsuSheetPreview.h"
#include "app/TCommandLine.h"
#include "foundation/DateTime.h"
#include "foundation/Fonts.h"
#include "foundation/TTransaction.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "print/TPrevX.h"
#include "print/TZqPrinter.h"
#include "print/TfrmPreView.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

const QString kCode = QStringLiteral("K001");
const QString kMixture = QStringLiteral("密粒度13");
const QString kLongMixture = QStringLiteral("粗粒度20");

QString WorkType(int k)
{
    return QStringLiteral("工種%1").arg(k);
}

// Header `k` of `mixture` with `days` days from 1 April 2025.
void Fill(THojituHead4& head, int k, const QString& mixture, int days)
{
    TTransaction transaction;
    head.Koji->LoadByCode(kCode);
    head.Kosyu->Kosyumei = WorkType(k);
    head.Kosyu->Save();
    head.Gozai->DataName = mixture;
    head.Gozai->PrintName = mixture;
    head.Save();
    AddSheetDays(head.ID, days, k);
    transaction.Commit();
}

void Measure(const char* name, const THojituHead4& head, bool perMixture, const QString& folder)
{
    QElapsedTimer t;
    t.start();
    const auto window = BuildHojitsuSheetPreview(head, head.ID, {perMixture, false}, nullptr);
    const double preview = Ms(t);
    const int pages = window->PrevX1->PageCount();

    const QString file = folder + QStringLiteral("/%1.pdf").arg(QString::fromLatin1(name));
    QStringList arguments{
        QStringLiteral("sheet"),       QStringLiteral("--project"), kCode,
        QStringLiteral("--work-type"), head.Kosyu->Kosyumei,        QStringLiteral("--mixture"),
        head.Gozai->DataName,          QStringLiteral("--pdf"),     file};
    if (perMixture)
        arguments << QStringLiteral("--per-mixture");
    QString messages;
    QTextStream out(&messages);
    t.restart();
    const int status = TCommandLine::Run(arguments, out, out);
    const double pdf = Ms(t);
    out.flush();

    std::printf("%s: %d pages\n", name, pages);
    std::printf("  build the preview:  %8.1f ms   (target < 1500 ms)\n", preview);
    std::printf("  export to PDF:      %8.1f ms   (target < 3000 ms), %.1f MB%s%s\n", pdf,
                QFileInfo(file).size() / 1e6,
                status == 0 ? "" : ", failed: ", qUtf8Printable(messages));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("KANMURI_CONFIG_DIR", config.path().toUtf8());
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    // The program's own PDF printer: A4 at 1200 dpi, as the export.
    TZqPrinter::Instance().SetPrinterSource([] { return QList<TPrinterEntry>(); });

    AddSheetProject(kCode);

    QElapsedTimer t;
    t.start();
    THojituHead4 long1000;
    Fill(long1000, 0, kLongMixture, 1000);
    std::vector<std::unique_ptr<THojituHead4>> heads;
    for (int k = 1; k <= 10; ++k) {
        heads.push_back(std::make_unique<THojituHead4>());
        Fill(*heads.back(), k, kMixture, 100);
    }
    std::printf("data: 11 headers, 2,000 days stored in %.0f ms\n", Ms(t));

    Measure("one header, 1000 days", long1000, false, config.path());
    Measure("per mixture, 10 headers x 100 days", *heads.front(), true, config.path());
    std::printf("peak memory:          %8.1f MB   (target < 300 MB)\n", PeakMemoryKb() / 1024.0);
    return 0;
}

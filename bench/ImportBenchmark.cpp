// An office's earlier data folder of 1,000 headers and 100,000 lines brought
// in: the time of the import, and the memory it takes beside the memory the
// program had before (rows are streamed, not held).

#include "BenchClock.h"
#include "BenchData.h"
#include "app/TParadoxImport.h"
#include "foundation/DateTime.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "support/ParadoxWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

namespace {

// Writes `table` of the current data folder as the earlier program's file.
int WriteParadox(const QString& table, const QString& folder)
{
    const QList<TFieldDef> fields = TDatabase::TableColumns(table);
    QList<TParadoxColumn> columns;
    for (const TFieldDef& field : fields)
        columns << ParadoxColumnFor(field);
    TParadoxWriter writer(QDir(folder).filePath(table + QStringLiteral(".DB")), columns);
    QSqlQuery query(TDatabase::Connection());
    query.setForwardOnly(true);
    query.exec(QStringLiteral("select * from ") + table);
    int rows = 0;
    while (query.next()) {
        QVariantList values;
        for (int c = 0; c < fields.size(); ++c) {
            const QVariant value = query.value(c);
            values << (fields[c].type == TFieldType::DateTime && !value.isNull()
                           ? QVariant(ToQDateTime(SqlTextToDateTime(value.toString())))
                           : value);
        }
        writer.Add(values);
        ++rows;
    }
    return rows;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir old, config, paradox;

    qputenv("KANMURI_CONFIG_DIR", old.path().toLocal8Bit());
    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    Fill();
    for (const QString& table : {QStringLiteral("Koji1"), QStringLiteral("Kosyu4"),
                                 QStringLiteral("HojituHead4"), QStringLiteral("HojituLine4")})
        std::printf("%-12s %7d rows written as Paradox\n", qPrintable(table),
                    WriteParadox(table, paradox.path()));
    TDatabase::Close();

    qputenv("KANMURI_CONFIG_DIR", config.path().toLocal8Bit());
    TDatabase::Connection();
    const long before = PeakMemoryKb();
    QElapsedTimer timer;
    timer.start();
    const auto reports = TParadoxImport(paradox.path()).Run(false);
    const double seconds = timer.elapsed() / 1000.0;
    std::printf("%s\n", qPrintable(TParadoxImport::ReportText(reports)));
    std::printf("import of 1,000 headers and 100,000 lines   %6.2f s   (target < 10 s)\n", seconds);
    std::printf(
        "peak memory of the process before the import (filling, writing) %ld MB, after it %ld MB\n",
        before / 1024, PeakMemoryKb() / 1024);
    return 0;
}

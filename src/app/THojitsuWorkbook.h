#pragma once

#include "app/THojitsuSheet.h"

#include <QByteArray>
#include <QString>

// The paving record sheet as an Excel workbook, for offices that hand their
// records on inside their own reports. Worksheet "実績表" holds what the
// printed sheet shows, in cells: the numbers as printed (stored as numbers
// with their digits as the number format), ruled as the form and set up to
// print ten days to an A4 landscape page. Worksheet "日別データ" holds every
// stored value of each day, as the CSV export has them.
class THojitsuWorkbook
{
public:
    static QString FormSheetName() { return QStringLiteral("実績表"); }
    static QString DataSheetName() { return QStringLiteral("日別データ"); }

    // The workbook of `sheet`, which is loaded and must outlive this.
    explicit THojitsuWorkbook(const THojitsuSheet& sheet);

    // The workbook's file, built whole before anything is written where the
    // user asked. Throws EKanmuriError when it cannot be built.
    QByteArray Build() const;
    // Builds the workbook and writes it to `file`, whole or not at all.
    void Write(const QString& file) const;
    // Puts a built workbook in `file`: written beside it and renamed when
    // whole, so a failure keeps the file that was there.
    static void Save(const QByteArray& workbook, const QString& file);

    // "Excel に書き出し": the sheet of the stored record of `kojiCode`,
    // `kosyu` and `gozai` (with `perMixture`, of every work type of the
    // project with the mixture) into `file`. Throws EKanmuriError, writing
    // nothing, when the record has no days.
    static void Export(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                       THojitsuSheet::TOptions options, const QString& file);

private:
    const THojitsuSheet& m_sheet;
};

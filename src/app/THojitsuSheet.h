#pragma once

#include "foundation/DateTime.h"
#include "print/TDeviceMetrics.h"
#include "store/THojituLine4.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

class TCanvas;
class THojituHead4;

// Where the sheet's pages go: the preview's pages, or pages kept for a file.
class TSheetPages
{
public:
    virtual ~TSheetPages() = default;
    // The canvas of the page being drawn.
    virtual TCanvas* Canvas() = 0;
    // Finishes the page being drawn and begins the next; its canvas.
    virtual TCanvas* NewPage() = 0;
};

// The printed "アスファルト合材舗設実績表" of a header: a landscape form, ten
// paving days to a page, each day's values ("日計") with the totals up to
// its date ("累計") under the last row of the date.
//
// Load reads everything that could stop the sheet (the settings it is drawn
// with and the days) before any window or file is made; Draw then lays the
// pages out. The drawing needs no widgets, so the command line uses it too.
class THojitsuSheet
{
public:
    static QString Title() { return QStringLiteral("アスファルト合材舗設実績表"); }

    struct TOptions
    {
        bool perMixture = false; // every work type of the project with the mixture
        bool oneLine = false;    // numbers on one line ("１行印字")
    };

    // The sheet of `head` (project, work type and mixture as loaded), whose
    // days are the lines of `sid`. The header must outlive the sheet.
    THojitsuSheet(const THojituHead4& head, int sid, TOptions options);

    // Reads the settings (differences, unused filler, font, digits), the
    // days and their totals. An unusable digits setting or a database error
    // is raised here, before anything is drawn.
    void Load();
    int RecordCount() const { return int(m_records.size()); }

    // Draws every page; `pages` has its first page begun. `progress` is
    // told the number of days drawn before each day.
    void Draw(TSheetPages& pages, const std::function<void(int done)>& progress = {});

    // The sheet drawn for the program's PDF printer and written to `file`,
    // which is replaced only once the whole sheet is written. Load first.
    void WritePdf(const QString& file);
    // The PDF printer's page: A4 landscape at 1200 dpi, without margins.
    static TDeviceMetrics PdfDevice();

    // What the sheet shows, for other forms of it (the workbook). Load first.

    // The numeric columns "A" to "U", each showing one value position.
    static constexpr int ColumnCount = 21;
    static int ColumnPosition(int column);
    static QString Letter(int column);

    // A text of the heading rows over the numeric columns `first` to `last`.
    struct THeading
    {
        QString text;
        int first;
        int last;
    };
    static QList<THeading> GroupHeadings(); // "舗設面積", "合　材　屯　数", ...
    static QList<THeading> SubHeadings();   // "設計", "実際", "積算合材", ...
    // The formula row: "A×" ... and the differences as the mode has them.
    QList<THeading> Formulas() const;
    // "月日", "測　　点", "延長", "幅員".
    static QStringList DayHeadings();
    // "日計", "累計".
    static QStringList HalfRowLabels();
    static QString RemarksHeading(); // "摘要"
    static QStringList Notes();      // the two notes beside it
    // The headings above the form: the work type (or the mixture) and the
    // project.
    QString KindHeading() const;
    QString ProjectHeading() const;
    // The font the sheet is printed in.
    QString FontName() const;

    // A day of the sheet, in the order printed.
    struct TRecord
    {
        int sid = 0;
        QString kosyumei; // of the line's own header
        TDateTime hiduke = 0;
        QString sokuten;
        THojituLine4::TValues values{};
        THojituLine4::TValues upToDate{}; // the totals up to the date
    };
    const std::vector<TRecord>& Records() const { return m_records; }
    // The station's cell: per mixture the work type above the station.
    QStringList StationLines(const TRecord& record) const;
    // Whether the totals are shown under the day: only under the last of a
    // date.
    bool LastOfDate(int index) const;
    // Whether the day shows column `column` at all (unused filler is left
    // out when the setting says so); the totals follow the day.
    bool Shown(const TRecord& record, int column) const;
    // The text of column `column` of `values`, with its position's digits.
    QString NumberText(const THojituLine4::TValues& values, int column) const;
    // The length (position 0) or width (1) as printed: empty when 0.
    QString SizeText(const TRecord& record, int position) const;
    int DigitsOf(int position) const { return m_digits[size_t(position)]; }

private:
    void BeginPage(TCanvas& canvas);
    void DrawForm(TCanvas& canvas);
    void DrawRow(TCanvas& canvas, const TRecord& record, float y, bool lastOfDate);
    void DrawNumbers(TCanvas& canvas, const TRecord& record, const THojituLine4::TValues& values,
                     float top, float bottom);

    const THojituHead4& m_head;
    int m_sid;
    TOptions m_options;

    bool m_actualMinusDesign = false;
    bool m_fillerZeroPrint = false;
    QString m_fontName;
    std::array<int, THojituLine4::ValueCount> m_digits{};
    std::vector<TRecord> m_records;
};

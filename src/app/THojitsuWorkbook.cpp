#include "app/THojitsuWorkbook.h"

#include "app/TCsvExport.h"
#include "foundation/DateTime.h"
#include "foundation/EKanmuriError.h"
#include "foundation/TQuery.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "store/THojituHead4.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>

#ifdef KANMURI_HAVE_XLSXWRITER
#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>
#endif

#ifdef KANMURI_HAVE_XLSXWRITER
namespace {

// The form's columns: the date, the station, the length, the width, the
// labels of the half rows, then the numeric columns "A" to "U".
constexpr int kDateCol = 0;
constexpr int kStationCol = 1;
constexpr int kLengthCol = 2;
constexpr int kWidthCol = 3;
constexpr int kLabelCol = 4;
constexpr int kFirstNumberCol = 5;
constexpr int kLastCol = kFirstNumberCol + THojitsuSheet::ColumnCount - 1;
// The project's heading stands over "H" to "U", as on paper.
constexpr int kProjectHeadingCol = kFirstNumberCol + 7;

// Its rows: the title, the headings above the grid, the grid's four heading
// rows, then two rows a day ("日計", "累計") and the remarks at the foot.
constexpr int kTitleRow = 0;
constexpr int kHeadingRow = 1;
constexpr int kGroupRow = 2;
constexpr int kSubheadingRow = 3;
constexpr int kLetterRow = 4;
constexpr int kFormulaRow = 5;
constexpr int kFirstDayRow = 6;
constexpr int kDaysPerPage = 10;
// Excel keeps no more manual page breaks than this.
constexpr int kMaxPageBreaks = 1023;
constexpr uint8_t kPaperA4 = 9;
// Excel refuses longer headers and footers.
constexpr int kMaxFooterBytes = 255;

constexpr double kFontSize = 9;
// Row heights in points: a half row of the printed form is 0.61 cm.
constexpr double kDayRowHeight = 17.25;
constexpr double kHeadingRowHeight = 14.5;

const std::string kDateFormat = "yyyy/mm/dd";
// The form prints a day as month and day only.
const std::string kDayFormat = "m/d";

struct TStyle
{
    std::string numberFormat; // empty: Excel's general format
    uint8_t align = LXW_ALIGN_CENTER;
    double size = kFontSize;
    bool underline = false;
    bool wrap = false;
    uint8_t top = LXW_BORDER_NONE;
    uint8_t bottom = LXW_BORDER_NONE;
    uint8_t left = LXW_BORDER_NONE;
    uint8_t right = LXW_BORDER_NONE;
    auto operator<=>(const TStyle&) const = default;
};

// The number format that shows `digits` decimals, as the sheet prints them.
std::string DigitsFormat(int digits)
{
    return digits <= 0 ? std::string("0") : "0." + std::string(size_t(digits), '0');
}

void Check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw EKanmuriError(QStringLiteral("Excel ファイルを作れませんでした。\n%1")
                                .arg(QString::fromUtf8(lxw_strerror(error))));
}

// The width of a text in characters of a digit's width: full-width
// characters take two.
double DisplayWidth(const QString& text)
{
    double width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        width += u < 0x100 || (u >= 0xFF61 && u <= 0xFF9F) ? 1 : 2;
    }
    return width;
}

// A workbook being built, with one format for each style used.
class TBook
{
public:
    TBook(const QString& file, const QString& temporaryFolder, const QString& fontName)
        : m_file(QFile::encodeName(file)), m_temporaryFolder(QFile::encodeName(temporaryFolder)),
          m_fontName(fontName.toUtf8())
    {
        lxw_workbook_options options{};
        options.tmpdir = m_temporaryFolder.data();
        m_book = workbook_new_opt(m_file.constData(), &options);
        if (!m_book)
            Check(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
    ~TBook()
    {
        if (m_book)
            lxw_workbook_free(m_book);
    }
    TBook(const TBook&) = delete;
    TBook& operator=(const TBook&) = delete;

    lxw_worksheet* AddSheet(const QString& name)
    {
        lxw_worksheet* sheet = workbook_add_worksheet(m_book, name.toUtf8().constData());
        if (!sheet)
            Check(LXW_ERROR_PARAMETER_VALIDATION);
        return sheet;
    }

    lxw_format* Format(const TStyle& style)
    {
        lxw_format*& format = m_formats[style];
        if (format)
            return format;
        format = workbook_add_format(m_book);
        format_set_font_name(format, m_fontName.constData());
        format_set_font_size(format, style.size);
        if (!style.numberFormat.empty())
            format_set_num_format(format, style.numberFormat.c_str());
        if (style.align != LXW_ALIGN_NONE)
            format_set_align(format, style.align);
        format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
        if (style.underline)
            format_set_underline(format, LXW_UNDERLINE_SINGLE);
        if (style.wrap)
            format_set_text_wrap(format);
        format_set_top(format, style.top);
        format_set_bottom(format, style.bottom);
        format_set_left(format, style.left);
        format_set_right(format, style.right);
        return format;
    }

    // Writes the file and lets the workbook go.
    void Close()
    {
        lxw_workbook* book = m_book;
        m_book = nullptr;
        Check(workbook_close(book));
    }

private:
    QByteArray m_file;
    QByteArray m_temporaryFolder;
    QByteArray m_fontName;
    lxw_workbook* m_book = nullptr;
    std::map<TStyle, lxw_format*> m_formats;
};

// Writing into one worksheet, keeping the widest text of each column.
class TCells
{
public:
    TCells(TBook& book, lxw_worksheet* sheet, int columns)
        : m_book(book), m_sheet(sheet), m_widths(size_t(columns), 0)
    {
    }

    void Text(int row, int col, const QString& text, const TStyle& style)
    {
        Check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(col),
                                     text.toUtf8().constData(), m_book.Format(style)));
        for (const QString& line : text.split(u'\n'))
            Fit(col, line);
    }

    void Number(int row, int col, double value, const TStyle& style, const QString& shown)
    {
        Check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(col), value,
                                     m_book.Format(style)));
        Fit(col, shown);
    }

    void Blank(int row, int col, const TStyle& style)
    {
        Check(worksheet_write_blank(m_sheet, lxw_row_t(row), lxw_col_t(col), m_book.Format(style)));
    }

    // A date as a date, shown as `shown`; one that Excel cannot hold (before
    // 1900) as its text.
    void Date(int row, int col, TDateTime value, const TStyle& style, const QString& shown)
    {
        const QDate date = ToQDate(value);
        if (date.year() < 1900) {
            Text(row, col, FormatDate(value), style);
            return;
        }
        lxw_datetime excel{date.year(), date.month(), date.day(), 0, 0, 0};
        Check(worksheet_write_datetime(m_sheet, lxw_row_t(row), lxw_col_t(col), &excel,
                                       m_book.Format(style)));
        Fit(col, shown);
    }

    // Merges the cells; the text is written into the first. A single cell
    // is not merged (Excel would refuse it).
    void Merge(int firstRow, int firstCol, int lastRow, int lastCol, const QString& text,
               const TStyle& style)
    {
        if (firstRow == lastRow && firstCol == lastCol) {
            Text(firstRow, firstCol, text, style);
            return;
        }
        Check(worksheet_merge_range(m_sheet, lxw_row_t(firstRow), lxw_col_t(firstCol),
                                    lxw_row_t(lastRow), lxw_col_t(lastCol),
                                    text.toUtf8().constData(), m_book.Format(style)));
        if (firstCol == lastCol)
            Fit(firstCol, text);
    }

    void Fit(int col, const QString& text)
    {
        m_widths[size_t(col)] = std::max(m_widths[size_t(col)], DisplayWidth(text));
    }

    // Every column as wide as its widest text in the sheet's small font.
    void SetWidths(double minimum)
    {
        for (size_t col = 0; col < m_widths.size(); ++col)
            Check(worksheet_set_column(m_sheet, lxw_col_t(col), lxw_col_t(col),
                                       std::max(minimum, std::ceil(m_widths[col] * 0.9 + 1.5)),
                                       nullptr));
    }

    void SetRow(int row, double height)
    {
        Check(worksheet_set_row(m_sheet, lxw_row_t(row), height, nullptr));
    }

private:
    TBook& m_book;
    lxw_worksheet* m_sheet;
    std::vector<double> m_widths;
};

// A header or footer text: "&" stands for itself doubled.
QString FooterText(const QString& text)
{
    return QString(text).replace(u'&', QStringLiteral("&&"));
}

// The grid of the form is ruled thin, its frame medium, as on paper.
class TRuling
{
public:
    explicit TRuling(int lastRow) : m_lastRow(lastRow) {}
    TStyle operator()(TStyle style, int firstRow, int firstCol, int lastRow, int lastCol) const
    {
        style.top = firstRow == kGroupRow ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN;
        style.bottom = lastRow == m_lastRow ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN;
        style.left = firstCol == 0 ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN;
        style.right = lastCol == kLastCol ? LXW_BORDER_MEDIUM : LXW_BORDER_THIN;
        return style;
    }
    TStyle operator()(const TStyle& style, int row, int col) const
    {
        return (*this)(style, row, col, row, col);
    }

private:
    int m_lastRow;
};

void WriteFormHeadings(TCells& cells, const THojitsuSheet& sheet, const TRuling& ruled)
{
    TStyle title;
    title.size = 12;
    cells.Merge(kTitleRow, 0, kTitleRow, kLastCol, THojitsuSheet::Title(), title);
    TStyle heading;
    heading.size = 10;
    heading.underline = true;
    heading.align = LXW_ALIGN_LEFT;
    cells.Merge(kHeadingRow, 0, kHeadingRow, kProjectHeadingCol - 1, sheet.KindHeading(), heading);
    heading.align = LXW_ALIGN_RIGHT;
    cells.Merge(kHeadingRow, kProjectHeadingCol, kHeadingRow, kLastCol, sheet.ProjectHeading(),
                heading);

    const TStyle plain;
    const QStringList dayHeadings = THojitsuSheet::DayHeadings();
    for (int col = kDateCol; col <= kWidthCol; ++col)
        cells.Merge(kGroupRow, col, kFormulaRow, col, dayHeadings[col],
                    ruled(plain, kGroupRow, col, kFormulaRow, col));
    cells.Merge(kGroupRow, kLabelCol, kFormulaRow, kLabelCol, QString(),
                ruled(plain, kGroupRow, kLabelCol, kFormulaRow, kLabelCol));
    const auto headingRow = [&](int row, const QList<THojitsuSheet::THeading>& headings) {
        for (const THojitsuSheet::THeading& h : headings) {
            const int first = kFirstNumberCol + h.first;
            const int last = kFirstNumberCol + h.last;
            cells.Merge(row, first, row, last, h.text, ruled(plain, row, first, row, last));
        }
    };
    headingRow(kGroupRow, THojitsuSheet::GroupHeadings());
    headingRow(kSubheadingRow, THojitsuSheet::SubHeadings());
    for (int k = 0; k < THojitsuSheet::ColumnCount; ++k) {
        cells.Text(kLetterRow, kFirstNumberCol + k, THojitsuSheet::Letter(k),
                   ruled(plain, kLetterRow, kFirstNumberCol + k));
        cells.Blank(kFormulaRow, kFirstNumberCol + k,
                    ruled(plain, kFormulaRow, kFirstNumberCol + k));
    }
    headingRow(kFormulaRow, sheet.Formulas());
    cells.SetRow(kTitleRow, 21);
    cells.SetRow(kHeadingRow, 18);
    for (int row = kGroupRow; row <= kFormulaRow; ++row)
        cells.SetRow(row, kHeadingRowHeight);
}

void WriteDays(TCells& cells, const THojitsuSheet& sheet, const TRuling& ruled)
{
    TStyle station;
    station.align = LXW_ALIGN_LEFT;
    station.wrap = true;
    TStyle date;
    date.numberFormat = kDayFormat;
    TStyle size;
    size.align = LXW_ALIGN_RIGHT;
    TStyle label;
    label.size = 8;
    TStyle number = size;
    const QStringList labels = THojitsuSheet::HalfRowLabels();

    for (int i = 0; i < sheet.RecordCount(); ++i) {
        const THojitsuSheet::TRecord& record = sheet.Records()[size_t(i)];
        const int row = kFirstDayRow + 2 * i;
        // Date, station, length and width stand over both halves, as on paper.
        const TStyle dateCell = ruled(date, row, kDateCol, row + 1, kDateCol);
        cells.Merge(row, kDateCol, row + 1, kDateCol, QString(), dateCell);
        const QDate day = ToQDate(record.hiduke);
        cells.Date(row, kDateCol, record.hiduke, dateCell,
                   QStringLiteral("%1/%2").arg(day.month()).arg(day.day()));
        cells.Merge(row, kStationCol, row + 1, kStationCol, sheet.StationLines(record).join(u'\n'),
                    ruled(station, row, kStationCol, row + 1, kStationCol));
        for (int position : {0, 1}) {
            const int col = position == 0 ? kLengthCol : kWidthCol;
            size.numberFormat = DigitsFormat(sheet.DigitsOf(position));
            const TStyle cell = ruled(size, row, col, row + 1, col);
            cells.Merge(row, col, row + 1, col, QString(), cell);
            // The value as printed, so that the cell shows and adds up what
            // the sheet shows.
            const QString text = sheet.SizeText(record, position);
            if (!text.isEmpty())
                cells.Number(row, col, text.toDouble(), cell, text);
        }
        cells.Text(row, kLabelCol, labels[0], ruled(label, row, kLabelCol));
        cells.Text(row + 1, kLabelCol, labels[1], ruled(label, row + 1, kLabelCol));

        const bool totals = sheet.LastOfDate(i);
        for (int k = 0; k < THojitsuSheet::ColumnCount; ++k) {
            const int col = kFirstNumberCol + k;
            number.numberFormat = DigitsFormat(sheet.DigitsOf(THojitsuSheet::ColumnPosition(k)));
            const bool shown = sheet.Shown(record, k);
            const auto half = [&](int r, bool filled, const THojituLine4::TValues& values) {
                const TStyle cell = ruled(number, r, col);
                if (!filled) {
                    cells.Blank(r, col, cell);
                    return;
                }
                const QString text = sheet.NumberText(values, k);
                cells.Number(r, col, text.toDouble(), cell, text);
            };
            half(row, shown, record.values);
            half(row + 1, shown && totals, record.upToDate);
        }
        cells.SetRow(row, kDayRowHeight);
        cells.SetRow(row + 1, kDayRowHeight);
    }
}

void WriteRemarks(TCells& cells, int footRow, const TRuling& ruled)
{
    TStyle spread;
    spread.align = LXW_ALIGN_DISTRIBUTED;
    cells.Merge(footRow, kDateCol, footRow + 1, kWidthCol, THojitsuSheet::RemarksHeading(),
                ruled(spread, footRow, kDateCol, footRow + 1, kWidthCol));
    // The notes share one box: no rule between them.
    const QStringList notes = THojitsuSheet::Notes();
    TStyle note;
    note.align = LXW_ALIGN_LEFT;
    TStyle first = ruled(note, footRow, kLabelCol, footRow + 1, kLastCol);
    TStyle second = first;
    first.bottom = LXW_BORDER_NONE;
    second.top = LXW_BORDER_NONE;
    cells.Merge(footRow, kLabelCol, footRow, kLastCol, notes[0], first);
    cells.Merge(footRow + 1, kLabelCol, footRow + 1, kLastCol, notes[1], second);
    cells.SetRow(footRow, kDayRowHeight);
    cells.SetRow(footRow + 1, kDayRowHeight);
}

// Printing from Excel: A4 landscape one page wide, the title and the
// heading rows on every page, ten days to a page, the project in the footer.
void SetUpForm(lxw_worksheet* ws, const THojitsuSheet& sheet)
{
    worksheet_set_landscape(ws);
    worksheet_set_paper(ws, kPaperA4);
    worksheet_set_margins(ws, 0.4, 0.4, 0.5, 0.6);
    worksheet_center_horizontally(ws);
    worksheet_fit_to_pages(ws, 1, 0);
    Check(worksheet_repeat_rows(ws, kTitleRow, kFormulaRow));
    std::vector<lxw_row_t> breaks;
    for (int day = kDaysPerPage; day < sheet.RecordCount() && int(breaks.size()) < kMaxPageBreaks;
         day += kDaysPerPage)
        breaks.push_back(lxw_row_t(kFirstDayRow + 2 * day));
    if (!breaks.empty()) {
        breaks.push_back(0);
        Check(worksheet_set_h_pagebreaks(ws, breaks.data()));
    }
    // A very long project name is cut rather than the footer left out.
    QString project = sheet.ProjectHeading();
    const QString pages = QStringLiteral("&R&P / &N");
    QByteArray footer;
    do {
        footer = (QStringLiteral("&L") + FooterText(project) + pages).toUtf8();
        project.chop(1);
    } while (footer.size() > kMaxFooterBytes);
    Check(worksheet_set_footer(ws, footer.constData()));
}

void WriteForm(TBook& book, const THojitsuSheet& sheet)
{
    lxw_worksheet* ws = book.AddSheet(THojitsuWorkbook::FormSheetName());
    TCells cells(book, ws, kLastCol + 1);
    const int footRow = kFirstDayRow + 2 * sheet.RecordCount();
    const TRuling ruled(footRow + 1);
    WriteFormHeadings(cells, sheet, ruled);
    WriteDays(cells, sheet, ruled);
    WriteRemarks(cells, footRow, ruled);
    cells.SetWidths(4);
    SetUpForm(ws, sheet);
}

// One row a day with every stored value, for sorting and filtering.
void WriteData(TBook& book, const THojitsuSheet& sheet)
{
    lxw_worksheet* ws = book.AddSheet(THojitsuWorkbook::DataSheetName());
    const QStringList headings = TCsvExport::Headings();
    const int lastCol = int(headings.size()) - 1;
    TCells cells(book, ws, lastCol + 1);
    TStyle heading;
    heading.wrap = true;
    for (int col = 0; col <= lastCol; ++col)
        cells.Text(0, col, headings[col], heading);
    TStyle text;
    text.align = LXW_ALIGN_LEFT;
    TStyle date;
    date.numberFormat = kDateFormat;
    date.align = LXW_ALIGN_NONE;
    TStyle number;
    number.align = LXW_ALIGN_NONE;
    for (int i = 0; i < sheet.RecordCount(); ++i) {
        const THojitsuSheet::TRecord& record = sheet.Records()[size_t(i)];
        const int row = i + 1;
        cells.Date(row, 0, record.hiduke, date, FormatDate(record.hiduke));
        cells.Text(row, 1, record.kosyumei, text);
        cells.Text(row, 2, record.sokuten, text);
        for (int p = 0; p < THojituLine4::ValueCount; ++p)
            cells.Number(row, 3 + p, record.values[size_t(p)], number,
                         QString::number(record.values[size_t(p)]));
    }
    cells.SetWidths(6);
    worksheet_freeze_panes(ws, 1, 0);
    Check(worksheet_autofilter(ws, 0, 0, lxw_row_t(std::max(1, sheet.RecordCount())),
                               lxw_col_t(lastCol)));
    worksheet_set_landscape(ws);
    worksheet_set_paper(ws, kPaperA4);
}

} // namespace
#endif

THojitsuWorkbook::THojitsuWorkbook(const THojitsuSheet& sheet) : m_sheet(sheet) {}

QByteArray THojitsuWorkbook::Build() const
{
#ifdef KANMURI_HAVE_XLSXWRITER
    // The library writes a file of its own: it is made in a folder of ours
    // and read back whole.
    QTemporaryDir folder;
    if (!folder.isValid())
        throw EKanmuriError(
            QStringLiteral("作業用のフォルダを作れないため、Excel ファイルを書き出せ"
                           "ません。\n%1")
                .arg(folder.errorString()));
    const QString path = folder.filePath(QStringLiteral("book.xlsx"));
    {
        TBook book(path, folder.path(), m_sheet.FontName());
        WriteForm(book, m_sheet);
        WriteData(book, m_sheet);
        book.Close();
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EKanmuriError(
            QStringLiteral("Excel ファイルを作れませんでした。\n%1").arg(file.errorString()));
    return file.readAll();
#else
    throw EKanmuriError(QStringLiteral("このプログラムは Excel ファイルを書き出せません"
                                       "（libxlsxwriter なしで作られています）。"));
#endif
}

void THojitsuWorkbook::Write(const QString& file) const
{
    Save(Build(), file);
}

void THojitsuWorkbook::Save(const QByteArray& workbook, const QString& file)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(workbook) != workbook.size() || !out.commit())
        throw EKanmuriError(QStringLiteral("ファイル \"%1\" に書き込めません。\n%2")
                                .arg(QDir::toNativeSeparators(file), out.errorString()));
}

void THojitsuWorkbook::Export(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                              THojitsuSheet::TOptions options, const QString& file)
{
    THojituHead4 head;
    head.Koji->Code = kojiCode;
    head.Kosyu->Kosyumei = kosyu;
    head.Gozai->DataName = gozai;
    head.LoadByKeys();
    if (head.ID == 0 && options.perMixture) {
        // Per mixture the work type only picks the project and mixture: any
        // header of the two will do.
        TQuery query(QStringLiteral("select Min(ID) from HojituHead4 where (KOJICODE = :KojiCode) "
                                    "and (GOZAIMEI = :Gozaimei)"));
        query.BindText(QStringLiteral(":KojiCode"), kojiCode)
            .BindText(QStringLiteral(":Gozaimei"), gozai)
            .Exec();
        if (query.Next() && query.Integer(0) != 0)
            head.LoadById(query.Integer(0));
    }
    THojitsuSheet sheet(head, head.ID, options);
    if (head.ID != 0)
        sheet.Load();
    if (sheet.RecordCount() == 0)
        throw EKanmuriError(TCsvExport::NoDaysText(kojiCode, kosyu, gozai, options.perMixture));
    THojitsuWorkbook(sheet).Write(file);
}

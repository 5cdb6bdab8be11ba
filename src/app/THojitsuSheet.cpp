#include "app/THojitsuSheet.h"

#include "foundation/Conversions.h"
#include "foundation/EKanmuriError.h"
#include "foundation/Settings.h"
#include "foundation/TQuery.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "print/CmDrawing.h"
#include "print/PdfFile.h"
#include "print/TCanvas.h"
#include "print/TPageOffset.h"
#include "print/TPageStore.h"
#include "store/Digits.h"
#include "store/THojituHead4.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>

namespace {

// The form, in centimetres from the sheet's corner.
constexpr float kLeft = 1.5f;
constexpr float kRight = 28.2f;
constexpr float kRowsTop = 5.24f;
constexpr float kRowHeight = 1.22f;
constexpr float kHalfRow = 0.61f;
constexpr float kColumnsLeft = 8.2f;
constexpr float kColumnWidth = 0.95f;
constexpr float kTableBottom = 17.44f;
constexpr int kRowsPerPage = 10;
constexpr int kColumns = 21;
// The value position shown in each lettered column, "A" to "U".
constexpr int kColumnPosition[kColumns] = {2,  3,  8,  9,  10, 11, 12, 16, 17, 18, 19,
                                           20, 21, 22, 26, 27, 28, 29, 30, 31, 32};
constexpr int kFirstFillerColumn = 14; // "O"
constexpr int kFillerDesignRatio = 23;
constexpr float kDateWidth = 0.9f;

float ColumnLeft(int k)
{
    return kColumnsLeft + kColumnWidth * float(k);
}

// Where a column's rule starts: group borders from the top of the heading,
// the borders between sub-headings from their row, the rest below them.
float RuleTop(int k)
{
    switch (k) {
    case 0:
    case 2:
    case 7:
    case 14:
        return 3.2f;
    case 1:
    case 4:
    case 5:
    case 10:
    case 11:
    case 17:
    case 18:
        return 3.71f;
    default:
        return 4.22f;
    }
}

// A text of the heading rows: its box across, and the numeric columns it
// stands over.
struct TBox
{
    const char16_t* text;
    float left;
    float right;
    int first;
    int last;
};

const TBox kGroups[] = {{u"舗設面積", 8.2f, 10.1f, 0, 1},
                        {u"合　材　屯　数", 10.1f, 14.85f, 2, 6},
                        {u"ア ス フ ァ ル ト", 14.85f, 21.5f, 7, 13},
                        {u"石             粉", 21.5f, kRight, 14, 20}};
const TBox kSubheadings[] = {{u"設計", 8.2f, 9.15f, 0, 0},       {u"実際", 9.15f, 10.1f, 1, 1},
                             {u"積算合材", 10.1f, 12, 2, 3},     {u"実際", 12, 12.95f, 4, 4},
                             {u"差", 12.95f, 14.85f, 5, 6},      {u"積算量", 14.85f, 17.7f, 7, 9},
                             {u"実際", 17.7f, 18.65f, 10, 10},   {u"差", 18.65f, 21.5f, 11, 13},
                             {u"積算量", 21.5f, 24.35f, 14, 16}, {u"実際", 24.35f, 25.3f, 17, 17},
                             {u"差", 25.3f, kRight, 18, 20}};
const TBox kFactors[] = {{u"A×", 10.11f, 11.05f, 2, 2},  {u"B×", 11.06f, 12, 3, 3},
                         {u"C×", 14.86f, 15.8f, 7, 7},   {u"D×", 15.81f, 16.75f, 8, 8},
                         {u"E×", 16.76f, 17.7f, 9, 9},   {u"C×", 21.51f, 22.45f, 14, 14},
                         {u"D×", 22.46f, 23.4f, 15, 15}, {u"E×", 23.41f, 24.35f, 16, 16}};
const TBox kDifferences[] = {{u"C-E", 12.95f, 13.9f, 5, 5},   {u"D-E", 13.9f, 14.85f, 6, 6},
                             {u"H-K", 18.65f, 19.6f, 11, 11}, {u"I-K", 19.6f, 20.55f, 12, 12},
                             {u"J-K", 20.55f, 21.5f, 13, 13}, {u"O-R", 25.3f, 26.25f, 18, 18},
                             {u"P-R", 26.25f, 27.2f, 19, 19}, {u"Q-R", 27.2f, kRight, 20, 20}};

template <size_t N> QList<THojitsuSheet::THeading> Headings(const TBox (&boxes)[N])
{
    QList<THojitsuSheet::THeading> headings;
    for (const TBox& b : boxes)
        headings.append({QString::fromUtf16(b.text), b.first, b.last});
    return headings;
}

// A difference formula as the mode has it: actual minus design swaps the
// minuend and the subtrahend.
QString Difference(const TBox& box, bool actualMinusDesign)
{
    const QString formula = QString::fromUtf16(box.text);
    return actualMinusDesign ? formula.right(1) + u'-' + formula.left(1) : formula;
}

const QString kBreak = QStringLiteral("\\\\");

// Keeps the sheet's pages until they are written to a file.
class TStorePages : public TSheetPages
{
public:
    TStorePages(TPageStore& store, const TDeviceMetrics& device) : m_store(store), m_device(device)
    {
        m_store.NewPage(m_device);
    }
    TCanvas* Canvas() override { return m_store.PageCanvas(); }
    TCanvas* NewPage() override { return m_store.NewPage(m_device); }

private:
    TPageStore& m_store;
    TDeviceMetrics m_device;
};

} // namespace

THojitsuSheet::THojitsuSheet(const THojituHead4& head, int sid, TOptions options)
    : m_head(head), m_sid(sid), m_options(options)
{
}

void THojitsuSheet::Load()
{
    m_actualMinusDesign = ReadSetting(QStringLiteral("HojitsuSa")) == QStringLiteral("1");
    m_fillerZeroPrint = ReadSetting(QStringLiteral("FillerZeroPrint")) == QStringLiteral("TRUE");
    m_fontName = ReadSetting(QStringLiteral("DefaultFontName"));
    // Every digits setting is read before the first page: one that cannot be
    // used stops the sheet before anything is shown or printed.
    for (int p = 0; p < THojituLine4::ValueCount; ++p)
        m_digits[size_t(p)] = Digits(p);

    // One statement reads the days with, for each, the totals up to its date
    // as the editor's totals add them up (the database's own sums over the
    // same lines), so that drawing needs no further reading.
    QStringList columns;
    for (int p = 0; p < THojituLine4::ValueCount; ++p)
        columns << QStringLiteral("HojituLine4.") + THojituLine4::Column(p);
    for (int p : THojituLine4::SummedPositions())
        columns << QStringLiteral("Sum(HojituLine4.%1) over UpToDate").arg(THojituLine4::Column(p));
    QString sql =
        QStringLiteral("select HojituLine4.SID, HojituLine4.HIDUKE, HojituLine4.SOKUTEN, ") +
        columns.join(u',');
    if (m_options.perMixture) {
        // Days of one date come in the order of their headers, so that the
        // sheet is the same every time it is printed.
        sql += QStringLiteral(", HojituHead4.KOSYUMEI from HojituLine4"
                              " inner join HojituHead4 on HojituHead4.ID=HojituLine4.SID"
                              " where (HojituHead4.KojiCode=:KojiCode)"
                              " and (HojituHead4.Gozaimei=:Gozaimei)");
    } else {
        sql += QStringLiteral(" from HojituLine4 where (SID=:SID)");
    }
    sql += QStringLiteral(" window UpToDate as (order by HojituLine4.HIDUKE"
                          " range between unbounded preceding and current row)");
    sql += m_options.perMixture ? QStringLiteral(" order by HojituLine4.HIDUKE, HojituHead4.ID")
                                : QStringLiteral(" order by HojituLine4.HIDUKE");
    TQuery query(sql);
    if (m_options.perMixture)
        query.BindText(QStringLiteral(":KojiCode"), m_head.Koji->Code)
            .BindText(QStringLiteral(":Gozaimei"), m_head.Gozai->DataName);
    else
        query.Bind(QStringLiteral(":SID"), m_sid);
    query.Exec();
    m_records.clear();
    const QList<int>& summed = THojituLine4::SummedPositions();
    constexpr int valuesAt = 3;
    const int sumsAt = valuesAt + THojituLine4::ValueCount;
    while (query.Next()) {
        TRecord record;
        record.sid = query.Integer(0);
        record.hiduke = SqlTextToDateTime(query.Value(1).toString());
        record.sokuten = query.Value(2).toString();
        for (int p = 0; p < THojituLine4::ValueCount; ++p)
            record.values[size_t(p)] = query.Value(valuesAt + p).toDouble();
        for (int i = 0; i < summed.size(); ++i)
            record.upToDate[size_t(summed[i])] = query.Value(sumsAt + i).toDouble();
        record.kosyumei = m_options.perMixture ? query.Value(sumsAt + int(summed.size())).toString()
                                               : m_head.Kosyu->Kosyumei;
        m_records.push_back(std::move(record));
    }
}

void THojitsuSheet::Draw(TSheetPages& pages, const std::function<void(int)>& progress)
{
    // Positions are measured from the paper's corner: an offset another
    // sheet of this run has set must not move this one.
    const TPageOffset offset(0, 0);
    TCanvas* canvas = pages.Canvas();
    BeginPage(*canvas);
    const int count = RecordCount();
    int row = 0;
    for (int i = 0; i < count; ++i) {
        if (row == 0)
            DrawForm(*canvas);
        if (progress)
            progress(i);
        DrawRow(*canvas, m_records[size_t(i)], kRowsTop + kRowHeight * float(row), LastOfDate(i));
        if (++row == kRowsPerPage) {
            row = 0;
            if (i + 1 < count) {
                canvas = pages.NewPage();
                BeginPage(*canvas);
            }
        }
    }
}

void THojitsuSheet::BeginPage(TCanvas& canvas)
{
    // Every page in the chosen print font. None chosen yet: the canvas keeps
    // the font a Japanese system would substitute, not the platform's
    // default, which may lack the forms' look.
    if (!m_fontName.trimmed().isEmpty())
        canvas.SetFontName(m_fontName);
}

void THojitsuSheet::DrawForm(TCanvas& c)
{
    SetPenWidthMm(c, 0.2f);
    c.SetFontSize(12);
    DrawBoxText(c, Title(), baCenter, kLeft, 1.7f, kRight, 2.2f, false, 1);

    c.SetFontSize(10);
    const QString heading = KindHeading();
    DrawBoxText(c, heading, baLeft, kLeft, 2.5f, 15, 3.0f, false, 1);
    DrawLineCm(c, kLeft, 3.0f, kLeft + TextWidthCm(c, heading), 3.0f, 1);
    const QString project = ProjectHeading();
    DrawBoxText(c, project, baRight, 15, 2.5f, kRight, 3.0f, false, 1);
    DrawLineCm(c, kRight - TextWidthCm(c, project), 3.0f, kRight, 3.0f, 1);

    SetPenWidthMm(c, 0.1f);
    for (int i = 0; i <= kRowsPerPage; ++i) {
        const float y = kRowsTop + kRowHeight * float(i);
        DrawLineCm(c, kLeft, y, kRight, y, 1);
    }
    const int headingSize = c.FontSize();
    const QStringList halfRows = HalfRowLabels();
    for (int i = 0; i < kRowsPerPage; ++i) {
        const float y = kRowsTop + kRowHeight * float(i);
        DrawLineCm(c, 7.62f, y + kHalfRow, kRight, y + kHalfRow, 1);
        c.SetFontSize(8);
        DrawBoxText(c, halfRows[0], baCenter, 7.62f, y, kColumnsLeft, y + kHalfRow, true, 1);
        DrawBoxText(c, halfRows[1], baCenter, 7.62f, y + kHalfRow, kColumnsLeft, y + kRowHeight,
                    true, 1);
        c.SetFontSize(headingSize);
    }

    c.SetFontSize(9);
    DrawRectCm(c, 2.4f, 3.2f, 5.61f, kTableBottom, 1);
    DrawRectCm(c, 6.65f, 3.2f, 7.62f, kTableBottom, 1);
    for (int k = 0; k < kColumns; ++k) {
        const float x = ColumnLeft(k);
        DrawLineCm(c, x, RuleTop(k), x, kTableBottom, 1);
        DrawBoxText(c, QString(QChar(u'A' + k)), baCenter, x, 4.22f, x + kColumnWidth, 4.73f, false,
                    1);
    }
    DrawRectCm(c, kColumnsLeft, 3.71f, kRight, 4.22f, 1);
    DrawLineCm(c, kColumnsLeft, 4.73f, kRight, 4.73f, 1);
    SetPenWidthMm(c, 0.3f);
    DrawRectCm(c, kLeft, 3.2f, kRight, 20, 1);
    SetPenWidthMm(c, 0.1f);

    const QStringList dayHeadings = DayHeadings();
    DrawBoxText(c, dayHeadings[0], baSpread, kLeft, 3.5f, 2.35f, 4.94f, true, 1);
    DrawBoxText(c, dayHeadings[1], baCenter, 2.35f, 3.5f, 5.71f, 4.94f, false, 1);
    DrawBoxText(c, dayHeadings[2], baSpread, 5.61f, 3.5f, 6.65f, 4.94f, true, 1);
    DrawBoxText(c, dayHeadings[3], baSpread, 6.65f, 3.5f, 7.62f, 4.94f, true, 1);

    for (const TBox& b : kGroups)
        DrawBoxText(c, QString::fromUtf16(b.text), baCenter, b.left, 3.2f, b.right, 3.71f, false,
                    1);
    for (const TBox& b : kSubheadings)
        DrawBoxText(c, QString::fromUtf16(b.text), baCenter, b.left, 3.71f, b.right, 4.22f, false,
                    1);

    const QStringList notes = Notes();
    DrawBoxText(c, RemarksHeading(), baSpread, 2.5f, kTableBottom, 6.62f, 20, false, 1);
    DrawBoxText(c, notes[0], baLeft, 6.62f, kTableBottom, 20, 17.94f, false, 1);
    DrawBoxText(c, notes[1], baLeft, 6.62f, 17.94f, 20, 18.44f, false, 1);

    for (const TBox& b : kFactors)
        DrawBoxText(c, QString::fromUtf16(b.text), baLeft, b.left, 4.73f, b.right, kRowsTop, false,
                    1);
    for (const TBox& b : kDifferences)
        DrawBoxText(c, Difference(b, m_actualMinusDesign), baCenter, b.left, 4.73f, b.right,
                    kRowsTop, false, 1);
}

void THojitsuSheet::DrawRow(TCanvas& c, const TRecord& record, float y, bool lastOfDate)
{
    const QDate date = ToQDate(record.hiduke);
    const QString day = QStringLiteral("%1/%2").arg(date.month()).arg(date.day());
    // The smaller size stays for the rest of the page, as the form has it.
    // It stops at 1 point: no smaller size exists, and a date that still did
    // not fit would keep the loop going for ever.
    while (TextWidthCm(c, day) > kDateWidth && c.FontSize() > 1)
        c.SetFontSize(c.FontSize() - 1);
    DrawBoxText(c, day, baCenter, kLeft, y, 2.4f, y + kRowHeight, false, 1);

    DrawBoxText(c, StationLines(record).join(kBreak), baLeft, 2.5f, y, 5.71f, y + kRowHeight, false,
                1);
    DrawBoxText(c, SizeText(record, 0), baRight, 5.71f, y, 6.6f, y + kRowHeight, false, 1);
    DrawBoxText(c, SizeText(record, 1), baRight, 6.65f, y, 7.57f, y + kRowHeight, false, 1);

    DrawNumbers(c, record, record.values, y, y + kHalfRow);
    if (lastOfDate)
        DrawNumbers(c, record, record.upToDate, y + kHalfRow, y + kRowHeight);
}

void THojitsuSheet::DrawNumbers(TCanvas& c, const TRecord& record,
                                const THojituLine4::TValues& values, float top, float bottom)
{
    const TBoxAlign align = m_options.oneLine ? baRight : baDecimal;
    for (int k = 0; k < kColumns; ++k) {
        if (!Shown(record, k))
            continue;
        const float x = ColumnLeft(k);
        DrawBoxText(c, NumberText(values, k), align, x + 0.05f, top, x + 0.9f, bottom, false, 1);
    }
}

int THojitsuSheet::ColumnPosition(int column)
{
    return kColumnPosition[column];
}

QString THojitsuSheet::Letter(int column)
{
    return QString(QChar(u'A' + column));
}

QList<THojitsuSheet::THeading> THojitsuSheet::GroupHeadings()
{
    return Headings(kGroups);
}

QList<THojitsuSheet::THeading> THojitsuSheet::SubHeadings()
{
    return Headings(kSubheadings);
}

QList<THojitsuSheet::THeading> THojitsuSheet::Formulas() const
{
    QList<THeading> formulas = Headings(kFactors);
    for (const TBox& b : kDifferences)
        formulas.append({Difference(b, m_actualMinusDesign), b.first, b.last});
    return formulas;
}

QStringList THojitsuSheet::DayHeadings()
{
    return {QStringLiteral("月日"), QStringLiteral("測　　点"), QStringLiteral("延長"),
            QStringLiteral("幅員")};
}

QStringList THojitsuSheet::HalfRowLabels()
{
    return {QStringLiteral("日計"), QStringLiteral("累計")};
}

QString THojitsuSheet::RemarksHeading()
{
    return QStringLiteral("摘要");
}

QStringList THojitsuSheet::Notes()
{
    return {QStringLiteral("（註）１．実際面積の幅員は40M毎の平均値とする。"),
            QStringLiteral("      ２．設計面積の幅員は設計値とする。")};
}

QString THojitsuSheet::KindHeading() const
{
    const QString printName = m_head.Gozai->PrintName;
    return m_options.perMixture ? QStringLiteral("合材名　") + printName
                                : QStringLiteral("工種　") + m_head.Kosyu->Kosyumei +
                                      QStringLiteral(" [ ") + printName + QStringLiteral(" ]");
}

QString THojitsuSheet::ProjectHeading() const
{
    return QStringLiteral("工事名　") + m_head.Koji->Kojimei;
}

QString THojitsuSheet::FontName() const
{
    // None chosen: the font the page canvas starts with.
    return m_fontName.trimmed().isEmpty() ? QStringLiteral("ＭＳ Ｐゴシック") : m_fontName;
}

QStringList THojitsuSheet::StationLines(const TRecord& record) const
{
    if (m_options.perMixture)
        return {record.kosyumei, record.sokuten};
    return {record.sokuten};
}

bool THojitsuSheet::LastOfDate(int index) const
{
    return index + 1 == RecordCount() ||
           m_records[size_t(index + 1)].hiduke != m_records[size_t(index)].hiduke;
}

bool THojitsuSheet::Shown(const TRecord& record, int column) const
{
    return column < kFirstFillerColumn || !m_fillerZeroPrint ||
           record.values[kFillerDesignRatio] != 0;
}

QString THojitsuSheet::NumberText(const THojituLine4::TValues& values, int column) const
{
    const int position = kColumnPosition[column];
    return FormatFixed(values[size_t(position)], m_digits[size_t(position)]);
}

QString THojitsuSheet::SizeText(const TRecord& record, int position) const
{
    const double value = record.values[size_t(position)];
    return value == 0 ? QString() : FormatFixed(value, m_digits[size_t(position)]);
}

TDeviceMetrics THojitsuSheet::PdfDevice()
{
    return ::PdfDevice(QPageLayout::Landscape);
}

void THojitsuSheet::WritePdf(const QString& file)
{
    const TDeviceMetrics device = PdfDevice();
    TPageStore store;
    {
        TStorePages pages(store, device);
        Draw(pages);
    }
    store.EndDocument();
    ::WritePdf(store, file, QPageLayout::Landscape, Title());
}

#pragma once

// What the tests of the paving record sheet share: a known record set in the
// data folder, and reading the printed sheet back box by box.

#include "../print/PrintTesting.h"
#include "app/HojitsuSheetPreview.h"
#include "app/THojitsuSheet.h"
#include "foundation/DateTime.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "print/CmDrawing.h"
#include "print/TfrmPreView.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QPushButton>
#include <cmath>

namespace SheetTesting {

const QString kProject = QStringLiteral("県道１２号線舗装工事");
const QString kWorkType = QStringLiteral("表層工");
const QString kMixture = QStringLiteral("密粒13");
const QString kPrintName = QStringLiteral("密粒度アスコン13F");

// The values of a day: position p holds p + seed / 8 (exact in binary, so
// that sums and ties round the same everywhere), the length 40 + seed.
inline THojituLine4::TValues DayValues(double seed)
{
    THojituLine4::TValues values{};
    for (int p = 0; p < THojituLine4::ValueCount; ++p)
        values[size_t(p)] = p + seed / 8;
    values[0] = 40 + seed;
    values[1] = 3.5;
    return values;
}

// The register entries a header names, the mixture with a print name of
// its own.
inline void Registers(const QString& code = QStringLiteral("K001"),
                      const QString& kosyu = kWorkType)
{
    TKoji koji;
    koji.LoadByCode(code);
    koji.Kojimei = kProject;
    koji.Save();
    TKosyu work;
    work.LoadByName(kosyu);
    work.Save();
    if (!TDatabase::TableExists(TGozaiDef::TableName())) {
        auto& prompt = TTestEnvironment::Current().prompt;
        for (int i = 0; i < 3; ++i)
            prompt.AnswerNext(true);
        TGozaiDef().EnsureTables(TPrompt::YesNo);
        TGozaiDef mix;
        mix.LoadByName(kMixture);
        mix.PrintName = kPrintName;
        mix.Save(kMixture);
    }
}

// A stored header of the three keys; `head` holds it loaded as the editor
// has it.
inline int Header(THojituHead4& head, const QString& code = QStringLiteral("K001"),
                  const QString& kosyu = kWorkType, const QString& mixture = kMixture)
{
    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    Registers(code, kosyu);
    head.Koji->LoadByCode(code);
    head.Kosyu->LoadByName(kosyu);
    head.Gozai->LoadByName(mixture);
    head.Save();
    head.LoadById(head.ID);
    return head.ID;
}

inline void Day(int sid, TDateTime date, const QString& station,
                const THojituLine4::TValues& values)
{
    THojituLine4 line;
    line.SID = sid;
    line.Hiduke = date;
    line.Sokuten = station;
    line.Values = values;
    line.Save();
}

// `count` days from 28 November 2026, day i with the values of seed i.
inline void Days(int sid, int count, int firstSeed = 1)
{
    for (int i = 0; i < count; ++i)
        Day(sid, EncodeDate(2026, 11, 28) + i, QStringLiteral("No.%1+5.0").arg(i),
            DayValues(firstSeed + i));
}

// The words whose centre lies in the box (centimetres), top to bottom and
// left to right.
inline QList<TPdfWord> WordsIn(const TPdfPage& page, double left, double top, double right,
                               double bottom)
{
    QList<TPdfWord> found;
    for (const TPdfWord& w : page.words)
        if (w.CentreX() > left * 10 && w.CentreX() < right * 10 && w.CentreY() > top * 10 &&
            w.CentreY() < bottom * 10)
            found << w;
    std::sort(found.begin(), found.end(), [](const TPdfWord& a, const TPdfWord& b) {
        if (std::abs(a.top - b.top) > 0.5)
            return a.top < b.top;
        return a.left < b.left;
    });
    return found;
}

inline QString TextIn(const TPdfPage& page, double left, double top, double right, double bottom)
{
    QString text;
    for (const TPdfWord& w : WordsIn(page, left, top, right, bottom))
        text += w.text;
    return text;
}

// The top of a line of text of `points` set in a box from `top` to `bottom`
// cm, in mm.
inline double LineTop(double top, double bottom, int points)
{
    return (top + bottom) * 5 - points * 25.4 / 72 / 2;
}

// Why the text drawn horizontally in the box (cm) is not `text` in `points`
// placed as `align` says; empty when it is. Spaces are not read back.
inline QString CheckBox(const TPdfPage& page, const QString& text, TBoxAlign align, double left,
                        double top, double right, double bottom, int points)
{
    const QList<TPdfWord> words = WordsIn(page, left, top, right, bottom);
    QString read;
    double first = 1e9, last = -1e9;
    for (const TPdfWord& w : words) {
        read += w.text;
        first = std::min(first, w.left);
        last = std::max(last, w.right);
    }
    QString expected = text;
    expected.remove(u' ').remove(QChar(0x3000));
    if (read != expected)
        return QStringLiteral("box (%1, %2, %3, %4) reads \"%5\", expected \"%6\"")
            .arg(left)
            .arg(top)
            .arg(right)
            .arg(bottom)
            .arg(read, expected);
    QString problem =
        Mismatch(text + QStringLiteral(" top"), words.first().top, LineTop(top, bottom, points));
    if (!problem.isEmpty())
        return problem;
    switch (align) {
    case baLeft:
        return Mismatch(text + QStringLiteral(" left"), first, left * 10);
    case baRight:
        return Mismatch(text + QStringLiteral(" right"), last, right * 10);
    case baCenter:
        return Mismatch(text + QStringLiteral(" centre"), (first + last) / 2, (left + right) * 5);
    case baSpread:
        problem = Mismatch(text + QStringLiteral(" left"), first, left * 10);
        return problem.isEmpty() ? Mismatch(text + QStringLiteral(" right"), last, right * 10)
                                 : problem;
    default:
        return QStringLiteral("alignment not checked");
    }
}

// A number split at its point: the whole part on the lower half from the
// box's left, the point and decimals smaller on the upper half, flush right.
inline QString CheckDecimal(const TPdfPage& page, const QString& number, double left, double top,
                            double right, double bottom, int points)
{
    const qsizetype point = number.indexOf(u'.');
    const QString whole = point < 0 ? QString() : number.left(point);
    const QString fraction = point < 0 ? number : number.mid(point);
    const double middle = (top + bottom) / 2;
    const int small = int(points * 0.8);
    QString problem;
    if (!whole.isEmpty())
        problem = CheckBox(page, whole, baLeft, left + 0.01, middle, right, bottom, points);
    if (problem.isEmpty())
        problem = CheckBox(page, fraction, baRight, left, top, right, middle, small);
    return problem;
}

// The sheet of `head` written through the export.
inline QList<TPdfPage> Exported(const THojituHead4& head, THojitsuSheet::TOptions options = {})
{
    const QString file = TTestEnvironment::Current().NewFolder() + QStringLiteral("/sheet.pdf");
    THojitsuSheet sheet(head, head.ID, options);
    sheet.Load();
    sheet.WritePdf(file);
    return ReadPdf(file);
}

// The sheet of `head` previewed and printed with the preview's "印刷(&P)"
// on the test's PDF printer.
inline QList<TPdfPage> PrintedFromPreview(const THojituHead4& head,
                                          THojitsuSheet::TOptions options = {})
{
    const int before = int(TZqPrinter::Instance().CapturedFiles().size());
    WhenModalShown([](QWidget* modal) {
        if (auto* preview = qobject_cast<TfrmPreView*>(modal))
            ControlOf<QPushButton>(preview, "Button1")->click();
        modal->close();
    });
    PreviewHojitsuSheet(head, head.ID, options, nullptr);
    if (TZqPrinter::Instance().CapturedFiles().size() == before)
        return {};
    return ReadPdf(LastPrintedFile());
}

} // namespace SheetTesting

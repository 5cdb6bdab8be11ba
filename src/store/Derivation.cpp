#include "store/Derivation.h"

#include "foundation/Conversions.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"

void DeriveDay(THojituLine4::TValues& h, bool actualMinusDesign, TDerivedPositions* derived)
{
    TDerivedPositions none;
    TDerivedPositions& again = derived ? *derived : none;
    const auto derive = [&](int position, double value) {
        if (h[size_t(position)] == 0 || again[size_t(position)]) {
            h[size_t(position)] = value;
            again[size_t(position)] = true;
        }
    };
    const double area = h[0] * h[1];
    derive(2, area);
    derive(3, area);
    // The actual thickness is the design one until the user types another.
    if (h[4] != 0 || again[5])
        derive(5, h[4]);
    derive(8, h[2] * h[4] * h[6] * 0.01);
    derive(9, h[3] * h[5] * h[7] * 0.01);

    h[16] = h[8] * h[13] / 100;
    h[17] = h[9] * h[14] / 100;
    h[18] = h[10] * h[15] / 100;
    h[26] = h[8] * h[23] / 100;
    h[27] = h[9] * h[24] / 100;
    h[28] = h[10] * h[25] / 100;

    // Each difference is "measured minus computed" in the one mode and the
    // reverse in the other.
    const double sign = actualMinusDesign ? 1 : -1;
    const auto difference = [sign](double measured, double computed) {
        return sign * (measured - computed);
    };
    h[11] = difference(h[10], h[8]);
    h[12] = difference(h[10], h[9]);
    h[20] = difference(h[19], h[16]);
    h[21] = difference(h[19], h[17]);
    h[22] = difference(h[19], h[18]);
    h[30] = difference(h[29], h[26]);
    h[31] = difference(h[29], h[27]);
    h[32] = difference(h[29], h[28]);
}

TMixPrefill MixPrefill(const TGozaiDef& mix)
{
    // The total-mix basis row; columns 8-10 filler and pigment, 11-13 binder.
    const auto& d = mix.Ratios[1]->D;
    return {mix.Mitudo[2], FormatGeneral(d[11] + d[12] + d[13]),
            FormatGeneral(d[8] + d[9] + d[10])};
}

bool CoreDensity(const QString& kojiCode, const QString& gozaiName, QString& density)
{
    // Every new data folder lacks it: then the density comes from the mixture.
    if (!TDatabase::TableExists(QStringLiteral("CoreHead")))
        return false;
    TQuery query(QStringLiteral("select MitudoPer from CoreHead where (KojiCode = :KojiCode) "
                                "and (GozaiName = :GozaiName)"));
    query.BindText(QStringLiteral(":KojiCode"), kojiCode)
        .BindText(QStringLiteral(":GozaiName"), gozaiName)
        .Exec();
    if (!query.Next())
        return false;
    density = query.Value(0).toString();
    return true;
}

bool ReadDate(const QString& text, TDateTime& date)
{
    const QString trimmed = text.trimmed();
    return !trimmed.isEmpty() && TryStrToDate(trimmed, date);
}

QString SaveProblem(const QString& kojiCode, const QString& kosyu, const QString& gozai,
                    const QString& dateText, TDateTime& date)
{
    QStringList missing;
    if (kojiCode.trimmed().isEmpty())
        missing << QStringLiteral("工事名");
    if (kosyu.trimmed().isEmpty())
        missing << QStringLiteral("工種名");
    if (gozai.trimmed().isEmpty())
        missing << QStringLiteral("合材名");
    if (!missing.isEmpty())
        return QStringLiteral("%1が入力されていないため、保存できません。")
            .arg(missing.join(QStringLiteral("・")));
    if (!ReadDate(dateText, date))
        return QStringLiteral("舗設日 \"%1\" を日付として読めないため、保存できません。\n"
                              "2026/04/01 のように入力してください。")
            .arg(dateText.trimmed());
    return QString();
}

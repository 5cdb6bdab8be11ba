#include "acceptance/AcceptanceCommand.h"

#include "acceptance/TAcceptanceSheet.h"
#include "acceptance/TGokakuHanteiti.h"
#include "foundation/EKanmuriError.h"
#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "mix/TGozaiDef.h"
#include "mix/TPlant.h"

#include <QDir>
#include <QTextStream>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct TRequest
{
    QString mixture;
    TGokakuHanteiti::TMethod method = TGokakuHanteiti::PlantGuide;
    QString pdf;
};

bool IsHelp(const QString& argument)
{
    return argument == QStringLiteral("--help") || argument == QStringLiteral("-h") ||
           argument == QStringLiteral("help") || argument == QStringLiteral("/?");
}

// What is wrong with the options; empty when they are complete.
QString Parse(const QStringList& arguments, TRequest& request)
{
    QString method;
    bool methodGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        QString value;
        bool inlineValue = false;
        const qsizetype equals = name.indexOf(u'=');
        if (name.startsWith(QStringLiteral("--")) && equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
            inlineValue = true;
        }
        QString* target = nullptr;
        if (name == QStringLiteral("--mixture")) {
            target = &request.mixture;
        } else if (name == QStringLiteral("--pdf")) {
            target = &request.pdf;
        } else if (name == QStringLiteral("--method")) {
            target = &method;
            methodGiven = true;
        }
        if (!target)
            return QStringLiteral("\"%1\" は acceptance の指定にありません。").arg(arguments[i]);
        if (!inlineValue) {
            if (i + 1 >= arguments.size())
                return QStringLiteral("%1 の後に値を指定してください。").arg(name);
            value = arguments[++i];
        }
        *target = value;
    }
    if (methodGiven) {
        if (method == QStringLiteral("0"))
            request.method = TGokakuHanteiti::PlantGuide;
        else if (method == QStringLiteral("1"))
            request.method = TGokakuHanteiti::ReuseGuide;
        else
            return QStringLiteral("--method は 0 (%1) か 1 (%2) で指定してください。")
                .arg(TGokakuHanteiti::MethodName(TGokakuHanteiti::PlantGuide),
                     TGokakuHanteiti::MethodName(TGokakuHanteiti::ReuseGuide));
    }
    QStringList missing;
    if (request.mixture.trimmed().isEmpty())
        missing << QStringLiteral("--mixture (合材名)");
    if (request.pdf.trimmed().isEmpty())
        missing << QStringLiteral("--pdf (書き出す PDF ファイル)");
    if (!missing.isEmpty())
        return QStringLiteral("指定がありません: %1").arg(missing.join(QStringLiteral("、")));
    return QString();
}

// The sheet of the stored mixture into the file. Raises EKanmuriError,
// saying what was not found or why it cannot be calculated, before any file
// is made.
void Export(const TRequest& request)
{
    TDatabase::Connection();
    if (!TDatabase::TableExists(TGozaiDef::TableName()) ||
        !RowExists(TGozaiDef::TableName(), {{QStringLiteral("DataName"), request.mixture}}))
        // A batch run under another account may not share this user's data
        // folder: it is named.
        throw EKanmuriError(
            QStringLiteral("合材 \"%1\" が見つかりません。\n（データ格納フォルダ: %2）")
                .arg(request.mixture, QDir::toNativeSeparators(TDatabase::AliasFolder(kAlias))));
    TGozaiDef mix;
    mix.LoadByName(request.mixture);

    TGokakuHanteiti calculator;
    calculator.Method = request.method;
    TGokakuResult result;
    if (!calculator.Calculate(mix, mix.Kosyu, result))
        throw EKanmuriError(
            QStringLiteral("合材 \"%1\" の合格判定値: ").arg(request.mixture) +
            TGokakuHanteiti::NotCalculatedMessage().remove(u'\n') +
            QStringLiteral("\nプラント \"%1\" のバッチの計量値とビンの配合率を確かめてください。")
                .arg(calculator.Plant->Name));

    const TAcceptanceSheet sheet(result, *calculator.Plant, mix.PrintName, mix.Kosyu,
                                 calculator.Method, TGokakuHanteiti::OneDecimalSetting());
    sheet.WritePdf(request.pdf, TAcceptancePrintSettings::Stored());
}

} // namespace

QString AcceptanceUsage()
{
    return QStringLiteral(
        "  pTarmak acceptance --mixture 合材名 [--method 0|1] --pdf ファイル\n"
        "      計量自記記録の合格判定値（２ページ）を「印刷」と同じ内容で PDF ファイルに\n"
        "      書き出します。画面は開きません。フォント・オフセット・拡大率は保存されている\n"
        "      印刷設定を使います。\n"
        "      --method  再生材を含む合材の計算方法: 0 プラント再生舗装技術指針（既定）、\n"
        "                1 アスファルト舗装再生利用ガイドライン\n");
}

int RunAcceptanceCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (!arguments.isEmpty() && IsHelp(arguments.first())) {
        out << QStringLiteral("使い方:\n") << AcceptanceUsage();
        return kDone;
    }
    TRequest request;
    const QString problem = Parse(arguments, request);
    if (!problem.isEmpty()) {
        err << problem << QStringLiteral("\n\n使い方:\n") << AcceptanceUsage();
        return kUsage;
    }
    try {
        Export(request);
    } catch (const std::exception& e) {
        err << ExceptionText(e) << u'\n';
        return kFailed;
    }
    return kDone;
}

#include "app/TCommandLine.h"

#include "acceptance/AcceptanceCommand.h"
#include "app/CopyDataCommand.h"
#include "app/TCsvExport.h"
#include "app/TParadoxImport.h"
#include "app/TProgressLine.h"

#include "app/THojitsuSheet.h"
#include "app/THojitsuWorkbook.h"
#include "foundation/EKanmuriError.h"
#include "foundation/FileVersion.h"
#include "foundation/Fonts.h"
#include "foundation/Rows.h"
#include "foundation/TDatabase.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "mix/TGozaiDef.h"
#include "store/THojituHead4.h"

#include <QDir>
#include <QGuiApplication>
#include <QMap>
#include <QTextStream>
#include <cstdio>
#include <cstring>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

const QString kSheet = QStringLiteral("sheet");

QString SheetUsage();
QString CommonUsage();

QString DataUsage();

QString Usage()
{
    return SheetUsage() + AcceptanceUsage() + DataUsage() + CopyDataUsage() + CommonUsage();
}

QString DataUsage()
{
    return QStringLiteral(
        "  pTarmak export-csv --project 工事コード --work-type 工種名 --mixture 合材名\n"
        "                [--per-mixture] --csv ファイル\n"
        "      舗設実績の日ごとの値を CSV ファイル (UTF-8) に書き出します。\n"
        "  pTarmak import-paradox フォルダ [--replace]\n"
        "      以前のプログラムのデータ (Paradox の表、Koji1.DB など) を、いまの\n"
        "      データ格納フォルダに取り込みます。すでにデータのある表は --replace\n"
        "      のときだけ置き換えます。\n");
}

QString SheetUsage()
{
    return QStringLiteral(
        "使い方:\n"
        "  pTarmak                 画面を開いて起動します。\n"
        "  pTarmak sheet --project 工事コード --work-type 工種名 --mixture 合材名\n"
        "                [--per-mixture] [--one-line] [--pdf ファイル] [--xlsx ファイル]\n"
        "      舗設実績表を「ﾌﾟﾚﾋﾞｭｰ」と同じ内容で PDF ファイル (--pdf) または\n"
        "      Excel ファイル (--xlsx)、あるいはその両方に書き出します。\n"
        "      画面は開きません。桁数・フォントなどは保存されている設定を使います。\n"
        "      --per-mixture  合材ごとに集計する（工事のすべての工種の同じ合材）\n"
        "      --one-line     １行印字\n");
}

QString CommonUsage()
{
    return QStringLiteral(
        "  pTarmak --help          この説明を表示します。\n"
        "  pTarmak --version       バージョンを表示します。\n"
        "\n"
        "終了コード: 0 書き出した、1 書き出せなかった（理由を表示）、2 指定の誤り。\n");
}

bool IsHelp(const QString& argument)
{
    return argument == QStringLiteral("--help") || argument == QStringLiteral("-h") ||
           argument == QStringLiteral("help") || argument == QStringLiteral("/?");
}

// A name is known when its register holds it or a stored record uses it: a
// record keeps its project, work type and mixture names as they were saved.
bool Known(const QString& table, const QString& column, const QString& value)
{
    return TDatabase::TableExists(table) && RowExists(table, {{column, value}});
}

struct TSheetRequest
{
    QString project;
    QString workType;
    QString mixture;
    QString pdf; // the file written: a PDF, or a CSV for export-csv
    QString xlsx;
    THojitsuSheet::TOptions options;
};

const QString kExportCsv = QStringLiteral("export-csv");
const QString kImportParadox = QStringLiteral("import-paradox");

// Reads the sheet's options; an empty text when they are complete, else
// what is wrong.
QString ParseSheet(const QStringList& arguments, TSheetRequest& request,
                   const QString& command = kSheet)
{
    const bool csv = command == kExportCsv;
    const QString output = csv ? QStringLiteral("--csv") : QStringLiteral("--pdf");
    QMap<QString, QString*> values{{QStringLiteral("--project"), &request.project},
                                   {QStringLiteral("--work-type"), &request.workType},
                                   {QStringLiteral("--mixture"), &request.mixture},
                                   {output, &request.pdf}};
    if (!csv)
        values.insert(QStringLiteral("--xlsx"), &request.xlsx);
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        QString value;
        bool inline_ = false;
        const qsizetype equals = name.indexOf(u'=');
        if (name.startsWith(QStringLiteral("--")) && equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
            inline_ = true;
        }
        if (name == QStringLiteral("--per-mixture") && !inline_) {
            request.options.perMixture = true;
        } else if (name == QStringLiteral("--one-line") && !inline_ && !csv) {
            request.options.oneLine = true;
        } else if (values.contains(name)) {
            if (!inline_) {
                if (i + 1 >= arguments.size())
                    return QStringLiteral("%1 の後に値を指定してください。").arg(name);
                value = arguments[++i];
            }
            *values[name] = value;
        } else {
            return QStringLiteral("\"%1\" は %2 の指定にありません。").arg(arguments[i], command);
        }
    }
    QStringList missing;
    if (request.project.trimmed().isEmpty())
        missing << QStringLiteral("--project (工事コード)");
    if (request.workType.trimmed().isEmpty())
        missing << QStringLiteral("--work-type (工種名)");
    if (request.mixture.trimmed().isEmpty())
        missing << QStringLiteral("--mixture (合材名)");
    if (request.pdf.trimmed().isEmpty() && request.xlsx.trimmed().isEmpty())
        missing << (csv ? QStringLiteral("--csv (書き出す CSV ファイル)")
                        : QStringLiteral("--pdf (書き出す PDF ファイル) または --xlsx "
                                         "(書き出す Excel ファイル)"));
    if (!missing.isEmpty())
        return QStringLiteral("指定がありません: %1").arg(missing.join(QStringLiteral("、")));
    return QString();
}

// The header the request names. Raises EKanmuriError, naming what was not
// found, before any file is made.
void FindRecord(const TSheetRequest& request, THojituHead4& head)
{
    TDatabase::Connection();
    const QString head4 = QStringLiteral("HojituHead4");
    QStringList unknown;
    if (!Known(QStringLiteral("Koji1"), QStringLiteral("CODE"), request.project.trimmed()) &&
        !Known(head4, QStringLiteral("KOJICODE"), request.project))
        unknown
            << QStringLiteral("工事コード \"%1\" の工事が見つかりません。").arg(request.project);
    if (!Known(QStringLiteral("Kosyu4"), QStringLiteral("KOSYUMEI"), request.workType) &&
        !Known(head4, QStringLiteral("KOSYUMEI"), request.workType))
        unknown << QStringLiteral("工種 \"%1\" が見つかりません。").arg(request.workType);
    if (!Known(TGozaiDef::TableName(), QStringLiteral("DataName"), request.mixture) &&
        !Known(head4, QStringLiteral("GOZAIMEI"), request.mixture))
        unknown << QStringLiteral("合材 \"%1\" が見つかりません。").arg(request.mixture);
    // Looked for in the data folder of this user's settings, which a batch
    // run under another account may not share: the folder is named.
    const QString folder = QStringLiteral("\n（データ格納フォルダ: %1）")
                               .arg(QDir::toNativeSeparators(TDatabase::AliasFolder(kAlias)));
    if (!unknown.isEmpty())
        throw EKanmuriError(unknown.join(u'\n') + folder);

    const QString record = QStringLiteral("工事 \"%1\"・工種 \"%2\"・合材 \"%3\" の舗設実績")
                               .arg(request.project, request.workType, request.mixture);
    const QString notFound = record + QStringLiteral("が見つかりません。") + folder;
    if (!TDatabase::TableExists(head4) || !TDatabase::TableExists(QStringLiteral("HojituLine4")))
        throw EKanmuriError(notFound);
    head.Koji->LoadByCode(request.project);
    head.Kosyu->LoadByName(request.workType);
    head.Gozai->DataName = request.mixture;
    head.LoadByKeys();
    if (head.ID == 0)
        throw EKanmuriError(notFound);
    if (!RowExists(QStringLiteral("HojituLine4"), {{QStringLiteral("SID"), head.ID}}))
        throw EKanmuriError(record + QStringLiteral("には舗設日がありません。"));
}

// The sheet as "ﾌﾟﾚﾋﾞｭｰ" would show it for the header, into the PDF file,
// the workbook or both.
void ExportSheet(const TSheetRequest& request)
{
    THojituHead4 head;
    FindRecord(request, head);
    THojitsuSheet sheet(head, head.ID, request.options);
    sheet.Load();
    // The workbook is built before either file is written, so that a
    // workbook that cannot be made leaves no PDF behind either.
    QByteArray workbook;
    if (!request.xlsx.isEmpty())
        workbook = THojitsuWorkbook(sheet).Build();
    if (!request.pdf.isEmpty())
        sheet.WritePdf(request.pdf);
    if (!request.xlsx.isEmpty())
        THojitsuWorkbook::Save(workbook, request.xlsx);
}

} // namespace

bool TCommandLine::IsCommand(int argc, char** argv)
{
    if (argc < 2)
        return false;
    // Qt's own options ("-platform", "-style") still start the windows.
    const char* first = argv[1];
    return std::strcmp(first, "--help") == 0 || first[0] != '-' || std::strcmp(first, "-h") == 0 ||
           std::strcmp(first, "--version") == 0;
}

int TCommandLine::Main(int argc, char** argv)
{
#ifdef Q_OS_WIN
    // The program is a windows program: its messages go to the console it
    // was started from, if any.
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        std::freopen("CONOUT$", "w", stdout);
        std::freopen("CONOUT$", "w", stderr);
        SetConsoleOutputCP(CP_UTF8);
    }
#else
    // No window is opened: the sheet is drawn without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    // Standard error carries the program's own messages only; Qt's notes
    // about the environment (a missing runtime folder) would read as errors
    // in a batch log.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    });
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("pTarmak"));
    QGuiApplication::setApplicationVersion(QStringLiteral(KANMURI_VERSION));
    InstallFontSubstitutes();
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status = Run(QGuiApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}

namespace {

// "import-paradox FOLDER [--replace]": the tables of an earlier data folder
// into this one, with a progress line on standard error and the report on
// standard output.
int ImportParadox(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QString folder;
    bool replace = false;
    for (const QString& argument : arguments) {
        if (argument == QStringLiteral("--replace")) {
            replace = true;
        } else if (IsHelp(argument)) {
            out << Usage();
            return kDone;
        } else if (folder.isEmpty() && !argument.startsWith(QStringLiteral("--"))) {
            folder = argument;
        } else {
            err << QStringLiteral("\"%1\" は import-paradox の指定にありません。\n\n").arg(argument)
                << Usage();
            return kUsage;
        }
    }
    if (folder.isEmpty()) {
        err << QStringLiteral("取り込む旧データのフォルダを指定してください。\n\n") << Usage();
        return kUsage;
    }
    TProgressLine progress(err, QStringLiteral("取り込み中 %1 / %2 件"));
    try {
        TDatabase::Connection();
        TParadoxImport import(folder);
        const auto reports = import.Run(
            replace, [&progress](qint64 done, qint64 total) { progress.Show(done, total); });
        progress.End();
        out << TParadoxImport::ReportText(reports) << u'\n';
    } catch (const std::exception& e) {
        progress.End();
        err << ExceptionText(e) << u'\n';
        return kFailed;
    }
    return kDone;
}

} // namespace

int TCommandLine::Run(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty() || IsHelp(arguments.first())) {
        out << Usage();
        return kDone;
    }
    if (arguments.first() == QStringLiteral("--version")) {
        out << QStringLiteral("pTarmak ") << ProgramVersion() << u'\n';
        return kDone;
    }
    if (arguments.first() == QStringLiteral("acceptance"))
        return RunAcceptanceCommand(arguments.mid(1), out, err);
    if (arguments.first() == kImportParadox)
        return ImportParadox(arguments.mid(1), out, err);
    if (arguments.first() == QStringLiteral("copy-data"))
        return RunCopyDataCommand(arguments.mid(1), out, err);
    const bool csv = arguments.first() == kExportCsv;
    if (arguments.first() != kSheet && !csv) {
        err << QStringLiteral("\"%1\" というコマンドはありません。\n\n").arg(arguments.first())
            << Usage();
        return kUsage;
    }
    const QStringList options = arguments.mid(1);
    if (!options.isEmpty() && IsHelp(options.first())) {
        out << Usage();
        return kDone;
    }
    TSheetRequest request;
    const QString problem = ParseSheet(options, request, arguments.first());
    if (!problem.isEmpty()) {
        err << problem << QStringLiteral("\n\n") << Usage();
        return kUsage;
    }
    try {
        if (csv) {
            THojituHead4 head;
            FindRecord(request, head);
            TCsvExport::Write(request.project, request.workType, request.mixture,
                              request.options.perMixture, request.pdf);
        } else {
            ExportSheet(request);
        }
    } catch (const std::exception& e) {
        err << ExceptionText(e) << u'\n';
        return kFailed;
    }
    return kDone;
}

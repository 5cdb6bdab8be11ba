#include "app/CopyDataCommand.h"

#include "app/TProgressLine.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TDatabase.h"

#include <QTextStream>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

} // namespace

QString CopyDataUsage()
{
    return QStringLiteral(
        "  pTarmak copy-data --to-server [--from フォルダ] [--host サーバー名]\n"
        "                [--port ポート] [--database データベース名] [--user ユーザー名]\n"
        "      データ格納フォルダのデータを、空のデータベースサーバー (PostgreSQL) に\n"
        "      1 回でコピーし、表ごとの行数を表示します。フォルダとサーバーは、\n"
        "      指定がなければ engine.ini の設定を使います。データのあるサーバーには\n"
        "      コピーしません。パスワードは ~/.pgpass か PGPASSWORD に置きます。\n");
}

int RunCopyDataCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    bool toServer = false;
    QString folder;
    TServerSettings server;
    try {
        server = TDatabase::AliasServer(kAlias);
    } catch (const EKanmuriError& e) {
        err << e.text() << u'\n';
        return kFailed;
    }
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QStringLiteral("--help") || argument == QStringLiteral("-h")) {
            out << CopyDataUsage();
            return kDone;
        }
        if (argument == QStringLiteral("--to-server")) {
            toServer = true;
            continue;
        }
        const bool valued =
            argument == QStringLiteral("--from") || argument == QStringLiteral("--host") ||
            argument == QStringLiteral("--port") || argument == QStringLiteral("--database") ||
            argument == QStringLiteral("--user");
        if (!valued) {
            err << QStringLiteral("\"%1\" は copy-data の指定にありません。\n\n").arg(argument)
                << CopyDataUsage();
            return kUsage;
        }
        if (i + 1 >= arguments.size()) {
            err << QStringLiteral("%1 の後に値を指定してください。\n\n").arg(argument)
                << CopyDataUsage();
            return kUsage;
        }
        const QString value = arguments[++i];
        if (argument == QStringLiteral("--from")) {
            folder = value;
        } else if (argument == QStringLiteral("--host")) {
            server.host = value;
        } else if (argument == QStringLiteral("--database")) {
            server.database = value;
        } else if (argument == QStringLiteral("--user")) {
            server.user = value;
        } else {
            bool ok = false;
            server.port = value.toInt(&ok);
            if (!ok || server.port <= 0 || server.port > 65535) {
                err << QStringLiteral("ポート番号 \"%1\" が正しくありません。\n\n").arg(value)
                    << CopyDataUsage();
                return kUsage;
            }
        }
    }
    if (!toServer) {
        err << QStringLiteral("コピー先として --to-server を指定してください。\n\n")
            << CopyDataUsage();
        return kUsage;
    }
    if (server.host.isEmpty() || server.database.isEmpty() || server.user.isEmpty()) {
        err << QStringLiteral("コピー先のサーバーが決まっていません。engine.ini に HOST、"
                              "DATABASE、USER を書くか、--host、--database、--user で"
                              "指定してください。\n\n")
            << CopyDataUsage();
        return kUsage;
    }
    TProgressLine progress(err, QStringLiteral("コピー中 %1 / %2 行"));
    try {
        if (folder.isEmpty())
            folder = TDatabase::AliasFolder(kAlias);
        const QList<TCopiedTable> copied = TDatabase::CopyFolderToServer(
            folder, server, [&progress](qint64 done, qint64 total) { progress.Show(done, total); });
        progress.End();
        out << CopyReportText(folder, server, copied) << u'\n';
    } catch (const std::exception& e) {
        progress.End();
        err << ExceptionText(e) << u'\n';
        return kFailed;
    }
    return kDone;
}

#include "foundation/DatabaseTexts.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TBackup.h"
#include "foundation/TDatabase.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString FolderLockedText()
{
    QString folder;
    try {
        folder = TDatabase::AliasFolder(kAlias);
    } catch (const EKanmuriError&) {
    }
    return QStringLiteral("データ格納フォルダ \"%1\" のデータベースを、ほかのプログラムが"
                          "長く使っているため、書き込めませんでした。\n"
                          "この操作は保存されていません。しばらく待ってから、もう一度やり直して"
                          "ください。")
        .arg(Native(folder));
}

QString UnreadableText(const QString& file)
{
    const QString backup = TBackup::Newest(QFileInfo(file).absolutePath());
    QString text = QStringLiteral("データベース \"%1\" が壊れているか読み取れないため、"
                                  "データを読み込めません。\n\n")
                       .arg(Native(file));
    if (backup.isEmpty()) {
        text += QStringLiteral("バックアップはまだありません。\n");
    } else {
        text += QStringLiteral("最新のバックアップ: \"%1\"\n"
                               "元に戻すには、pTarmak を終了し、壊れたファイル \"%2\" を"
                               "別の名前に変えてから、バックアップを \"%2\" という名前で"
                               "データ格納フォルダにコピーしてください。\n")
                    .arg(Native(backup), TDatabase::DatabaseFileName());
    }
    return text + QStringLiteral("別のフォルダを使うには「環境設定」の「データ格納フォルダの設定」"
                                 "で選び直してください。");
}

QString NewerVersionText(const QString& place, const QString& detail)
{
    return QStringLiteral("データベース \"%1\" は、この pTarmak より新しいバージョンで"
                          "作られているため使えません%2。\n"
                          "データを守るため、このファイルには書き込みません。新しいバージョンの "
                          "pTarmak を使うか、「環境設定」の「データ格納フォルダの設定」で別の"
                          "フォルダを選んでください。")
        .arg(Native(place), detail);
}

QString ServerNameOfAlias()
{
    try {
        return TDatabase::AliasServer(kAlias).Name();
    } catch (const EKanmuriError&) {
        return QString();
    }
}

QString ServerLockedText()
{
    return QStringLiteral("データベースサーバー \"%1\" のデータを、ほかのパソコンのプログラムが"
                          "長く使っているため、書き込めませんでした。\n"
                          "この操作は保存されていません。しばらく待ってから、もう一度やり直して"
                          "ください。")
        .arg(ServerNameOfAlias());
}

QString LostText(const QString& server)
{
    return QStringLiteral("データベースサーバー \"%1\" との接続が切れました（サーバーの再起動や"
                          "ネットワークの切断）。\n"
                          "この操作は保存されていません。サーバーとネットワークを確かめてから、"
                          "もう一度やり直してください。次の操作で接続し直します。")
        .arg(server);
}

QString CommitUnknownText(const QString& server)
{
    return QStringLiteral("データベースサーバー \"%1\" との接続が、保存を確定している途中で"
                          "切れました（サーバーの再起動やネットワークの切断）。\n"
                          "サーバーが保存を終えたかどうかは分かりません。サーバーとネットワークを"
                          "確かめて接続し直してから、この日のデータが保存されているかを確かめて"
                          "ください。次の操作で接続し直します。")
        .arg(server);
}

QString TooLongText()
{
    return QStringLiteral("入力された文字が、データベースサーバーの列に入る長さを超えています。\n"
                          "この操作は保存されていません。短くしてから、もう一度やり直して"
                          "ください。");
}

QString CannotConnectText(const TServerSettings& server, const QString& problem)
{
    return QStringLiteral("データベースサーバー \"%1\" に接続できません。\n%2\n"
                          "「環境設定」で接続先を確かめてください。")
        .arg(server.Name(), problem);
}

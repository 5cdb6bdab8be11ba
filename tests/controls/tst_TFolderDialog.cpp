#include "controls/TFileChooser.h"
#include "controls/TFolderDialog.h"
#include "support/TTestEnvironment.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString Canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

void Click(QWidget* chooser, QDialogButtonBox::StandardButton which)
{
    auto* box = chooser->findChild<QDialogButtonBox*>("buttonBox");
    QVERIFY(box && box->button(which));
    QTest::mouseClick(box->button(which), Qt::LeftButton);
}

} // namespace

class TestTFolderDialog : public QObject
{
    Q_OBJECT
private slots:
    void opensAtExistingFolderElseAtRoot()
    {
        QWidget owner;
        TFolderDialog dialog(&owner);
        const QString folder = TTestEnvironment::Current().NewFolder();
        const QString cases[][2] = {{folder, folder},
                                    {folder + "/missing", QDir::rootPath()},
                                    {QString(), QDir::rootPath()}};
        for (const auto& c : cases) {
            dialog.Directory = c[0];
            QString openedAt, title;
            QWidget* ownerShown = nullptr;
            WhenModalShown([&](QWidget* modal) {
                auto* chooser = qobject_cast<QFileDialog*>(modal);
                if (chooser) {
                    openedAt = chooser->directory().absolutePath();
                    title = chooser->windowTitle();
                    ownerShown = chooser->parentWidget();
                }
                Click(modal, QDialogButtonBox::Cancel);
            });
            QVERIFY(!dialog.Execute());
            QCOMPARE(Canonical(openedAt), Canonical(c[1]));
            QCOMPARE(title, QString("フォルダーの選択"));
            QCOMPARE(ownerShown, &owner);
            // Cancel leaves the folder as it was, even one that does not exist.
            QCOMPARE(dialog.Directory, c[0]);
        }
    }

    void confirmingSetsDirectory()
    {
        QWidget owner;
        TFolderDialog dialog(&owner);
        const QString folder = TTestEnvironment::Current().NewFolder();
        QVERIFY(QDir(folder).mkdir("データ"));
        dialog.Directory = folder;
        WhenModalShown([](QWidget* modal) {
            modal->findChild<QLineEdit*>("fileNameEdit")->setText("データ");
            Click(modal, QDialogButtonBox::Open);
        });
        QVERIFY(dialog.Execute());
        QCOMPARE(Canonical(dialog.Directory), Canonical(folder + "/データ"));
        QCOMPARE(dialog.Directory, QDir::toNativeSeparators(dialog.Directory));
    }

    // The file chooser hook answers in place of the user, without a dialog.
    void answeredThroughTheHook()
    {
        QWidget owner;
        TFolderDialog dialog(&owner);
        const QString folder = TTestEnvironment::Current().NewFolder();
        dialog.Directory = folder;
        TFileChooser::SetNextCancel();
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.Directory, folder);
        const TFileChooser::TShown shown = TFileChooser::LastShown();
        QCOMPARE(shown.objectName, QString("FolderBrowser"));
        QCOMPARE(shown.caption, QString("フォルダーの選択"));
        QCOMPARE(Canonical(shown.proposed), Canonical(folder));

        const QString chosen = TTestEnvironment::Current().NewFolder();
        TFileChooser::SetNextFile(chosen);
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.Directory, QDir::toNativeSeparators(chosen));
        QCOMPARE(TFileChooser::Pending(), 0);
    }
};

KANMURI_TEST_MAIN(TestTFolderDialog)
#include "tst_TFolderDialog.moc"

#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "foundation/Fonts.h"
#include "foundation/Settings.h"
#include "foundation/TApplication.h"
#include "foundation/TDatabase.h"
#include "foundation/TQtPrompt.h"

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("pTarmak"));
    TApplication::setApplicationVersion(QStringLiteral(KANMURI_VERSION));
    InstallFontSubstitutes();
    TApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    TQtPrompt prompt;
    TPrompt::SetBackend(&prompt);

    // A first start needs no set-up: the settings key, the alias and an empty
    // database in the data folder are made here. A data folder that cannot be
    // opened is reported, and the window still opens so it can be repointed.
    // Whatever fails at start is shown once, after every window is made.
    int result = 0;
    {
        TApplication::TErrorBatch startErrors;
        TApplication::Guard([] {
            EnsureSettingsKey();
            TDatabase::Connection();
        });
        TApplication::Guard([&] {
            TForms::Instance().CreateAll();
            TForms::Instance().frmEditHojitsu4->show();
        });
    }
    if (TForms::Instance().frmEditHojitsu4)
        result = app.exec();
    TForms::Instance().DestroyAll();
    TPrompt::SetBackend(nullptr);
    return result;
}

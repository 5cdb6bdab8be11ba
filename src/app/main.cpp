#include "app/TCommandLine.h"
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "foundation/Fonts.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/TQtPrompt.h"
#include "print/TZqPrinter.h"

#include <QIcon>

int main(int argc, char* argv[])
{
    if (TCommandLine::IsCommand(argc, argv))
        return TCommandLine::Main(argc, argv);

    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("pTarmak"));
    TApplication::setApplicationVersion(QStringLiteral(KANMURI_VERSION));
    // The menu entry and icon the package installs; on Windows the icon of
    // pTarmak.exe is the windows' icon already.
    TApplication::setDesktopFileName(QStringLiteral("ptarmak"));
    if (QIcon::hasThemeIcon(QStringLiteral("ptarmak")))
        TApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("ptarmak")));
    InstallFontSubstitutes();
    TApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));

    TQtPrompt prompt;
    TPrompt::SetBackend(&prompt);
    // The printers, refreshed when the system's list changes.
    TZqPrinter printers;

    int result = 0;
    TForms::Instance().Start();
    printers.HookSystemMessages();
    if (TForms::Instance().frmEditHojitsu4)
        result = app.exec();
    TForms::Instance().DestroyAll();
    TPrompt::SetBackend(nullptr);
    return result;
}

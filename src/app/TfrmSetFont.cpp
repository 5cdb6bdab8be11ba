#include "app/TfrmSetFont.h"

#include "foundation/Settings.h"
#include "foundation/gui/TApplication.h"
#include "help/THelp.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QString kFontSetting = QStringLiteral("DefaultFontName");

} // namespace

TfrmSetFont::TfrmSetFont(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmSetFont"));
    setWindowTitle(QStringLiteral("frmSetFont"));
    THelp::AddKey(this, QStringLiteral("font"));
    setFixedSize(320, 96);

    auto* label = Named(new QLabel(QStringLiteral("印刷フォント"), this), "Label1");
    label->setGeometry(8, 8, 200, 16);
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit1->setGeometry(8, 26, 228, 22);
    Button1 = Named(new QPushButton(QStringLiteral("選択"), this), "Button1");
    Button1->setGeometry(244, 25, 68, 24);
    Button2 = Named(new QPushButton(QStringLiteral("閉じる"), this), "Button2");
    Button2->setGeometry(232, 62, 80, 26);

    // Esc is the "閉じる" button, which saves; only the close box leaves
    // without saving.
    auto* escape = new QAction(this);
    escape->setObjectName(QStringLiteral("EscapeAction"));
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    addAction(escape);

    Connect(Button1, &QPushButton::clicked, this, &TfrmSetFont::Button1Click);
    Connect(Button2, &QPushButton::clicked, this, &TfrmSetFont::Button2Click);
    Connect(escape, &QAction::triggered, this, &TfrmSetFont::Button2Click);

    TApplication::Guard([this] { FormCreate(); });
}

void TfrmSetFont::FormCreate()
{
    Edit1->setText(ReadSetting(kFontSetting));
}

void TfrmSetFont::Button1Click()
{
    QFont initial(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    // Where that font is missing the dialog would open on an unrelated one;
    // start it on the font that stands in for it.
    if (!QFontDatabase::hasFamily(initial.family()))
        initial.setFamily(QFontInfo(initial).family());
    QFontDialog dialog(initial, this);
    dialog.setObjectName(QStringLiteral("FontDialog1"));
    if (dialog.exec() == QDialog::Accepted)
        Edit1->setText(dialog.selectedFont().family());
}

void TfrmSetFont::Button2Click()
{
    WriteSetting(kFontSetting, Edit1->text());
    accept();
}

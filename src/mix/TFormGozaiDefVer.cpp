#include "mix/TFormGozaiDefVer.h"

#include "foundation/FileVersion.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"

#include <QDesktopServices>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QUrl>

namespace {

const QString kCompany = QStringLiteral("Kelvara");
const QString kHomePage = QStringLiteral("https://kelvara.example/");

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The banner beside the caption, drawn instead of read from a file.
QPixmap Banner()
{
    QPixmap banner(64, 16);
    QPainter painter(&banner);
    QLinearGradient gradient(0, 0, 64, 0);
    gradient.setColorAt(0, QColor(0, 64, 128));
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(banner.rect(), gradient);
    return banner;
}

} // namespace

TFormGozaiDefVer::TFormGozaiDefVer(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FormGozaiDefVer"));
    setWindowTitle(QStringLiteral("合材データの登録"));
    THelp::AddKey(this, QStringLiteral("gozai#version"));
    setFixedSize(281, 146);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    Image1 = Named(new QLabel(this), "Image1");
    Image1->setGeometry(12, 12, 32, 32);
    const QIcon icon =
        windowIcon().isNull() ? style()->standardIcon(QStyle::SP_DesktopIcon) : windowIcon();
    Image1->setPixmap(icon.pixmap(32, 32));
    Image2 = Named(new QLabel(this), "Image2");
    Image2->setGeometry(56, 12, 213, 8);
    Image2->setScaledContents(true);
    Image2->setPixmap(Banner());

    Label1 = Named(new QLabel(QStringLiteral("Kelvara－合材データの登録フォーム"), this), "Label1");
    Label1->setGeometry(56, 24, 215, 18);
    Label2 = Named(new QLabel(kCompany, this), "Label2");
    Label2->setGeometry(56, 44, 215, 18);
    Label3 = Named(new QLabel(QStringLiteral("バージョン"), this), "Label3");
    Label3->setGeometry(56, 72, 64, 20);
    Panel1 = Named(new QLabel(this), "Panel1");
    Panel1->setGeometry(124, 70, 145, 22);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Button1 = Named(new QPushButton(QStringLiteral("ホームページ"), this), "Button1");
    Button1->setGeometry(171, 108, 98, 26);
    Button1->setAutoDefault(false);
    Connect(Button1, &QPushButton::clicked, this, &TFormGozaiDefVer::Button1Click);

    CentreOnScreen(this);
}

QString TFormGozaiDefVer::HomePage()
{
    return kHomePage;
}

void TFormGozaiDefVer::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        TApplication::Guard([this] { FormShow(); });
    QDialog::showEvent(event);
}

void TFormGozaiDefVer::FormShow()
{
    Panel1->setText(
        FileVersionString(QCoreApplication::applicationFilePath(), QStringLiteral("FileVersion")));
}

void TFormGozaiDefVer::Button1Click()
{
    // Without a browser the address is at least shown, to be typed elsewhere.
    if (!QDesktopServices::openUrl(QUrl(kHomePage)))
        TPrompt::Message(QStringLiteral("ホームページを開けませんでした。\n%1").arg(kHomePage));
}

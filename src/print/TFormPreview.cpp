#include "print/TFormPreview.h"

#include "foundation/gui/TApplication.h"
#include "help/THelp.h"
#include "print/TPrevX.h"
#include "print/TUpDown.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>

namespace {

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

constexpr int kPanelHeight = 57;

} // namespace

TFormPreview::TFormPreview(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormPreview"));
    THelp::AddKey(this, QStringLiteral("preview#acceptance"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    resize(800, 600);

    Panel1 = Named(new QWidget(this), "Panel1");
    Panel1->setGeometry(0, 0, 800, kPanelHeight);

    auto* zoom = Named(new QGroupBox(QStringLiteral("表示倍率"), Panel1), "GroupBox1");
    zoom->setGeometry(8, 4, 105, 48);
    Button5 = Named(new QPushButton(QStringLiteral("＋"), zoom), "Button5");
    Button5->setGeometry(8, 18, 41, 23);
    Button6 = Named(new QPushButton(QStringLiteral("－"), zoom), "Button6");
    Button6->setGeometry(56, 18, 41, 23);

    auto* pages = Named(new QGroupBox(QStringLiteral("ページ切替"), Panel1), "GroupBox2");
    pages->setGeometry(120, 4, 105, 48);
    Edit1 = Named(new QLineEdit(QStringLiteral("1"), pages), "Edit1");
    Edit1->setGeometry(8, 18, 49, 22);
    Edit1->setAlignment(Qt::AlignRight);
    UpDown1 = Named(new TUpDown(Qt::Horizontal, pages), "UpDown1");
    UpDown1->setGeometry(58, 18, 36, 22);
    UpDown1->SetMin(1);
    UpDown1->SetMax(1);
    UpDown1->SetPosition(1);
    UpDown1->SetAssociate(Edit1);

    auto* print = Named(new QGroupBox(QStringLiteral("印刷"), Panel1), "GroupBox3");
    print->setGeometry(232, 4, 233, 48);
    Button2 = Named(new QPushButton(QStringLiteral("すべて印刷"), print), "Button2");
    Button2->setGeometry(8, 18, 97, 23);
    Button4 = Named(new QPushButton(QStringLiteral("このページを印刷"), print), "Button4");
    Button4->setGeometry(112, 18, 113, 23);

    BitBtn1 = Named(new QPushButton(QStringLiteral("閉じる(&C)"), Panel1), "BitBtn1");
    BitBtn1->setGeometry(480, 22, 89, 25);

    ScrollBox1 = Named(new QScrollArea(this), "ScrollBox1");
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    PrevX1 = new TPrevX;
    ScrollBox1->setWidget(PrevX1);
    PrevX1->SetZoomScale(60);

    Connect(Button5, &QPushButton::clicked, this, &TFormPreview::Button5Click);
    Connect(Button6, &QPushButton::clicked, this, &TFormPreview::Button6Click);
    Connect(Edit1, &QLineEdit::textChanged, this, &TFormPreview::Edit1Change);
    Connect(Button2, &QPushButton::clicked, this, &TFormPreview::Button2Click);
    Connect(Button4, &QPushButton::clicked, this, &TFormPreview::Button4Click);
    Connect(BitBtn1, &QPushButton::clicked, this, &TFormPreview::BitBtn1Click);
}

void TFormPreview::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!(windowState() & Qt::WindowMaximized))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TFormPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    Panel1->setGeometry(0, 0, width(), kPanelHeight);
    ScrollBox1->setGeometry(0, kPanelHeight, width(), std::max(0, height() - kPanelHeight));
}

void TFormPreview::Button5Click()
{
    if (PrevX1->ZoomScale() < 210)
        PrevX1->SetZoomScale(PrevX1->ZoomScale() + 10);
}

void TFormPreview::Button6Click()
{
    if (PrevX1->ZoomScale() > 30)
        PrevX1->SetZoomScale(PrevX1->ZoomScale() - 10);
}

void TFormPreview::Edit1Change()
{
    // Text that is not a page number leaves the page as it is.
    PrevX1->SetCurrentPage(TUpDown::ReadNumber(Edit1->text()).value_or(0));
}

void TFormPreview::Button2Click()
{
    PrevX1->SetPrintFrom(1);
    PrevX1->SetPrintTo(PrevX1->PageCount());
    PrevX1->Print();
}

void TFormPreview::Button4Click()
{
    PrevX1->PrintPage(PrevX1->CurrentPage());
}

void TFormPreview::BitBtn1Click()
{
    reject();
}

#include "print/TfrmPreView.h"

#include "foundation/gui/TActivation.h"
#include "foundation/gui/TApplication.h"
#include "help/THelp.h"
#include "print/TPrevX.h"
#include "print/TUpDown.h"
#include "print/TZqPrinter.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

constexpr int kMinZoom = 25;
constexpr int kMaxZoom = 200;
constexpr int kZoomStep = 5;

} // namespace

TfrmPreView::TfrmPreView(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmPreView"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    THelp::AddKey(this, QStringLiteral("preview"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setMinimumSize(640, 480);

    ScrollBox1 = Named(new QScrollArea(this), "ScrollBox1");
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    PrevX1 = new TPrevX;
    // As designed: an A4 portrait page at 100 %, with its border.
    PrevX1->resize(814, 1142);
    PrevX1->SetZoomScale(100);
    ScrollBox1->setWidget(PrevX1);
    ScrollBox1->viewport()->installEventFilter(this);

    Label1 = Named(new QLabel(QStringLiteral("倍率"), this), "Label1");
    MaskEdit1 = Named(new QLineEdit(this), "MaskEdit1");
    MaskEdit1->setAlignment(Qt::AlignRight);
    MaskEdit1->setMaxLength(3);
    UpDown1 = Named(new TUpDown(Qt::Vertical, this), "UpDown1");
    UpDown1->SetMin(kMinZoom);
    UpDown1->SetMax(kMaxZoom);
    UpDown1->SetIncrement(kZoomStep);
    UpDown1->SetPosition(PrevX1->ZoomScale());
    UpDown1->SetAssociate(MaskEdit1);

    Button3 = Named(new QPushButton(QStringLiteral("前ページ"), this), "Button3");
    Button4 = Named(new QPushButton(QStringLiteral("次ページ"), this), "Button4");
    Button5 = Named(new QPushButton(QStringLiteral("このページを印刷"), this), "Button5");
    Button1 = Named(new QPushButton(QStringLiteral("印刷(&P)"), this), "Button1");
    Button2 = Named(new QPushButton(QStringLiteral("閉じる"), this), "Button2");
    Button6 = Named(new QPushButton(QStringLiteral("プリンタの設定"), this), "Button6");
    Button6->hide();
    Edit1 = Named(new QLineEdit(this), "Edit1");
    Edit1->hide();
    Edit2 = Named(new QLineEdit(this), "Edit2");
    Edit2->hide();

    Connect(UpDown1, &TUpDown::Clicked, this, &TfrmPreView::UpDown1Click);
    Connect(MaskEdit1, &QLineEdit::editingFinished, this, &TfrmPreView::MaskEdit1Exit);
    Connect(Button3, &QPushButton::clicked, this, &TfrmPreView::Button3Click);
    Connect(Button4, &QPushButton::clicked, this, &TfrmPreView::Button4Click);
    Connect(Button5, &QPushButton::clicked, this, &TfrmPreView::Button5Click);
    Connect(Button1, &QPushButton::clicked, this, &TfrmPreView::Button1Click);
    Connect(Button2, &QPushButton::clicked, this, &TfrmPreView::Button2Click);
    Connect(Button6, &QPushButton::clicked, this, &TfrmPreView::Button6Click);

    // The desktop's work area.
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->availableGeometry());
    else
        resize(1024, 768);
    PlaceControls();
}

void TfrmPreView::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlaceControls();
}

void TfrmPreView::PlaceControls()
{
    const int w = width();
    const int h = height();
    ScrollBox1->setGeometry(0, 0, std::max(0, w - 9), std::max(0, h - 120));
    const int y = h - 68;
    Label1->setGeometry(16, y + 4, 33, 17);
    MaskEdit1->setGeometry(52, y, 41, 23);
    UpDown1->setGeometry(93, y, 17, 23);
    Button3->setGeometry(128, y, 75, 25);
    Button4->setGeometry(208, y, 75, 25);
    Button5->setGeometry(w - 285, y, 105, 25);
    Button1->setGeometry(w - 173, y, 75, 25);
    Button2->setGeometry(w - 93, y, 75, 25);
}

bool TfrmPreView::event(QEvent* event)
{
    const bool result = QDialog::event(event);
    if (TActivation::ReloadDue(this, event))
        TApplication::Guard([this] { FormActivate(); });
    return result;
}

bool TfrmPreView::eventFilter(QObject* watched, QEvent* event)
{
    // One notch of the wheel scrolls one step of the scroll bar.
    if (watched == ScrollBox1->viewport() && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        QScrollBar* bar = ScrollBox1->verticalScrollBar();
        const int delta = wheel->angleDelta().y();
        if (delta != 0)
            bar->setValue(bar->value() + (delta > 0 ? -1 : 1) * bar->singleStep());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

int TfrmPreView::FittedZoom() const
{
    // From the page's own height at 100 %, not from the control's present
    // size: that follows the zoom, and a fit measured on it would not settle.
    const QSize full = PrevX1->SizeAt(100);
    if (full.isEmpty())
        return PrevX1->ZoomScale();
    const double r = full.height();
    return int(ScrollBox1->height() / r * 100 / kZoomStep) * kZoomStep;
}

void TfrmPreView::FormActivate()
{
    RefreshState(true);
}

void TfrmPreView::RefreshState(bool fit)
{
    Edit1->setText(QString::number(logicalDpiX()));
    Edit2->setText(QString::number(logicalDpiY()));
    if (fit)
        PrevX1->SetZoomScale(FittedZoom());
    ShowZoom(PrevX1->ZoomScale());
    Button3->setEnabled(PrevX1->CurrentPage() >= 2);
    Button4->setEnabled(PrevX1->CurrentPage() < PrevX1->PageCount());
}

void TfrmPreView::ShowZoom(int zoom)
{
    UpDown1->SetPosition(zoom);
    MaskEdit1->setText(QString::number(zoom));
}

void TfrmPreView::UpDown1Click(int position)
{
    if (position < kMinZoom || position > kMaxZoom)
        return;
    MaskEdit1->setText(QString::number(position));
    PrevX1->SetZoomScale(position);
}

void TfrmPreView::MaskEdit1Exit()
{
    // A zoom typed in takes effect as a click would; anything else shows
    // the zoom in force again.
    const std::optional<int> typed = TUpDown::ReadNumber(MaskEdit1->text());
    if (typed && *typed >= kMinZoom && *typed <= kMaxZoom)
        PrevX1->SetZoomScale(*typed);
    ShowZoom(PrevX1->ZoomScale());
}

void TfrmPreView::Button3Click()
{
    PrevX1->SetCurrentPage(PrevX1->CurrentPage() - 1);
    RefreshState(false);
}

void TfrmPreView::Button4Click()
{
    PrevX1->SetCurrentPage(PrevX1->CurrentPage() + 1);
    RefreshState(false);
}

void TfrmPreView::Button5Click()
{
    PrevX1->PrintPage(PrevX1->CurrentPage());
}

void TfrmPreView::Button1Click()
{
    PrevX1->Print();
}

void TfrmPreView::Button2Click()
{
    reject();
}

void TfrmPreView::Button6Click()
{
    TZqPrinter::Instance().SetupDialog(this);
}

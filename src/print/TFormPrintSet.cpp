#include "print/TFormPrintSet.h"

#include "foundation/Conversions.h"
#include "foundation/Settings.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/WindowPlacement.h"
#include "help/THelp.h"
#include "print/TUpDown.h"
#include "print/TZqPrinter.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

const QString kDefaultFont = QStringLiteral("ＭＳ ゴシック");

// The fixed values of an installation with "hin_fitprn".
constexpr int kFitLeft = 20;
constexpr int kFitTop = 10;
constexpr int kFitZoomX = 112;
constexpr int kFitZoomY = 116;

int SettingOr(const QString& name, int fallback)
{
    const QString text = ReadSetting(name);
    return text.isEmpty() ? fallback : IntegerOrZero(text);
}

// The fonts to choose from: the system's, and the Windows names that the
// program maps to installed fonts, so the usual "ＭＳ ゴシック" is offered
// on every system.
QStringList FontNames()
{
    QStringList names = QFontDatabase::families();
    for (const char16_t* windowsName :
         {u"ＭＳ ゴシック", u"ＭＳ Ｐゴシック", u"ＭＳ 明朝", u"ＭＳ Ｐ明朝"}) {
        const QString name = QString::fromUtf16(windowsName);
        if (!names.contains(name) && !QFont::substitutes(name).isEmpty())
            names << name;
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
    return names;
}

} // namespace

TFormPrintSet::TFormPrintSet(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FormPrintSet"));
    setWindowTitle(QStringLiteral("印刷設定"));
    THelp::AddKey(this, QStringLiteral("printset"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    setFixedSize(393, 249);

    auto upDown = [this](QWidget* group, const char* editName, const char* upDownName,
                         const QString& caption, const QString& unit, int y, int min, int max,
                         int start, QLineEdit*& edit, TUpDown*& control) {
        auto* label = new QLabel(caption, group);
        label->setGeometry(12, y + 4, 40, 16);
        edit = Named(new QLineEdit(group), editName);
        edit->setGeometry(52, y, 49, 22);
        edit->setAlignment(Qt::AlignRight);
        control = Named(new TUpDown(Qt::Vertical, group), upDownName);
        control->setGeometry(101, y, 17, 22);
        control->SetMin(min);
        control->SetMax(max);
        control->SetPosition(start);
        control->SetAssociate(edit);
        auto* unitLabel = new QLabel(unit, group);
        unitLabel->setGeometry(124, y + 4, 24, 16);
    };

    auto* offsets = Named(new QGroupBox(QStringLiteral("オフセット"), this), "GroupBox1");
    offsets->setGeometry(8, 8, 185, 81);
    upDown(offsets, "Edit1", "UpDown1", QStringLiteral("右へ"), QStringLiteral("mm"), 20, -100, 100,
           0, Edit1, UpDown1);
    upDown(offsets, "Edit2", "UpDown2", QStringLiteral("下へ"), QStringLiteral("mm"), 48, -100, 100,
           0, Edit2, UpDown2);

    auto* stretch = Named(new QGroupBox(QStringLiteral("拡大率"), this), "GroupBox2");
    stretch->setGeometry(200, 8, 185, 81);
    upDown(stretch, "Edit3", "UpDown3", QStringLiteral("横"), QStringLiteral("%"), 20, 1, 300, 100,
           Edit3, UpDown3);
    upDown(stretch, "Edit4", "UpDown4", QStringLiteral("縦"), QStringLiteral("%"), 48, 1, 300, 100,
           Edit4, UpDown4);

    auto* printer = Named(new QGroupBox(QStringLiteral("プリンタの設定"), this), "GroupBox3");
    printer->setGeometry(8, 96, 377, 105);
    auto* printerLabel = new QLabel(QStringLiteral("プリンタ名"), printer);
    printerLabel->setGeometry(12, 24, 60, 16);
    ComboBox1 = Named(new QComboBox(printer), "ComboBox1");
    ComboBox1->setGeometry(76, 20, 201, 22);
    ComboBox1->setMaxVisibleItems(30);
    Button7 = Named(new QPushButton(QStringLiteral("プリンタ設定"), printer), "Button7");
    Button7->setGeometry(284, 19, 85, 25);
    auto* fontLabel = new QLabel(QStringLiteral("フォント"), printer);
    fontLabel->setGeometry(12, 60, 60, 16);
    ComboBox2 = Named(new QComboBox(printer), "ComboBox2");
    ComboBox2->setGeometry(76, 56, 201, 22);
    ComboBox2->setMaxVisibleItems(20);

    Button6 = Named(new QPushButton(QStringLiteral("プレビュー"), this), "Button6");
    Button6->setGeometry(8, 212, 89, 27);
    Button1 = Named(new QPushButton(QStringLiteral("印刷"), this), "Button1");
    Button1->setGeometry(104, 212, 89, 27);
    Button2 = Named(new QPushButton(QStringLiteral("設定保存"), this), "Button2");
    Button2->setGeometry(200, 212, 89, 27);
    Button3 = Named(new QPushButton(QStringLiteral("閉じる"), this), "Button3");
    Button3->setGeometry(296, 212, 89, 27);

    Connect(ComboBox1, &QComboBox::activated, this, &TFormPrintSet::ComboBox1Change);
    Connect(Button7, &QPushButton::clicked, this, &TFormPrintSet::Button7Click);
    Connect(Button6, &QPushButton::clicked, this, &TFormPrintSet::Button6Click);
    Connect(Button1, &QPushButton::clicked, this, &TFormPrintSet::Button1Click);
    Connect(Button2, &QPushButton::clicked, this, &TFormPrintSet::Button2Click);
    Connect(Button3, &QPushButton::clicked, this, &TFormPrintSet::Button3Click);

    CentreOnScreen(this);
}

bool TFormPrintSet::Fitted()
{
    return ReadSetting(QStringLiteral("hin_fitprn")) == QStringLiteral("true");
}

void TFormPrintSet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        TApplication::Guard([this] { FormShow(); });
}

void TFormPrintSet::FormShow()
{
    TZqPrinter& printers = TZqPrinter::Instance();
    ComboBox1->clear();
    ComboBox1->addItems(printers.Names());
    ComboBox2->clear();
    ComboBox2->addItems(FontNames());

    const auto find = [this](const QString& name) {
        return ComboBox1->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    };
    const QString savedPrinter = ReadSetting(QStringLiteral("hin_prnname"));
    int printer = find(savedPrinter.isEmpty() ? printers.CurrentName() : savedPrinter);
    if (printer < 0 && printers.HasPrinter()) {
        // The saved printer is no longer installed: the default printer is
        // chosen and shown, so that the sheet goes where the user sees.
        printers.SetIndex(-1);
        printer = find(printers.CurrentName());
    }
    ComboBox1->setCurrentIndex(printer);
    if (printers.HasPrinter())
        printers.SetIndex(printer);

    const QString savedFont = ReadSetting(QStringLiteral("hin_prnfont"));
    ComboBox2->setCurrentIndex(ComboBox2->findText(savedFont.isEmpty() ? kDefaultFont : savedFont,
                                                   Qt::MatchExactly | Qt::MatchCaseSensitive));

    const bool fitted = Fitted();
    if (fitted) {
        UpDown1->SetPosition(kFitLeft);
        UpDown2->SetPosition(kFitTop);
        UpDown3->SetPosition(kFitZoomX);
        UpDown4->SetPosition(kFitZoomY);
    } else {
        UpDown1->SetPosition(SettingOr(QStringLiteral("hin_prnleft"), 26));
        UpDown2->SetPosition(SettingOr(QStringLiteral("hin_prntop"), 30));
        UpDown3->SetPosition(SettingOr(QStringLiteral("hin_prnZoomX"), 100));
        UpDown4->SetPosition(SettingOr(QStringLiteral("hin_prnZoomY"), 100));
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Edit1, Edit2, Edit3, Edit4, UpDown1, UpDown2,
                                                      UpDown3, UpDown4})
        w->setEnabled(!fitted);

    // The vertical-writing variants of the fonts are not for these sheets.
    for (int i = ComboBox2->count() - 1; i >= 0; --i)
        if (ComboBox2->itemText(i).startsWith(QLatin1Char('@')))
            ComboBox2->removeItem(i);
}

int TFormPrintSet::OffsetLeft() const
{
    return UpDown1->Position();
}

int TFormPrintSet::OffsetTop() const
{
    return UpDown2->Position();
}

int TFormPrintSet::ZoomX() const
{
    return UpDown3->Position();
}

int TFormPrintSet::ZoomY() const
{
    return UpDown4->Position();
}

int TFormPrintSet::PrinterIndex() const
{
    return ComboBox1->currentIndex();
}

int TFormPrintSet::FontIndex() const
{
    return ComboBox2->currentIndex();
}

QString TFormPrintSet::FontName() const
{
    return ComboBox2->currentIndex() < 0 ? QString() : ComboBox2->currentText();
}

void TFormPrintSet::ComboBox1Change(int index)
{
    TZqPrinter::Instance().SetIndex(index);
}

void TFormPrintSet::Button7Click()
{
    TZqPrinter& printers = TZqPrinter::Instance();
    if (!printers.SetupDialog(this))
        return;
    const QStringList names = printers.Names();
    ComboBox1->clear();
    ComboBox1->addItems(names);
    ComboBox1->setCurrentIndex(int(names.indexOf(printers.CurrentName())));
}

void TFormPrintSet::SaveSettings()
{
    // What is saved is what the sheet gets: the values taken from the edits.
    for (TUpDown* control : {UpDown1, UpDown2, UpDown3, UpDown4})
        control->SetPosition(control->Position());
    if (Fitted())
        return;
    WriteSetting(QStringLiteral("hin_prnleft"), QString::number(UpDown1->Position()));
    WriteSetting(QStringLiteral("hin_prntop"), QString::number(UpDown2->Position()));
    // A name that is not chosen (no printer at all, a font no longer
    // installed) is kept, so that it is chosen again once it is back.
    if (ComboBox1->currentIndex() >= 0)
        WriteSetting(QStringLiteral("hin_prnname"), ComboBox1->currentText());
    if (ComboBox2->currentIndex() >= 0)
        WriteSetting(QStringLiteral("hin_prnfont"), ComboBox2->currentText());
    WriteSetting(QStringLiteral("hin_prnZoomX"), QString::number(UpDown3->Position()));
    WriteSetting(QStringLiteral("hin_prnZoomY"), QString::number(UpDown4->Position()));
}

void TFormPrintSet::ChoosePrinterAndClose(int result)
{
    // Without a printer the error is shown and the window still closes with
    // the button's result: the preview then reports the missing printer.
    TApplication::Guard([this] { TZqPrinter::Instance().SetIndex(ComboBox1->currentIndex()); });
    TApplication::Guard([this] { SaveSettings(); });
    done(result);
}

void TFormPrintSet::Button6Click()
{
    ChoosePrinterAndClose(mrOk);
}

void TFormPrintSet::Button1Click()
{
    ChoosePrinterAndClose(mrYes);
}

void TFormPrintSet::Button2Click()
{
    SaveSettings();
}

void TFormPrintSet::Button3Click()
{
    reject();
}

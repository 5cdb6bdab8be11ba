// The pictures of the help pages: the program's own windows, shown offscreen
// with a small sample office (projects, work types, a plant, a mixture and a
// few paving days) in a throwaway configuration and data folder, each saved
// as "<page>.png" into the folder given.
//
//   help_screenshots FOLDER        (scripts/help-screenshots.sh runs it)

#include "acceptance/TFormGokakuHanteiti.h"
#include "acceptance/TFormGokakuHanteitiKeisanHouhou.h"
#include "app/HojitsuSheetPreview.h"
#include "app/TfrmEditHojitsu4.h"
#include "app/TfrmSetFont.h"
#include "app/TfrmSetHojituKetasu.h"
#include "controls/TComboBox.h"
#include "controls/TRadioGroup.h"
#include "controls/TfSelectMultiItems.h"
#include "foundation/DateTime.h"
#include "foundation/Fonts.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/TApplication.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "help/THelp.h"
#include "help/TfrmHelp.h"
#include "masters/THacchusya.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "masters/TSimei.h"
#include "masters/TUkeoisya.h"
#include "masters/TfrmEditHacchusya.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "masters/TfrmEditSimei.h"
#include "masters/TfrmEditUkeoisya.h"
#include "mix/TFormPlant.h"
#include "mix/TFormRyudoKikaku.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "mix/TPlant.h"
#include "mix/TRyudoKikaku.h"
#include "mix/TRyudoRange.h"
#include "mix/TfrmEditGozaiDef.h"
#include "print/TFormPrintSet.h"
#include "print/TfrmPreView.h"
#include "store/Derivation.h"
#include "store/THojituHead4.h"
#include "store/THojituLine4.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeView>
#include <cmath>
#include <cstdio>

namespace {

// Every question of a new data folder (the mixture tables) is answered Yes;
// errors are kept to be reported at the end.
class TYesPrompt : public TPromptBackend
{
public:
    QStringList errors;

    void Message(const QString&, const QString&) override {}
    void Error(const QString& text) override { errors << text; }
    bool YesNo(const QString&, const QString&) override { return true; }
    bool OkCancel(const QString&, const QString&) override { return false; }
    TAnswer YesNoCancel(const QString&, const QString&) override { return TAnswer::Cancel; }
    bool InputText(const QString&, const QString&, QString&) override { return false; }
    void Beep() override {}
};

QString outFolder;
int failures = 0;

void Settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
}

// Shows a window and lets it load what it shows, as its activation does.
void Open(QWidget* window)
{
    window->show();
    Settle();
}

// The window as the user sees it: its client area under a plain title bar
// with its caption.
void Shoot(QWidget* window, const QString& page)
{
    window->show();
    Settle();
    const QPixmap body = window->grab();
    constexpr int title = 22;
    QImage shot(body.width() + 2, body.height() + title + 1, QImage::Format_RGB32);
    shot.fill(QColor(0x6a, 0x7a, 0x95));
    QPainter painter(&shot);
    painter.fillRect(1, 1, body.width(), title - 1, QColor(0xdd, 0xe3, 0xee));
    QFont font = window->font();
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(8, 1, body.width() - 40, title - 1), Qt::AlignVCenter | Qt::AlignLeft,
                     window->windowTitle());
    painter.drawText(QRect(body.width() - 24, 1, 20, title - 1), Qt::AlignCenter,
                     QStringLiteral("×"));
    painter.drawPixmap(1, title, body);
    painter.end();
    const QString file = QDir(outFolder).filePath(page + QStringLiteral(".png"));
    if (!shot.save(file, "PNG", 0)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        ++failures;
    } else {
        std::printf("%s\n", qPrintable(file));
    }
    window->hide();
}

void SampleRegisters()
{
    THojituHead4::EnsureTables();
    THojituLine4::EnsureTables();
    struct TProject
    {
        const char16_t *code, *name, *client, *title, *contractor, *agent, *reading;
    };
    const TProject projects[] = {
        {u"R0401", u"一般国道5号 札幌市 舗装補修工事", u"北海道開発局 札幌開発建設部",
         u"所長 山田 太郎", u"北央舗道株式会社", u"佐藤 一郎", u"さとう いちろう"},
        {u"S0712", u"札幌市道 北5条線 舗装工事", u"札幌市建設局", u"局長 鈴木 花子",
         u"北央舗道株式会社", u"高橋 次郎", u"たかはし じろう"}};
    for (const TProject& p : projects) {
        TKoji koji;
        koji.Code = QString::fromUtf16(p.code);
        koji.Kojimei = QString::fromUtf16(p.name);
        koji.Client->Hacchusyamei = QString::fromUtf16(p.client);
        koji.Client->SyokuSimei = QString::fromUtf16(p.title);
        koji.Contractor->Ukeoisyamei = QString::fromUtf16(p.contractor);
        koji.Contractor->Jusyo = QStringLiteral("札幌市中央区北1条西2丁目");
        koji.Contractor->Kaisya = QString::fromUtf16(p.contractor);
        koji.Contractor->Daihyosya = QStringLiteral("代表取締役 中村 健");
        koji.SiteAgent->Simei = QString::fromUtf16(p.agent);
        koji.SiteAgent->Furigana = QString::fromUtf16(p.reading);
        koji.Yoshiki = 0;
        koji.Save();
    }
    TKosyu kosyu;
    kosyu.RewriteAll(
        {QStringLiteral("表層工"), QStringLiteral("基層工"), QStringLiteral("上層路盤工")});
}

void SampleMixture()
{
    TPlant plant;
    plant.Clear();
    plant.BatchWeight = QStringLiteral("1000");
    plant.LoadCellFactor = QStringLiteral("1.000");
    plant.InitialWeighing = 0;
    plant.Standard = 1;
    const QStringList bins = {QStringLiteral("細砂"), QStringLiteral("粗砂"), QStringLiteral("7号"),
                              QStringLiteral("6号")};
    const QStringList ranges = {QStringLiteral("0-2.5"), QStringLiteral("0-5"),
                                QStringLiteral("2.5-5"), QStringLiteral("5-13")};
    for (int i = 0; i < bins.size(); ++i) {
        plant.BinName[i] = bins[i];
        plant.BinRange[i] = ranges[i];
    }
    plant.Save(QStringLiteral("第1プラント"));

    TRyudoKikaku standard;
    standard.EnsureTables();
    standard.Clear();
    standard.SetName(QStringLiteral("[1]密粒度13"));
    const QList<QPair<int, const char*>> values = {{8, "100"},    {9, "95_100"}, {11, "55_70"},
                                                   {12, "35_50"}, {14, "18_30"}, {16, "10_21"},
                                                   {17, "6_16"},  {18, "4_8"}};
    for (const auto& [sieve, text] : values)
        standard.SetValue(sieve, QString::fromLatin1(text));
    standard.Save(standard.Kikakumei);

    TGozaiDef mix;
    mix.EnsureTables(TPrompt::YesNo);
    mix.Clear();
    mix.DataName = QStringLiteral("密粒度13");
    mix.PrintName = QStringLiteral("密粒度アスコン(13)");
    mix.Standard->LoadByName(QStringLiteral("[1]密粒度13"));
    mix.Kosyu = 2;
    const double total[THotbinHaigoritu::ColumnCount] = {20.0, 25.0, 22.0, 22.5, 0,   0, 0,
                                                         0,    5.0,  0,    0,    5.5, 0, 0};
    for (int c = 0; c < THotbinHaigoritu::ColumnCount; ++c) {
        mix.Ratios[1]->D[c] = total[c];
        mix.Ratios[0]->D[c] = c < 11 ? std::round(total[c] / 0.945 * 10) / 10 : 0;
    }
    const QStringList density = {QString(),
                                 QString(),
                                 QStringLiteral("2.380"),
                                 QStringLiteral("2.470"),
                                 QStringLiteral("3.6"),
                                 QStringLiteral("8.5"),
                                 QStringLiteral("28")};
    for (int i = 0; i < density.size(); ++i)
        mix.Mitudo[i] = density[i];
    const QList<QStringList> grading = {
        {"100", "100", "100", "95_100", "45_65", "22_38", "8_18", "2_8"},
        {"100", "100", "100", "80_95", "25_45", "10_25", "3_10", "0_4"},
        {"100", "100", "85_100", "10_30", "0_5", "", "", ""},
        {"100", "90_100", "5_20", "0_5", "", "", "", ""}};
    for (int bin = 0; bin < grading.size(); ++bin)
        for (int row = 0; row < grading[bin].size(); ++row)
            mix.Ranges[bin]->Values[row] = grading[bin][row];
    const QStringList target = {"100", "97", "62", "42", "24", "15", "10", "6"};
    for (int row = 0; row < target.size(); ++row)
        mix.Ranges[TGozaiDef::RangeRows - 1]->Values[row] = target[row];
    mix.Save(mix.DataName);
}

// Paving days of the sample mixture, with the editor's derivation.
int SampleDays()
{
    int sid = 0;
    struct TDay
    {
        int month, day;
        const char16_t* station;
        double length, site, binder, filler;
    };
    const TDay days[] = {{6, 2, u"No.0～No.12", 240, 98.5, 5.40, 4.95},
                         {6, 3, u"No.12～No.25", 260, 107.2, 5.88, 5.33},
                         {6, 4, u"No.25～No.33", 160, 66.1, 3.65, 3.28}};
    for (const char16_t* kosyu : {u"表層工", u"基層工"}) {
        THojituHead4 head;
        head.Koji->LoadByCode(QStringLiteral("R0401"));
        head.Kosyu->LoadByName(QString::fromUtf16(kosyu));
        head.Gozai->LoadByName(QStringLiteral("密粒度13"));
        head.Save();
        if (sid == 0)
            sid = head.ID;
        for (const TDay& d : days) {
            THojituLine4 line;
            line.SID = head.ID;
            line.Hiduke = EncodeDate(2025, d.month, d.day);
            line.Sokuten = QString::fromUtf16(d.station);
            auto& v = line.Values;
            v.fill(0);
            v[0] = d.length;
            v[1] = 3.5;
            v[4] = 5.0;
            v[6] = 2.38;
            v[7] = 2.365;
            v[10] = d.site;
            v[13] = v[14] = v[15] = 5.5;
            v[19] = d.binder;
            v[23] = v[24] = v[25] = 5.0;
            v[29] = d.filler;
            DeriveDay(v, false);
            line.Save();
        }
    }
    return sid;
}

template <typename T> T* Child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QString::fromLatin1(name));
}

void Choose(TComboBox* box, const QString& beginning, void (TfrmEditHojitsu4::*select)(int),
            TfrmEditHojitsu4& window)
{
    emit box->DropDown();
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).startsWith(beginning)) {
            (window.*select)(i);
            return;
        }
}

void ShootWindows(int sid)
{
    {
        TfrmEditHojitsu4 main;
        Open(&main);
        Choose(main.ComboBox1, QStringLiteral("R0401"), &TfrmEditHojitsu4::ComboBox1Select, main);
        Choose(main.ComboBox2, QStringLiteral("表層工"), &TfrmEditHojitsu4::ComboBox2Select, main);
        Choose(main.ComboBox3, QStringLiteral("密粒度13"), &TfrmEditHojitsu4::ComboBox3Select,
               main);
        Choose(main.ComboBox4, QStringLiteral("2025/06/03"), &TfrmEditHojitsu4::ComboBox4Select,
               main);
        Shoot(&main, QStringLiteral("main"));

        // As "開く" shows it: under headings, newest day first.
        TfSelectMultiItems open(&main);
        QList<THojituListItem> items;
        THojituHead4::ListPage({}, 0, TfSelectMultiItems::kPageRows, items);
        QList<QStringList> rows;
        for (const THojituListItem& item : items)
            rows << (QStringList{item.Caption} + item.SubItems);
        open.SetHeadings({QStringLiteral("工事名"), QStringLiteral("工種名"),
                          QStringLiteral("合材名"), QStringLiteral("舗設日")});
        open.SetRows(rows);
        Child<QTreeView>(&open, "ListView1")
            ->setCurrentIndex(Child<QTreeView>(&open, "ListView1")->model()->index(1, 0));
        Shoot(&open, QStringLiteral("open"));
    }
    {
        TfrmEditKoji koji;
        koji.Record()->LoadByCode(QStringLiteral("R0401"));
        Open(&koji);
        koji.FormActivate();
        Shoot(&koji, QStringLiteral("koji"));
    }
    {
        TfrmEditHacchusya client;
        client.ComboBox1->SetText(QStringLiteral("北海道開発局 札幌開発建設部"));
        client.Edit1->setText(QStringLiteral("所長 山田 太郎"));
        Shoot(&client, QStringLiteral("hacchusya"));
        TfrmEditUkeoisya contractor;
        contractor.ComboBox1->SetText(QStringLiteral("北央舗道株式会社"));
        contractor.Edit1->setText(QStringLiteral("札幌市中央区北1条西2丁目"));
        contractor.Edit2->setText(QStringLiteral("北央舗道株式会社"));
        contractor.Edit3->setText(QStringLiteral("代表取締役 中村 健"));
        Shoot(&contractor, QStringLiteral("ukeoisya"));
        TfrmEditSimei person;
        person.Edit1->setText(QStringLiteral("さとう いちろう"));
        person.Edit2->setText(QStringLiteral("佐藤 一郎"));
        Shoot(&person, QStringLiteral("simei"));
        TfrmEditKosyu kosyu;
        Open(&kosyu);
        kosyu.FormActivate();
        Shoot(&kosyu, QStringLiteral("kosyu"));
    }
    {
        TfrmEditGozaiDef editor;
        Open(&editor);
        editor.FormActivate();
        auto* name = Child<TComboBox>(&editor, "ComboBox1");
        emit name->DropDown();
        name->SetText(QStringLiteral("密粒度13"));
        editor.ComboBox1Select();
        Shoot(&editor, QStringLiteral("gozai"));

        TFormRyudoKikaku standards(&editor);
        Open(&standards);
        standards.FormActivate();
        Child<TComboBox>(&standards, "ComboBox1")->setEditText(QStringLiteral("[1]密粒度13"));
        standards.ComboBox1Click();
        Shoot(&standards, QStringLiteral("kikaku"));

        TFormPlant plants(&editor);
        Shoot(&plants, QStringLiteral("plant"));

        TGozaiDef mix;
        mix.LoadByName(QStringLiteral("密粒度13"));
        TPlant plant;
        TFormGokakuHanteiti acceptance(&mix, &plant, &editor);
        Shoot(&acceptance, QStringLiteral("hantei"));
        TFormGokakuHanteitiKeisanHouhou method(&editor);
        Shoot(&method, QStringLiteral("houhou"));
        TFormPrintSet printSettings(&editor);
        Shoot(&printSettings, QStringLiteral("printset"));
    }
    {
        THojituHead4 head;
        head.LoadById(sid);
        std::unique_ptr<TfrmPreView> preview = BuildHojitsuSheetPreview(head, sid, {}, nullptr);
        // The offscreen screen is small; a desk's screen shows the whole sheet.
        preview->resize(1000, 680);
        Open(preview.get());
        preview->FormActivate();
        Shoot(preview.get(), QStringLiteral("preview"));
    }
    {
        TfrmSetDataPath environment;
        Open(&environment);
        environment.FormActivate();
        // Where an office keeps its data, rather than this run's temporary folder.
        const QString folder = QStringLiteral("/home/jimu/pTarmak/data/");
        Child<QLineEdit>(&environment, "Edit1")->setText(folder);
        Shoot(&environment, QStringLiteral("env"));
        Open(&environment);
        Child<QLineEdit>(&environment, "Edit1")->setText(folder);
        Child<QRadioButton>(&environment, "RadioServer")->setChecked(true);
        Child<QLineEdit>(&environment, "EditHost")->setText(QStringLiteral("server"));
        Child<QLineEdit>(&environment, "EditPort")->setText(QStringLiteral("5432"));
        Child<QLineEdit>(&environment, "EditDatabase")->setText(QStringLiteral("kanmuri"));
        Child<QLineEdit>(&environment, "EditUser")->setText(QStringLiteral("kanmuri"));
        Shoot(&environment, QStringLiteral("server"));

        TfrmSetHojituKetasu digits;
        Open(&digits);
        digits.FormActivate();
        Shoot(&digits, QStringLiteral("digits"));
        THelp::Show(QStringLiteral("start"));
        THelp::Window()->resize(900, 620);
        Shoot(THelp::Window(), QStringLiteral("help"));

        TfrmSetFont font;
        Child<QLineEdit>(&font, "Edit1")->setText(QStringLiteral("ＭＳ Ｐゴシック"));
        Shoot(&font, QStringLiteral("font"));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: help_screenshots FOLDER\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("KANMURI_CONFIG_DIR", config.path().toLocal8Bit());
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi, true);
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("pTarmak"));
    InstallFontSubstitutes();
    TApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック"), 9));
    outFolder = QString::fromLocal8Bit(argv[1]);
    TYesPrompt prompt;
    TPrompt::SetBackend(&prompt);

    TApplication::Guard([] {
        const QString mixData =
            QDir(qEnvironmentVariable("KANMURI_CONFIG_DIR")).filePath(QStringLiteral("HaigoData"));
        QDir().mkpath(mixData);
        WriteSetting(QStringLiteral("HaigoDataPath"), mixData + QDir::separator());
        TDatabase::Connection();
        SampleRegisters();
        SampleMixture();
        ShootWindows(SampleDays());
    });
    for (const QString& error : prompt.errors) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        ++failures;
    }
    TPrompt::SetBackend(nullptr);
    return failures == 0 ? 0 : 1;
}

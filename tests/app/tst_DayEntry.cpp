// A day's entry in the main window, as a user does it: pick the project, work
// type and mixture, pick or type the date, type the day's values, see them
// derived and totalled, save, reopen.
#include "app/TForms.h"
#include "app/TfrmEditHojitsu4.h"
#include "controls/TComboBox.h"
#include "controls/TStatusBar.h"
#include "controls/TfSelectMultiItems.h"
#include "controls/TvaSpread.h"
#include "foundation/Conversions.h"
#include "foundation/Settings.h"
#include "foundation/TDatabase.h"
#include "foundation/TQuery.h"
#include "foundation/gui/TfrmSetDataPath.h"
#include "masters/TKoji.h"
#include "masters/TKosyu.h"
#include "masters/TfrmEditKoji.h"
#include "masters/TfrmEditKosyu.h"
#include "mix/TGozaiDef.h"
#include "mix/THotbinHaigoritu.h"
#include "store/HojituGrid.h"
#include "store/THojituHead4.h"
#include "support/TTestEnvironment.h"

#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeView>

namespace {

const QString kProject = "K001:国道1号舗装工事";

void DefineMixture(const QString& name, const QString& density, double asphalt, double filler)
{
    auto& prompt = TTestEnvironment::Current().prompt;
    for (int i = 0; i < 3; ++i)
        prompt.AnswerNext(true); // the three tables of a new data folder
    TGozaiDef mix;
    mix.EnsureTables(TPrompt::YesNo);
    mix.Clear();
    mix.DataName = mix.PrintName = name;
    mix.Mitudo[2] = density;
    mix.Ratios[1]->D[11] = asphalt;
    mix.Ratios[1]->D[8] = filler;
    mix.Save(name);
}

void RegisterProject(const QString& code, const QString& name)
{
    TKoji project;
    project.Code = code;
    project.Kojimei = name;
    project.Save();
}

void RegisterKosyu(const QString& name, int id)
{
    TKosyu kosyu;
    kosyu.Kosyumei = name;
    kosyu.ID = id;
    kosyu.Save();
}

} // namespace

class TestDayEntry : public QObject
{
    Q_OBJECT

    TfrmEditHojitsu4* w = nullptr;
    TScriptedPrompt& prompt = TTestEnvironment::Current().prompt;

    QString Cell(int col, int row) const { return w->vaSpread2->Text(col, row); }
    void Type(int col, int row, const QString& text) { TypeIntoCell(w->vaSpread2, col, row, text); }
    QString Panel(int i) const { return w->StatusBar1()->PanelText(i); }

    void Choose(TComboBox* combo, const QString& text)
    {
        QVERIFY2(ChooseFromList(combo, text), qPrintable(text));
    }
    // Picks the project, work type and mixture of the usual day.
    void ChooseUsual(const QString& kosyu = "表層工", const QString& mixture = "密粒度13")
    {
        Choose(w->ComboBox1, kProject);
        Choose(w->ComboBox2, kosyu);
        Choose(w->ComboBox3, mixture);
    }
    // Types a day's length, width, thickness, site tonnage and plant amounts.
    void TypeDay(const QString& date, const QString& station)
    {
        TypeAndLeave(w->ComboBox4, date);
        TypeAndLeave(w->Edit1, station);
        TypeAndLeave(w->Edit2, "100");
        w->Edit3->setFocus();
        w->Edit3->selectAll();
        QTest::keyClicks(w->Edit3, "3.5");
        QTest::keyClick(w->Edit3, Qt::Key_Return);
        Type(2, 3, "5");
        Type(4, 5, "40");
        Type(7, 6, "2.3");
        Type(10, 6, "1.7");
    }
    void Ok() { QTest::mouseClick(w->Button2, Qt::LeftButton); }
    // The stored values of positions on a day ("2026-04-01"), "a|b|...".
    static QString Stored(const QString& day, const QList<int>& positions)
    {
        QStringList columns;
        for (int position : positions)
            columns << THojituLine4::Column(position);
        TQuery query("select " + columns.join(", ") + " from HojituLine4 where HIDUKE = :Hiduke");
        query.BindDateTime(":Hiduke", FromQDate(QDate::fromString(day, Qt::ISODate))).Exec();
        QStringList values;
        if (query.Next())
            for (int i = 0; i < positions.size(); ++i)
                values << FormatGeneral(query.Value(i).toDouble());
        return values.join("|");
    }
    // The stored value of a position on a day ("2026-04-01") of the work
    // type's header; -1 when that day is not stored.
    static double StoredOf(const QString& kosyu, const QString& day, int position)
    {
        TQuery query(QString("select H%1 from HojituLine4 inner join HojituHead4 on "
                             "HojituHead4.ID = HojituLine4.SID where KOSYUMEI = '%2' and "
                             "HIDUKE = :HIDUKE")
                         .arg(position, 2, 10, QChar('0'))
                         .arg(kosyu));
        query.BindDateTime(":HIDUKE", FromQDate(QDate::fromString(day, Qt::ISODate))).Exec();
        return query.Next() ? query.Value(0).toDouble() : -1;
    }
    // Chooses `row` of the data-open dialog and OK.
    void OpenRow(int row)
    {
        WhenModalShown([row](QWidget* modal) {
            auto* dialog = static_cast<TfSelectMultiItems*>(modal);
            if (row >= 0)
                dialog->ListView1->setCurrentIndex(dialog->ListView1->model()->index(row, 0));
            QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        });
        TriggerAction(w, "mnuOpen");
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        TForms::Instance().CreateAll();
        w = TForms::Instance().frmEditHojitsu4;
        QVERIFY(ActivateWindow(w));
        RegisterProject("K001", "国道1号舗装工事");
        RegisterKosyu("表層工", 1);
        RegisterKosyu("基層工", 2);
        DefineMixture("密粒度13", "2.350", 5.8, 4.5);
        DefineMixture("粗粒度20", "2.400", 5.0, 3.0);
        prompt.Clear();
    }
    void cleanup() { TForms::Instance().DestroyAll(); }

    void typicalDayFromRegistersToReopening()
    {
        // The registers, through their windows.
        TfrmEditKoji* koji = TForms::Instance().frmEditKoji;
        QVERIFY(ActivateWindow(koji));
        koji->Edit1->setText("K002");
        koji->Edit2->setText("県道5号補修工事");
        QTest::mouseClick(koji->Button2, Qt::LeftButton);
        koji->close();
        TfrmEditKosyu* kosyu = TForms::Instance().frmEditKosyu;
        QVERIFY(ActivateWindow(kosyu));
        kosyu->Edit2->setFocus();
        TypeText(kosyu->Edit2, "上層路盤工");
        QTest::mouseClick(kosyu->Button2, Qt::LeftButton); // adds what was typed, writes
        QVERIFY(ActivateWindow(w));

        Choose(w->ComboBox1, "K002:県道5号補修工事");
        Choose(w->ComboBox2, "上層路盤工");
        Choose(w->ComboBox3, "密粒度13");
        // A new header: today, the mixture's values prefilled and derived.
        QCOMPARE(w->ComboBox4->Text(), FormatDate(Now()));
        QCOMPARE(w->vaSpread1->Text(1, 1), QString("2.350"));
        QCOMPARE(w->vaSpread1->Text(2, 1), QString("5.8"));
        QCOMPARE(w->vaSpread1->Text(3, 1), QString("4.5"));
        QCOMPARE(Cell(3, 3), QString("2.350"));
        QCOMPARE(Cell(3, 4), QString("2.350"));
        for (int row = 3; row <= 5; ++row) {
            QCOMPARE(Cell(6, row), QString("5.8"));
            QCOMPARE(Cell(9, row), QString("4.5"));
        }
        QCOMPARE(Panel(3), QString("0"));

        TypeDay("2026/04/01", "No.1+20");
        QCOMPARE(Cell(1, 3), QString("350.0"));
        QCOMPARE(Cell(1, 4), QString("350.0"));
        QCOMPARE(Cell(2, 4), QString("5.0"));
        QCOMPARE(Cell(4, 3), QString("41.125")); // 350 x 5 x 2.35 x 0.01
        QCOMPARE(Cell(5, 3), QString("1.125"));  // design minus site
        QCOMPARE(Cell(7, 3), QString("2.3853")); // 41.125 x 5.8 %
        QCOMPARE(Cell(7, 5), QString("2.3200")); // 40 x 5.8 %
        QCOMPARE(Cell(8, 5), QString("0.0200"));
        QCOMPARE(Cell(10, 5), QString("1.8000"));
        QCOMPARE(Cell(11, 5), QString("0.1000"));
        Ok();
        QCOMPARE(prompt.shown.size(), 0);
        QCOMPARE(Panel(3), QString("1"));
        QCOMPARE(TableRows("HojituHead4"), QStringList{"1|K002|上層路盤工|密粒度13"});
        QCOMPARE(Cell(1, 8), QString("350.0"));
        QCOMPARE(Cell(4, 10), QString("40.000"));

        // The second day, typed on a date not stored: the header's totals
        // stay in view meanwhile.
        TypeAndLeave(w->ComboBox4, "2026/04/02");
        QCOMPARE(Cell(1, 3), QString("0.0"));
        QCOMPARE(Cell(3, 3), QString("2.350"));
        QCOMPARE(Cell(1, 8), QString("350.0"));
        TypeAndLeave(w->Edit2, "50");
        w->Edit3->setFocus();
        QTest::keyClicks(w->Edit3, "3");
        QTest::keyClick(w->Edit3, Qt::Key_Return);
        Type(2, 3, "4");
        Type(4, 5, "15");
        Ok();
        QCOMPARE(Cell(1, 8), QString("500.0"));
        QCOMPARE(Cell(4, 10), QString("55.000"));

        // Up to each day, and over all of them.
        Choose(w->ComboBox4, "2026/04/01");
        QCOMPARE(w->Edit1->text(), QString("No.1+20"));
        QCOMPARE(Cell(4, 3), QString("41.125"));
        QCOMPARE(Cell(1, 8), QString("500.0"));
        w->CheckBox1->click();
        QCOMPARE(Cell(1, 8), QString("350.0"));
        Choose(w->ComboBox4, "2026/04/02");
        QCOMPARE(Cell(1, 8), QString("500.0"));
        w->CheckBox1->click();

        // Reopened through "開く".
        Choose(w->ComboBox1, kProject);
        OpenRow(0);
        QCOMPARE(w->ComboBox1->Text(), QString("K002:県道5号補修工事"));
        QCOMPARE(w->ComboBox2->Text(), QString("上層路盤工"));
        QCOMPARE(w->ComboBox3->Text(), QString("密粒度13"));
        QCOMPARE(Panel(3), QString("1"));
        QVERIFY(w->ComboBox4->Text() == "2026/04/01" || w->ComboBox4->Text() == "2026/04/02");
        QCOMPARE(prompt.shown.size(), 0);
    }

    void enterInTheLengthFieldDerivesTheAreas()
    {
        ChooseUsual();
        w->vaSpread2->SetText(1, 3, "");
        w->Edit3->setText("3.5");
        w->Edit2->setFocus();
        w->Edit2->selectAll();
        QTest::keyClicks(w->Edit2, "12.345");
        QTest::keyClick(w->Edit2, Qt::Key_Return);
        QCOMPARE(Cell(1, 3), QString("43.2"));
        QCOMPARE(Cell(1, 4), QString("43.2"));
        w->Edit2->selectAll();
        QTest::keyClicks(w->Edit2, "20");
        QTest::keyClick(w->Edit2, Qt::Key_Return);
        QCOMPARE(Cell(1, 3), QString("70.0"));
        QCOMPARE(Cell(1, 4), QString("70.0"));
    }

    void differencesFollowTheModeBox()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "No.1");
        QCOMPARE(Cell(5, 3), QString("1.125"));
        w->CheckBox3->click();
        QCOMPARE(ReadSetting("HojitsuSa"), QString("1"));
        QCOMPARE(Cell(5, 3), QString("-1.125")); // site minus design
        QCOMPARE(Cell(8, 5), QString("-0.0200"));
        w->CheckBox3->click();
        QCOMPARE(ReadSetting("HojitsuSa"), QString("0"));
        QCOMPARE(Cell(5, 3), QString("1.125"));

        // Read at activation from the setting, as a click.
        WriteSetting("HojitsuSa", "1");
        QVERIFY(ActivateWindow(TForms::Instance().frmEditKosyu));
        QVERIFY(ActivateWindow(w));
        QVERIFY(w->CheckBox3->isChecked());
        QCOMPARE(Cell(5, 3), QString("-1.125"));
    }

    void totalsPerMixtureRunOverEveryWorkType()
    {
        ChooseUsual("表層工");
        TypeDay("2026/04/01", "A");
        Ok();
        ChooseUsual("基層工");
        TypeDay("2026/04/05", "B");
        Type(4, 5, "10");
        Ok();
        QCOMPARE(Cell(4, 10), QString("10.000"));
        w->CheckBox2->click();
        QCOMPARE(Cell(4, 10), QString("50.000"));
        // Up to the day, still across work types.
        Choose(w->ComboBox2, "表層工");
        w->CheckBox1->click();
        QCOMPARE(Cell(4, 10), QString("40.000"));
        // Another mixture is not counted.
        Choose(w->ComboBox3, "粗粒度20");
        QCOMPARE(Cell(4, 10), QString("0.000"));
    }

    void statusBarClicksSwitchEditModeAndEnterDirection()
    {
        TStatusBar* bar = w->StatusBar1();
        const auto click = [bar](int panel) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->Panel(panel)->geometry().center());
        };
        QCOMPARE(Panel(1), QString("上書"));
        click(1);
        QCOMPARE(Panel(1), QString("挿入"));
        QCOMPARE(w->vaSpread2->EditMode(), TvaSpread::TEditMode::Insert);
        click(1);
        QCOMPARE(Panel(1), QString("上書"));
        const QString start = Panel(2);
        QStringList seen;
        for (int i = 0; i < 5; ++i) {
            click(2);
            seen << Panel(2);
        }
        QCOMPARE(seen.last(), start);
        QCOMPARE(QSet<QString>(seen.begin(), seen.end()).size(), 5);
        QCOMPARE(seen.mid(seen.indexOf("↑"), 2), (QStringList{"↑", "→"}));
        click(3); // does nothing
        QCOMPARE(Panel(2), start);
    }

    void onlyCellsOfTheDayTakeInput()
    {
        for (int col = 1; col <= 11; ++col)
            for (int row = 1; row <= 11; ++row) {
                const bool entry = row >= 3 && row <= 6 && HojituGrid::PositionAt(col, row) >= 0;
                QCOMPARE(w->vaSpread2->Locked(col, row), !entry);
            }
        QCOMPARE(w->vaSpread2->Text(1, 1), QString("合材"));
        QCOMPARE(w->vaSpread2->Text(11, 2), QString("差"));
        QCOMPARE(w->vaSpread2->Text(0, 6), QString("プラント"));
        QCOMPARE(w->vaSpread2->Text(0, 11), QString("プラント"));
    }

    void stationHoldsSixteenBytesOfShiftJis()
    {
        w->Edit1->setFocus();
        TypeText(w->Edit1, "舗装工事測点あいうえお"); // 11 characters, 22 bytes
        QCOMPARE(w->Edit1->text(), QString("舗装工事測点あい"));
        w->Edit1->clear();
        TypeText(w->Edit1, "No.123+45.5 左側車線");
        QCOMPARE(w->Edit1->text(), QString("No.123+45.5 左側"));
    }

    void anUnreadableDateSavesNothingAndLoadsNothing()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "No.1");
        TypeAndLeave(w->ComboBox4, "4月1日ごろ");
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/01")); // put back, nothing loaded
        QCOMPARE(Cell(4, 3), QString("41.125"));
        w->ComboBox4->SetText("");
        Ok();
        QVERIFY(prompt.LastText("message").contains("日付"));
        QCOMPARE(TableRows("HojituLine4"), QStringList());
        QCOMPARE(TableRows("HojituHead4"), QStringList());
        // The origin of the calendar, typed as such, is a date.
        w->ComboBox4->SetText("1899/12/30");
        Ok();
        QCOMPARE(TableRows("HojituLine4").size(), 1);
        QVERIFY(TableRows("HojituLine4").first().contains("1899-12-30"));
    }

    void blankKeysSaveNothingButUnregisteredNamesAreKept()
    {
        ChooseUsual();
        w->ComboBox2->SetText(" ");
        Ok();
        QVERIFY(prompt.LastText("message").contains("工種名"));
        QCOMPARE(TableRows("HojituHead4"), QStringList());
        w->ComboBox1->SetText("K999:");
        w->ComboBox2->SetText("未登録の工種");
        w->ComboBox3->SetText("未登録の合材");
        Ok();
        QCOMPARE(TableRows("HojituHead4"), QStringList{"1|K999|未登録の工種|未登録の合材"});
    }

    void deletingTakesTheBoxesKeysAsksAndShowsWhatRemains()
    {
        ChooseUsual("表層工");
        TypeDay("2026/04/01", "A");
        Ok();
        ChooseUsual("基層工");
        TypeDay("2026/04/01", "B");
        Ok();
        QCOMPARE(Panel(3), QString("2"));
        // Retyped, not chosen: the boxes name the first header.
        w->ComboBox2->SetText("表層工");

        prompt.AnswerNext(false);
        TriggerAction(w, "mnuDelete");
        QCOMPARE(prompt.Texts("okcancel"), QStringList{"本当に削除しますか？"});
        QCOMPARE(prompt.shown.last().caption, QString(""));
        QCOMPARE(TableRows("HojituHead4").size(), 2);

        prompt.AnswerNext(true);
        TriggerAction(w, "mnuDelete");
        QCOMPARE(TableRows("HojituHead4"), QStringList{"2|K001|基層工|密粒度13"});
        QCOMPARE(TableRows("HojituLine4").size(), 1);
        QCOMPARE(Panel(3), QString("0"));
        QCOMPARE(Cell(4, 3), QString("0.000"));
        QCOMPARE(Cell(4, 10), QString("0.000"));
        // Nothing of the deleted day comes back with the next "OK".
        Ok();
        TQuery sum("select sum(H10) from HojituLine4");
        sum.Exec();
        QVERIFY(sum.Next());
        QCOMPARE(sum.Value(0).toDouble(), 40.0);

        // Delete the day: the header keeps its other days.
        Choose(w->ComboBox2, "基層工");
        TypeAndLeave(w->ComboBox4, "2026/04/02");
        Type(4, 5, "7");
        Ok();
        QCOMPARE(Cell(4, 10), QString("47.000"));
        prompt.AnswerNext(true);
        TriggerAction(w, "mnuDeleteDay");
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/02"));
        QCOMPARE(Cell(4, 5), QString("0.000"));
        QCOMPARE(Cell(4, 10), QString("40.000"));
        QCOMPARE(Panel(3), QString("2"));
    }

    void choosingAProjectOrWorkTypeWithoutDaysClearsTheDay()
    {
        ChooseUsual("表層工");
        TypeDay("2026/04/01", "A");
        Ok();
        Choose(w->ComboBox2, "基層工");
        QCOMPARE(Panel(3), QString("0"));
        QCOMPARE(w->Edit1->text(), QString());
        QCOMPARE(Cell(4, 5), QString("0.000"));
        Choose(w->ComboBox2, "表層工");
        QCOMPARE(w->Edit1->text(), QString("A"));
        QCOMPARE(Panel(3), QString("1"));
    }

    void densityComesFromCoresWhenThereAreAny()
    {
        // No CoreHead (a new data folder): the mixture's density, no error.
        ChooseUsual();
        QCOMPARE(Cell(3, 4), QString("2.350"));
        QCOMPARE(prompt.Texts("error"), QStringList());
        TDatabase::CreateTable("CoreHead", {{"KojiCode", TFieldType::String, 8},
                                            {"GozaiName", TFieldType::String, 64},
                                            {"MitudoPer", TFieldType::Float}});
        TQuery("insert into CoreHead values ('K001', '密粒度13', 2.31)").Exec();
        Choose(w->ComboBox3, "粗粒度20");
        Choose(w->ComboBox3, "密粒度13");
        QCOMPARE(Cell(3, 3), QString("2.350"));
        QCOMPARE(Cell(3, 4), QString("2.310"));
        QCOMPARE(Cell(4, 4), QString("0.000")); // derived: no area yet
    }

    void aTypedMixtureIsTheOneSavedAndPrefilled()
    {
        ChooseUsual("表層工", "密粒度13");
        w->ComboBox3->SetText("粗粒度20");
        TypeDay("2026/04/01", "A");
        Ok();
        QCOMPARE(w->vaSpread1->Text(1, 1), QString("2.400"));
        QCOMPARE(w->Head()->Gozai->DataName, QString("粗粒度20"));
        // A new day of it is prefilled from that mixture.
        TypeAndLeave(w->ComboBox4, "2026/04/02");
        QCOMPARE(Cell(3, 3), QString("2.400"));
        QCOMPARE(Cell(6, 3), QString("5.0"));

        // After "開く" as well.
        Choose(w->ComboBox3, "密粒度13");
        QCOMPARE(w->vaSpread1->Text(1, 1), QString("2.350"));
        OpenRow(0);
        QCOMPARE(w->ComboBox3->Text(), QString("粗粒度20"));
        QCOMPARE(w->vaSpread1->Text(1, 1), QString("2.400"));
    }

    void enterInTheDateBoxShowsTheDayTyped()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        w->ComboBox4->setFocus();
        w->ComboBox4->lineEdit()->selectAll();
        QTest::keyClicks(w->ComboBox4, "2026/04/05");
        QTest::keyClick(w->ComboBox4, Qt::Key_Return);
        QCOMPARE(w->Edit1->text(), QString());
        w->ComboBox4->lineEdit()->selectAll();
        QTest::keyClicks(w->ComboBox4, "2026/04/01");
        QTest::keyClick(w->ComboBox4, Qt::Key_Return);
        QCOMPARE(w->Edit1->text(), QString("A"));
        QCOMPARE(prompt.shown.size(), 0);
    }

    void leavingTheDateUnchangedKeepsTheTyping()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        Type(4, 5, "44");
        TypeAndLeave(w->ComboBox4, "2026/4/1"); // the same day written otherwise
        QCOMPARE(Cell(4, 5), QString("44.000"));
        QVERIFY(w->Modified());
        QCOMPARE(prompt.shown.size(), 0);
    }

    void cancelledOrEmptyOpenLeavesTheWindowAsItWas()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        Type(4, 5, "44");
        OpenRow(-1); // OK with nothing selected: no question, nothing changed
        QCOMPARE(Cell(4, 5), QString("44.000"));
        QCOMPARE(Panel(3), QString("1"));
        QVERIFY(w->Modified());
        QCOMPARE(prompt.shown.size(), 0);
    }

    // "開く" lists every day, newest first, under headings; the search box
    // narrows the list in the database, and the row found opens as chosen.
    void openListSearchesSortsAndOpensTheRowFound()
    {
        RegisterProject("K002", "市道50%_O'Hara線");
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        TypeDay("2026/04/02", "B");
        Ok();
        Choose(w->ComboBox1, "K002:市道50%_O'Hara線");
        Choose(w->ComboBox2, "基層工");
        Choose(w->ComboBox3, "粗粒度20");
        TypeDay("2026/04/03", "C");
        Ok();

        QStringList seen;
        WhenModalShown([&](QWidget* modal) {
            auto* dialog = static_cast<TfSelectMultiItems*>(modal);
            QAbstractItemModel* rows = dialog->ListView1->model();
            const auto row = [&](int r) {
                QStringList texts;
                for (int c = 0; c < 4; ++c)
                    texts << rows->index(r, c).data().toString();
                return texts.join('|');
            };
            QTRY_VERIFY(dialog->Edit1->hasFocus());
            for (int c = 0; c < 4; ++c)
                seen << rows->headerData(c, Qt::Horizontal).toString();
            seen << dialog->Label1->text() << row(0);
            QHeaderView* header = dialog->ListView1->header();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(3) + 5, 5));
            seen << row(0);
            TypeText(dialog->Edit1, "表層工 04/02");
            seen << dialog->Label1->text() << row(0);
            QTest::keyClick(dialog->Edit1, Qt::Key_Down);
            QTest::keyClick(dialog->Edit1, Qt::Key_Return);
        });
        TriggerAction(w, "mnuOpen");
        QCOMPARE(seen, QStringList({"工事名", "工種名", "合材名", "舗設日", "3 件",
                                    "市道50%_O'Hara線|基層工|粗粒度20|2026/04/03",
                                    "国道1号舗装工事|表層工|密粒度13|2026/04/01", "1 件を表示",
                                    "国道1号舗装工事|表層工|密粒度13|2026/04/02"}));
        QCOMPARE(w->ComboBox1->Text(), kProject);
        QCOMPARE(w->ComboBox2->Text(), QString("表層工"));
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/02"));
        QCOMPARE(w->Edit1->text(), QString("B"));

        // The characters typed, not wildcards; Esc leaves the window as it was.
        seen.clear();
        WhenModalShown([&](QWidget* modal) {
            auto* dialog = static_cast<TfSelectMultiItems*>(modal);
            for (const QString& text : {"%", "_", "'", "50%_o'"}) {
                dialog->Edit1->setText(text);
                seen << dialog->Label1->text() + " " +
                            dialog->ListView1->model()->index(0, 0).data().toString();
            }
            QTest::keyClick(dialog->Edit1, Qt::Key_Down);
            QTest::keyClick(dialog->Edit1, Qt::Key_Escape);
        });
        TriggerAction(w, "mnuOpen");
        QCOMPARE(seen, QStringList(4, "1 件を表示 市道50%_O'Hara線"));
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/02"));
        QCOMPARE(w->Edit1->text(), QString("B"));
        QVERIFY(!w->Modified());
        QCOMPARE(prompt.shown.size(), 0);
    }

    void unsavedTypingIsNotLostWithoutAWord()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        // Cancel: the choice is undone, the typing stays.
        prompt.AnswerNextChoice(TAnswer::Cancel);
        Choose(w->ComboBox2, "基層工");
        QCOMPARE(prompt.Texts("yesnocancel").size(), 1);
        QCOMPARE(w->ComboBox2->Text(), QString("表層工"));
        QCOMPARE(Cell(4, 5), QString("40.000"));
        QCOMPARE(TableRows("HojituLine4"), QStringList());
        // Yes: saved under the keys it was typed for, then the choice goes on.
        prompt.AnswerNextChoice(TAnswer::Yes);
        Choose(w->ComboBox2, "基層工");
        QCOMPARE(TableRows("HojituHead4"), QStringList{"1|K001|表層工|密粒度13"});
        QCOMPARE(TableRows("HojituLine4").size(), 1);
        QCOMPARE(w->ComboBox2->Text(), QString("基層工"));
        QCOMPARE(Panel(3), QString("0"));
        // No: dropped.
        Type(4, 5, "12");
        prompt.AnswerNextChoice(TAnswer::No);
        TypeAndLeave(w->ComboBox4, "2026/04/09");
        QCOMPARE(Cell(4, 5), QString("0.000"));
        QCOMPARE(TableRows("HojituLine4").size(), 1);
        // Closing asks too; Cancel keeps the window.
        Type(4, 5, "13");
        prompt.AnswerNextChoice(TAnswer::Cancel);
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());
        QCOMPARE(prompt.Texts("yesnocancel").size(), 4);
    }

    void leavingSavesTheShownDayWithWhatIsStillBeingTyped()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        TypeDay("2026/04/02", "B");
        Type(4, 5, "15");
        Ok();
        Choose(w->ComboBox4, "2026/04/01");
        // A value typed into a cell without Enter, and another date typed
        // into the box without leaving it.
        w->vaSpread2->setFocus();
        w->vaSpread2->SetActiveCell(4, 5);
        TypeText(w->vaSpread2, "48.5");
        w->ComboBox4->SetText("2026/04/02");
        prompt.AnswerNextChoice(TAnswer::Yes);
        QVERIFY(w->close());
        QCOMPARE(prompt.Texts("yesnocancel").size(), 1);
        QVERIFY(prompt.Texts("yesnocancel").first().startsWith("2026/04/01 "));
        QCOMPARE(Stored("2026-04-01", {10}), QString("48.5"));
        QCOMPARE(Stored("2026-04-02", {10}), QString("15"));
    }

    void deletingTheDayTakesTheTypedDateAndSaysWhenNothingIsStored()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        TypeDay("2026/04/02", "B");
        Ok();
        Choose(w->ComboBox4, "2026/04/01");
        // Typed, not left: the day meant is the one typed.
        w->ComboBox4->SetText("2026/4/2");
        prompt.AnswerNext(true);
        TriggerAction(w, "mnuDeleteDay");
        QCOMPARE(prompt.Texts("okcancel"), QStringList{"2026/04/02 の舗設実績を削除しますか？"});
        QCOMPARE(TableRows("HojituLine4").size(), 1);
        QCOMPARE(Stored("2026-04-01", {10}), QString("40"));
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/02"));
        // A day not stored: said, nothing asked, nothing deleted.
        prompt.Clear();
        w->ComboBox4->SetText("2026/04/09");
        TriggerAction(w, "mnuDeleteDay");
        QCOMPARE(prompt.Texts("okcancel"), QStringList());
        QCOMPARE(
            prompt.Texts("message"),
            QStringList{"2026/04/09 の舗設実績は保存されていません。削除するものはありません。"});
        QCOMPARE(TableRows("HojituLine4").size(), 1);
    }

    void deletingARecordThatIsNotThereShowsWhatRemains()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        w->ComboBox2->SetText("未登録の工種");
        prompt.AnswerNext(true);
        TriggerAction(w, "mnuDelete");
        QCOMPARE(prompt.Texts("message"), QStringList{"削除する舗設実績がありません。"});
        QCOMPARE(Panel(3), QString("0"));
        QCOMPARE(w->Edit1->text(), QString());
        QCOMPARE(Cell(4, 5), QString("0.000"));
        QCOMPARE(Cell(4, 10), QString("0.000"));
        prompt.Clear();
        TriggerAction(w, "mnuDeleteDay");
        QVERIFY(prompt.LastText("message").contains("削除するものはありません"));
        QCOMPARE(TableRows("HojituLine4").size(), 1);
    }

    void aBadDigitsSettingLeavesTheShownDayAsItWas()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        TypeDay("2026/04/02", "B");
        Type(4, 5, "15");
        Ok();
        WriteSetting("HojituKetasu7", "x");
        Choose(w->ComboBox4, "2026/04/01");
        QVERIFY(prompt.LastText("error").contains("HojituKetasu7"));
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/02"));
        QCOMPARE(w->Edit1->text(), QString("B"));
        QCOMPARE(Cell(4, 5), QString("15.000"));
        Choose(w->ComboBox2, "基層工");
        QCOMPARE(w->ComboBox2->Text(), QString("表層工"));
        QCOMPARE(Cell(4, 5), QString("15.000"));
        // The next "OK" stores the day shown, whole.
        WriteSetting("HojituKetasu7", "4");
        Ok();
        QCOMPARE(Stored("2026-04-02", {10}), QString("15"));
        QCOMPARE(Stored("2026-04-01", {10}), QString("40"));
    }

    void reSavingWithoutChangesStoresTheValuesAsLoaded()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        w->Edit3->setFocus();
        w->Edit3->selectAll();
        QTest::keyClicks(w->Edit3, "3.25");
        QTest::keyClick(w->Edit3, Qt::Key_Return);
        Type(2, 3, "5.25"); // shown with one decimal, kept as typed
        QCOMPARE(Cell(2, 3), QString("5.3"));
        Ok();
        const QList<int> positions = {1, 2, 4, 8, 16};
        const QString stored = Stored("2026-04-01", positions);
        QCOMPARE(stored, QString("3.25|325|5.25|40.096875|2.32561875"));
        Choose(w->ComboBox4, "2026/04/01");
        QCOMPARE(w->Edit3->text(), QString("3.3"));
        Ok();
        QCOMPARE(Stored("2026-04-01", positions), stored);
        // What the user types is taken, even the text that was shown.
        w->Edit3->setFocus();
        w->Edit3->selectAll();
        QTest::keyClicks(w->Edit3, "3.3");
        Ok();
        QCOMPARE(Stored("2026-04-01", {1}), QString("3.3"));
    }

    void aDerivedTonnageFollowsItsInputsUntilTyped()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        QCOMPARE(Cell(4, 3), QString("41.125"));
        Type(2, 3, "4"); // the thickness corrected after the tonnage was derived
        QCOMPARE(Cell(2, 4), QString("4.0"));
        QCOMPARE(Cell(4, 3), QString("32.900"));
        QCOMPARE(Cell(4, 4), QString("32.900"));
        QCOMPARE(Cell(7, 3), QString("1.9082"));
        Type(4, 3, "33"); // typed: the user's from now on
        Type(2, 3, "4.5");
        QCOMPARE(Cell(4, 3), QString("33.000"));
        QCOMPARE(Cell(4, 4), QString("37.013"));
        Ok();
        // Loaded values stay as stored.
        Choose(w->ComboBox4, "2026/04/01");
        Type(2, 3, "5");
        QCOMPARE(Cell(4, 3), QString("33.000"));
        QCOMPARE(Cell(2, 4), QString("4.5"));
        QCOMPARE(Cell(4, 4), QString("37.013"));
    }

    void yesSavesTheShownDayUnderItsOwnKeysNotTypedOnes()
    {
        ChooseUsual("基層工");
        TypeDay("2026/04/01", "B");
        Type(4, 5, "15");
        Ok();
        ChooseUsual("表層工");
        TypeDay("2026/04/01", "A");
        Ok();
        // A correction on the day shown, another work type typed (not
        // chosen) into its box, and the window closed: the question names
        // the day shown, and "はい" saves it where it was loaded from, not
        // over the other work type's day.
        Type(4, 5, "44");
        w->ComboBox2->setFocus();
        w->ComboBox2->lineEdit()->selectAll();
        TypeText(w->ComboBox2, "基層工");
        prompt.AnswerNextChoice(TAnswer::Yes);
        QVERIFY(w->close());
        QVERIFY(prompt.Texts("yesnocancel").first().startsWith("2026/04/01 "));
        QCOMPARE(StoredOf("表層工", "2026-04-01", 10), 44.0);
        QCOMPARE(StoredOf("基層工", "2026-04-01", 10), 15.0);
    }

    void aPastedBlockKeepsEveryValueOverDerivedCells()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        QCOMPARE(Cell(4, 3), QString("41.125")); // both tonnages derived
        QCOMPARE(Cell(4, 4), QString("41.125"));
        // The weighed design and actual tonnages, copied from a list.
        QApplication::clipboard()->setText("45\n46\n");
        w->vaSpread2->setFocus();
        w->vaSpread2->SetActiveCell(4, 3);
        QTest::keyClick(w->vaSpread2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Cell(4, 3), QString("45.000"));
        QCOMPARE(Cell(4, 4), QString("46.000"));
        QCOMPARE(Cell(7, 4), QString("2.6680")); // 46 x 5.8 %
        Ok();
        QCOMPARE(Stored("2026-04-01", {8, 9}), QString("45|46"));
    }

    void aLengthCorrectedAfterDerivingIsFollowedByAreaAndTonnage()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        QCOMPARE(Cell(1, 3), QString("350.0"));
        QCOMPARE(Cell(4, 3), QString("41.125"));
        // The length corrected: today the area and tonnage of 100 m stay,
        // and "OK" stores them beside 120 m.
        w->Edit2->setFocus();
        w->Edit2->selectAll();
        QTest::keyClicks(w->Edit2, "120");
        QTest::keyClick(w->Edit2, Qt::Key_Return);
        QCOMPARE(Cell(1, 3), QString("420.0"));
        QCOMPARE(Cell(4, 3), QString("49.350"));
        Ok();
        QCOMPARE(Stored("2026-04-01", {0, 2, 3, 8}), QString("120|420|420|49.35"));
    }

    void aDateTypedWithoutItsLeadingZeroIsTheDayTyped()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        TypeDay("2026/04/10", "J");
        Ok();
        Choose(w->ComboBox4, "2026/04/10"); // the list of days has been seen
        // "2026/04/1" is 1 April, not the stored 10 April it begins.
        w->ComboBox4->setFocus();
        w->ComboBox4->lineEdit()->selectAll();
        QTest::keyClicks(w->ComboBox4, "2026/04/1");
        QTest::keyClick(w->ComboBox4, Qt::Key_Return);
        QCOMPARE(w->ComboBox4->Text(), QString("2026/04/01"));
        QCOMPARE(w->Edit1->text(), QString("A"));
        // So is the day "削除（当日）" takes.
        Choose(w->ComboBox4, "2026/04/10");
        w->ComboBox4->lineEdit()->selectAll();
        QTest::keyClicks(w->ComboBox4, "2026/04/1");
        prompt.AnswerNext(false);
        TriggerAction(w, "mnuDeleteDay");
        QCOMPARE(prompt.Texts("okcancel"), QStringList{"2026/04/01 の舗設実績を削除しますか？"});
    }

    void aBadDigitsSettingMeanwhileStoresNoStaleTonnage()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        // The settings file spoilt meanwhile (by hand, or another program).
        WriteSetting("HojituKetasu1", "x");
        Type(2, 3, "4"); // the thickness corrected; the tonnage cannot follow
        QVERIFY(prompt.LastText("error").contains("HojituKetasu1"));
        QCOMPARE(Cell(4, 3), QString("41.125"));
        Ok();
        // Refused, or saved whole: never 4 cm beside the tonnage of 5 cm.
        const QString stored = Stored("2026-04-01", {4, 8});
        QVERIFY2(stored == "5|41.125" || stored == "4|32.9", qPrintable(stored));
    }

    void aWidthInFullWidthDigitsIsNotStoredAsZeroUnsaid()
    {
        ChooseUsual();
        TypeAndLeave(w->ComboBox4, "2026/04/01");
        TypeAndLeave(w->Edit2, "100");
        // The input method left on: "３.５" stays in the box as typed.
        w->Edit3->setFocus();
        TypeText(w->Edit3, "３.５");
        QTest::keyClick(w->Edit3, Qt::Key_Return);
        Ok();
        // Taken as the number shown, or refused with a word; never 0 unsaid.
        const QString stored = Stored("2026-04-01", {1, 2});
        QVERIFY2(stored == "3.5|350" || (stored.isEmpty() && !prompt.shown.isEmpty()),
                 qPrintable(stored));
    }

    void aMixtureTypedWithATrailingBlankIsThatMixture()
    {
        ChooseUsual();
        TypeDay("2026/04/01", "A");
        Ok();
        // A blank left behind by the input method, unseen in the box.
        w->ComboBox3->setFocus();
        w->ComboBox3->lineEdit()->selectAll();
        TypeText(w->ComboBox3, "密粒度13　");
        TypeAndLeave(w->ComboBox4, "2026/04/02");
        Type(4, 5, "15");
        Ok();
        // One record of the mixture, as for a work type typed so.
        QCOMPARE(TableRows("HojituHead4"), QStringList{"1|K001|表層工|密粒度13"});
        QCOMPARE(w->vaSpread1->Text(1, 1), QString("2.350"));
        QCOMPARE(Cell(4, 10), QString("55.000"));
    }

    void anotherDataFolderChosenFromTheMenuShowsNoDayOfAnotherRecord()
    {
        if (TTestEnvironment::OnServer())
            QSKIP("data folders are a matter of the SQLite lane");
        // A second data folder, whose record 1 is another work type's, with
        // a day of 5 April.
        const QString first = TDatabase::AliasFolder(kAlias);
        const QString second = TTestEnvironment::Current().NewFolder();
        TDatabase::SetAliasFolder(kAlias, second);
        THojituHead4::EnsureTables();
        THojituLine4::EnsureTables();
        RegisterProject("K001", "国道1号舗装工事");
        THojituHead4 other;
        other.Koji->Code = "K001";
        other.Kosyu->Kosyumei = "基層工";
        other.Gozai->DataName = "密粒度13";
        other.Save();
        THojituLine4 day;
        day.SID = other.ID;
        TryStrToDate("2026/04/05", day.Hiduke);
        day.Sokuten = "B";
        day.Values[10] = 7;
        day.Save();
        TDatabase::SetAliasFolder(kAlias, first);

        ChooseUsual("表層工");
        TypeDay("2026/04/01", "A");
        Ok();
        TriggerAction(w, "mnuDataPath");
        TfrmSetDataPath* dialog = TForms::Instance().frmSetDataPath;
        dialog->findChild<QLineEdit*>("Edit1")->setText(second);
        QTest::mouseClick(dialog->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        QVERIFY(ActivateWindow(w));
        // 表層工 has no day of 5 April in the second folder.
        TypeAndLeave(w->ComboBox4, "2026/04/05");
        QCOMPARE(w->ComboBox2->Text(), QString("表層工"));
        QCOMPARE(w->Edit1->text(), QString());
        QCOMPARE(Cell(4, 5), QString("0.000"));
        // Nothing to delete: no question (one would fail the test).
        TriggerAction(w, "mnuDeleteDay");
        QCOMPARE(prompt.Texts("okcancel"), QStringList());
        QCOMPARE(TableRows("HojituLine4").size(), 1);
    }

    void openingARecordDeletedMeanwhileSaysSoAndKeepsTheWindow()
    {
        ChooseUsual("表層工");
        TypeDay("2026/04/01", "A");
        Ok();
        ChooseUsual("基層工");
        TypeDay("2026/04/02", "B");
        Ok();
        Choose(w->ComboBox2, "表層工");
        WhenModalShown([](QWidget* modal) {
            auto* dialog = static_cast<TfSelectMultiItems*>(modal);
            // The row of 基層工 (record 2).
            for (int row = 0; row < dialog->ListView1->model()->rowCount(); ++row) {
                dialog->ListView1->setCurrentIndex(dialog->ListView1->model()->index(row, 0));
                if (dialog->SelectedSubItems().value(3) == "2")
                    break;
            }
            // Another program deletes that record meanwhile.
            THojituHead4 gone;
            gone.LoadById(2);
            gone.Delete();
            QTest::mouseClick(dialog->Button1, Qt::LeftButton);
        });
        TriggerAction(w, "mnuOpen");
        // Not 表層工 shown as if it had no record and no days, without a word.
        QCOMPARE(prompt.Texts("message").size(), 1);
        QCOMPARE(w->ComboBox2->Text(), QString("表層工"));
        QCOMPARE(Panel(3), QString("1"));
        QCOMPARE(w->Edit1->text(), QString("A"));
        QCOMPARE(Cell(4, 5), QString("40.000"));
    }

    void startWritesTheDifferenceModeWhenTheWindowGoes()
    {
        w->CheckBox3->setChecked(true);
        TForms::Instance().DestroyAll();
        QCOMPARE(ReadSetting("HojitsuSa"), QString("1"));
        TForms::Instance().CreateAll();
        w = TForms::Instance().frmEditHojitsu4;
    }
};

KANMURI_TEST_MAIN(TestDayEntry)
#include "foundation/TPrompt.h"
#include "tst_DayEntry.moc"

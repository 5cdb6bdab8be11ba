// The window "合格判定値": its cells for the worked example, the guideline's
// question, the setting boxes, a batch that cannot be calculated, and the
// mix editor's button that opens it.
#include "AcceptanceTesting.h"
#include "acceptance/TFormGokakuHanteiti.h"
#include "acceptance/TFormGokakuHanteitiKeisanHouhou.h"
#include "acceptance/TGokakuHanteiti.h"
#include "controls/TComboBox.h"
#include "controls/TvaSpread.h"
#include "mix/TfrmEditGozaiDef.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

using namespace AcceptanceTesting;

class TestFormGokakuHanteiti : public QObject
{
    Q_OBJECT

    TScriptedPrompt& Prompt() { return TTestEnvironment::Current().prompt; }

    std::unique_ptr<TGozaiDef> mix;

    void NewMix(const std::array<double, 14>& ratios, int use)
    {
        mix = std::make_unique<TGozaiDef>();
        mix->DataName = kMixture;
        mix->Kosyu = use;
        mix->Ratios[0]->D = ratios;
        mix->Ratios[1]->D = ratios;
    }

    // Shows the window as the editor does; `atShow` runs once it is up (the
    // question answered), then it is closed.
    void Show(const std::function<void(TFormGokakuHanteiti&)>& atShow,
              std::function<void(QWidget*)> question = {}, TPlant* editorPlant = nullptr)
    {
        TFormGokakuHanteiti window(mix.get(), editorPlant);
        bool ran = false;
        auto inspect = [&](QWidget*) {
            atShow(window);
            ran = true;
            window.reject();
        };
        if (question)
            WhenModalShown([question, inspect](QWidget* modal) {
                WhenModalShown(inspect);
                question(modal);
            });
        else
            WhenModalShown(inspect);
        window.exec();
        QVERIFY(ran);
    }

    static QStringList Column(TvaSpread* grid, int col)
    {
        QStringList texts;
        for (int row = 1; row <= grid->MaxRows(); ++row)
            texts << grid->Text(col, row);
        return texts;
    }

    static QStringList Edits(const TFormGokakuHanteiti& w)
    {
        QStringList texts;
        for (QLineEdit* edit : w.Edits)
            texts << edit->text();
        return texts;
    }

private slots:
    void init()
    {
        TTestEnvironment::Current().Reset();
        StandardPlant();
    }

    void workedExampleCellForCell()
    {
        NewMix(SurfaceCourse(), 2);
        Show([](TFormGokakuHanteiti& w) {
            QCOMPARE(w.windowTitle(), QString("合格判定値"));
            QCOMPARE(w.StaticText1->text(), QString("計量自記記録の合格判定値計算表"));
            QCOMPARE(Column(w.vaSpread12, 1),
                     QStringList({"900.00(-54.00～54.00)", "200.00(-80.70～80.70)",
                                  "40.00(-9.92～13.44)", "60.00(-4.90～4.90)", "", ""}));
            QCOMPARE(Column(w.vaSpread12, 2),
                     QStringList({"", "22.22(-11.00～11.00)", "4.00(-1.17～1.69)",
                                  "6.00(-0.80～0.80)", "", ""}));
            QCOMPARE(Column(w.vaSpread11, 1), QStringList({"20.00", "200.00", "200.00"}));
            QCOMPARE(Column(w.vaSpread11, 4), QStringList({"15.00", "150.00", "900.00"}));
            QCOMPARE(Column(w.vaSpread11, 9), QStringList({"4.00", "40.00", "40.00"}));
            QCOMPARE(Column(w.vaSpread11, 12), QStringList({"100.00", "1000.00", "1000.00"}));
            QCOMPARE(Edits(w), QStringList({"1000.00", "900.00", "6.00", "4.00", "22.22", "0.00",
                                            "0.00", "0.00"}));
            // The plant's bins head the columns; unnamed bins are hidden.
            QCOMPARE(w.vaSpread11->Text(1, 0), QString("1番"));
            QCOMPARE(w.vaSpread11->ColWidth(4), 8.0);
            QCOMPARE(w.vaSpread11->ColWidth(5), 0.0);
            QCOMPARE(w.vaSpread11->ColWidth(6), 0.0);
            QCOMPARE(w.vaSpread11->Text(7, 0), QString("再生１"));
            QCOMPARE(w.vaSpread11->Text(12, 0), QString("合計"));
            QVERIFY(w.CheckBox1->isVisibleTo(&w));
            QCOMPARE(w.Label9->text(), QString());
        });
        QVERIFY(Prompt().shown.isEmpty());
    }

    void theSettingBoxesWriteTheirSettingsAndRecalculate()
    {
        NewMix(SurfaceCourse(), 2);
        Show([](TFormGokakuHanteiti& w) {
            QVERIFY(!w.CheckBox1->isChecked());
            QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {}, QPoint(8, 10));
            QCOMPARE(ReadSetting("GokakuHanteiti_V1keta"), QString("true"));
            QCOMPARE(w.vaSpread12->Text(1, 2), QString("200.0(-80.7～80.7)"));
            QCOMPARE(w.Edits[0]->text(), QString("1000.0"));
            QCOMPARE(w.vaSpread11->Text(1, 2), QString("200.0"));
            QTest::mouseClick(w.CheckBox1, Qt::LeftButton, {}, QPoint(8, 10));
            QCOMPARE(ReadSetting("GokakuHanteiti_V1keta"), QString("false"));
            QCOMPARE(w.vaSpread12->Text(1, 2), QString("200.00(-80.70～80.70)"));
        });

        // Coarse aggregate first at a plant whose fifth bin is named but
        // empty in this mixture: the 2.36 mm bin is bin 3, or bin 4 when the
        // box is ticked.
        TPlant plant;
        plant.LoadByName(kPlant);
        plant.InitialWeighing = 1;
        plant.BinName[4] = "5番";
        QVERIFY(plant.Save(kPlant));
        Show([](TFormGokakuHanteiti& w) {
            QCOMPARE(w.vaSpread12->Text(1, 2), QString("750.00(-47.70～47.70)"));
            QTest::mouseClick(w.CheckBox2, Qt::LeftButton, {}, QPoint(8, 10));
            QCOMPARE(ReadSetting("GokakuHanteiti_236mmChokkin_is_always_Second_from_endbin"),
                     QString("true"));
            QCOMPARE(w.vaSpread12->Text(1, 2), QString("900.00(-38.70～38.70)"));
            QCOMPARE(w.vaSpread11->ColWidth(5), 8.0);
        });
        // The box shows the stored setting the next time.
        Show([](TFormGokakuHanteiti& w) { QVERIFY(w.CheckBox2->isChecked()); });
    }

    void recycledMaterialAsksTheGuideline_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("fillerI");
        QTest::newRow("プラント再生舗装技術指針") << "BitBtn1"
                                                  << "プラント再生舗装技術指針"
                                                  << "36.00(-10.51～10.51)";
        QTest::newRow("アスファルト舗装再生利用ガイドライン")
            << "BitBtn2"
            << "アスファルト舗装再生利用ガイドライン"
            << "36.00(-4.00～0.00)";
        QTest::newRow("closed") << ""
                                << "プラント再生舗装技術指針"
                                << "36.00(-10.51～10.51)";
    }
    void recycledMaterialAsksTheGuideline()
    {
        QFETCH(QString, answer);
        QFETCH(QString, label);
        QFETCH(QString, fillerI);
        NewMix(Recycled(), 0);
        QString caption;
        Show(
            [&](TFormGokakuHanteiti& w) {
                QCOMPARE(w.Label9->text(), label);
                QCOMPARE(w.vaSpread12->Text(1, 3), fillerI);
                QCOMPARE(w.vaSpread12->Text(1, 6), QString("400.00(-20.40～20.40)"));
                QCOMPARE(w.vaSpread12->Text(2, 6), QString("40.00(-6.00～6.00)"));
                QCOMPARE(w.vaSpread12->Text(1, 5), QString("1000.00(-60.00～60.00)"));
                QCOMPARE(w.Edits[6]->text(), QString("40.00"));
                QCOMPARE(w.Edits[7]->text(), QString("600.00"));
                QVERIFY(!w.CheckBox1->isVisibleTo(&w));
            },
            [&](QWidget* question) {
                caption = question->windowTitle();
                if (answer.isEmpty())
                    question->close();
                else
                    ControlOf<QPushButton>(question, qPrintable(answer))->click();
            });
        QCOMPARE(caption, QString("合格判定値の計算方法を選んでください"));
        // Two decimals with recycled material, whatever the setting says.
        WriteSetting("GokakuHanteiti_V1keta", "true");
        Show([&](TFormGokakuHanteiti& w) { QCOMPARE(w.vaSpread12->Text(1, 3), fillerI); },
             [&](QWidget* question) {
                 if (answer.isEmpty())
                     question->close();
                 else
                     ControlOf<QPushButton>(question, qPrintable(answer))->click();
             });
    }

    void aWalkwayHasNoGradingCells()
    {
        NewMix(SurfaceCourse(), 1);
        Show([](TFormGokakuHanteiti& w) {
            QCOMPARE(Column(w.vaSpread12, 1),
                     QStringList({"", "", "40.00(-12.72～0.00)", "60.00(-7.00～0.00)", "", ""}));
            QCOMPARE(Column(w.vaSpread12, 2),
                     QStringList({"", "", "4.00(-1.45～0.00)", "6.00(-1.00～0.00)", "", ""}));
        });
    }

    void aBinNamedWithBlanksIsNoBin()
    {
        // Coarse aggregate first, the 2.36 mm bin the one before the last
        // named bin: a bin 5 named with blanks must not move it.
        UseCapturePrinter();
        WriteSetting("GokakuHanteiti_236mmChokkin_is_always_Second_from_endbin", "true");
        NewMix(SurfaceCourse(), 2);
        // What the window shows and the sheet prints with bin 5 named `bin5`.
        const auto seen = [this](const QString& bin5) {
            StandardPlant("1000", true);
            TPlant plant;
            plant.LoadByName(kPlant);
            plant.BinName[4] = bin5;
            plant.Save(kPlant);
            QStringList texts;
            Show([&texts](TFormGokakuHanteiti& w) {
                texts << QString::number(w.vaSpread11->ColWidth(5)) << Edits(w)
                      << Column(w.vaSpread12, 1);
            });
            for (const TPdfPage& page : PrintedFromPreview(*mix))
                for (const TPdfWord& word : page.words)
                    texts << QString("%1 %2 %3")
                                 .arg(word.text)
                                 .arg(word.left, 0, 'f', 1)
                                 .arg(word.top, 0, 'f', 1);
            return texts;
        };
        const QStringList blank = seen(QString::fromUtf16(u"\u3000 "));
        QCOMPARE(blank, seen(QString()));
        QCOMPARE(blank, seen(QString(3, QChar(0)))); // as another program may leave it
        QCOMPARE(blank.first(), QString("0"));
        QCOMPARE(blank.at(6), QString("83.33")); // G: up to bin 3
    }

    void aBatchThatCannotBeCalculatedSaysSo()
    {
        NewMix(SurfaceCourse(), 2);
        StandardPlant("0");
        Show([](TFormGokakuHanteiti& w) {
            QCOMPARE(Column(w.vaSpread12, 1), QStringList(6, QString()));
            QCOMPARE(Column(w.vaSpread12, 2), QStringList(6, QString()));
            QCOMPARE(Column(w.vaSpread11, 1), QStringList({"20.00", "0.00", "0.00"}));
            QCOMPARE(w.Edits[0]->text(), QString("0.00"));
        });
        QCOMPARE(Prompt().Texts("message"),
                 QStringList{"基準骨材計量値が０の為、\n計算ができませんでした。"});
    }

    void theMixEditorOpensItWithWhatItShows()
    {
        StoreMixture(kMixture, SurfaceCourse(), 2);
        // The mixture's own plant, named in its mix data file.
        TPlant second;
        second.Clear();
        second.Standard = 0;
        second.BatchWeight = "2000";
        second.BinName = {"A", "B", "C", "D", "E", ""};
        QVERIFY(second.Save("第２プラント"));
        QFile goz(ReadSetting("HaigoDataPath") + kMixture + ".Goz");
        QVERIFY(goz.open(QIODevice::WriteOnly));
        goz.write(QByteArray::fromHex("0c") + QByteArray::fromHex("91e682518376838983938367"));
        goz.close();

        TfrmEditGozaiDef editor;
        QVERIFY(ActivateWindow(&editor));
        editor.ComboBox1->SetText(kMixture);
        editor.ComboBox1Select();
        editor.ComboBox3->setCurrentIndex(0); // typed, not saved
        editor.Plant()->LoadStandard();
        QString grading;
        WhenModalShown([&](QWidget* modal) {
            auto* w = qobject_cast<TFormGokakuHanteiti*>(modal);
            QVERIFY(w);
            grading = w->vaSpread12->Text(1, 2);
            QCOMPARE(w->Edits[0]->text(), QString("2000.00"));
            QCOMPARE(w->vaSpread11->Text(5, 0), QString("E"));
            ControlOf<QPushButton>(modal, "BitBtn1")->click();
        });
        QTest::mouseClick(editor.BitBtn3, Qt::LeftButton);
        // Use 0 as typed: the limits of 4.0 kg.
        QCOMPARE(grading, QString("400.00(-195.60～195.60)"));
        QCOMPARE(editor.Plant()->Name, QString("第２プラント"));
        TGozaiDef stored;
        QVERIFY(stored.LoadByName(kMixture));
        QCOMPARE(stored.Kosyu, 2);

        // A ratio that is not a number opens nothing.
        editor.vaSpread11->SetText(1, 2, "abc");
        auto opened = std::make_shared<bool>(false);
        WhenModalShown(
            [opened](QWidget* modal) {
                *opened = qobject_cast<TFormGokakuHanteiti*>(modal) != nullptr;
                modal->close();
            },
            500);
        Prompt().Clear();
        QTest::mouseClick(editor.BitBtn3, Qt::LeftButton);
        QTest::qWait(600);
        QVERIFY(!*opened);
        QCOMPARE(Prompt().Texts("message").size(), 1);
    }
};

KANMURI_TEST_MAIN(TestFormGokakuHanteiti)
#include "tst_TFormGokakuHanteiti.moc"

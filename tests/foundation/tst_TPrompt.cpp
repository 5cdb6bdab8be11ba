#include "foundation/TPrompt.h"
#include "support/TTestEnvironment.h"

// The scripted prompt fails a test that meets a question it did not script,
// or that scripts answers the program never asks for; otherwise a passing
// test could mean two things. Each failure here is expected (QEXPECT_FAIL).
class TestPrompt : public QObject
{
    Q_OBJECT
private slots:
    void scriptedAnswersAreGivenInOrder()
    {
        auto& prompt = TTestEnvironment::Current().prompt;
        prompt.AnswerNext(true);
        prompt.AnswerNextChoice(TAnswer::No);
        prompt.AnswerNextInput(true, "K001");
        QVERIFY(TPrompt::OkCancel("削除しますか？"));
        QCOMPARE(TPrompt::YesNoCancel("保存しますか？"), TAnswer::No);
        QString code = "K";
        QVERIFY(TPrompt::InputText("工事", "コード", code));
        QCOMPARE(code, QString("K001"));
        QCOMPARE(prompt.Texts("okcancel"), QStringList{"削除しますか？"});
        QVERIFY(prompt.CheckAllUsed());
    }

    void aQuestionNotScriptedFailsAndIsAnsweredNo()
    {
        QEXPECT_FAIL("", "a Yes/No question not scripted", Continue);
        const bool yes = TPrompt::YesNo("削除しますか？");
        QVERIFY(!yes);
        QEXPECT_FAIL("", "a Yes/No/Cancel question not scripted", Continue);
        const TAnswer answer = TPrompt::YesNoCancel("保存しますか？");
        QCOMPARE(answer, TAnswer::Cancel);
        QCOMPARE(TTestEnvironment::Current().prompt.unanswered, 2);
    }

    void answersLeftFailTheTest()
    {
        auto& prompt = TTestEnvironment::Current().prompt;
        prompt.AnswerNext(true);
        QEXPECT_FAIL("", "an answer never asked for", Continue);
        const bool used = prompt.CheckAllUsed();
        QVERIFY(!used);
        // Failed once; the answer is gone.
        QVERIFY(prompt.CheckAllUsed());
    }

    void answersLeftByATestFunction()
    {
        // Left for the next function to find.
        TTestEnvironment::Current().prompt.AnswerNext(false);
    }

    void theNextFunctionThatUsesThePromptFails()
    {
        QEXPECT_FAIL("", "the answer the previous function left", Continue);
        TPrompt::Message("保存しました。");
        QCOMPARE(TTestEnvironment::Current().prompt.Texts("message"),
                 QStringList{"保存しました。"});
    }
};

KANMURI_TEST_MAIN(TestPrompt)
#include "tst_TPrompt.moc"

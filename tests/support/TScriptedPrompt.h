#pragma once

#include "foundation/TPrompt.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QStringList>

// What a test expects to be asked, in order, and what was shown. A question
// the script has no answer for fails the running test (and is answered No or
// Cancel, so that the test goes on to its end); answers the test scripted and
// the program never asked for fail it too. Either way the test means the same
// whichever prompt answers it.
class TPromptScript
{
public:
    struct Shown
    {
        QString kind; // "message", "error", "yesno", "okcancel", "yesnocancel", "input", "beep"
        QString caption;
        QString text;
    };

    virtual ~TPromptScript() = default;

    // Answers for the next Yes/No and OK/Cancel questions, in order (Yes/OK = true).
    void AnswerNext(bool answer);
    void AnswerNextInput(bool ok, const QString& text);
    // Answers for the next Yes/No/Cancel questions.
    void AnswerNextChoice(TAnswer answer);

    QList<Shown> shown;
    // Questions asked that the script had no answer for.
    int unanswered = 0;

    QStringList Texts(const QString& kind) const;
    QString LastText(const QString& kind) const;
    // Forgets what was shown and every answer.
    void Clear();
    // Fails the running test when scripted answers were not used, and
    // forgets them; false then.
    bool CheckAllUsed();

protected:
    void Record(const QString& kind, const QString& caption, const QString& text);
    // The next answer for a question just recorded; a failure without one.
    bool TakeAnswer();
    TAnswer TakeChoice();
    bool TakeInput(QString& value);

private:
    // Answers left over from an earlier test function fail the test now
    // running, naming the one that scripted them.
    void CheckEarlierFunction();
    void Scripted();
    void Fail(const QString& text);
    int Left() const { return m_answers.size() + m_choices.size() + m_inputs.size(); }

    QList<bool> m_answers;
    QList<TAnswer> m_choices;
    QList<QPair<bool, QString>> m_inputs;
    // The test function that scripted the answers still left.
    QByteArray m_scriptedIn;
};

// Answers questions from the script and records everything shown, without a
// screen.
class TScriptedPrompt : public TPromptBackend, public TPromptScript
{
public:
    void Message(const QString& text, const QString& caption) override;
    void Error(const QString& text) override;
    bool YesNo(const QString& text, const QString& caption) override;
    bool OkCancel(const QString& text, const QString& caption) override;
    TAnswer YesNoCancel(const QString& text, const QString& caption) override;
    bool InputText(const QString& caption, const QString& prompt, QString& value) override;
    void Beep() override;
};

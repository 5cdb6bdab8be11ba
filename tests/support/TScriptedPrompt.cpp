#include "support/TScriptedPrompt.h"

#include <QTest>
#include <cstdio>

namespace {

QByteArray RunningFunction()
{
    const char* name = QTest::currentTestFunction();
    return name ? QByteArray(name) : QByteArray();
}

QString Quoted(const QList<TPromptScript::Shown>& shown)
{
    return shown.isEmpty() ? QString()
                           : QStringLiteral(" after \"%1\"").arg(shown.constLast().text);
}

} // namespace

void TPromptScript::Scripted()
{
    CheckEarlierFunction();
    m_scriptedIn = RunningFunction();
}

void TPromptScript::AnswerNext(bool answer)
{
    Scripted();
    m_answers.append(answer);
}

void TPromptScript::AnswerNextInput(bool ok, const QString& text)
{
    Scripted();
    m_inputs.append({ok, text});
}

void TPromptScript::AnswerNextChoice(TAnswer answer)
{
    Scripted();
    m_choices.append(answer);
}

QStringList TPromptScript::Texts(const QString& kind) const
{
    QStringList result;
    for (const Shown& s : shown)
        if (s.kind == kind)
            result << s.text;
    return result;
}

QString TPromptScript::LastText(const QString& kind) const
{
    const QStringList all = Texts(kind);
    return all.isEmpty() ? QString() : all.last();
}

void TPromptScript::Clear()
{
    shown.clear();
    m_answers.clear();
    m_inputs.clear();
    m_choices.clear();
    unanswered = 0;
}

void TPromptScript::Fail(const QString& text)
{
    // Outside a test function (after the last one) there is no test to fail:
    // the program's main reports it and fails instead.
    if (QTest::currentTestFunction())
        QTest::qFail(qPrintable(text), __FILE__, __LINE__);
    else
        std::fprintf(stderr, "FAIL!  : %s\n", qPrintable(text));
}

bool TPromptScript::CheckAllUsed()
{
    if (Left() == 0)
        return true;
    const QString where =
        m_scriptedIn.isEmpty() ? QString() : QStringLiteral(" scripted in %1()").arg(m_scriptedIn);
    Fail(QStringLiteral("%1 answer(s)%2 never asked for%3").arg(Left()).arg(where, Quoted(shown)));
    m_answers.clear();
    m_inputs.clear();
    m_choices.clear();
    return false;
}

void TPromptScript::CheckEarlierFunction()
{
    if (Left() > 0 && m_scriptedIn != RunningFunction())
        CheckAllUsed();
}

void TPromptScript::Record(const QString& kind, const QString& caption, const QString& text)
{
    CheckEarlierFunction();
    shown.append({kind, caption, text});
}

bool TPromptScript::TakeAnswer()
{
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    ++unanswered;
    Fail(QStringLiteral("question not scripted: %1 \"%2\"")
             .arg(shown.last().kind, shown.last().text));
    return false;
}

TAnswer TPromptScript::TakeChoice()
{
    if (!m_choices.isEmpty())
        return m_choices.takeFirst();
    ++unanswered;
    Fail(QStringLiteral("question not scripted: yesnocancel \"%1\"").arg(shown.last().text));
    return TAnswer::Cancel;
}

bool TPromptScript::TakeInput(QString& value)
{
    if (m_inputs.isEmpty()) {
        ++unanswered;
        Fail(QStringLiteral("input not scripted: \"%1\"").arg(shown.last().text));
        return false;
    }
    auto [ok, text] = m_inputs.takeFirst();
    if (ok)
        value = text;
    return ok;
}

void TScriptedPrompt::Message(const QString& text, const QString& caption)
{
    Record(QStringLiteral("message"), caption, text);
}
void TScriptedPrompt::Error(const QString& text)
{
    Record(QStringLiteral("error"), QString(), text);
}
bool TScriptedPrompt::YesNo(const QString& text, const QString& caption)
{
    Record(QStringLiteral("yesno"), caption, text);
    return TakeAnswer();
}
bool TScriptedPrompt::OkCancel(const QString& text, const QString& caption)
{
    Record(QStringLiteral("okcancel"), caption, text);
    return TakeAnswer();
}
TAnswer TScriptedPrompt::YesNoCancel(const QString& text, const QString& caption)
{
    Record(QStringLiteral("yesnocancel"), caption, text);
    return TakeChoice();
}
bool TScriptedPrompt::InputText(const QString& caption, const QString& prompt, QString& value)
{
    Record(QStringLiteral("input"), caption, prompt);
    return TakeInput(value);
}
void TScriptedPrompt::Beep()
{
    Record(QStringLiteral("beep"), QString(), QString());
}

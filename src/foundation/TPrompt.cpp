#include "foundation/TPrompt.h"

#include <cstdio>

namespace {

// Used before the GUI installs its own backend: nothing can be asked, so
// messages go to the console and questions are answered No.
class TConsolePrompt : public TPromptBackend
{
public:
    void Message(const QString& text, const QString& caption) override
    {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption), qUtf8Printable(text));
    }
    void Error(const QString& text) override
    {
        std::fprintf(stderr, "error: %s\n", qUtf8Printable(text));
    }
    bool YesNo(const QString& text, const QString& caption) override
    {
        Message(text, caption);
        return false;
    }
    bool OkCancel(const QString& text, const QString& caption) override
    {
        Message(text, caption);
        return false;
    }
    TAnswer YesNoCancel(const QString& text, const QString& caption) override
    {
        Message(text, caption);
        return TAnswer::Cancel;
    }
    bool InputText(const QString& caption, const QString& prompt, QString&) override
    {
        Message(prompt, caption);
        return false;
    }
    void Beep() override {}
};

TConsolePrompt consolePrompt;
TPromptBackend* current = nullptr;

TPromptBackend& backend()
{
    return current ? *current : consolePrompt;
}

} // namespace

void TPrompt::Message(const QString& text, const QString& caption)
{
    backend().Message(text, caption);
}
void TPrompt::Error(const QString& text)
{
    backend().Error(text);
}
bool TPrompt::YesNo(const QString& text, const QString& caption)
{
    return backend().YesNo(text, caption);
}
bool TPrompt::OkCancel(const QString& text, const QString& caption)
{
    return backend().OkCancel(text, caption);
}
TAnswer TPrompt::YesNoCancel(const QString& text, const QString& caption)
{
    return backend().YesNoCancel(text, caption);
}
bool TPrompt::InputText(const QString& caption, const QString& prompt, QString& value)
{
    return backend().InputText(caption, prompt, value);
}
void TPrompt::Beep()
{
    backend().Beep();
}
void TPrompt::SetBackend(TPromptBackend* b)
{
    current = b;
}
TPromptBackend* TPrompt::Backend()
{
    return &backend();
}

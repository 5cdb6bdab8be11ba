#pragma once

#include <QString>
#include <QStringList>

// The answer to a question with Yes, No and Cancel.
enum class TAnswer
{
    Yes,
    No,
    Cancel
};

// Every message and question of the program goes through TPrompt, so that the
// GUI shows real message boxes and tests can answer and read them.
class TPromptBackend
{
public:
    virtual ~TPromptBackend() = default;
    // A plain message with an OK button.
    virtual void Message(const QString& text, const QString& caption) = 0;
    // The default error box for a failure that stopped an operation.
    virtual void Error(const QString& text) = 0;
    virtual bool YesNo(const QString& text, const QString& caption) = 0;
    virtual bool OkCancel(const QString& text, const QString& caption) = 0;
    virtual TAnswer YesNoCancel(const QString& text, const QString& caption) = 0;
    // Asks for a text; false when the user cancelled. `value` holds the
    // proposed text on entry and the answer on return.
    virtual bool InputText(const QString& caption, const QString& prompt, QString& value) = 0;
    virtual void Beep() = 0;
};

// A caption given as empty: the box shows none. A caption left out (a null
// text, the default) shows the program's name.
inline const QString kEmptyCaption = QStringLiteral("");

class TPrompt
{
public:
    static void Message(const QString& text, const QString& caption = QString());
    static void Error(const QString& text);
    static bool YesNo(const QString& text, const QString& caption = QString());
    static bool OkCancel(const QString& text, const QString& caption = QString());
    static TAnswer YesNoCancel(const QString& text, const QString& caption = QString());
    static bool InputText(const QString& caption, const QString& prompt, QString& value);
    static void Beep();

    // Installs a backend (not owned); nullptr returns to the console backend.
    static void SetBackend(TPromptBackend* backend);
    static TPromptBackend* Backend();
};

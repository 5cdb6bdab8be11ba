#pragma once

#include <QString>
#include <stdexcept>

// Base of every failure the program raises. The text is what the user reads in
// the error box, so it must stand on its own.
class EKanmuriError : public std::runtime_error
{
public:
    explicit EKanmuriError(const QString& text)
        : std::runtime_error(text.toStdString()), m_text(text)
    {
    }
    QString text() const { return m_text; }

private:
    QString m_text;
};

// A failure of the database engine; the text is the engine's own.
class EDatabaseError : public EKanmuriError
{
public:
    using EKanmuriError::EKanmuriError;
};

// A failure reading or writing the settings store or the engine configuration.
class ESettingsError : public EKanmuriError
{
public:
    using EKanmuriError::EKanmuriError;
};

// Readable text of any exception, for the error box.
QString ExceptionText(const std::exception& e);

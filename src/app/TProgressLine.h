#pragma once

#include <QString>

class QTextStream;

// A command's progress on standard error: one line, rewritten in place as
// the work goes on. Whatever is written after it starts on a line of its
// own.
class TProgressLine
{
public:
    // `format` takes the count done as %1 and the whole as %2.
    TProgressLine(QTextStream& err, const QString& format);
    ~TProgressLine();
    TProgressLine(const TProgressLine&) = delete;
    TProgressLine& operator=(const TProgressLine&) = delete;

    void Show(qint64 done, qint64 total);
    // Ends the line, when one was shown.
    void End();

private:
    QTextStream& m_err;
    QString m_format;
    bool m_shown = false;
};

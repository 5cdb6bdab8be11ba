#include "app/TProgressLine.h"

#include <QTextStream>

TProgressLine::TProgressLine(QTextStream& err, const QString& format) : m_err(err), m_format(format)
{
}

TProgressLine::~TProgressLine()
{
    End();
}

void TProgressLine::Show(qint64 done, qint64 total)
{
    m_err << u'\r' << m_format.arg(done).arg(total);
    m_err.flush();
    m_shown = true;
}

void TProgressLine::End()
{
    if (m_shown)
        m_err << u'\n';
    m_shown = false;
}

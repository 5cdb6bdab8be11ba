#include "controls/TNValEdit.h"

#include "foundation/EKanmuriError.h"
#include "foundation/TPrompt.h"
#include "foundation/gui/Ime.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kSignificant = 15;
constexpr int kMaxDecimals = 14;

double Power10(int n)
{
    return std::pow(10.0, n);
}

QString StripZeros(QString s)
{
    if (s.contains(u'.')) {
        while (s.endsWith(u'0'))
            s.chop(1);
        if (s.endsWith(u'.'))
            s.chop(1);
    }
    return s;
}

// x (not negative) with at most 14 decimals and 15 significant digits, no
// trailing zeros: what a double holds of a decimal number, without the
// binary noise beyond it (123456.7, not 123456.69999999999709).
QString PlainDigits(double x)
{
    int decimals = kMaxDecimals;
    if (x >= 1) {
        const int integerDigits = int(std::floor(std::log10(x))) + 1;
        decimals = std::clamp(kSignificant - integerDigits, 0, kMaxDecimals);
    }
    return StripZeros(QString::number(x, 'f', decimals));
}

int DecimalsOf(const QString& plain)
{
    const qsizetype point = plain.indexOf(u'.');
    return point < 0 ? 0 : int(plain.size() - point - 1);
}

// "1234567.5" -> "1,234,567.5"
QString Grouped(const QString& fixed)
{
    qsizetype point = fixed.indexOf(u'.');
    if (point < 0)
        point = fixed.size();
    QString whole = fixed.left(point);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, u',');
    return whole + fixed.mid(point);
}

// A number of digits with an optional sign and point; "12." and ".5" count.
bool ReadNumber(const QString& text, double& value)
{
    static const QRegularExpression form(QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    if (!form.match(text).hasMatch())
        return false;
    bool ok = false;
    value = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(value);
}

double NumberOf(const QString& text)
{
    double value = 0;
    return ReadNumber(text, value) ? value : 0;
}

// Full-width letters, digits and signs as their half-width forms; the
// full-width yen sign as the backslash it is on a Japanese keyboard.
QString HalfWidth(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFEE0));
        else if (u == 0x3000)
            c = u' ';
        else if (u == 0xFFE5)
            c = u'\\';
    }
    return result;
}

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

TNValEdit::TNValEdit(QWidget* parent) : QLineEdit(parent)
{
    m_normalColor = palette().color(QPalette::Text);
    m_minusColor = m_normalColor;
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Text comes only through the keys handled here: no composing, no drops.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setAcceptDrops(false);
    setDragEnabled(false);
    connect(this, &QLineEdit::textChanged, this, &TNValEdit::TextChanged);
}

template <typename Action> void TNValEdit::BaseEdit(Action action)
{
    const bool was = m_inRender;
    m_inRender = true;
    action();
    m_inRender = was;
}

void TNValEdit::DesignMessage(const QString& text, bool beep)
{
    if (beep)
        TPrompt::Beep();
    TPrompt::Message(text);
}

// Value ----------------------------------------------------------------------

void TNValEdit::SetValue(double value)
{
    if (!std::isfinite(value))
        value = 0;
    m_signTyped = false;
    double x = value;
    if (value < 0) {
        x = -value;
        if (m_prmtNegative)
            m_signTyped = true;
        else if (m_designing)
            throw EKanmuriError(QStringLiteral("PrmtNegative と矛盾します"));
    }
    double largest, threshold;
    if (m_fixDecimal < 0) {
        largest = Power10(m_maxDigits) - 1;
        threshold = 5 * Power10(-m_maxDigits);
        m_decimalCount = 0;
    } else {
        largest = Power10(m_maxDigits - m_fixDecimal) - Power10(-m_fixDecimal);
        threshold = 5 * Power10(-(m_fixDecimal + 1));
        m_decimalCount = m_fixDecimal;
    }
    m_digitCount = m_maxDigits;

    if (x < threshold) {
        m_digitCount = m_zeroDisplay ? 1 : 0;
        m_decimalCount = 0;
        m_pointTyped = false;
        m_value = m_signTyped ? -x : x;
        Render(0);
        return;
    }
    if (x >= largest) {
        if (m_designing && x > largest)
            throw EKanmuriError(QStringLiteral("MaxDigits, FixDecimal と矛盾します"));
        x = largest;
    }
    CountDigits(x);
    m_value = m_signTyped ? -x : x;
    Render(m_value);
}

void TNValEdit::CountDigits(double x)
{
    QString s = PlainDigits(x);
    m_digitCount = int(s.size());
    if (s.contains(u'.') && s.size() > m_maxDigits + 1) {
        if (m_designing)
            throw EKanmuriError(QStringLiteral("MaxDigits と矛盾します"));
        // Only what is shown is cut; the value keeps its precision.
        s = StripZeros(s.left(m_maxDigits + 1));
    }
    const qsizetype point = s.indexOf(u'.');
    if (point < 0) {
        m_decimalCount = std::max(m_fixDecimal, 0);
        m_digitCount = int(s.size()) + m_decimalCount;
    } else {
        const int decimals = int(s.size() - point - 1);
        if (m_fixDecimal < 0) {
            m_decimalCount = decimals;
        } else {
            if (m_designing && decimals > m_fixDecimal)
                throw EKanmuriError(QStringLiteral("FixDecimal と矛盾します"));
            m_decimalCount = m_fixDecimal;
        }
        m_digitCount = int(point) + m_decimalCount;
    }
    m_pointTyped = m_decimalCount > 0;
}

void TNValEdit::Render(double value)
{
    if (m_minusColor != m_normalColor)
        SetTextColour(value >= 0 && !m_signTyped ? m_normalColor : m_minusColor);
    QString text;
    if (value != 0 || m_pointTyped) {
        const QString fixed = QString::number(std::fabs(value), 'f', m_decimalCount);
        text = m_putAComma ? Grouped(fixed) : fixed;
        if (value < 0)
            text.prepend(u'-');
        if (m_pointTyped && m_decimalCount == 0 && m_digitCount < m_maxDigits)
            text += u'.';
    } else {
        m_digitCount = 0;
        m_decimalCount = 0;
        text = m_zeroDisplay ? QStringLiteral("0") : QString();
    }
    if (m_signTyped && !text.contains(u'-'))
        text.prepend(u'-');
    if (m_leadingChar > u' ' && (m_zeroDisplay || value != 0 || m_signTyped || m_pointTyped))
        text.prepend(m_leadingChar);
    BaseEdit([&] { setText(text); });
    m_rendered = true;
    setCursorPosition(int(text.size()));
}

void TNValEdit::TextChanged()
{
    setModified(true);
    // A text set from outside (not rendered here) is read as a number.
    if (m_inRender || !m_rendered || !parentWidget())
        return;
    SetValue(ParseText(text()));
    setCursorPosition(int(text().size()));
}

void TNValEdit::ResetTyping()
{
    m_value = 0;
    m_digitCount = 0;
    m_decimalCount = 0;
    m_pointTyped = false;
    m_signTyped = false;
}

void TNValEdit::ClearValue()
{
    ResetTyping();
    Render(0);
}

// Keys -----------------------------------------------------------------------

void TNValEdit::TypeChar(QChar c)
{
    c = HalfWidth(QString(c)).front();
    if (c == u'-')
        TypeMinus();
    else if (c == u'.')
        TypePoint();
    else if (IsAsciiDigit(c))
        TypeDigit(c.unicode() - u'0');
}

void TNValEdit::TypeMinus()
{
    if (!m_prmtNegative) {
        TPrompt::Beep();
        return;
    }
    if (hasSelectedText())
        ResetTyping();
    m_signTyped = !m_signTyped;
    m_value = -m_value;
    Render(m_value);
}

void TNValEdit::TypePoint()
{
    if (m_fixDecimal == 0) {
        m_pointTyped = false;
        m_decimalCount = 0;
        TPrompt::Beep();
        return;
    }
    if (hasSelectedText()) {
        // The sign stays.
        m_value = m_signTyped ? -0.0 : 0.0;
        m_digitCount = 0;
        m_decimalCount = 0;
        m_pointTyped = false;
    }
    if (m_digitCount >= m_maxDigits) {
        TPrompt::Beep();
        return;
    }
    if (m_digitCount == 0)
        m_digitCount = 1; // the leading "0"
    if (m_pointTyped) {
        TPrompt::Beep();
        return;
    }
    m_pointTyped = true;
    Render(m_value);
}

void TNValEdit::TypeDigit(int digit)
{
    if (hasSelectedText()) {
        ResetTyping();
        Render(0);
    }
    const int oldDigits = m_digitCount;
    const int oldDecimals = m_decimalCount;
    double candidate;
    if (m_pointTyped) {
        const bool firstOfZero = m_value == 0 && m_decimalCount == 0;
        ++m_decimalCount;
        const double t = digit / Power10(m_decimalCount);
        candidate = m_value >= 0 && !m_signTyped ? m_value + t : m_value - t;
        m_digitCount = firstOfZero ? 2 : m_digitCount + 1;
    } else {
        m_value = std::round(m_value); // halves away from zero
        if (m_value == 0 && m_digitCount == 1)
            m_digitCount = 0; // the "0" placeholder is replaced
        candidate = m_value < 0 || m_signTyped ? m_value * 10 - digit : m_value * 10 + digit;
        ++m_digitCount;
    }
    if (m_digitCount > m_maxDigits) {
        m_digitCount = m_maxDigits;
        if (m_pointTyped)
            m_decimalCount = oldDecimals;
        TPrompt::Beep();
        return;
    }
    if (m_fixDecimal >= 0) {
        if (!m_pointTyped && m_digitCount > m_maxDigits - m_fixDecimal) {
            m_digitCount = m_maxDigits - m_fixDecimal;
            TPrompt::Beep();
            return;
        }
        if (m_pointTyped && m_decimalCount > m_fixDecimal) {
            m_decimalCount = m_fixDecimal;
            m_digitCount = oldDigits;
            TPrompt::Beep();
            return;
        }
    }
    // Rounded to the decimals typed, so that 0.2 + 0.09 is 0.29.
    m_value = NumberOf(QString::number(candidate, 'f', m_decimalCount));
    if (m_signTyped && m_value == 0)
        m_value = -0.0;
    Render(m_value);
}

void TNValEdit::Backspace()
{
    if (hasSelectedText() || m_digitCount <= 0) {
        ClearValue();
        return;
    }
    QString shortened = QString::number(m_value, 'f', m_decimalCount);
    if (m_value == 0 && std::signbit(m_value))
        shortened.prepend(u'-');
    shortened.chop(1);
    --m_digitCount;
    const double value = shortened == QStringLiteral("-") ? 0 : NumberOf(shortened);
    if (m_decimalCount <= 0) {
        m_decimalCount = 0;
        m_pointTyped = false;
        // The sign is that of what is left: "-12" becomes "-1", still
        // negative, so that the next "-" makes it positive in text and value.
        m_signTyped = value < 0;
    } else {
        --m_decimalCount;
    }
    m_value = value;
    Render(m_value);
}

void TNValEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        if (!isReadOnly())
            Paste();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        if (!isReadOnly())
            Cut();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        if (!isReadOnly())
            Undo();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
        if (!isReadOnly())
            Backspace();
        return;
    case Qt::Key_Left:
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_enterNext) {
            focusNextChild();
            return;
        }
        // Passed on, so that the window's default button gets it.
        QLineEdit::keyPressEvent(event);
        return;
    case Qt::Key_Escape:
        if (!isReadOnly())
            SetValue(m_undoValue);
        return;
    case Qt::Key_Home:
        selectAll();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_arrowNext) {
            if (event->key() == Qt::Key_Up)
                focusPreviousChild();
            else
                focusNextChild();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    case Qt::Key_Delete:
        if (!isReadOnly() && (hasSelectedText() || m_delAllClear))
            ClearValue();
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.front().isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        if (!isReadOnly())
            for (QChar c : text)
                TypeChar(c);
        return;
    }
    if (!text.isEmpty() && (event->modifiers() & Qt::ControlModifier))
        return; // other control characters are not typed either
    QLineEdit::keyPressEvent(event);
}

void TNValEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Should a platform compose anyway, what it commits is typed key by key.
    if (!isReadOnly())
        for (QChar c : event->commitString())
            TypeChar(c);
    event->accept();
}

// Focus and mouse ------------------------------------------------------------

void TNValEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    m_undoValue = m_value;
    ImeOff(this);
    if (m_autoSelect && event->reason() != Qt::MouseFocusReason)
        selectAll();
    else if (event->reason() != Qt::MouseFocusReason)
        setCursorPosition(int(text().size()));
}

void TNValEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup menu of this edit does not take the focus away for good.
    if (event->reason() == Qt::PopupFocusReason)
        return;
    m_undoValue = m_value;
    SetValue(m_value);
}

void TNValEdit::mousePressEvent(QMouseEvent* event)
{
    // The middle button would paste the selection past the value.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

void TNValEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (m_afterDoubleClick) {
        m_afterDoubleClick = false;
        return;
    }
    if (!(hasSelectedText() && selectedText() == text()))
        setCursorPosition(int(text().size()));
}

void TNValEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    m_afterDoubleClick = true;
}

void TNValEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // The edit's own menu would change the text behind the value's back.
    QMenu menu(this);
    const bool editable = !isReadOnly();
    const bool selected = hasSelectedText();
    const auto add = [&](const QString& caption, bool enabled, auto handler) {
        QAction* action = menu.addAction(caption);
        action->setEnabled(enabled);
        connect(action, &QAction::triggered, this, handler);
    };
    add(QStringLiteral("元に戻す(&U)"), editable && isUndoAvailable(), &TNValEdit::Undo);
    menu.addSeparator();
    add(QStringLiteral("切り取り(&T)"), editable && selected, &TNValEdit::Cut);
    add(QStringLiteral("コピー(&C)"), selected, &QLineEdit::copy);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    add(QStringLiteral("貼り付け(&P)"), editable && mime && mime->hasText(), &TNValEdit::Paste);
    add(QStringLiteral("削除(&D)"), editable && selected, &TNValEdit::Clear);
    menu.addSeparator();
    add(QStringLiteral("すべて選択(&A)"), !text().isEmpty(), &QLineEdit::selectAll);
    menu.exec(event->globalPos());
}

// Clipboard ------------------------------------------------------------------

void TNValEdit::Paste()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    // A cell copied from a spreadsheet ends with a line break.
    SetValue(mime && mime->hasText() ? ParseText(mime->text().trimmed()) : 0);
}

void TNValEdit::Cut()
{
    BaseEdit([this] { QLineEdit::cut(); });
    SetValue(0);
}

void TNValEdit::Clear()
{
    BaseEdit([this] { QLineEdit::del(); });
    SetValue(0);
}

void TNValEdit::Undo()
{
    BaseEdit([this] { QLineEdit::undo(); });
    SetValue(ParseText(text()));
}

double TNValEdit::ParseText(const QString& text) const
{
    QString s = HalfWidth(text);
    if (s.isEmpty())
        return 0;
    const QChar first = s.front();
    if (m_leadingChar > u' ' ? first == m_leadingChar
                             : first == u'$' || first == u'\\' || first == QChar(0xA5))
        s.remove(0, 1);

    // Positions from 1; q is that of the point, or one past the end.
    const qsizetype point = s.indexOf(u'.');
    const qsizetype q = point < 0 ? s.size() + 1 : point + 1;
    int commas = 0;
    for (qsizetype i = s.size(); i >= 1; --i) {
        const QChar c = s[i - 1];
        if (IsAsciiDigit(c) || c == u'+' || c == u'-' || c == u'.')
            continue;
        if (c == u',' && i < q && i != 1 && (q - i) % 4 == 0) {
            ++commas;
            continue;
        }
        return 0;
    }
    if (commas > 0) {
        // One separator for every three digits before the point beyond the
        // first; a sign in front is no digit, so "-123,456" reads as written.
        qsizetype digits = 0;
        for (qsizetype i = 0; i < q - 1; ++i)
            digits += IsAsciiDigit(s[i]);
        if (commas != (digits - 1) / 3)
            return 0;
        s.remove(u',');
    }
    return NumberOf(s);
}

// Properties -----------------------------------------------------------------

void TNValEdit::SetMaxDigits(int digits)
{
    if (digits < 1 || digits > MaxDigitsLimit) {
        if (m_designing)
            DesignMessage(QStringLiteral("MaxDigits は 1 から 15 までです。"));
        return;
    }
    if (m_fixDecimal >= digits) {
        if (m_designing)
            DesignMessage(QStringLiteral("小数桁指定と矛盾しています"));
        return;
    }
    // The value as written with the fixed decimals, padded with zeros.
    QString written = PlainDigits(std::fabs(m_value));
    if (m_fixDecimal > 0) {
        if (!written.contains(u'.'))
            written += u'.';
        written += QString(std::max(0, m_fixDecimal - DecimalsOf(written)), u'0');
    }
    const auto valueDigits = std::count_if(written.begin(), written.end(), IsAsciiDigit);
    m_maxDigits = digits;
    if (valueDigits > digits) {
        if (m_designing) {
            DesignMessage(QStringLiteral("最大桁数を超えるため Value をゼロにします"));
            SetValue(0);
        } else {
            SetValue(m_value); // the new largest value
        }
    }
}

void TNValEdit::SetFixDecimal(int decimals)
{
    if (decimals < -1 || decimals >= m_maxDigits) {
        if (m_designing) {
            DesignMessage(QStringLiteral("値が不正です"));
            return;
        }
        decimals = std::clamp(decimals, -1, m_maxDigits - 1);
    }
    m_fixDecimal = decimals;
    if (decimals < 0)
        return;
    const QString written = PlainDigits(std::fabs(m_value));
    if (DecimalsOf(written) > decimals) {
        if (m_designing)
            DesignMessage(QStringLiteral("Value の小数桁数を指定桁数に変更します"));
        // Cut in decimal digits: 0.29 stays 0.29 at two decimals.
        const qsizetype point = written.indexOf(u'.');
        const QString cut = written.left(decimals == 0 ? point : point + 1 + decimals);
        const double magnitude = NumberOf(cut);
        SetValue(m_value < 0 ? -magnitude : magnitude);
        return;
    }
    SetValue(m_value);
}

void TNValEdit::SetPrmtNegative(bool permitted)
{
    m_prmtNegative = permitted;
    if (permitted)
        return;
    if (m_value < 0) {
        if (m_designing)
            DesignMessage(QStringLiteral("Value を正の数に変換します"), false);
        SetValue(-m_value);
    } else if (m_signTyped) {
        // A "-" typed before the digits would make them negative.
        SetValue(0);
    }
}

void TNValEdit::SetPutAComma(bool comma)
{
    m_putAComma = comma;
    SetValue(m_value);
}

void TNValEdit::SetLeadingChar(QChar mark)
{
    m_leadingChar = mark < u' ' ? QChar(u' ') : mark;
    if (parentWidget())
        SetValue(m_value);
}

void TNValEdit::SetZeroDisplay(bool show)
{
    m_zeroDisplay = show;
    Render(m_value);
}

void TNValEdit::SetMinusColor(const QColor& colour)
{
    m_minusColor = colour;
    Render(m_value);
}

// Colours --------------------------------------------------------------------

void TNValEdit::SetTextColour(const QColor& colour)
{
    if (palette().color(QPalette::Text) == colour)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Text, colour);
    m_colorGuard = true;
    setPalette(p);
    m_colorGuard = false;
}

void TNValEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() != QEvent::PaletteChange || m_colorGuard)
        return;
    // The text colour was changed from outside.
    const QColor colour = palette().color(QPalette::Text);
    const bool negative = m_value < 0 || m_signTyped;
    if (colour == m_normalColor && !negative)
        return;
    if (m_minusColor == m_normalColor) {
        m_normalColor = colour;
        if (m_designing)
            SetMinusColor(colour);
        else
            m_minusColor = colour;
    } else if (negative) {
        if (colour == m_minusColor)
            return;
        m_normalColor = colour;
        SetTextColour(m_minusColor);
    } else {
        m_normalColor = colour;
    }
}

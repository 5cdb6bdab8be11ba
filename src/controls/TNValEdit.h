#pragma once

#include <QColor>
#include <QLineEdit>

// A single-line edit for one number, typed as on a calculator: digits are
// appended at the end, "-" toggles the sign, "." starts the decimals, and the
// whole text is written again from the value after every key, right-aligned,
// with thousands separators. The user never edits the text freely.
//
// The value is a double; what is shown keeps up to 15 significant digits
// (at most 14 decimals), so a value set from outside shows as written
// ("123,456.7") and the text and Value agree after every key.
//
// textChanged fires on every change of the text, each re-render included.
class TNValEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE SetValue)
    Q_PROPERTY(int MaxDigits READ MaxDigits WRITE SetMaxDigits)
    Q_PROPERTY(int FixDecimal READ FixDecimal WRITE SetFixDecimal)
    Q_PROPERTY(bool PrmtNegative READ PrmtNegative WRITE SetPrmtNegative)
    Q_PROPERTY(bool PutAComma READ PutAComma WRITE SetPutAComma)
    Q_PROPERTY(QChar LeadingChar READ LeadingChar WRITE SetLeadingChar)
    Q_PROPERTY(bool ZeroDisplay READ ZeroDisplay WRITE SetZeroDisplay)
    Q_PROPERTY(QColor MinusColor READ MinusColor WRITE SetMinusColor)
    Q_PROPERTY(bool EnterNext READ EnterNext WRITE SetEnterNext)
    Q_PROPERTY(bool ArrowNext READ ArrowNext WRITE SetArrowNext)
    Q_PROPERTY(bool DelAllClear READ DelAllClear WRITE SetDelAllClear)
    Q_PROPERTY(bool AutoSelect READ AutoSelect WRITE SetAutoSelect)

public:
    static constexpr int MaxDigitsLimit = 15;

    explicit TNValEdit(QWidget* parent = nullptr);

    double Value() const { return m_value; }
    // Negative values lose their sign unless PrmtNegative; values beyond what
    // MaxDigits and FixDecimal allow become the largest one.
    void SetValue(double value);

    // Digits, integer and decimal together: 1 to 15 (default 9).
    int MaxDigits() const { return m_maxDigits; }
    void SetMaxDigits(int digits);
    // Decimals: -1 (default) as typed, else fixed (0 to MaxDigits - 1).
    int FixDecimal() const { return m_fixDecimal; }
    void SetFixDecimal(int decimals);
    bool PrmtNegative() const { return m_prmtNegative; }
    void SetPrmtNegative(bool permitted);
    bool PutAComma() const { return m_putAComma; }
    void SetPutAComma(bool comma);
    // A mark before the number (a currency sign); a blank means none.
    QChar LeadingChar() const { return m_leadingChar; }
    void SetLeadingChar(QChar mark);
    // Zero shows "0"; otherwise an empty text.
    bool ZeroDisplay() const { return m_zeroDisplay; }
    void SetZeroDisplay(bool show);
    // Text colour while the value is negative; the normal text colour by
    // default, so that negative values look like the others.
    QColor MinusColor() const { return m_minusColor; }
    void SetMinusColor(const QColor& colour);
    bool EnterNext() const { return m_enterNext; }
    void SetEnterNext(bool next) { m_enterNext = next; }
    bool ArrowNext() const { return m_arrowNext; }
    void SetArrowNext(bool next) { m_arrowNext = next; }
    bool DelAllClear() const { return m_delAllClear; }
    void SetDelAllClear(bool clear) { m_delAllClear = clear; }
    bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool select) { m_autoSelect = select; }

    // While the control is laid out in a designer, contradicting settings are
    // refused or changed with a message and a beep instead of silently.
    bool Designing() const { return m_designing; }
    void SetDesigning(bool designing) { m_designing = designing; }

    // Reads a number as this control writes it: full-width characters, the
    // leading mark ("$" or "\" without one), thousands separators where they
    // belong. Anything else gives 0.
    double ParseText(const QString& text) const;

public slots:
    // The edit's clipboard commands (also on the keys and the popup menu).
    void Paste();
    void Cut();
    void Clear();
    void Undo();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void TypeChar(QChar c);
    void TypeMinus();
    void TypePoint();
    void TypeDigit(int digit);
    void Backspace();
    void ResetTyping();
    void ClearValue();
    void CountDigits(double x);
    void Render(double value);
    void SetTextColour(const QColor& colour);
    void TextChanged();
    void DesignMessage(const QString& text, bool beep = true);
    // Runs a change of the base edit's text as the edit's own, not as a text
    // set from outside.
    template <typename Action> void BaseEdit(Action action);

    double m_value = 0;
    int m_maxDigits = 9;
    int m_fixDecimal = -1;
    bool m_prmtNegative = true;
    bool m_putAComma = true;
    QChar m_leadingChar = u' ';
    bool m_zeroDisplay = false;
    QColor m_minusColor;
    QColor m_normalColor;
    bool m_enterNext = false;
    bool m_arrowNext = false;
    bool m_delAllClear = false;
    bool m_autoSelect = true;
    bool m_designing = false;

    int m_digitCount = 0;   // digits shown, integer and decimal
    int m_decimalCount = 0; // decimals shown or typed
    bool m_pointTyped = false;
    bool m_signTyped = false;
    double m_undoValue = 0; // the value when the focus last changed
    bool m_afterDoubleClick = false;
    bool m_rendered = false;
    bool m_inRender = false;
    bool m_colorGuard = false;
};

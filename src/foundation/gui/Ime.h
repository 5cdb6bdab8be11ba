#pragma once

class QWidget;

// Input method of entry fields: code and number fields switch it off, Japanese
// text fields let it compose (hiragana on systems that have it).

// Asks for Latin and number entry in `widget` and drops any text still being
// composed there.
void ImeOff(QWidget* widget);
// Lets `widget` take Japanese text from the input method again.
void ImeHiragana(QWidget* widget);

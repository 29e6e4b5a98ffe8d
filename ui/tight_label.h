#pragma once
// A one-line label whose text must fit its fixed width in the window's font.

class QLabel;

namespace marvolt {

// Narrows the label's letter spacing just enough for its whole text to fit its width
// (Tahoma 8 pt sets Label4's text 9 pixels wider than its 641); a text that fits is left
// as it is.
void tightenToWidth(QLabel& label);

}  // namespace marvolt

#include "tight_label.h"

#include <QFontMetricsF>
#include <QLabel>
#include <cmath>

namespace marvolt {

namespace {

constexpr double kSpacingStep = 1.0 / 64;  // fonts keep letter spacing in 64ths of a pixel

}  // namespace

void tightenToWidth(QLabel& label) {
    const QString text = label.text();
    QFont font = label.font();
    const double excess = QFontMetricsF(font).horizontalAdvance(text) - label.width();
    if (excess <= 0 || text.isEmpty()) return;
    double spacing = -std::ceil(excess / text.size() / kSpacingStep) * kSpacingStep;
    for (;; spacing -= kSpacingStep) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        if (QFontMetricsF(font).horizontalAdvance(text) <= label.width()) break;
    }
    label.setFont(font);
}

}  // namespace marvolt

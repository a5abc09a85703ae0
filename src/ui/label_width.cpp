#include "ui/label_width.h"

#include <QFontMetrics>
#include <QLabel>
#include <algorithm>

namespace mitoran {

void reserveWidth(QLabel* label, const QStringList& widest) {
    const QFontMetrics metrics(label->font());
    int text = 0;
    // size() rounds a fractional advance up, as the label does when it draws.
    for (const QString& w : widest) text = std::max(text, metrics.size(0, w).width());
    // A framed label indents its text by half an "x" on the side it is aligned to.
    const int indent = label->frameWidth() > 0 && label->indent() < 0
                           ? metrics.horizontalAdvance(QLatin1Char('x')) / 2
                           : std::max(label->indent(), 0);
    const QMargins m = label->contentsMargins();
    const int frame = 2 * label->frameWidth() + m.left() + m.right() + 2 * label->margin();
    label->setMinimumWidth(std::max(label->minimumWidth(), text + frame + indent));
}

}  // namespace mitoran

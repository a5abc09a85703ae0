#pragma once
// Room for figures that arrive after a window is laid out: the windows do not grow for them later,
// so a label sized by its first text would squeeze a longer one.
#include <QStringList>

class QLabel;

namespace mitoran {

// Keeps `label` at least as wide as the widest of `widest` in its own font, inside its frame,
// margins and indent.
void reserveWidth(QLabel* label, const QStringList& widest);

}  // namespace mitoran

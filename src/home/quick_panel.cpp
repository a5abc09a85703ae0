#include "home/quick_panel.h"

namespace mitoran {

QuickPanel::QuickPanel(QWidget* parent) : QWidget(parent) { setObjectName("fraQuick"); }

void QuickPanel::setHomeButtons(QAbstractButton*, QAbstractButton*) {}

void QuickPanel::open() { setVisible(true); }

}  // namespace mitoran

#include "home/edit_panel.h"

namespace mitoran {

EditPanel::EditPanel(QWidget* parent) : QWidget(parent) { setObjectName("fraSettei"); }

void EditPanel::open() { setVisible(true); }

void EditPanel::showStoredInterval() {}

}  // namespace mitoran

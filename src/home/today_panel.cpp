#include "home/today_panel.h"

namespace mitoran {

TodayPanel::TodayPanel(QWidget* parent) : QWidget(parent) { setObjectName("fraToday"); }

void TodayPanel::open(const std::vector<std::vector<std::string>>&) { setVisible(true); }

}  // namespace mitoran

#pragma once
// The home screen's panel fraToday: one item's sets of one day as labels, a grid and a chart.
#include <QWidget>
#include <string>
#include <vector>

namespace mitoran {

class TodayPanel : public QWidget {
    Q_OBJECT
public:
    explicit TodayPanel(QWidget* parent = nullptr);

    // Steps after HideAllPanels of the "本日の実績" button: fill the lists, compute, show, help text.
    // `itemDates[i]` holds item i's distinct date texts in first-appearance order (i from 1).
    void open(const std::vector<std::vector<std::string>>& itemDates);
};

}  // namespace mitoran

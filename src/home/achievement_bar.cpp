#include "home/achievement_bar.h"

#include <QChildEvent>
#include <QPalette>
#include <algorithm>

#include "home/home_figures.h"
#include "ui/palette.h"

namespace mitoran {

BarTrack::BarTrack(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, paletteColour(15));
    setPalette(pal);
    setFrameShape(QFrame::Box);
}

void BarTrack::placeBars() {
    const QRect inside = contentsRect();
    for (BarFill* bar : findChildren<BarFill*>(QString(), Qt::FindDirectChildrenOnly)) {
        const int width = static_cast<int>(static_cast<long long>(inside.width()) * bar->length() /
                                           kFullBarLength);
        bar->setGeometry(inside.x(), inside.y(), width, inside.height());
    }
}

void BarTrack::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    placeBars();
}

void BarTrack::childEvent(QChildEvent* event) {
    QFrame::childEvent(event);
    if (event->type() == QEvent::ChildPolished) placeBars();
}

BarFill::BarFill(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
    setColourIndex(colourIndex_);
}

void BarFill::setLength(int units) {
    length_ = std::clamp(units, 0, kFullBarLength);
    if (auto* track = qobject_cast<BarTrack*>(parentWidget())) track->placeBars();
}

void BarFill::setColourIndex(int index) {
    colourIndex_ = index;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, paletteColour(index));
    setPalette(pal);
}

}  // namespace mitoran

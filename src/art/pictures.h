#pragma once
// The program's own pictures, drawn in code so they stay sharp at any scaling.
#include <QIcon>
#include <QPixmap>
#include <QPointF>
#include <QSize>

namespace mitoran::pictures {

QIcon arrowIcon();     // the skip button: an arrow pointing right
QIcon scissorsIcon();  // the cut-the-round button
QIcon stopIcon();      // the Quick Muscle stop button
QIcon helpTourIcon();  // the small picture of the help-tour switch
QIcon appIcon();       // the window and launcher icon
// A traffic light with one lamp lit: 1 red, 2 yellow, 3 green.
QPixmap signalPicture(int lamp, int height = 96);
// The size of a traffic light picture of that height (empty below 1), and the centre of a lamp
// in it, both in device-independent pixels, so a panel can lay out and tests can look inside.
QSize signalSize(int height = 96);
QPointF signalLampCentre(int lamp, int height = 96);

}  // namespace mitoran::pictures

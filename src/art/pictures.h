#pragma once
// The program's own pictures, drawn in code so they stay sharp at any scaling.
#include <QIcon>
#include <QPixmap>

namespace mitoran::pictures {

QIcon arrowIcon();     // the skip button: an arrow pointing right
QIcon scissorsIcon();  // the cut-the-round button
QIcon stopIcon();      // the Quick Muscle stop button
QIcon helpTourIcon();  // the small picture of the help-tour switch
QIcon appIcon();       // the window and launcher icon
// A traffic light with one lamp lit: 1 red, 2 yellow, 3 green.
QPixmap signalPicture(int lamp, int height = 96);

}  // namespace mitoran::pictures

#pragma once
// The two shapes of an overview bar row: the white track that stands for 100 % and the coloured
// bar drawn over it from the same left edge. Lengths are in units of the full track
// (kFullBarLength) so that the figures do not depend on the window's size.
#include <QFrame>

namespace mitoran {

class BarTrack : public QFrame {
    Q_OBJECT
  public:
    explicit BarTrack(QWidget* parent = nullptr);

    // Puts every bar inside this track at its length, scaled to the track's width.
    void placeBars();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;
};

class BarFill : public QFrame {
    Q_OBJECT
    Q_PROPERTY(int length READ length WRITE setLength)
    Q_PROPERTY(int colourIndex READ colourIndex WRITE setColourIndex)
  public:
    explicit BarFill(QWidget* parent = nullptr);

    int length() const { return length_; }
    void setLength(int units);  // clamped to 0..kFullBarLength

    int colourIndex() const { return colourIndex_; }
    void setColourIndex(int index);  // 16-colour palette

  private:
    int length_ = 0;
    int colourIndex_ = 11;  // aqua until a band colour is chosen
};

}  // namespace mitoran

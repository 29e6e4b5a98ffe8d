#pragma once
// A push button with its picture 10 pixels from the left edge and its text centred in the
// width that remains. The text may hold a line break; "&&" shows as "&".

#include <QPushButton>

namespace marvolt {

class PictureButton : public QPushButton {
  public:
    // `picture` is an SVG resource drawn at `pictureSize` pixels square.
    PictureButton(const QString& caption, const QString& picture, int pictureSize, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int pictureSize_;
};

}  // namespace marvolt

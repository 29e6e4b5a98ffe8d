#pragma once
// A separator line along the top edge of its rectangle, etched into the window face.

#include <QWidget>

namespace marvolt {

class Bevel : public QWidget {
  public:
    explicit Bevel(QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace marvolt

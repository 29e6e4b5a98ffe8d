#pragma once
// The grid's indicator column: a narrow row header that marks the current record (an
// arrow), the record being edited (an I-beam) and the record being inserted (an asterisk).

#include <QHeaderView>

namespace marvolt {

class IndicatorHeader : public QHeaderView {
  public:
    explicit IndicatorHeader(QWidget* parent);

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override;
};

}  // namespace marvolt

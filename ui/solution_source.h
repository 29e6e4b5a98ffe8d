#pragma once
// The points dialog's choice of a solution: a solution file, or rnx2rtkp on the analysed
// file with a base station's observation file and navigation files, each chosen in a file
// dialog.

#include <QGroupBox>
#include <optional>
#include <string>
#include <vector>

#include "points_job.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace marvolt {

class SolutionSource : public QGroupBox {
    Q_OBJECT
  public:
    explicit SolutionSource(QWidget* parent = nullptr);

    // The source chosen; nothing while a file it needs is not chosen yet.
    std::optional<PointsSource> source() const;
    // Whether the choice may be changed (not while a computation runs).
    void setChoosable(bool choosable);

  signals:
    // A solution file was chosen: what the dialog computes at once.
    void solutionChosen();
    // The choice changed.
    void changed();

  private:
    void chooseSolution();
    void chooseBase();
    void chooseNavigation();

    QRadioButton* radPlik;
    QLineEdit* edtRozwiazanie;
    QPushButton* btnRozwiazanie;
    QRadioButton* radRtklib;
    QLineEdit* edtBaza;
    QPushButton* btnBaza;
    QLineEdit* edtNawigacja;
    QPushButton* btnNawigacja;
    std::vector<std::string> navigation_;
    bool choosable_ = true;
};

}  // namespace marvolt

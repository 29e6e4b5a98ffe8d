#pragma once
// "Współrzędne punktów": the points of the analysed survey from a kinematic solution, a
// solution file or one rnx2rtkp computes from a base station's and navigation files. It
// shows the points' table (the columns of marvolt-cli), the line about the watch, a chart of
// the day and a plan of the track; it saves the CSV of marvolt-cli and the chart as a PNG.
// Every computation runs off the window's thread; "Przerwij" ends it. Its size and place,
// the trim and the grid are remembered between runs.

#include <QDialog>
#include <QFutureWatcher>
#include <atomic>
#include <memory>
#include <optional>

#include "points_job.h"
#include "window_services.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QTabWidget;

namespace marvolt {

class PlanView;
class PointsChart;
class PointsModel;
class SolutionSource;

class PointsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PointsDialog(QWidget* parent = nullptr);
    ~PointsDialog() override;

    // The survey of the last analysis; none when the table changed since: the results are
    // greyed under a line that asks for the analysis again.
    void setSurvey(const std::optional<AnalysedSurvey>& survey);

    // Starts the computation from a source: a solution file, or rnx2rtkp on the analysed file
    // with a base station's and navigation files (what "Oblicz" does with the files chosen).
    void compute(const PointsSource& source);
    // Ends a running computation: rnx2rtkp is stopped, nothing comes of it.
    void stopComputation();
    bool computing() const { return watcher_.isRunning(); }

    // Writes the points' CSV, and the chart as a PNG image.
    void saveCsv(const std::string& path);
    bool saveChart(const QString& path);

  signals:
    // A computation ended (also stopped or failed) and what came of it is shown.
    void computationEnded();

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    void start(PointsJob job);
    void jobEnded();
    void showProgress(double share, GpsSeconds epoch);
    void showOutcome(const PointsOutcome& outcome);
    void clearResults();
    void updateEnabling();
    // Checks the points again with the trim and the grid shown, from the solution read.
    void recheck();
    void computeChosen();
    void saveCsvClicked();
    void saveChartClicked();
    Grid grid() const;

    WindowServices services_;
    std::optional<AnalysedSurvey> survey_;
    std::shared_ptr<const EpochCollector> collected_;  // the solution read last
    std::shared_ptr<std::atomic<bool>> stop_;          // of the running computation
    QFutureWatcher<PointsOutcome> watcher_;
    SurveyPoints shown_;

    SolutionSource* source_;
    QDoubleSpinBox* spnObciecie;
    QComboBox* cmbUklad;
    QPushButton* btnOblicz;
    QProgressBar* prgObliczenie;
    QPushButton* btnPrzerwij;
    QLabel* lblNieaktualne;
    QWidget* results_;
    QTableView* grdPunkty;
    PointsModel* model_;
    QLabel* lblZegarek;
    QTabWidget* tabWidoki;
    PointsChart* chtPredkosc;
    PlanView* chtPlan;
    QPushButton* btnZapiszCsv;
    QPushButton* btnZapiszWykres;
};

}  // namespace marvolt

#pragma once
// TfrmDurov, the program's one top-level widget, the main window. It owns the state of the whole
// run (the time table's grid and navigator, the shared open dialog, the observation date,
// the result fields, the report box, the backup check box) and runs the steps of the work:
// import of a time file, analysis of a RINEX file, its modification, and the points'
// coordinates from a kinematic solution (in a dialog of their own).

#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "analysis.h"
#include "analysis_report.h"
#include "progress.h"
#include "time_table.h"
#include "watch_windows.h"
#include "window_services.h"

class QAction;
class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QScrollArea;

namespace marvolt {

class Bevel;
class LongWork;
class LinkLabel;
class Memo;
class PictureButton;
class PointsDialog;
class TableNavigator;
class TimeGrid;
class TimeTableModel;

class TfrmDurov : public QWidget {
    Q_OBJECT
  public:
    // The window over the time table that main() made; the table is opened when the window
    // is first shown.
    explicit TfrmDurov(TimeTable& table, QWidget* parent = nullptr);

    // The window's services (a test answers the file dialog through them).
    WindowServices& services() { return services_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void createStepOne();
    void createStepTwo();
    void createStepThree();
    void createStepFour();
    void createFooter();
    // The controls stand on a content widget of the window's full size inside a scroll
    // area: where the screen is smaller than the window, the window fits the screen and its
    // content scrolls, so every control can be reached.
    void placeInScrollArea();
    // The window inside the available area of the screen it starts on, centred on it, no
    // larger than that area.
    void fitToScreen();
    void chainTabOrder();
    QLineEdit* createResultField(const char* name, const char* label, const QRect& geometry,
                                 const QColor& background);

    // The window's slots: its set-up when built and first shown, and what its buttons'
    // clicked() signals, its labels' links and the grid's keys lead to.
    void FormCreate();
    void FormShow();
    void btnPlikCzasClick();
    void btnPlikRinexClick();
    void btnModyfikujClick();
    void btnWspolrzedneClick();
    void BitBtn1Click();
    void Label6Click();
    void DBgrdCzasKeyDown(QKeyEvent* event);
    void dtsCzasDataChange();
    // "Zapisz tabelę czasów..." (the grid's context menu, Ctrl+S): the table saved as a
    // time file, which also keeps the times typed by hand.
    void actZapiszCzasyExecute();
    // "Usuń wszystkie punkty..." (the grid's context menu): the table emptied after a
    // question, the only way besides deleting record by record.
    void actUsunWszystkieExecute();
    // Closing asks first while times typed by hand are not saved.
    void FormCloseQuery(bool& canClose);
    // A failure of the grid or the navigator, shown in the error box.
    void showFailure(const QString& text);
    // The result that btnModyfikuj would write (none: the button is disabled).
    void setModifiable(std::optional<AnalysisResult> result);

    // The survey the points dialog works on (none: btnWspolrzedne is disabled and the
    // dialog's results are greyed).
    void setPointsSurvey(std::optional<AnalysedSurvey> survey);
    // An analysis the user stopped: no result, the report says so.
    void showStoppedAnalysis();
    // Runs the work of the label ("Analiza pliku RINEX...") on a thread of its own, the
    // controls disabled meanwhile (see LongWork); true when the user stopped it.
    bool runLongWork(const QString& label, const std::function<void(Progress&, Services&)>& work);
    // The window closes now when it was asked to while work ran.
    void closeIfAskedDuringWork();

    // The result fields of an analysis: edtData, edtCzas (kept without a first
    // observation), edtPrzesun and its hint.
    void showAnalysisFields(const AnalysisFields& fields);

    TimeTable& tblCzas;
    // 30 December 1899 until an analysis reads a date; kept for a file without one.
    HeldDate heldDate_;
    // The last analysis that ran to its end and found every epoch, while neither the table
    // (its revision then) nor a modification has acted since: what btnModyfikuj writes.
    std::optional<AnalysisResult> modifiable_;
    std::uint64_t analysedRevision_ = 0;
    // The last analysis that ended without an error box, while the table has not changed
    // since (its revision then): what btnWspolrzedne opens the points dialog on.
    std::optional<AnalysedSurvey> pointsSurvey_;
    std::uint64_t pointsRevision_ = 0;
    WindowServices services_;
    TimeTableModel* dtsCzas;
    bool shown_ = false;
    LongWork* work_ = nullptr;  // the work running, if any
    bool closeAfterWork_ = false;
    QScrollArea* scroller_;

    QLabel* Label3;
    PictureButton* btnPlikCzas;
    TableNavigator* DBnvgCzas;
    TimeGrid* DBgrdCzas;
    QAction* actZapiszCzasy;
    QAction* actUsunWszystkie;
    Memo* Memo1;
    Memo* Memo2;
    Bevel* Bevel1;
    QLabel* Label4;
    PictureButton* btnPlikRinex;
    QLineEdit* edtData;
    QLineEdit* edtCzas;
    QLineEdit* edtPrzesun;
    QLabel* Label5;
    PictureButton* btnModyfikuj;
    Memo* memRaport;
    QCheckBox* checkKopia;
    QCheckBox* checkRekordy;
    PictureButton* btnWspolrzedne;
    QLabel* Label8;
    PointsDialog* dlgWspolrzedne = nullptr;  // made when first opened
    Bevel* Bevel2;
    PictureButton* BitBtn1;
    QLabel* Label1;
    QLabel* Label2;
    LinkLabel* Label7;
    QLabel* lblWersja;
    LinkLabel* Label6;
};

}  // namespace marvolt

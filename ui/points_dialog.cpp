#include "points_dialog.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QtConcurrent>
#include <cmath>

#include "plan_view.h"
#include "points_chart.h"
#include "points_model.h"
#include "points_report.h"
#include "solution_source.h"
#include "window_colours.h"

namespace marvolt {

namespace {

const QString kGeometrySetting = QStringLiteral("points/geometry");
const QString kTrimSetting = QStringLiteral("points/trim");
const QString kGridSetting = QStringLiteral("points/grid");
constexpr int kProgressSteps = 1000;

QSettings dialogSettings() {
    return QSettings(QStringLiteral("Marvolt"), QStringLiteral("Marvolt"));
}

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The GPS time of day of an epoch, "H:MM:SS".
QString timeOfDay(GpsSeconds epoch) {
    const auto seconds = static_cast<long long>(std::floor(std::fmod(epoch, 86400.0)));
    return QString::asprintf("%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

}  // namespace

PointsDialog::PointsDialog(QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      services_(this) {
    setObjectName(QStringLiteral("dlgWspolrzedne"));
    setWindowTitle(QStringLiteral("Współrzędne punktów"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    source_ = new SolutionSource(this);
    layout->addWidget(source_);

    auto* settingsRow = new QHBoxLayout;
    spnObciecie = new QDoubleSpinBox(this);
    spnObciecie->setObjectName(QStringLiteral("spnObciecie"));
    spnObciecie->setRange(0.0, 600.0);
    spnObciecie->setDecimals(1);
    spnObciecie->setSuffix(QStringLiteral(" s"));
    spnObciecie->setToolTip(
        QStringLiteral("Tyle sekund od STOP i przed GO nie wchodzi do średniej: antena jest "
                       "wtedy stawiana i podnoszona."));
    spnObciecie->setValue(dialogSettings().value(kTrimSetting, kDefaultTrim).toDouble());
    cmbUklad = new QComboBox(this);
    cmbUklad->setObjectName(QStringLiteral("cmbUklad"));
    cmbUklad->addItem(QStringLiteral("PL-2000"), static_cast<int>(Grid::Pl2000));
    cmbUklad->addItem(QStringLiteral("PL-1992"), static_cast<int>(Grid::Pl1992));
    cmbUklad->addItem(QStringLiteral("brak"), static_cast<int>(Grid::None));
    cmbUklad->setToolTip(QStringLiteral("Układ współrzędnych płaskich x, y (PROJ)"));
    const int savedGrid = cmbUklad->findData(
        dialogSettings().value(kGridSetting, static_cast<int>(Grid::Pl2000)).toInt());
    cmbUklad->setCurrentIndex(savedGrid < 0 ? 0 : savedGrid);
    btnOblicz = new QPushButton(QStringLiteral("Oblicz"), this);
    btnOblicz->setObjectName(QStringLiteral("btnOblicz"));
    prgObliczenie = new QProgressBar(this);
    prgObliczenie->setObjectName(QStringLiteral("prgObliczenie"));
    prgObliczenie->setRange(0, kProgressSteps);
    prgObliczenie->setMinimumWidth(260);
    btnPrzerwij = new QPushButton(QStringLiteral("Przerwij"), this);
    btnPrzerwij->setObjectName(QStringLiteral("btnPrzerwij"));
    btnPrzerwij->setCursor(Qt::ArrowCursor);
    settingsRow->addWidget(new QLabel(QStringLiteral("Obcięcie końców okna:"), this));
    settingsRow->addWidget(spnObciecie);
    settingsRow->addSpacing(12);
    settingsRow->addWidget(new QLabel(QStringLiteral("Układ:"), this));
    settingsRow->addWidget(cmbUklad);
    settingsRow->addStretch();
    settingsRow->addWidget(btnOblicz);
    settingsRow->addWidget(prgObliczenie);
    settingsRow->addWidget(btnPrzerwij);
    layout->addLayout(settingsRow);

    lblNieaktualne = new QLabel(
        QStringLiteral("Tabela czasów zmieniła się od analizy. Wykonaj analizę jeszcze raz."),
        this);
    lblNieaktualne->setObjectName(QStringLiteral("lblNieaktualne"));
    QPalette red = lblNieaktualne->palette();
    red.setColor(QPalette::WindowText, kWindowRed);
    lblNieaktualne->setPalette(red);
    layout->addWidget(lblNieaktualne);

    results_ = new QWidget(this);
    results_->setObjectName(QStringLiteral("wynikiPunktow"));
    auto* resultsLayout = new QVBoxLayout(results_);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    auto* splitter = new QSplitter(Qt::Vertical, results_);
    auto* top = new QWidget(splitter);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    model_ = new PointsModel(this);
    grdPunkty = new QTableView(top);
    grdPunkty->setObjectName(QStringLiteral("grdPunkty"));
    grdPunkty->setModel(model_);
    grdPunkty->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdPunkty->setSelectionMode(QAbstractItemView::SingleSelection);
    grdPunkty->verticalHeader()->setDefaultSectionSize(grdPunkty->fontMetrics().height() + 6);
    // The state is read first: shown beside the name, kept last among the columns.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        QHeaderView* header = grdPunkty->horizontalHeader();
        header->moveSection(header->visualIndex(model_->columnCount() - 1), 1);
    });
    lblZegarek = new QLabel(top);
    lblZegarek->setObjectName(QStringLiteral("lblZegarek"));
    lblZegarek->setWordWrap(true);
    lblZegarek->setPalette(red);
    topLayout->addWidget(grdPunkty);
    topLayout->addWidget(lblZegarek);
    tabWidoki = new QTabWidget(splitter);
    chtPredkosc = new PointsChart(tabWidoki);
    chtPredkosc->setObjectName(QStringLiteral("chtPredkosc"));
    chtPlan = new PlanView(tabWidoki);
    chtPlan->setObjectName(QStringLiteral("chtPlan"));
    tabWidoki->addTab(chtPredkosc, QStringLiteral("Wykres prędkości"));
    tabWidoki->addTab(chtPlan, QStringLiteral("Plan"));
    splitter->setSizes({220, 380});
    resultsLayout->addWidget(splitter);
    layout->addWidget(results_, 1);

    auto* buttons = new QHBoxLayout;
    btnZapiszCsv = new QPushButton(QStringLiteral("Zapisz CSV..."), this);
    btnZapiszCsv->setObjectName(QStringLiteral("btnZapiszCsv"));
    btnZapiszWykres = new QPushButton(QStringLiteral("Zapisz wykres..."), this);
    btnZapiszWykres->setObjectName(QStringLiteral("btnZapiszWykres"));
    auto* btnZamknij = new QPushButton(QStringLiteral("Zamknij"), this);
    btnZamknij->setObjectName(QStringLiteral("btnZamknij"));
    buttons->addWidget(btnZapiszCsv);
    buttons->addWidget(btnZapiszWykres);
    buttons->addStretch();
    buttons->addWidget(btnZamknij);
    layout->addLayout(buttons);

    connect(source_, &SolutionSource::changed, this, &PointsDialog::updateEnabling);
    connect(source_, &SolutionSource::solutionChosen, this, &PointsDialog::computeChosen);
    connect(btnOblicz, &QPushButton::clicked, this, &PointsDialog::computeChosen);
    connect(btnPrzerwij, &QPushButton::clicked, this, &PointsDialog::stopComputation);
    connect(btnZapiszCsv, &QPushButton::clicked, this, &PointsDialog::saveCsvClicked);
    connect(btnZapiszWykres, &QPushButton::clicked, this, &PointsDialog::saveChartClicked);
    connect(btnZamknij, &QPushButton::clicked, this, &QDialog::close);
    connect(&watcher_, &QFutureWatcher<PointsOutcome>::finished, this, &PointsDialog::jobEnded);
    connect(grdPunkty->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { chtPredkosc->showPoint(current.row()); });
    // Leaving the field unchanged checks nothing again.
    connect(spnObciecie, &QDoubleSpinBox::editingFinished, this, [this] {
        if (dialogSettings().value(kTrimSetting, kDefaultTrim).toDouble() == spnObciecie->value())
            return;
        dialogSettings().setValue(kTrimSetting, spnObciecie->value());
        recheck();
    });
    connect(cmbUklad, &QComboBox::currentIndexChanged, this, [this] {
        dialogSettings().setValue(kGridSetting, cmbUklad->currentData());
        recheck();
    });

    if (!restoreGeometry(dialogSettings().value(kGeometrySetting).toByteArray())) resize(960, 720);
    clearResults();
    updateEnabling();
}

PointsDialog::~PointsDialog() {
    // Open when the program ends: its place is kept as when it is closed.
    if (isVisible()) dialogSettings().setValue(kGeometrySetting, saveGeometry());
    if (stop_) stop_->store(true);
    watcher_.waitForFinished();
}

void PointsDialog::setSurvey(const std::optional<AnalysedSurvey>& survey) {
    // What runs now belongs to the survey before.
    if (computing()) stopComputation();
    survey_ = survey;
    collected_.reset();
    if (survey_) clearResults();
    updateEnabling();
}

Grid PointsDialog::grid() const { return static_cast<Grid>(cmbUklad->currentData().toInt()); }

void PointsDialog::compute(const PointsSource& source) {
    if (!survey_ || computing()) return;
    start({*survey_, source, nullptr, spnObciecie->value(), grid()});
}

void PointsDialog::recheck() {
    if (!survey_ || computing() || !collected_) return;
    start({*survey_, {}, collected_, spnObciecie->value(), grid()});
}

void PointsDialog::start(PointsJob job) {
    stop_ = std::make_shared<std::atomic<bool>>(false);
    const std::shared_ptr<std::atomic<bool>> stop = stop_;
    // Asked on the computation's thread: the bar is moved on the window's.
    RtklibProgress progress = [this, stop](double share, GpsSeconds epoch) {
        QMetaObject::invokeMethod(
            this, [this, share, epoch] { showProgress(share, epoch); }, Qt::QueuedConnection);
        return !stop->load();
    };
    const bool rtklib = !job.collected && job.source.solution.empty();
    prgObliczenie->setRange(0, rtklib ? kProgressSteps : 0);
    prgObliczenie->setValue(0);
    prgObliczenie->setFormat(rtklib ? QStringLiteral("rnx2rtkp: %p%") : QString());
    watcher_.setFuture(QtConcurrent::run(
        [job = std::move(job), progress] { return runPointsJob(job, progress); }));
    setCursor(Qt::BusyCursor);
    updateEnabling();
}

void PointsDialog::showProgress(double share, GpsSeconds epoch) {
    if (!computing()) return;
    if (share >= 1.0) {  // rnx2rtkp is done; the solution is read now
        prgObliczenie->setRange(0, 0);
        prgObliczenie->setFormat(QString());
        return;
    }
    prgObliczenie->setValue(static_cast<int>(share * kProgressSteps));
    prgObliczenie->setFormat(epoch > 0.0
                                 ? QStringLiteral("rnx2rtkp: %p% (epoka %1)").arg(timeOfDay(epoch))
                                 : QStringLiteral("rnx2rtkp: %p%"));
}

void PointsDialog::stopComputation() {
    if (stop_) stop_->store(true);
}

void PointsDialog::jobEnded() {
    const PointsOutcome outcome = watcher_.result();
    const bool dropped = stop_ && stop_->load();
    stop_.reset();
    unsetCursor();
    updateEnabling();
    if (!dropped && !outcome.stopped && survey_) {
        if (outcome.failure) {
            services_.errorBox(*outcome.failure);
        } else {
            collected_ = outcome.collected;
            showOutcome(outcome);
            updateEnabling();
            MessageSeries series(services_);
            for (const std::string& message : outcome.messages) series.show(message);
        }
    }
    emit computationEnded();
}

void PointsDialog::showOutcome(const PointsOutcome& outcome) {
    shown_ = outcome.points;
    const EpochCollector& collector = *outcome.collected;
    model_->setPoints(shown_.points, grid() != Grid::None, collector.tolerance());
    grdPunkty->resizeColumnsToContents();
    lblZegarek->setText(shown_.watchOffset ? text(watchOffsetLine(*shown_.watchOffset))
                                           : QString());
    lblZegarek->setVisible(shown_.watchOffset.has_value());
    chtPredkosc->setSurvey(shown_.points, collector.ranges(), outcome.track,
                           collector.longestStep());
    chtPlan->setSurvey(shown_.points, outcome.placed, outcome.track);
}

void PointsDialog::clearResults() {
    shown_ = {};
    model_->setPoints({}, grid() != Grid::None, 0.0);
    lblZegarek->clear();
    lblZegarek->hide();
    chtPredkosc->clearSurvey();
    chtPlan->clearSurvey();
}

void PointsDialog::updateEnabling() {
    const bool idle = survey_.has_value() && !computing();
    source_->setChoosable(idle);
    spnObciecie->setEnabled(idle);
    cmbUklad->setEnabled(idle);
    btnOblicz->setEnabled(idle && source_->source().has_value());
    btnPrzerwij->setEnabled(computing());
    prgObliczenie->setVisible(computing());
    lblNieaktualne->setVisible(!survey_);
    results_->setEnabled(survey_.has_value());
    const bool saved = idle && !shown_.points.empty();
    btnZapiszCsv->setEnabled(saved);
    btnZapiszWykres->setEnabled(saved);
}

void PointsDialog::computeChosen() {
    if (const auto source = source_->source()) compute(*source);
}

void PointsDialog::saveCsv(const std::string& path) {
    runOperation(services_, [&] { writePointsCsv(path, shown_.points); });
}

bool PointsDialog::saveChart(const QString& path) {
    if (chtPredkosc->grab().save(path, "PNG")) return true;
    services_.errorBox(errorBoxText("Nie mogę zapisać pliku \"" + path.toStdString() + "\""));
    return false;
}

void PointsDialog::saveCsvClicked() {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Zapisz CSV"), {},
                                                      QStringLiteral("Pliki CSV (*.csv)"));
    if (!file.isEmpty()) saveCsv(file.toStdString());
}

void PointsDialog::saveChartClicked() {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Zapisz wykres"), {},
                                                      QStringLiteral("Obrazy PNG (*.png)"));
    if (!file.isEmpty()) saveChart(file);
}

void PointsDialog::hideEvent(QHideEvent* event) {
    dialogSettings().setValue(kGeometrySetting, saveGeometry());
    QDialog::hideEvent(event);
}

}  // namespace marvolt

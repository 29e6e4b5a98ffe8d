#include "solution_source.h"

#include <QDate>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "file_filters.h"
#include "window_services.h"

namespace marvolt {

namespace {

const char* const kSolutionFilter = "Pliki rozwiązań|*.pos;*.nmea;*.txt|Wszystkie pliki|*.*";
const char* const kNavigationFilter = "Pliki nawigacyjne|*.*n;*.*g;*.*p;*.rnx|Wszystkie pliki|*.*";

QString filterText(const std::string& filter) { return qtNameFilters(filter).join(";;"); }

}  // namespace

SolutionSource::SolutionSource(QWidget* parent)
    : QGroupBox(QStringLiteral("Rozwiązanie kinematyczne"), parent) {
    setObjectName(QStringLiteral("grpZrodlo"));
    auto* grid = new QGridLayout(this);
    const auto pathField = [&](const char* name) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(name));
        field->setReadOnly(true);
        return field;
    };
    const auto chooser = [&](const char* name) {
        auto* button = new QPushButton(QStringLiteral("Wybierz..."), this);
        button->setObjectName(QString::fromLatin1(name));
        return button;
    };
    radPlik = new QRadioButton(QStringLiteral("Plik rozwiązania:"), this);
    radPlik->setObjectName(QStringLiteral("radPlik"));
    radPlik->setChecked(true);
    edtRozwiazanie = pathField("edtRozwiazanie");
    btnRozwiazanie = chooser("btnRozwiazanie");
    radRtklib =
        new QRadioButton(QStringLiteral("Obliczyć programem rnx2rtkp; plik stacji bazowej:"), this);
    radRtklib->setObjectName(QStringLiteral("radRtklib"));
    radRtklib->setToolTip(
        QStringLiteral("Rozwiązanie kinematyczne z analizowanego pliku RINEX (rover), pliku "
                       "stacji bazowej i plików nawigacyjnych; zapisane obok pliku RINEX jako "
                       "<nazwa>.marvolt.pos."));
    edtBaza = pathField("edtBaza");
    btnBaza = chooser("btnBaza");
    edtNawigacja = pathField("edtNawigacja");
    btnNawigacja = chooser("btnNawigacja");
    grid->addWidget(radPlik, 0, 0);
    grid->addWidget(edtRozwiazanie, 0, 1);
    grid->addWidget(btnRozwiazanie, 0, 2);
    grid->addWidget(radRtklib, 1, 0);
    grid->addWidget(edtBaza, 1, 1);
    grid->addWidget(btnBaza, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Pliki nawigacyjne:"), this), 2, 0, Qt::AlignRight);
    grid->addWidget(edtNawigacja, 2, 1);
    grid->addWidget(btnNawigacja, 2, 2);
    grid->setColumnStretch(1, 1);
    connect(btnRozwiazanie, &QPushButton::clicked, this, &SolutionSource::chooseSolution);
    connect(btnBaza, &QPushButton::clicked, this, &SolutionSource::chooseBase);
    connect(btnNawigacja, &QPushButton::clicked, this, &SolutionSource::chooseNavigation);
    connect(radPlik, &QRadioButton::toggled, this, [this] {
        setChoosable(choosable_);
        emit changed();
    });
    setChoosable(true);
}

std::optional<PointsSource> SolutionSource::source() const {
    if (radPlik->isChecked()) {
        if (edtRozwiazanie->text().isEmpty()) return std::nullopt;
        return PointsSource{edtRozwiazanie->text().toStdString(), {}, {}};
    }
    if (edtBaza->text().isEmpty() || navigation_.empty()) return std::nullopt;
    return PointsSource{{}, edtBaza->text().toStdString(), navigation_};
}

void SolutionSource::setChoosable(bool choosable) {
    choosable_ = choosable;
    radPlik->setEnabled(choosable);
    radRtklib->setEnabled(choosable);
    btnRozwiazanie->setEnabled(choosable && radPlik->isChecked());
    btnBaza->setEnabled(choosable && radRtklib->isChecked());
    btnNawigacja->setEnabled(choosable && radRtklib->isChecked());
}

void SolutionSource::chooseSolution() {
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("Plik rozwiązania"),
                                     edtRozwiazanie->text(), filterText(kSolutionFilter));
    if (file.isEmpty()) return;
    edtRozwiazanie->setText(file);
    emit changed();
    emit solutionChosen();
}

void SolutionSource::chooseBase() {
    const QString file = QFileDialog::getOpenFileName(
        this, QStringLiteral("Plik obserwacji stacji bazowej"), edtBaza->text(),
        filterText(rinexFilter(QDate::currentDate().year())));
    if (file.isEmpty()) return;
    edtBaza->setText(file);
    emit changed();
}

void SolutionSource::chooseNavigation() {
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Pliki nawigacyjne"), edtBaza->text(), filterText(kNavigationFilter));
    if (files.isEmpty()) return;
    navigation_.clear();
    for (const QString& file : files) navigation_.push_back(file.toStdString());
    edtNawigacja->setText(files.join(QStringLiteral("; ")));
    emit changed();
}

}  // namespace marvolt

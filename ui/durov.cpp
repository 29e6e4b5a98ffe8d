#include "durov.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis.h"
#include "analysis_report.h"
#include "application_title.h"
#include "bevel.h"
#include "close_confirmation.h"
#include "file_filters.h"
#include "link_label.h"
#include "long_work.h"
#include "memo.h"
#include "modification.h"
#include "navigator.h"
#include "picture_button.h"
#include "points_dialog.h"
#include "remembered_folders.h"
#include "tight_label.h"
#include "time_file_export.h"
#include "time_file_import.h"
#include "time_file_save_dialog.h"
#include "time_grid.h"
#include "time_table_model.h"
#include "version_line.h"
#include "window_colours.h"
#include "window_font.h"

// The button pictures live in the ui library's resources; a static library must ask for them.
static void initPictures() { Q_INIT_RESOURCE(pictures); }

namespace marvolt {

namespace {

constexpr QSize kClientSize(654, 623);
constexpr int kFieldLabelGap = 3;
// The columns left of the last three (GO, STOP (GMT), GO (GMT)): Enter moves on from them.
constexpr int kColumnsBeforeGo = kFieldCount - 3;

const QString kRecordsSetting = QStringLiteral("events/records");

// Where the window keeps its one remembered choice.
QSettings windowSettings() {
    return QSettings(QStringLiteral("Marvolt"), QStringLiteral("Marvolt"));
}
const QColor kBlue(0, 0, 255);
// The grid while a record is edited or inserted: the colour value CCCCFF, stored as
// blue-green-red, that is a pale pink.
const QColor kEditingColour(255, 204, 204);

const char* const kContactAddress = "biuro@marvolt.example";
const char* const kUpdatePage = "https://www.marvolt.example/aktualizacje";

const char* const kMemo1Lines =
    "Musi to być plik ASCII,\n"
    "każdy punkt pomiaru w osobnym \n"
    "wierszu zawierającym:\n"
    "NrPkt  CzasSTOPzegarek  CzasGOzegarek\n"
    "Pomiędzy poszczególymi segmentami\n"
    "muszą być spacje lub tabulatory.\n"
    "Czasy wpisujemy w formacie:\n"
    "GG:MM:SS (ewentualnie G:M:S)";
const char* const kMemo2Lines =
    "UWAGA:\n"
    "Niniejszy program zakłada, że\n"
    "CzasSTOP w pierwszym wierszu\n"
    "(czyli na pierwszym punkcie), to\n"
    "czas włączenia rejestracji w Azusie\n"
    "(czyli naciśnięcie zielonego guzika).";

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

void setTextColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(role, colour);
    widget->setPalette(colours);
}

// Labels are top-aligned and keep their size, as the layout gives them.
QLabel* createLabel(QWidget* parent, const char* name, const QString& caption,
                    const QRect& geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

Memo* createMemo(QWidget* parent, const char* name, const QString& lines, const QRect& geometry) {
    auto* memo = new Memo(lines, parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setReadOnly(true);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo->setFocusPolicy(Qt::StrongFocus);
    memo->setTabChangesFocus(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setGeometry(geometry);
    return memo;
}

PictureButton* createButton(QWidget* parent, const char* name, const QString& caption,
                            int pictureSize, const char* hint, const QRect& geometry) {
    auto* button = new PictureButton(
        caption, QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name)), pictureSize, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(text(hint));
    button->setAutoDefault(true);  // Enter clicks the button that has the focus
    button->setGeometry(geometry);
    return button;
}

// The window's services while a report is made: its lines are gathered and put in the report
// box at one go before a message shows (so that it follows the lines it comes after) and at
// the end, thousands of lines laid out once.
class ReportServices : public Services {
  public:
    ReportServices(Services& shown, Memo& report) : shown_(shown), report_(report) {}
    void addLine(const std::string& line) { lines_ << QString::fromStdString(line); }
    void flush() {
        report_.appendPlainLines(lines_);
        lines_.clear();
    }
    void message(const std::string& text) override {
        flush();
        shown_.message(text);
    }
    bool seriesMessage(const std::string& text) override {
        flush();
        return shown_.seriesMessage(text);
    }
    void errorBox(const std::string& text) override {
        flush();
        shown_.errorBox(text);
    }
    void busyCursor() override { shown_.busyCursor(); }
    void normalCursor() override { shown_.normalCursor(); }

  private:
    Services& shown_;
    Memo& report_;
    QStringList lines_;
};

}  // namespace

TfrmDurov::TfrmDurov(TimeTable& table, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      tblCzas(table),
      services_(this) {
    initPictures();
    setObjectName(QStringLiteral("frmDurov"));
    setWindowTitle(applicationTitle());
    setFont(windowFont());
    setFixedSize(kClientSize);
    setTextColour(this, QPalette::Window, palette().color(QPalette::Button));
    setAutoFillBackground(true);

    dtsCzas = new TimeTableModel(tblCzas, this);
    dtsCzas->setObjectName(QStringLiteral("dtsCzas"));
    connect(dtsCzas, &TimeTableModel::dataSetChanged, this, &TfrmDurov::dtsCzasDataChange);
    connect(dtsCzas, &TimeTableModel::writeFailed, this, &TfrmDurov::showFailure);

    createStepOne();
    createStepTwo();
    createStepThree();
    createStepFour();
    createFooter();
    placeInScrollArea();
    chainTabOrder();
    BitBtn1->setFocus();
    FormCreate();
}

void TfrmDurov::createStepOne() {
    Label3 = createLabel(this, "Label3",
                         text("1. Czasy Stop & Go (odczytane na zegarku czasu lok. lub na "
                              "stoperze) można wczytać z pliku lub wpisać ręcznie w poniższej "
                              "tabeli:"),
                         QRect(8, 8, 641, 25));
    Label3->setWordWrap(true);
    setTextColour(Label3, QPalette::WindowText, kWindowMaroon);

    btnPlikCzas = createButton(this, "btnPlikCzas", text("Wczytaj plik z czasami\nStop && Go..."),
                               48, "Wskaż położenie pliku z czasami", QRect(8, 32, 233, 57));
    connect(btnPlikCzas, &QPushButton::clicked, this, &TfrmDurov::btnPlikCzasClick);

    DBnvgCzas = new TableNavigator(*dtsCzas, this);
    DBnvgCzas->setObjectName(QStringLiteral("DBnvgCzas"));
    DBnvgCzas->setGeometry(280, 32, 234, 25);
    connect(DBnvgCzas, &TableNavigator::failed, this, &TfrmDurov::showFailure);

    DBgrdCzas = new TimeGrid(*dtsCzas, this);
    DBgrdCzas->setObjectName(QStringLiteral("DBgrdCzas"));
    DBgrdCzas->setGeometry(256, 64, 385, 241);
    connect(DBgrdCzas, &TimeGrid::keyDown, this, &TfrmDurov::DBgrdCzasKeyDown);
    connect(DBgrdCzas, &TimeGrid::failed, this, &TfrmDurov::showFailure);
    DBnvgCzas->setEditorHooks([this] { return DBgrdCzas->commitEditor(); },
                              [this] { DBgrdCzas->discardEditor(); });

    // Its shortcut works anywhere in the window; the grid's context menu offers it.
    actZapiszCzasy = new QAction(text("Zapisz tabelę czasów..."), this);
    actZapiszCzasy->setObjectName(QStringLiteral("actZapiszCzasy"));
    actZapiszCzasy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    actZapiszCzasy->setShortcutContext(Qt::WindowShortcut);
    DBgrdCzas->addAction(actZapiszCzasy);
    DBgrdCzas->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(actZapiszCzasy, &QAction::triggered, this, &TfrmDurov::actZapiszCzasyExecute);
    actUsunWszystkie = new QAction(text("Usuń wszystkie punkty..."), this);
    actUsunWszystkie->setObjectName(QStringLiteral("actUsunWszystkie"));
    DBgrdCzas->addAction(actUsunWszystkie);
    connect(actUsunWszystkie, &QAction::triggered, this, &TfrmDurov::actUsunWszystkieExecute);

    Memo1 = createMemo(this, "Memo1", text(kMemo1Lines), QRect(8, 96, 233, 113));
    Memo1->setLineWrapMode(QTextEdit::NoWrap);
    setTextColour(Memo1, QPalette::Text, kBlue);

    Memo2 = createMemo(this, "Memo2", text(kMemo2Lines), QRect(8, 216, 233, 89));
    Memo2->setLineWrapMode(QTextEdit::WidgetWidth);
    setTextColour(Memo2, QPalette::Text, kWindowRed);
}

void TfrmDurov::createStepTwo() {
    Bevel1 = new Bevel(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setGeometry(8, 312, 633, 9);

    Label4 = createLabel(this, "Label4",
                         text("2. Po wypełnieniu powyższej tabeli wskaż plik RINEX, w którym "
                              "mają być wstawione wskaźniki Stop & Go (zostanie poddany "
                              "analizie):"),
                         QRect(8, 320, 641, 17));
    setTextColour(Label4, QPalette::WindowText, kWindowMaroon);
    tightenToWidth(*Label4);

    btnPlikRinex = createButton(this, "btnPlikRinex", text("Analiza pliku RINEX..."), 48,
                                "Wskaż położenie pliku RINEX", QRect(8, 344, 193, 57));
    connect(btnPlikRinex, &QPushButton::clicked, this, &TfrmDurov::btnPlikRinexClick);

    edtData = createResultField("edtData", "RINEX: Data pomiaru ", QRect(472, 344, 169, 21),
                                kWindowYellow);
    edtCzas = createResultField("edtCzas", "RINEX: Początek pierwszej obserwacji (GMT) ",
                                QRect(472, 368, 169, 21), kWindowYellow);
    edtPrzesun = createResultField("edtPrzesun", "Przesunięcie między zegarkiem a GMT ",
                                   QRect(472, 392, 169, 21), kWindowLime);
}

QLineEdit* TfrmDurov::createResultField(const char* name, const char* label, const QRect& geometry,
                                        const QColor& background) {
    auto* field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    field->setReadOnly(true);
    field->setGeometry(geometry);
    setTextColour(field, QPalette::Base, background);

    // The label sits just left of its field, vertically centred on it, as wide as its text.
    auto* caption = new QLabel(text(label), this);
    caption->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    const QSize size(caption->fontMetrics().horizontalAdvance(caption->text()),
                     caption->fontMetrics().height());
    caption->setGeometry(geometry.left() - kFieldLabelGap - size.width(),
                         geometry.top() + (geometry.height() - size.height()) / 2, size.width(),
                         size.height());
    caption->setBuddy(field);
    return field;
}

void TfrmDurov::createStepThree() {
    Label5 = createLabel(this, "Label5", text("3. Jeśli wszystko OK, to modyfikuj:"),
                         QRect(8, 408, 185, 17));
    setTextColour(Label5, QPalette::WindowText, kWindowMaroon);

    btnModyfikuj = createButton(this, "btnModyfikuj", text("Modyfikacja pliku RINEX"), 48,
                                "Plik zostanie zmodyfikowany", QRect(8, 424, 193, 57));
    btnModyfikuj->setEnabled(false);
    connect(btnModyfikuj, &QPushButton::clicked, this, &TfrmDurov::btnModyfikujClick);

    memRaport = createMemo(this, "memRaport",
                           text("UWAGA: Program testowałem na pliku RINEX w wersji 2.10."),
                           QRect(208, 424, 433, 53));
    memRaport->setLineWrapMode(QTextEdit::WidgetWidth);

    checkKopia = new QCheckBox(text("Utwórz kopię oryginału pliku RINEX"), this);
    checkKopia->setObjectName(QStringLiteral("checkKopia"));
    checkKopia->setGeometry(8, 484, 193, 17);
    checkKopia->setChecked(true);

    // The one choice the program keeps between runs: whose readers the marked file is for.
    checkRekordy = new QCheckBox(text("Zdarzenia jako osobne rekordy (standard RINEX)"), this);
    checkRekordy->setObjectName(QStringLiteral("checkRekordy"));
    checkRekordy->setGeometry(208, 480, 433, 17);
    checkRekordy->setToolTip(
        text("Zamiast wpisywać flagi 3 i 2 w wiersze epok, wstawia przed nimi osobne rekordy "
             "zdarzeń zgodne ze standardem RINEX; programy takie jak RTKLIB i GNSSTk odczytają "
             "wtedy wszystkie epoki."));
    checkRekordy->setChecked(windowSettings().value(kRecordsSetting, false).toBool());
    connect(checkRekordy, &QCheckBox::toggled, this,
            [](bool checked) { windowSettings().setValue(kRecordsSetting, checked); });
}

void TfrmDurov::createStepFour() {
    btnWspolrzedne = createButton(this, "btnWspolrzedne", text("Współrzędne punktów..."), 48,
                                  "Oblicza współrzędne punktów z rozwiązania kinematycznego i "
                                  "sprawdza czasy z zegarka względem danych",
                                  QRect(8, 508, 193, 57));
    btnWspolrzedne->setEnabled(false);
    connect(btnWspolrzedne, &QPushButton::clicked, this, &TfrmDurov::btnWspolrzedneClick);

    Label8 = createLabel(this, "Label8",
                         text("4. Współrzędne punktów z rozwiązania kinematycznego (opcjonalnie):"),
                         QRect(208, 528, 433, 17));
    setTextColour(Label8, QPalette::WindowText, kWindowMaroon);
}

void TfrmDurov::createFooter() {
    Bevel2 = new Bevel(this);
    Bevel2->setObjectName(QStringLiteral("Bevel2"));
    Bevel2->setGeometry(5, 568, 636, 9);

    BitBtn1 = createButton(this, "BitBtn1", text("Wyjście"), 32, "Wyjście z programu",
                           QRect(536, 576, 105, 41));
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmDurov::BitBtn1Click);

    Label1 =
        createLabel(this, "Label1", text("© Pracownia Geodezyjna Marvolt"), QRect(8, 584, 217, 17));
    Label2 = createLabel(this, "Label2", text("tel. +48 22 000 00 00"), QRect(248, 584, 185, 17));

    Label7 = new LinkLabel(text("Sprawdź aktualizację"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label7->setGeometry(408, 590, 113, 17);
    Label7->setToolTip(text(kUpdatePage));
    setTextColour(Label7, QPalette::WindowText, kWindowRed);
    connect(Label7, &LinkLabel::clicked, this, &TfrmDurov::Label6Click);

    lblWersja = createLabel(this, "lblWersja", text("Wersja programu: "), QRect(8, 600, 217, 17));

    Label6 = new LinkLabel(text("e-mail: ") + text(kContactAddress), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label6->setGeometry(248, 600, 169, 17);
    Label6->setToolTip(text("mailto:") + text(kContactAddress));
    setTextColour(Label6, QPalette::WindowText, kBlue);
    connect(Label6, &LinkLabel::clicked, this, &TfrmDurov::Label6Click);
}

void TfrmDurov::placeInScrollArea() {
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    content->setFixedSize(kClientSize);
    content->setAutoFillBackground(true);
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setParent(content);
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("scroller"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setFocusPolicy(Qt::NoFocus);
    scroller_->setWidget(content);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller_);
}

void TfrmDurov::fitToScreen() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize frame = frameGeometry().size() - size();  // the title bar and the borders
    setFixedSize(kClientSize.boundedTo(area.size() - frame));
    QRect placed(QPoint(), size() + frame);
    placed.moveCenter(area.center());
    move(std::max(placed.left(), area.left()), std::max(placed.top(), area.top()));
}

void TfrmDurov::chainTabOrder() {
    const QWidget* const order[] = {BitBtn1,      btnPlikRinex,   btnPlikCzas, Memo1,
                                    Memo2,        DBgrdCzas,      DBnvgCzas,   memRaport,
                                    btnModyfikuj, btnWspolrzedne, edtData,     edtCzas,
                                    edtPrzesun,   checkKopia,     checkRekordy};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QWidget::setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
}

void TfrmDurov::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    fitToScreen();
    FormShow();
}

void TfrmDurov::closeEvent(QCloseEvent* event) {
    // Work in progress is stopped first (or, past its point of no return, let end); the
    // window closes once it has ended.
    if (work_) {
        work_->stop();
        closeAfterWork_ = true;
        event->ignore();
        return;
    }
    bool canClose = true;
    FormCloseQuery(canClose);
    if (canClose)
        event->accept();
    else
        event->ignore();
}

void TfrmDurov::FormCreate() {
    lblWersja->setText(versionLine(QCoreApplication::applicationFilePath(), tblCzas.locale()));
}

void TfrmDurov::FormShow() { tblCzas.open(); }

void TfrmDurov::btnPlikCzasClick() {
    if (!DBgrdCzas->commitEditor()) return;
    const auto file = services_.chooseFile(kTimeFileFilter, kTimeFiles);
    if (!file) return;
    runOperation(services_, [&] { importTimeFile(*file, tblCzas, services_, &dtsCzas->cursor()); });
}

void TfrmDurov::btnPlikRinexClick() {
    if (!DBgrdCzas->commitEditor()) return;
    const auto file = services_.chooseFile(rinexFilter(QDate::currentDate().year()), kRinexFiles);
    if (!file) return;
    std::string analysedFile;
    double analysedDate = 0.0;
    bool stopped = false;
    const bool ended = runOperation(services_, [&] {
        BusyCursor busy(services_);
        memRaport->clear();  // also when the analysis then fails
        // The work on its own thread only reads the table: a record still open is posted now.
        tblCzas.finishRecord();
        HeldDate held = heldDate_;
        AnalysisResult result;
        // The date of a file whose time items are wrong stays held all the same.
        try {
            runLongWork(text("Analiza pliku RINEX..."), [&](Progress& progress, Services&) {
                result = analyseRinex(*file, tblCzas, held, progress);
            });
        } catch (const Failure&) {
            heldDate_ = held;
            throw;
        }
        if (result.stopped) {
            showStoppedAnalysis();
            stopped = true;
            return;
        }
        heldDate_ = held;
        showAnalysisFields(analysisFields(result, tblCzas.locale()));
        writeShiftedTimes(result, tblCzas);
        dtsCzas->cursor().last();
        ReportServices report(services_, *memRaport);
        showReport(result, report, [&report](const std::string& line) { report.addLine(line); });
        report.flush();
        busy.restore();
        std::vector<TimeTableModel::Miss> misses;
        for (const Miss& miss : result.misses())
            misses.push_back(
                {static_cast<int>(result.points[miss.point].record), miss.stop, miss.go});
        dtsCzas->showMisses(misses);
        analysedFile = result.file;
        analysedDate = result.observationDate;
        setModifiable(result.allFound() ? std::optional(std::move(result)) : std::nullopt);
    });
    // Misses do not matter to the points: the solution decides each of them. The table is
    // still as analysed; a time system the points cannot read has its own error box.
    std::optional<AnalysedSurvey> survey;
    if (ended && !stopped)
        runOperation(services_,
                     [&] { survey = analysedSurvey(analysedFile, analysedDate, tblCzas); });
    setPointsSurvey(std::move(survey));
    closeIfAskedDuringWork();
}

void TfrmDurov::showStoppedAnalysis() {
    for (QLineEdit* field : {edtData, edtCzas, edtPrzesun}) field->clear();
    edtPrzesun->setToolTip(QString());
    memRaport->setPlainText(text(kStoppedAnalysis));
    dtsCzas->showMisses({});
    setModifiable(std::nullopt);
}

void TfrmDurov::btnModyfikujClick() {
    if (!DBgrdCzas->commitEditor()) return;
    if (!modifiable_) return;
    const ModificationOptions options{checkKopia->isChecked(), checkRekordy->isChecked()
                                                                   ? EventStyle::Records
                                                                   : EventStyle::Flags};
    bool stopped = false;
    // Done once: a second click must not replace the backup of the original. A stopped
    // modification changed nothing, and may be run again.
    if (runOperation(services_,
                     [&] {
                         BusyCursor busy(services_);
                         stopped =
                             runLongWork(text("Modyfikacja pliku RINEX..."),
                                         [&](Progress& progress, Services& services) {
                                             modifyRinex(*modifiable_, options, services, progress);
                                         });
                     }) &&
        !stopped)
        setModifiable(std::nullopt);
    closeIfAskedDuringWork();
}

bool TfrmDurov::runLongWork(const QString& label,
                            const std::function<void(Progress&, Services&)>& work) {
    LongWork longWork(this, label);
    QWidget* const focused = focusWidget();
    // Nothing the window offers may act meanwhile: the controls wait, the window repaints.
    scroller_->widget()->setEnabled(false);
    for (QAction* action : {actZapiszCzasy, actUsunWszystkie}) action->setEnabled(false);
    work_ = &longWork;
    longWork.run(work);
    work_ = nullptr;
    scroller_->widget()->setEnabled(true);
    for (QAction* action : {actZapiszCzasy, actUsunWszystkie}) action->setEnabled(true);
    if (focused && focused->isEnabled()) focused->setFocus();
    longWork.finish(services_);
    return longWork.stopped();
}

void TfrmDurov::closeIfAskedDuringWork() {
    if (!closeAfterWork_) return;
    closeAfterWork_ = false;
    close();
}

void TfrmDurov::btnWspolrzedneClick() {
    if (!pointsSurvey_) return;
    if (!dlgWspolrzedne) {
        dlgWspolrzedne = new PointsDialog(this);
        dlgWspolrzedne->setSurvey(pointsSurvey_);
    }
    dlgWspolrzedne->show();
    dlgWspolrzedne->raise();
    dlgWspolrzedne->activateWindow();
}

void TfrmDurov::setPointsSurvey(std::optional<AnalysedSurvey> survey) {
    pointsSurvey_ = std::move(survey);
    pointsRevision_ = tblCzas.revision();
    btnWspolrzedne->setEnabled(pointsSurvey_.has_value());
    if (dlgWspolrzedne) dlgWspolrzedne->setSurvey(pointsSurvey_);
}

void TfrmDurov::BitBtn1Click() { close(); }

void TfrmDurov::Label6Click() {
    const auto* label = qobject_cast<const QLabel*>(sender());
    if (!label) return;
    QDesktopServices::openUrl(QUrl(label->toolTip()));  // nothing is said if nothing opens
}

void TfrmDurov::DBgrdCzasKeyDown(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return;
    const int column = DBgrdCzas->selectedIndex();
    if (column < 0) return;
    bool done = true;
    if (column < kColumnsBeforeGo)
        done = DBgrdCzas->setSelectedIndex(column + 1);
    else if (tblCzas.editingOrInserting())
        done = DBgrdCzas->commitEditor() && runOperation(services_, [this] { tblCzas.post(); });
    if (!done) event->accept();  // the error ends the key: the grid does nothing more
}

void TfrmDurov::setModifiable(std::optional<AnalysisResult> result) {
    modifiable_ = std::move(result);
    analysedRevision_ = tblCzas.revision();
    btnModyfikuj->setEnabled(modifiable_.has_value());
}

void TfrmDurov::dtsCzasDataChange() {
    // A record posted, inserted or deleted since the analysis: the grid and the result no
    // longer agree, so nothing is written until the next analysis.
    if (modifiable_ && tblCzas.revision() != analysedRevision_) setModifiable(std::nullopt);
    if (pointsSurvey_ && tblCzas.revision() != pointsRevision_) setPointsSurvey(std::nullopt);
    DBgrdCzas->setGridColor(tblCzas.editingOrInserting() ? kEditingColour : QColor(Qt::white));
}

void TfrmDurov::actZapiszCzasyExecute() {
    if (!DBgrdCzas->commitEditor()) return;
    runOperation(services_,
                 [this] { saveTimeFile(tblCzas, [this] { return chooseTimeFileToSave(this); }); });
}

void TfrmDurov::actUsunWszystkieExecute() {
    if (!confirmRemoveAllPoints()) return;
    DBgrdCzas->discardEditor();
    runOperation(services_, [this] {
        tblCzas.cancel();
        while (tblCzas.recordCount() > 0) tblCzas.remove(tblCzas.recordCount() - 1);
    });
}

void TfrmDurov::FormCloseQuery(bool& canClose) {
    const bool typedTimes = tblCzas.hasTypedRecords() || DBgrdCzas->typedIntoEditor();
    canClose = !typedTimes || confirmCloseWithTypedTimes();
}

void TfrmDurov::showFailure(const QString& text) {
    services_.errorBox(errorBoxText(text.toStdString()));
}

void TfrmDurov::showAnalysisFields(const AnalysisFields& fields) {
    if (fields.observationDate) edtData->setText(QString::fromStdString(*fields.observationDate));
    if (fields.firstObservation) edtCzas->setText(QString::fromStdString(*fields.firstObservation));
    edtPrzesun->setText(QString::fromStdString(fields.shift));
    edtPrzesun->setToolTip(QString::fromStdString(fields.shiftHint));
}

}  // namespace marvolt

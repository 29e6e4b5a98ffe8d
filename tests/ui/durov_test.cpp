#include "durov.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

#include "application_title.h"
#include "cell_text.h"
#include "grid_driver.h"
#include "memo.h"
#include "modal_answerer.h"
#include "temp_folder.h"
#include "time_grid.h"
#include "time_table_model.h"
#include "version_line.h"

using marvolt::Field;
using marvolt::Memo;
using marvolt::TableState;
using marvolt::TfrmDurov;
using marvolt::TimeGrid;
using marvolt::TimeTable;
using marvolt::testing::ModalAnswerer;
using marvolt::testing::press;
using marvolt::testing::readBytes;
using marvolt::testing::TempFolder;
using marvolt::testing::type;

namespace {

constexpr int kPunkt = static_cast<int>(Field::Punkt);
constexpr int kStop = static_cast<int>(Field::Stop);
constexpr int kGo = static_cast<int>(Field::Go);
constexpr int kStop2 = static_cast<int>(Field::Stop2);
const QColor kPink(255, 204, 204);

// A header record: the values padded to 60 bytes, then the label from column 61.
std::string record(const std::string& values, const std::string& label) {
    return values + std::string(60 - values.size(), ' ') + label + "\r\n";
}

// A survey of 3 April 2012 starting at 10:15:05; epoch lines 4, 6, 8 and 10 in the
// standard blank-padded layout, the flag in column 29.
std::string surveyFile() {
    const std::string observation = "  23629347.915 8\r\n";
    return record("     2.11           OBSERVATION DATA    G (GPS)", "RINEX VERSION / TYPE") +
           record("  2012     4     3    10    15    5.0000000     GPS", "TIME OF FIRST OBS") +
           record("", "END OF HEADER") +                              //
           " 12  4  3 10 15  5.0000000  0  1G05\r\n" + observation +  // line 4
           " 12  4  3 10 15 10.0000000  0  1G05\r\n" + observation +  // line 6
           " 12  4  3 10 20  0.0000000  0  1G05\r\n" + observation +  // line 8
           " 12  4  3 10 20 30.0000000  0  1G05\r\n" + observation;   // line 10
}

// Receives the links that the window hands to the desktop.
class LinkCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

class DurovTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        table = std::make_unique<TimeTable>();
        window = std::make_unique<TfrmDurov>(*table);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        grid = window->findChild<TimeGrid*>("DBgrdCzas");
        QVERIFY(grid);
        // The file dialog answers with the next scripted name and records its filters.
        window->services().setDialogRunner([this](QFileDialog& dialog) {
            filtersShown << dialog.nameFilters().join('|');
            if (answers.isEmpty()) return int(QDialog::Rejected);
            dialog.selectFile(answers.takeFirst());
            return int(QDialog::Accepted);
        });
    }
    void cleanup() {
        window.reset();
        table.reset();
        answers.clear();
        filtersShown.clear();
    }

    void windowItself() {
        QCOMPARE(window->windowTitle(), marvolt::applicationTitle());
        QCOMPARE(window->size(), QSize(654, 623));
        QCOMPARE(window->minimumSize(), QSize(654, 623));
        QCOMPARE(window->maximumSize(), QSize(654, 623));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((window->frameGeometry().center() - screen.center()).manhattanLength() <= 2);
        QCOMPARE(window->palette().color(QPalette::Window),
                 window->palette().color(QPalette::Button));
        QCOMPARE(window->font().pixelSize(), 11);
    }

    void controlsAtTheirPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        const std::pair<const char*, QRect> controls[] = {
            {"Label3", {8, 8, 641, 25}},           {"btnPlikCzas", {8, 32, 233, 57}},
            {"DBnvgCzas", {280, 32, 234, 25}},     {"DBgrdCzas", {256, 64, 385, 241}},
            {"Memo1", {8, 96, 233, 113}},          {"Memo2", {8, 216, 233, 89}},
            {"Bevel1", {8, 312, 633, 9}},          {"Label4", {8, 320, 641, 17}},
            {"btnPlikRinex", {8, 344, 193, 57}},   {"edtData", {472, 344, 169, 21}},
            {"edtCzas", {472, 368, 169, 21}},      {"edtPrzesun", {472, 392, 169, 21}},
            {"Label5", {8, 408, 185, 17}},         {"btnModyfikuj", {8, 424, 193, 57}},
            {"memRaport", {208, 424, 433, 53}},    {"checkKopia", {8, 484, 193, 17}},
            {"checkRekordy", {208, 480, 433, 17}}, {"btnWspolrzedne", {8, 508, 193, 57}},
            {"Label8", {208, 528, 433, 17}},       {"Bevel2", {5, 568, 636, 9}},
            {"BitBtn1", {536, 576, 105, 41}},      {"Label1", {8, 584, 217, 17}},
            {"Label2", {248, 584, 185, 17}},       {"Label7", {408, 590, 113, 17}},
            {"lblWersja", {8, 600, 217, 17}},      {"Label6", {248, 600, 169, 17}}};
        for (const auto& [name, geometry] : controls) QTest::newRow(name) << name << geometry;
    }
    void controlsAtTheirPlaces() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        const QWidget* control = window->findChild<QWidget*>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), geometry);
    }

    // Each result field's label ends 3 pixels left of it, centred on it, as wide as its text.
    void labelledFields_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("label");
        QTest::newRow("edtData") << "edtData"
                                 << "RINEX: Data pomiaru ";
        QTest::newRow("edtCzas") << "edtCzas"
                                 << "RINEX: Początek pierwszej obserwacji (GMT) ";
        QTest::newRow("edtPrzesun") << "edtPrzesun"
                                    << "Przesunięcie między zegarkiem a GMT ";
    }
    void labelledFields() {
        QFETCH(QString, name);
        QFETCH(QString, label);
        const auto* field = window->findChild<QLineEdit*>(name);
        const auto* caption = window->findChild<QLabel*>(name + "Label");
        QVERIFY(field && caption);
        QCOMPARE(caption->text(), label);
        QCOMPARE(caption->geometry().right() + 1 + 3, field->x());
        QCOMPARE(caption->width(), caption->fontMetrics().horizontalAdvance(label));
        QVERIFY(qAbs(caption->geometry().center().y() - field->geometry().center().y()) <= 1);
        QVERIFY(field->isReadOnly());
        QCOMPARE(field->text(), QString());
    }

    void textsHintsAndColours() {
        QCOMPARE(label("Label3")->text(),
                 "1. Czasy Stop & Go (odczytane na zegarku czasu lok. lub na stoperze) można "
                 "wczytać z pliku lub wpisać ręcznie w poniższej tabeli:");
        QCOMPARE(label("Label4")->text(),
                 "2. Po wypełnieniu powyższej tabeli wskaż plik RINEX, w którym mają być "
                 "wstawione wskaźniki Stop & Go (zostanie poddany analizie):");
        QCOMPARE(label("Label5")->text(), "3. Jeśli wszystko OK, to modyfikuj:");
        QCOMPARE(label("Label8")->text(),
                 "4. Współrzędne punktów z rozwiązania kinematycznego (opcjonalnie):");
        for (const char* name : {"Label3", "Label4", "Label5", "Label8"})
            QCOMPARE(label(name)->palette().color(QPalette::WindowText), QColor(128, 0, 0));
        QVERIFY(label("Label3")->wordWrap());

        const std::pair<const char*, const char*> buttons[] = {
            {"btnPlikCzas", "Wczytaj plik z czasami\nStop && Go..."},
            {"btnPlikRinex", "Analiza pliku RINEX..."},
            {"btnModyfikuj", "Modyfikacja pliku RINEX"},
            {"btnWspolrzedne", "Współrzędne punktów..."},
            {"BitBtn1", "Wyjście"}};
        const std::pair<const char*, const char*> hints[] = {
            {"btnPlikCzas", "Wskaż położenie pliku z czasami"},
            {"btnPlikRinex", "Wskaż położenie pliku RINEX"},
            {"btnModyfikuj", "Plik zostanie zmodyfikowany"},
            {"btnWspolrzedne",
             "Oblicza współrzędne punktów z rozwiązania kinematycznego i sprawdza czasy z "
             "zegarka względem danych"},
            {"BitBtn1", "Wyjście z programu"}};
        for (const auto& [name, caption] : buttons) QCOMPARE(button(name)->text(), caption);
        for (const auto& [name, hint] : hints) {
            QCOMPARE(button(name)->toolTip(), hint);
            QCOMPARE(button(name)->cursor().shape(), Qt::PointingHandCursor);
        }
        QVERIFY(!button("btnModyfikuj")->isEnabled());
        QVERIFY(!button("btnWspolrzedne")->isEnabled());
        QVERIFY(window->findChild<QCheckBox*>("checkKopia")->isChecked());
        QCOMPARE(window->findChild<QCheckBox*>("checkKopia")->text(),
                 "Utwórz kopię oryginału pliku RINEX");

        QCOMPARE(
            memo("Memo1")->toPlainText().split('\n'),
            QStringList({"Musi to być plik ASCII,", "każdy punkt pomiaru w osobnym ",
                         "wierszu zawierającym:", "NrPkt  CzasSTOPzegarek  CzasGOzegarek",
                         "Pomiędzy poszczególymi segmentami", "muszą być spacje lub tabulatory.",
                         "Czasy wpisujemy w formacie:", "GG:MM:SS (ewentualnie G:M:S)"}));
        QCOMPARE(
            memo("Memo2")->toPlainText().split('\n'),
            QStringList({"UWAGA:", "Niniejszy program zakłada, że", "CzasSTOP w pierwszym wierszu",
                         "(czyli na pierwszym punkcie), to", "czas włączenia rejestracji w Azusie",
                         "(czyli naciśnięcie zielonego guzika)."}));
        QCOMPARE(memo("memRaport")->toPlainText(),
                 "UWAGA: Program testowałem na pliku RINEX w wersji 2.10.");
        QCOMPARE(memo("Memo1")->palette().color(QPalette::Text), QColor(0, 0, 255));
        QCOMPARE(memo("Memo2")->palette().color(QPalette::Text), QColor(255, 0, 0));
        QCOMPARE(memo("Memo1")->lineWrapMode(), QTextEdit::NoWrap);
        QCOMPARE(memo("Memo2")->lineWrapMode(), QTextEdit::WidgetWidth);
        for (const char* name : {"Memo1", "Memo2", "memRaport"}) QVERIFY(memo(name)->isReadOnly());

        const auto* data = window->findChild<QLineEdit*>("edtData");
        QCOMPARE(data->palette().color(QPalette::Base), QColor(255, 255, 0));
        QCOMPARE(window->findChild<QLineEdit*>("edtCzas")->palette().color(QPalette::Base),
                 QColor(255, 255, 0));
        QCOMPARE(window->findChild<QLineEdit*>("edtPrzesun")->palette().color(QPalette::Base),
                 QColor(0, 255, 0));

        QCOMPARE(label("Label7")->text(), "Sprawdź aktualizację");
        QCOMPARE(label("Label7")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QVERIFY(label("Label7")->alignment() & Qt::AlignHCenter);
        QVERIFY(label("Label6")->text().startsWith("e-mail: "));
        QCOMPARE(label("Label6")->toolTip(), "mailto:" + label("Label6")->text().mid(8));
        QCOMPARE(label("Label6")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        for (const char* name : {"Label6", "Label7"}) {
            QVERIFY(label(name)->font().underline());
            QCOMPARE(label(name)->cursor().shape(), Qt::PointingHandCursor);
        }
        QVERIFY(!label("Label1")->text().isEmpty());
        QVERIFY(!label("Label2")->text().isEmpty());
    }

    // The version line is the date of this executable's last change, D.MM.YYYY.
    void versionLine() {
        const QString line = label("lblWersja")->text();
        QVERIFY(QRegularExpression("^Wersja programu: \\d{1,2}\\.\\d{2}\\.\\d{4}$")
                    .match(line)
                    .hasMatch());
        const QDate changed =
            QFileInfo(QCoreApplication::applicationFilePath()).lastModified().date();
        QCOMPARE(line, QString("Wersja programu: %1.%2.%3")
                           .arg(changed.day())
                           .arg(changed.month(), 2, 10, QChar('0'))
                           .arg(changed.year()));
    }

    void tabOrderAndFirstFocus() {
        QCOMPARE(QApplication::focusWidget(), button("BitBtn1"));
        const QStringList expected = {"BitBtn1",      "btnPlikRinex",   "btnPlikCzas", "Memo1",
                                      "Memo2",        "DBgrdCzas",      "DBnvgCzas",   "memRaport",
                                      "btnModyfikuj", "btnWspolrzedne", "edtData",     "edtCzas",
                                      "edtPrzesun",   "checkKopia",     "checkRekordy"};
        QStringList chain;
        QWidget* widget = button("BitBtn1");
        do {
            if (expected.contains(widget->objectName()) && !chain.contains(widget->objectName()))
                chain << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != button("BitBtn1"));
        QCOMPARE(chain, expected);
        for (const QString& name : expected)
            QVERIFY(window->findChild<QWidget*>(name)->focusPolicy() & Qt::TabFocus);
    }

    // Enter or Space pressed at once closes the window: the exit button has the focus.
    void exitButtonHasTheFocus_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void exitButtonHasTheFocus() {
        QFETCH(int, key);
        press(Qt::Key(key));
        QVERIFY(!window->isVisible());
    }

    // A click on a link label hands its tool tip, not its text, to the desktop.
    void linkLabelsOpenTheirHints() {
        LinkCatcher catcher;
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        QDesktopServices::setUrlHandler("mailto", &catcher, "open");
        QTest::mouseClick(label("Label7"), Qt::LeftButton);
        QTest::mouseClick(label("Label6"), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("mailto");
        QCOMPARE(catcher.opened,
                 QList<QUrl>({QUrl(label("Label7")->toolTip()), QUrl(label("Label6")->toolTip())}));
        QVERIFY(catcher.opened[0].toString().startsWith("https://"));
    }

    // A row typed as name, Enter, STOP, Enter, GO, Enter: the third Enter posts it and it
    // takes its place; the Enter rule ignores Shift and Ctrl.
    void enterMovesAcrossAndPosts_data() {
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Enter") << int(Qt::NoModifier);
        QTest::newRow("Shift+Enter") << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Enter") << int(Qt::ControlModifier);
    }
    void enterMovesAcrossAndPosts() {
        QFETCH(int, modifiers);
        const auto enter = [modifiers] { press(Qt::Key_Return, Qt::KeyboardModifiers(modifiers)); };
        addPoint("200", "12:00:00");
        startInsertInGrid();
        type("101");
        enter();
        QCOMPARE(grid->selectedIndex(), kStop);
        QVERIFY(grid->editorOpen());
        type("10:15:05");
        enter();
        QCOMPARE(grid->selectedIndex(), kGo);
        QVERIFY(grid->editorOpen());
        QCOMPARE(table->state(), TableState::Inserting);
        type("10:15:10");
        enter();
        QCOMPARE(table->state(), TableState::Browsing);
        QVERIFY(!grid->editorOpen());
        QCOMPARE(grid->selectedIndex(), kGo);
        QCOMPARE(rows(), QStringList({"101 10:15:05 10:15:10", "200 12:00:00 "}));
    }

    // Typing into the grid of the empty table starts its first record at once.
    void typingIntoTheEmptyGrid() {
        grid->setFocus();
        type("101");
        QCOMPARE(table->state(), TableState::Inserting);
        QCOMPARE(gridColour(), kPink);
        press(Qt::Key_Return);
        type("10:15:05");
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        QCOMPARE(rows(), QStringList({"101 10:15:05 "}));
    }

    // Enter in GO while browsing posts nothing and stays in GO (the editor opens); in a GMT
    // column it posts an edited record and never moves further right.
    void enterInTheLastColumns() {
        addPoint("100", "08:00:00");
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, kGo));
        press(Qt::Key_Enter);
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(grid->selectedIndex(), kGo);
        QVERIFY(grid->editorOpen());
        press(Qt::Key_Escape);

        grid->setCurrentIndex(grid->model()->index(0, kPunkt));
        type("7");
        grid->setCurrentIndex(grid->model()->index(0, kStop2));
        QCOMPARE(table->state(), TableState::Editing);
        press(Qt::Key_Return);
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(grid->selectedIndex(), kStop2);
        QCOMPARE(rows(), QStringList({"7 08:00:00 "}));
    }

    // Insert, then three Enters with nothing typed: an empty row is posted.
    void threeEntersPostAnEmptyRow() {
        addPoint("100", "08:00:00");
        startInsertInGrid();
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        QCOMPARE(table->state(), TableState::Browsing);
        QCOMPARE(table->recordCount(), 2);
        QCOMPARE(rows(), QStringList({"  ", "100 08:00:00 "}));
    }

    // A time the field refuses: the error box with the "." rule, the record still inserting.
    void enterWithARefusedTime() {
        ModalAnswerer boxes;
        startInsertInGrid();
        press(Qt::Key_Return);
        type("x");
        press(Qt::Key_Return);
        QCOMPARE(boxes.texts(), QStringList({"'x' is not a valid time."}));
        QCOMPARE(boxes.seen[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes.seen[0].caption, marvolt::applicationTitle());
        QCOMPARE(table->state(), TableState::Inserting);
        QCOMPARE(grid->selectedIndex(), kStop);
        QVERIFY(grid->editorOpen());
    }

    // The grid is pale pink while a record is edited or inserted, white otherwise; the
    // GMT columns stay yellow.
    void gridColourFollowsTheState() {
        QCOMPARE(gridColour(), QColor(Qt::white));
        addPoint("100", "08:00:00");
        addPoint("200", "09:00:00");
        QCOMPARE(gridColour(), QColor(Qt::white));
        startInsertInGrid();
        QCOMPARE(gridColour(), kPink);
        QCOMPARE(grid->model()->index(0, kStop2).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 255, 0));
        press(Qt::Key_Escape);
        QCOMPARE(gridColour(), QColor(Qt::white));
        press(Qt::Key_Down);
        QCOMPARE(gridColour(), QColor(Qt::white));
        type("5");
        QCOMPARE(gridColour(), kPink);
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        QCOMPARE(gridColour(), kPink);
        press(Qt::Key_Return);
        QCOMPARE(gridColour(), QColor(Qt::white));
    }

    // btnPlikCzas runs the import with the time-file filter; a missing file ends it in
    // the error box.
    void importButton() {
        ModalAnswerer boxes;
        TempFolder folder;
        answers << QString::fromStdString(
            folder.write("czasy.txt", "101 10:15:05 10:15:10\n102 10:20:00 10:20:30\n"));
        answers << QString::fromStdString(folder.file("brak.txt"));
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QCOMPARE(filtersShown, QStringList(2, "Pliki tekstowe (*.txt)|Wszystkie pliki (*)"));
        QCOMPARE(boxes.texts(), QStringList({"Wczytałem 2 punktów. Liczba błędnych wierszy: 0.",
                                             "File not found."}));
        QCOMPARE(boxes.seen[0].icon, QMessageBox::NoIcon);
        QCOMPARE(boxes.seen[1].icon, QMessageBox::Critical);
        QCOMPARE(rows(), QStringList({"101 10:15:05 10:15:10", "102 10:20:00 10:20:30"}));
        QVERIFY(!button("btnModyfikuj")->isEnabled());
    }

    // btnPlikRinex fills the result fields and the report and enables btnModyfikuj;
    // btnModyfikuj flags the analysed file once and is disabled until the next analysis; a
    // change to the table disables it too, and so does an analysis with a missing epoch.
    void analysisAndModificationButtons() {
        ModalAnswerer boxes;
        TempFolder folder;
        const std::string rinex = answerTwoPointSurvey(folder);
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        // Every observation file first; this year's and last year's after RINEX 2's.
        const int year = QDate::currentDate().year();
        QCOMPARE(filtersShown.last(),
                 QString("Pliki RINEX (*.??o *.??O *.rnx *.RNX)|Pliki RINEX 2 (*.*o)|"
                         "Pliki RINEX %1 (*.%2o)|Pliki RINEX %3 (*.%4o)|"
                         "Pliki RINEX 3 (*.rnx)|Wszystkie pliki (*)")
                     .arg(year)
                     .arg(year % 100, 2, 10, QChar('0'))
                     .arg(year - 1)
                     .arg((year - 1) % 100, 2, 10, QChar('0')));
        QCOMPARE(field("edtData"), "3 April 2012 r. (Tuesday)");
        QCOMPARE(field("edtCzas"), "10:15:05");
        QCOMPARE(field("edtPrzesun"), "0:00:00");
        QCOMPARE(memo("memRaport")->toPlainText().split('\n'),
                 QStringList({"Wiersz 4: znalazłem obserwację STOP dla punktu 101",
                              "Wiersz 6: znalazłem obserwację GO dla punktu 101",
                              "Wiersz 8: znalazłem obserwację STOP dla punktu 102",
                              "Wiersz 10: znalazłem obserwację GO dla punktu 102"}));
        QCOMPARE(boxes.texts().last(),
                 "Nie znalazłem żadnych błedów w tabeli czasów. Możesz zmodyfikować RINEX.");
        QVERIFY(button("btnModyfikuj")->isEnabled());
        QCOMPARE(grid->model()->index(1, static_cast<int>(Field::Go2)).data().toString(),
                 QString("10:20:30"));

        const std::string original = readBytes(rinex);
        QTest::mouseClick(button("btnModyfikuj"), Qt::LeftButton);
        QCOMPARE(boxes.texts().last(),
                 "Zakończyłem modyfikację pliku " + QString::fromStdString(rinex));
        QCOMPARE(readBytes(rinex + ".bak"), original);
        const QStringList lines = QString::fromStdString(readBytes(rinex)).split("\r\n");
        QCOMPARE(lines[3], " 12  4  3 10 15  5.0000000  3  1G05");
        QCOMPARE(lines[5], " 12  4  3 10 15 10.0000000  2  1G05");
        QCOMPARE(lines[7], " 12  4  3 10 20  0.0000000  3  1G05");
        QCOMPARE(lines[9], " 12  4  3 10 20 30.0000000  2  1G05");
        QVERIFY(!button("btnModyfikuj")->isEnabled());

        answers << QString::fromStdString(rinex);
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QVERIFY(button("btnModyfikuj")->isEnabled());
        addPoint("103", "10:25:00");
        QVERIFY(!button("btnModyfikuj")->isEnabled());
        answers << QString::fromStdString(rinex);
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QVERIFY(boxes.texts().contains("Nie znalazłem w RINEX obserwacji STOP dla punktu 103."));
        QCOMPARE(boxes.texts().last(),
                 "Tabela czasów zawiera błędy! Popraw je i zrób jeszcze raz analizę.");
        QVERIFY(!button("btnModyfikuj")->isEnabled());

        // The misses in red with their tool tip, the found times yellow; an edit of the record
        // takes its marks away.
        const auto cell = [&](int row, Field field) {
            return grid->model()->index(row, static_cast<int>(field));
        };
        QCOMPARE(cell(2, Field::Stop2).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(cell(2, Field::Go2).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
        QCOMPARE(cell(2, Field::Stop2).data(Qt::ToolTipRole).toString(),
                 "Plik RINEX nie ma epoki o tym czasie.");
        QCOMPARE(cell(1, Field::Go2).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::yellow));
        cursor().last();
        cursor().edit();
        table->setText(Field::Go, "10:26:00");
        QCOMPARE(cell(2, Field::Stop2).data(Qt::BackgroundRole).value<QColor>(),
                 QColor(Qt::yellow));
    }

    // The boxes of one series offer "Pomiń pozostałe": pressed, no more of that series come,
    // the summary still does; Esc (the answer when no click is given) is OK.
    void skipButtonEndsTheSeries() {
        ModalAnswerer boxes;
        boxes.clicks = {"OK", "Pomiń pozostałe"};
        TempFolder folder;
        answers << QString::fromStdString(folder.write("czasy.txt", "a\nb\nc\nd\n"))
                << QString::fromStdString(folder.write("czasy2.txt", "a\nb\n"));
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QCOMPARE(boxes.texts(), QStringList({"Wiersz 1 ma nieprawidłowy format. Pominąłem...",
                                             "Wiersz 2 ma nieprawidłowy format. Pominąłem...",
                                             "Wczytałem 0 punktów. Liczba błędnych wierszy: 4."}));
        QCOMPARE(boxes.seen[0].buttons, QStringList({"OK", "Pomiń pozostałe"}));
        QCOMPARE(boxes.seen[2].buttons, QStringList({"OK"}));
        // A new import is a new series.
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QCOMPARE(boxes.texts().size(), 6);
    }

    // checkRekordy, unticked at first, makes the modification insert event records; its state
    // is there again in the next window.
    void eventRecordsChoiceIsKept() {
        QCheckBox* records = window->findChild<QCheckBox*>("checkRekordy");
        QVERIFY(!records->isChecked());
        QCOMPARE(records->text(), "Zdarzenia jako osobne rekordy (standard RINEX)");
        QVERIFY(records->toolTip().startsWith("Zamiast wpisywać flagi 3 i 2 w wiersze epok"));
        records->setChecked(true);

        ModalAnswerer boxes;
        TempFolder folder;
        const std::string rinex = folder.write("pomiar.12o", surveyFile());
        answers << QString::fromStdString(folder.write("czasy.txt", "101 10:15:05 10:15:10\n"))
                << QString::fromStdString(rinex);
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QTest::mouseClick(button("btnModyfikuj"), Qt::LeftButton);
        const QStringList lines = QString::fromStdString(readBytes(rinex)).split("\r\n");
        QCOMPARE(lines[3], " 12  4  3 10 15  5.0000000  3  2");
        QCOMPARE(lines[6], " 12  4  3 10 15  5.0000000  0  1G05");

        cleanup();
        init();
        records = window->findChild<QCheckBox*>("checkRekordy");
        QVERIFY(records->isChecked());
        records->setChecked(false);
    }

    // btnWspolrzedne: enabled by any analysis without an error box (misses too), kept by a
    // modification, disabled by a change to the table (which greys the open dialog) and by
    // an analysis that ends with an error.
    void pointsButtonEnabling() {
        ModalAnswerer boxes;
        TempFolder folder;
        const std::string rinex = answerTwoPointSurvey(folder);
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QVERIFY(!button("btnWspolrzedne")->isEnabled());
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QVERIFY(button("btnWspolrzedne")->isEnabled());
        QTest::mouseClick(button("btnModyfikuj"), Qt::LeftButton);
        QVERIFY(button("btnWspolrzedne")->isEnabled());

        QTest::mouseClick(button("btnWspolrzedne"), Qt::LeftButton);
        auto* dialog = window->findChild<QDialog*>("dlgWspolrzedne");
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), "Współrzędne punktów");
        auto* stale = dialog->findChild<QLabel*>("lblNieaktualne");
        QVERIFY(!stale->isVisible());
        addPoint("103", "10:25:00");
        QVERIFY(!button("btnWspolrzedne")->isEnabled());
        QVERIFY(stale->isVisible());

        answers << QString::fromStdString(rinex);  // 103 has no epoch: misses do not matter
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QVERIFY(!button("btnModyfikuj")->isEnabled());
        QVERIFY(button("btnWspolrzedne")->isEnabled());
        QVERIFY(!stale->isVisible());

        answers << QString::fromStdString(folder.file("brak.12o"));  // no such file
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QCOMPARE(boxes.seen.back().icon, QMessageBox::Critical);
        QVERIFY(!button("btnWspolrzedne")->isEnabled());
        QVERIFY(stale->isVisible());
    }

    void cancelledDialog() {
        ModalAnswerer boxes;
        QTest::mouseClick(button("btnPlikRinex"), Qt::LeftButton);
        QCOMPARE(filtersShown.size(), 1);
        QVERIFY(boxes.seen.empty());
        QCOMPARE(memo("memRaport")->toPlainText(),
                 "UWAGA: Program testowałem na pliku RINEX w wersji 2.10.");
    }

    // Insert starts the new record in its Punkt column, whatever column was selected.
    void insertStartsAtTheName() {
        ModalAnswerer boxes;
        addPoint("100", "08:00:00");
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, kGo));
        press(Qt::Key_Insert);
        QCOMPARE(grid->selectedIndex(), kPunkt);
        type("B");
        press(Qt::Key_Return);
        QVERIFY(boxes.seen.empty());
        QCOMPARE(marvolt::cellText(*table, cursor().currentRow(), Field::Punkt), "B");
    }

    // The empty grid shows a focus frame as soon as it has the focus, and none after it
    // lost it (as painted on the screen).
    void emptyGridShowsTheFocusFrame() {
        const auto shownGrid = [this] {
            QTest::qWait(20);
            return QGuiApplication::primaryScreen()
                ->grabWindow(window->winId(), 256, 64, 385, 241)
                .toImage();
        };
        const QImage unfocused = shownGrid();
        grid->setFocus();
        QVERIFY(shownGrid() != unfocused);
        button("BitBtn1")->setFocus();
        QCOMPARE(shownGrid(), unfocused);
    }

    // "Zapisz tabelę czasów..." on Ctrl+S writes a file that the import of another window
    // turns into the same table: equal STOPs, milliseconds, a Polish name.
    void saveThenImportGivesTheSameTable() {
        ModalAnswerer boxes;
        TempFolder folder;
        const auto* save = window->findChild<QAction*>("actZapiszCzasy");
        QVERIFY(grid->actions().contains(save));
        QCOMPARE(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
        QCOMPARE(save->text(), "Zapisz tabelę czasów...");
        addPoint("A", "10:00:00", "10:05:00");
        addPoint("B", "10:00:00", "10:05:00.5");
        addPoint("\xA3\xF3\x64\x9F", "09:00:00", "09:01:00");
        addPoint("C", "10:00:00", "10:06:00");
        boxes.fileNames.push_back(QString::fromStdString(folder.file("czasy.txt")));
        grid->setFocus();
        press(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(boxes.dialogTitles, QStringList({"Zapisz tabelę czasów"}));
        QVERIFY(boxes.seen.empty());

        TimeTable otherTable;
        TfrmDurov other(otherTable);
        other.show();
        other.services().setDialogRunner([&](QFileDialog& dialog) {
            dialog.selectFile(QString::fromStdString(folder.file("czasy.txt")));
            return int(QDialog::Accepted);
        });
        QTest::mouseClick(other.findChild<QPushButton*>("btnPlikCzas"), Qt::LeftButton);
        QCOMPARE(rowsOf(*other.findChild<TimeGrid*>("DBgrdCzas")), rows());
        QCOMPARE(rows()[0], "Łódź 09:00:00 09:01:00");
    }

    // Closing asks only while times typed by hand are not saved: an import in between saves
    // nothing, and imported records alone do not ask; "Nie" keeps the window.
    void closeAsksOnlyForUnsavedTypedTimes() {
        ModalAnswerer boxes;
        TempFolder folder;
        const QString timeFile =
            QString::fromStdString(folder.write("czasy.txt", "101 10:15:05 10:15:10\n"));
        startInsertInGrid();
        type("7");  // still in the cell's editor
        boxes.clicks = {"Nie"};
        QVERIFY(!window->close());
        QCOMPARE(boxes.texts(),
                 QStringList({"Zamknąć program? Wpisane czasy nie zostały zapisane."}));
        QCOMPARE(boxes.seen[0].buttons, QStringList({"Tak", "Nie"}));
        window->activateWindow();  // the offscreen platform gives the activation back to none
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        press(Qt::Key_Return);
        type("9");
        press(Qt::Key_Return);
        type("9:10");
        press(Qt::Key_Return);
        answers << timeFile;
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        boxes.clicks = {"Nie"};
        QVERIFY(!window->close());
        QCOMPARE(boxes.texts().size(), 3);  // the import's summary, then the question again

        boxes.fileNames.push_back(QString::fromStdString(folder.file("zapis.txt")));
        window->findChild<QAction*>("actZapiszCzasy")->trigger();
        answers << timeFile;
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QVERIFY(window->close());
        QCOMPARE(boxes.texts().size(), 4);  // the second import's summary only
    }

    // "Usuń wszystkie punkty..." asks first: "Nie" and Esc keep the table; "Tak"
    // empties it, a record being typed included; an import then adds to the empty table.
    void removeAllPointsAsksFirst() {
        ModalAnswerer boxes;
        auto* removeAll = window->findChild<QAction*>("actUsunWszystkie");
        QVERIFY(grid->actions().contains(removeAll));
        QCOMPARE(removeAll->text(), "Usuń wszystkie punkty...");
        addPoint("A", "10:00:00", "10:05:00");
        addPoint("B", "11:00:00", "11:05:00");
        removeAll->trigger();  // answered by Esc
        boxes.clicks = {"Nie"};
        removeAll->trigger();
        QCOMPARE(boxes.texts(), QStringList(2, "Usunąć wszystkie punkty z tabeli?"));
        QCOMPARE(boxes.seen[0].buttons, QStringList({"Tak", "Nie"}));
        QCOMPARE(rows().size(), 2);
        window->activateWindow();  // the offscreen platform gives the activation back to none
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        startInsertInGrid();
        type("7");
        boxes.clicks = {"Tak"};
        removeAll->trigger();
        QCOMPARE(rows(), QStringList());
        QCOMPARE(table->state(), TableState::Browsing);
        TempFolder folder;
        answers << QString::fromStdString(folder.write("czasy.txt", "101 10:15:05 10:15:10\n"));
        QTest::mouseClick(button("btnPlikCzas"), Qt::LeftButton);
        QCOMPARE(rows(), QStringList({"101 10:15:05 10:15:10"}));
    }

    // The lines of the read-only text boxes stand 13 pixels apart, wrapped ones and added report
    // lines (one or many at a time) included; Label4 fits its whole text into its width by
    // narrowing it just enough.
    void memoLinesAndLabel4Fit() {
        auto* report = window->findChild<Memo*>("memRaport");
        report->appendPlainText(QString(80, 'x') + " " + QString(80, 'y'));
        report->appendPlainLines(QStringList(1200, "r"));  // more than one part at a time
        QCOMPARE(report->document()->blockCount(), 1 + 1 + 1200);
        for (const char* name : {"Memo1", "Memo2", "memRaport"}) {
            const QTextDocument* document = window->findChild<Memo*>(name)->document();
            QList<qreal> tops;
            for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
                for (int line = 0; line < block.layout()->lineCount(); ++line)
                    tops << document->documentLayout()->blockBoundingRect(block).top() +
                                block.layout()->lineAt(line).y();
            QVERIFY(tops.size() > 2);
            for (qsizetype i = 1; i < tops.size(); ++i) QCOMPARE(tops[i] - tops[i - 1], 13.0);
        }
        const QLabel* label4 = label("Label4");
        const qreal width = QFontMetricsF(label4->font()).horizontalAdvance(label4->text());
        QVERIFY2(width <= 641 && width > 641 - 3, qPrintable(QString::number(width)));
        QCOMPARE(label4->font().pixelSize(), 11);
    }

  private:
    QLabel* label(const char* name) const { return window->findChild<QLabel*>(name); }
    QPushButton* button(const char* name) const { return window->findChild<QPushButton*>(name); }
    QTextEdit* memo(const char* name) const { return window->findChild<QTextEdit*>(name); }
    QString field(const char* name) const { return window->findChild<QLineEdit*>(name)->text(); }
    QColor gridColour() const { return grid->palette().color(QPalette::Base); }

    // The cursor the window's grid and navigator share.
    marvolt::TableCursor& cursor() const {
        return window->findChild<marvolt::TimeTableModel*>("dtsCzas")->cursor();
    }
    void addPoint(const char* name, const char* stop, const char* go = "") {
        cursor().append();
        table->setText(Field::Punkt, name);
        table->setText(Field::Stop, stop);
        table->setText(Field::Go, go);
        table->post();
    }
    // Focus in the grid, then Insert: a new record at the current row.
    void startInsertInGrid() {
        grid->setFocus();
        if (grid->model()->rowCount() > 0) grid->setCurrentIndex(grid->model()->index(0, kPunkt));
        press(Qt::Key_Insert);
    }
    // Queues for the file dialogs a time file of two points and the survey's RINEX file,
    // both written in `folder`; returns the RINEX file's path.
    std::string answerTwoPointSurvey(const TempFolder& folder) {
        const std::string rinex = folder.write("pomiar.12o", surveyFile());
        answers << QString::fromStdString(
                       folder.write("czasy.txt", "101 10:15:05 10:15:10\n102 10:20:00 10:20:30\n"))
                << QString::fromStdString(rinex);
        return rinex;
    }
    // The grid's rows as "PUNKT STOP GO".
    QStringList rows() const { return rowsOf(*grid); }
    static QStringList rowsOf(const TimeGrid& grid) {
        QStringList result;
        const QAbstractItemModel* model = grid.model();
        for (int row = 0; row < model->rowCount(); ++row)
            result << QStringList({model->index(row, kPunkt).data().toString(),
                                   model->index(row, kStop).data().toString(),
                                   model->index(row, kGo).data().toString()})
                          .join(' ');
        return result;
    }

    std::unique_ptr<TimeTable> table;
    std::unique_ptr<TfrmDurov> window;
    TimeGrid* grid = nullptr;
    QStringList answers;
    QStringList filtersShown;
};

QTEST_MAIN(DurovTest)
#include "durov_test.moc"

#include "gui/archive/archive_window.h"

#include "core/byte_file.h"
#include "core/column_csv.h"

#include "core/program_folder.h"
#include "gui/archive/archive_model.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace quintor {

namespace {

const QString windowCaption = QStringLiteral("Gestione colonne vincenti");
const QString errorTitle = QStringLiteral("Errore");
const QString importTitle = QStringLiteral("Importa CSV");
const QString updateTitle = QStringLiteral("File di aggiornamento");
const char* const unreadArchiveMessage =
    "Il file vincenti.dat non è stato letto.\rPer non perderlo, le modifiche non vengono salvate.";

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The window's background tile: a pale stone block with a darker joint on its right and
// bottom edges, so that tiling it gives a brick wall.
QPixmap backgroundTile() {
    QPixmap tile(68, 21);
    tile.fill(QColor(222, 216, 200));
    QPainter painter(&tile);
    painter.setPen(QColor(236, 232, 220));
    painter.drawLine(0, 0, 66, 0);
    painter.drawLine(0, 0, 0, 19);
    painter.setPen(QColor(180, 172, 152));
    painter.drawLine(67, 0, 67, 20);
    painter.drawLine(0, 20, 67, 20);
    return tile;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    // Enter in the entry box confirms the entry; it must not press whatever button is first.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& label, const QString& hint,
                    int top, int width) {
    auto* caption = new QLabel(label, parent);
    caption->setGeometry(10, top, 149, 16);
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(10, top + 16, width, 22);
    edit->setAccessibleName(label);
    caption->setBuddy(edit);
    setHint(edit, hint);
    return edit;
}

} // namespace

ArchiveWindow::ArchiveWindow(const std::filesystem::path& folder, ArchiveService& archives,
                             RandomGenerator& random, QWidget* parent)
    : QDialog(parent), folder_(folder), archives_(archives), archive_(archives.archive()),
      random_(random), background_(backgroundTile()) {
    setObjectName(QStringLiteral("Gestra"));
    setWindowTitle(windowCaption);
    setModal(true);
    setFixedSize(497, 418);
    useFixedDialogFrame(this);
    buildControls();
    FormCreate();
}

ArchiveWindow::~ArchiveWindow() = default;

void ArchiveWindow::completeLoading() {
    if (arrival_)
        finishLoading(false);
}

std::filesystem::path ArchiveWindow::archiveFile() const {
    return findFileNoCase(folder_, archiveFileName);
}

void ArchiveWindow::buildControls() {
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(0, 0, 497, 21);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAutoFillBackground(true);
    QPalette topPalette = Label1->palette();
    topPalette.setColor(QPalette::Window, Qt::black);
    topPalette.setColor(QPalette::WindowText, Qt::white);
    Label1->setPalette(topPalette);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 26, 300, 18);
    QPalette greenPalette = Label2->palette();
    greenPalette.setColor(QPalette::WindowText, QColor(0, 128, 0));
    Label2->setPalette(greenPalette);
    Label2->setFont(bold);

    model_ = new ArchiveModel(archive_, this);
    cov = new QTableView(this);
    cov->setObjectName(QStringLiteral("cov"));
    cov->setAccessibleName(QStringLiteral("Colonne vincenti"));
    cov->setGeometry(8, 48, 300, 332);
    cov->setModel(model_);
    cov->setSelectionBehavior(QAbstractItemView::SelectRows);
    cov->setSelectionMode(QAbstractItemView::ContiguousSelection);
    cov->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cov->setWordWrap(false);
    cov->setCornerButtonEnabled(false);
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    cov->setFont(courier);
    cov->horizontalHeader()->setFont(courier);
    cov->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    cov->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    cov->horizontalHeader()->setHighlightSections(false);
    cov->setColumnWidth(0, 89);
    cov->setColumnWidth(1, 143);
    cov->setColumnWidth(2, 43);
    cov->verticalHeader()->hide();
    cov->verticalHeader()->setMinimumSectionSize(1);
    cov->verticalHeader()->setDefaultSectionSize(17);
    cov->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    auto* nuova = makeButton(this, "Nuova", QStringLiteral("Nuova"), {320, 48, 80, 25});
    auto* modifica =
        makeButton(this, "SpeedButton2", QStringLiteral("Modifica"), {409, 48, 80, 25});
    auto* elimina = makeButton(this, "SpeedButton3", QStringLiteral("Elimina"), {320, 78, 80, 25});
    auto* importa =
        makeButton(this, "ImportaCsv", QStringLiteral("Importa CSV"), {409, 78, 80, 25});
    auto* chiudi = makeButton(this, "SpeedButton5", QStringLiteral("Chiudi"), {320, 108, 80, 25});
    auto* spiegazioni = makeButton(this, "SpeedButton9", QStringLiteral("?"), {409, 108, 80, 25});
    setHint(spiegazioni, QStringLiteral("Spiegazioni"));
    spiegazioni->setAccessibleName(QStringLiteral("Spiegazioni"));
    spiegazioni->setEnabled(helpAvailable());
    auto* esporta =
        makeButton(this, "EsportaCsv", QStringLiteral("Esporta CSV"), {320, 386, 169, 25});
    setHint(esporta, QStringLiteral("Esporta CSV|Scrive tutte le estrazioni in un file CSV che "
                                    "\"Importa CSV\" sa rileggere."));
    setHint(importa, QStringLiteral("Importa CSV|Aggiunge le estrazioni di un file CSV "
                                    "(data, sei numeri, jolly)."));

    gpb1 = new QGroupBox(QStringLiteral("Colonna vincente"), this);
    gpb1->setObjectName(QStringLiteral("gpb1"));
    gpb1->setGeometry(320, 140, 169, 240);
    gpb1->setAutoFillBackground(true);
    Edit1 = makeEdit(gpb1, "Edit1", QStringLiteral("Data:"), QStringLiteral("Formato: gg/mm/aaaa"),
                     24, 149);
    Edit2 = makeEdit(gpb1, "Edit2", QStringLiteral("Colonna:"),
                     QStringLiteral("Inserire i sei numeri separati da uno spazio"), 68, 149);
    Edit3 = makeEdit(gpb1, "Edit3", QStringLiteral("Jolly:"),
                     QStringLiteral("Inserire il numero Jolly"), 112, 50);
    auto* ok = makeButton(gpb1, "SpeedButton6", QStringLiteral("OK"), {10, 200, 70, 26});
    setHint(ok, QStringLiteral("Rende permanenti le modifiche"));
    auto* annulla = makeButton(gpb1, "spb8", QStringLiteral("Annulla"), {89, 200, 70, 26});
    setHint(annulla, QStringLiteral("Annulla le modifiche"));

    connect(nuova, &QPushButton::clicked, this, &ArchiveWindow::NuovaClick);
    connect(modifica, &QPushButton::clicked, this, &ArchiveWindow::SpeedButton2Click);
    connect(elimina, &QPushButton::clicked, this, &ArchiveWindow::SpeedButton3Click);
    connect(importa, &QPushButton::clicked, this, &ArchiveWindow::ImportaCsvClick);
    connect(esporta, &QPushButton::clicked, this, &ArchiveWindow::EsportaCsvClick);
    connect(chiudi, &QPushButton::clicked, this, &ArchiveWindow::SpeedButton5Click);
    connect(spiegazioni, &QPushButton::clicked, this, &ArchiveWindow::SpeedButton9Click);
    connect(ok, &QPushButton::clicked, this, &ArchiveWindow::SpeedButton4Click);
    connect(annulla, &QPushButton::clicked, this, &ArchiveWindow::spb8Click);
    for (QLineEdit* edit : {Edit1, Edit2, Edit3})
        connect(edit, &QLineEdit::returnPressed, this, &ArchiveWindow::SpeedButton4Click);
}

void ArchiveWindow::FormCreate() {
    hideEntry();
    // With no update file to offer first, a long archive still being read does not hold up
    // the main frame: it is taken when read, or as soon as a command needs the archive or this
    // window (completeLoading).
    const auto file = archiveFile();
    if (!findUpdateFile(folder_) && archives_.reading(file)) {
        arrival_ = new QTimer(this);
        arrival_->setInterval(5);
        connect(arrival_, &QTimer::timeout, this, [this, file] {
            if (!archives_.reading(file))
                finishLoading(false);
        });
        arrival_->start();
        return;
    }
    finishLoading(true);
}

void ArchiveWindow::finishLoading(bool settle) {
    if (arrival_) {
        arrival_->stop();
        arrival_->deleteLater();
        arrival_ = nullptr;
    }
    {
        HourglassGuard hourglass;
        if (settle)
            QApplication::processEvents();
        auto loaded = archives_.take(archiveFile());
        readFailed_ = !loaded;
        archive_ = loaded ? std::move(loaded.value()) : Archive{};
        refreshGrid();
        if (readFailed_) {
            hourglass.release();
            showError(this, errorTitle, fromStd(loaded.error()));
        }
    }
    if (!readFailed_)
        mergeUpdateAtStart();
    refreshLabels();
    if (!archive_.empty())
        selectRecord(archive_.size() - 1);
}

void ArchiveWindow::mergeUpdateAtStart() {
    if (!findUpdateFile(folder_))
        return;
    const auto answer = askQuestion(
        this, updateTitle,
        QStringLiteral("E' stato trovato il file per l'aggiornamento automatico delle colonne "
                       "vincenti.\rSi vuole aggiornare l'elenco ?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    HourglassGuard hourglass;
    auto outcome = mergeUpdateFile(archive_, folder_, random_);
    refreshGrid();
    hourglass.release();
    if (!outcome) {
        showError(this, errorTitle, fromStd(outcome.error()));
        return;
    }
    if (outcome->counts.rejected == 1)
        showInformation(this, updateTitle,
                        QStringLiteral("1 colonna del file di aggiornamento non è valida (data o "
                                       "numeri errati) e non è stata aggiunta."));
    else if (outcome->counts.rejected > 1)
        showInformation(this, updateTitle,
                        QStringLiteral("%1 colonne del file di aggiornamento non sono valide "
                                       "(data o numeri errati) e non sono state aggiunte.")
                            .arg(outcome->counts.rejected));
    if (outcome->renamedTo.empty())
        showError(this, errorTitle,
                  QStringLiteral("Impossibile rinominare il file aggiorna.dat.\rLe colonne "
                                 "vincenti sono state aggiornate e salvate."));
}

void ArchiveWindow::refreshLabels() {
    Label2->setText(QStringLiteral("Colonne vincenti: %1").arg(archive_.size()));
    QString last = QStringLiteral("Ultimo aggiornamento: ");
    if (archive_.empty()) {
        last += QStringLiteral("nessuna colonna vincente");
    } else {
        const ArchiveRecord& newest = archive_[archive_.size() - 1];
        if (newest.day)
            last += fromStd(weekdayName(std::chrono::year_month_day{*newest.day})) + ' ';
        last += fromStd(newest.date);
    }
    Label1->setText(last);
    if (isSimulatedArchive(archive_)) {
        setWindowTitle(windowCaption + QStringLiteral(" (estrazioni simulate)"));
        setHint(Label1, QStringLiteral("Estrazioni simulate|Le colonne vincenti sono simulate: "
                                       "sostituirle con quelle reali con Importa CSV."));
    } else {
        setWindowTitle(windowCaption);
        setHint(Label1, QString());
    }
}

void ArchiveWindow::refreshGrid() {
    model_->reload();
}

void ArchiveWindow::selectRecord(std::size_t index) {
    if (index >= archive_.size())
        return;
    const QModelIndex cell = model_->index(static_cast<int>(index), 0);
    cov->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
    cov->scrollTo(cell);
}

int ArchiveWindow::entryMode() const {
    return !gpb1->isHidden() ? gpb1->property("Tag").toInt() : 0;
}

void ArchiveWindow::showEntry(EntryMode mode) {
    gpb1->setProperty("Tag", static_cast<int>(mode));
    gpb1->show();
    Edit1->setFocus();
}

void ArchiveWindow::hideEntry() {
    gpb1->hide();
    gpb1->setProperty("Tag", static_cast<int>(noEntry));
}

bool ArchiveWindow::ce_gia(const QString& dateText) const {
    return archive_.hasDate(dateText.toStdString());
}

bool ArchiveWindow::inserisci(ArchiveRecord record) {
    auto at = archive_.insert(std::move(record));
    if (!at) {
        showError(this, errorTitle, fromStd(at.error()));
        return false;
    }
    return true;
}

bool ArchiveWindow::permanenti() {
    if (readFailed_) {
        showError(this, errorTitle, QString::fromUtf8(unreadArchiveMessage));
        return false;
    }
    HourglassGuard hourglass;
    auto saved = archive_.save(archiveFile());
    hourglass.release();
    if (!saved) {
        showError(this, errorTitle, fromStd(saved.error()));
        return false;
    }
    if (archive_.mergedOnLastSave()) {
        refreshGrid();
        refreshLabels();
        showInformation(this, windowCaption,
                        QStringLiteral("Un altro programma aveva modificato l'archivio: le sue "
                                       "colonne vincenti sono state unite a queste e salvate."));
    }
    return true;
}

bool ArchiveWindow::commitOrRestore(Archive before) {
    if (permanenti())
        return true;
    archive_ = std::move(before);
    refreshGrid();
    refreshLabels();
    return false;
}

void ArchiveWindow::NuovaClick() {
    if (!gpb1->isHidden()) {
        beep();
        return;
    }
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    showEntry(newEntry);
}

void ArchiveWindow::SpeedButton2Click() {
    if (!gpb1->isHidden()) {
        beep();
        return;
    }
    const auto rows = cov->selectionModel()->selectedRows();
    int top = cov->currentIndex().isValid() ? cov->currentIndex().row() : -1;
    if (!rows.isEmpty())
        top = std::min_element(rows.begin(), rows.end(), [](auto& a, auto& b) {
                  return a.row() < b.row();
              })->row();
    // Nothing to modify in an empty archive.
    if (top < 0 || static_cast<std::size_t>(top) >= archive_.size()) {
        beep();
        return;
    }
    editedRecord_ = static_cast<std::size_t>(top);
    const ArchiveRecord& record = archive_[editedRecord_];
    QString column = fromStd(record.column);
    if (column.startsWith(' '))
        column.remove(0, 1);
    QString jolly = fromStd(record.jolly);
    for (int i = 0; i < 2 && jolly.startsWith(' '); ++i)
        jolly.remove(0, 1);
    Edit1->setText(fromStd(record.date));
    Edit2->setText(column);
    Edit3->setText(jolly);
    showEntry(modifyEntry);
}

void ArchiveWindow::SpeedButton4Click() {
    const int mode = entryMode();
    if (mode == noEntry)
        return;
    auto record = recordFromEntry(Edit1->text().toStdString(), Edit2->text().toStdString(),
                                  Edit3->text().toStdString());
    if (!record) {
        showError(this, errorTitle, fromStd(record.error()));
        return;
    }
    Archive before = archive_;
    if (mode == newEntry) {
        std::size_t at = archive_.size();
        if (!archive_.hasDate(record->date)) {
            auto inserted = archive_.insert(*record);
            if (!inserted) {
                showError(this, errorTitle, fromStd(inserted.error()));
                return;
            }
            at = *inserted;
        }
        refreshGrid();
        refreshLabels();
        if (!commitOrRestore(std::move(before)))
            return;
        if (at < archive_.size())
            selectRecord(at);
    } else {
        if (editedRecord_ >= archive_.size()) {
            hideEntry();
            return;
        }
        archive_.replace(editedRecord_, *record);
        refreshGrid();
        if (!commitOrRestore(std::move(before)))
            return;
        selectRecord(editedRecord_);
    }
    hideEntry();
}

void ArchiveWindow::spb8Click() {
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    hideEntry();
}

void ArchiveWindow::SpeedButton3Click() {
    spb8Click();
    const auto rows = cov->selectionModel()->selectedRows();
    if (archive_.empty() || rows.isEmpty()) {
        beep();
        refreshLabels();
        return;
    }
    const auto [low, high] = std::minmax_element(
        rows.begin(), rows.end(), [](auto& a, auto& b) { return a.row() < b.row(); });
    const auto top = static_cast<std::size_t>(low->row());
    const auto bottom = static_cast<std::size_t>(high->row());
    const auto answer =
        askQuestion(this, QStringLiteral("Conferma"),
                    QStringLiteral("Sei sicuro di voler eliminare le colonne evidenziate ?"),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    Archive before = archive_;
    HourglassGuard hourglass;
    auto removed = archive_.remove(top, bottom);
    if (!removed) {
        hourglass.release();
        showError(this, QStringLiteral("errore"), fromStd(removed.error()));
        return;
    }
    refreshGrid();
    hourglass.release();
    if (commitOrRestore(std::move(before)))
        selectRecord(std::min(top, archive_.size() - 1));
    refreshLabels();
}

void ArchiveWindow::SpeedButton5Click() {
    spb8Click();
    QDialog::reject();
}

void ArchiveWindow::reject() {
    SpeedButton5Click();
}

void ArchiveWindow::SpeedButton9Click() {
    showHelpTopic(HelpTopic::Archive);
}

void ArchiveWindow::EsportaCsvClick() {
    const QString path = Prompter::current().saveFileName(
        this,
        {QStringLiteral("Esporta CSV"), QStringLiteral("File CSV (*.csv)|*.csv"),
         QStringLiteral("csv"), QString::fromStdString((folder_ / "estrazioni.csv").string())});
    if (path.isEmpty() || !confirmOverwrite(this, path))
        return;
    const std::string text = drawsCsv(archive_.records());
    if (!replaceFileContents(
            path.toStdString(),
            std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())))
        showError(this, errorTitle, QString::fromUtf8(exportFailedMessage));
}

void ArchiveWindow::ImportaCsvClick() {
    const QString path = Prompter::current().openFileName(
        this, {importTitle, QStringLiteral("File CSV (*.csv)|*.csv|Tutti i file (*.*)|*.*"),
               QStringLiteral("csv"), QString::fromStdString(folder_.string())});
    if (path.isEmpty())
        return;
    HourglassGuard hourglass;
    auto draws = readDrawFile(path.toStdString());
    if (!draws) {
        hourglass.release();
        showError(this, errorTitle, fromStd(draws.error()));
        return;
    }
    bool replace = false;
    if (isSimulatedArchive(archive_)) {
        hourglass.release();
        replace =
            askQuestion(this, importTitle,
                        QStringLiteral("L'archivio contiene estrazioni simulate.\rSi "
                                       "vogliono sostituire con le estrazioni del file ?"),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    }
    Archive before = archive_;
    if (replace)
        archive_.clear();
    MergeCounts counts = archive_.merge(draws->draws);
    counts.rejected += draws->rejected;
    // A file without a single good draw does not replace anything.
    if (replace && archive_.empty())
        archive_ = before;
    refreshGrid();
    refreshLabels();
    hourglass.release();
    if (!commitOrRestore(std::move(before)))
        return;
    if (!archive_.empty())
        selectRecord(archive_.size() - 1);
    QString report = QStringLiteral("Estrazioni aggiunte: %1\rGià presenti: %2\rScartate: %3")
                         .arg(counts.added)
                         .arg(counts.present)
                         .arg(counts.rejected);
    // The first lines refused, so the user can mend the file.
    constexpr std::size_t shownLines = 8;
    const auto& refused = draws->rejectedLines;
    if (!refused.empty())
        report += QStringLiteral("\r\rRighe scartate:");
    for (std::size_t k = 0; k < std::min(refused.size(), shownLines); ++k)
        report +=
            QStringLiteral("\rriga %1: %2").arg(refused[k].line).arg(fromStd(refused[k].reason));
    if (refused.size() > shownLines)
        report += QStringLiteral("\re altre %1").arg(refused.size() - shownLines);
    showInformation(this, importTitle, report);
}

void ArchiveWindow::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    for (int y = 0; y < height(); y += background_.height())
        for (int x = 0; x < width(); x += background_.width())
            painter.drawPixmap(x, y, background_);
}

} // namespace quintor

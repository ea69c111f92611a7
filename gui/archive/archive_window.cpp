#include "gui/archive/archive_window.h"

#include "core/byte_file.h"
#include "core/column_csv.h"

#include "core/program_folder.h"
#include "gui/archive/archive_model.h"
#include "gui/common/feedback.h"
#include "gui/common/help_link.h"
#include "gui/common/prompter.h"
#include "gui/common/window_help.h"

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

// A bold label; its text colour is given.
QLabel* makeBoldLabel(QWidget* parent, const char* name, QRect geometry, const QColor& text) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    label->setPalette(palette);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QLineEdit* makeField(QWidget* parent, const char* name, const QString& label, const QString& hint,
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
    setObjectName(QStringLiteral("archiveWindow"));
    setWindowTitle(windowCaption);
    setModal(true);
    setFixedSize(497, 418);
    useFixedDialogFrame(this);
    buildControls();
    startLoading();
}

ArchiveWindow::~ArchiveWindow() = default;

void ArchiveWindow::completeLoading() {
    if (arrival_)
        finishLoading(false);
}

std::filesystem::path ArchiveWindow::archiveFile() const {
    return findFileNoCase(folder_, archiveFileName);
}

// The controls are made in the order Tab follows.
void ArchiveWindow::buildControls() {
    buildHeadings();
    buildGrid();
    buildButtons();
    buildEntryBox();
}

void ArchiveWindow::buildHeadings() {
    lastUpdateLabel_ = makeBoldLabel(this, "lastUpdateLabel", {0, 0, 497, 21}, Qt::white);
    lastUpdateLabel_->setAlignment(Qt::AlignCenter);
    lastUpdateLabel_->setAutoFillBackground(true);
    QPalette black = lastUpdateLabel_->palette();
    black.setColor(QPalette::Window, Qt::black);
    lastUpdateLabel_->setPalette(black);
    drawCountLabel_ = makeBoldLabel(this, "drawCountLabel", {8, 26, 300, 18}, QColor(0, 128, 0));
}

void ArchiveWindow::buildGrid() {
    model_ = new ArchiveModel(archive_, this);
    drawsGrid_ = new QTableView(this);
    drawsGrid_->setObjectName(QStringLiteral("drawsGrid"));
    drawsGrid_->setAccessibleName(QStringLiteral("Colonne vincenti"));
    drawsGrid_->setGeometry(8, 48, 300, 332);
    drawsGrid_->setModel(model_);
    drawsGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    drawsGrid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    drawsGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    drawsGrid_->setWordWrap(false);
    drawsGrid_->setCornerButtonEnabled(false);
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    drawsGrid_->setFont(courier);
    QHeaderView* titles = drawsGrid_->horizontalHeader();
    titles->setFont(courier);
    titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    titles->setSectionResizeMode(QHeaderView::Fixed);
    titles->setHighlightSections(false);
    drawsGrid_->setColumnWidth(0, 89);
    drawsGrid_->setColumnWidth(1, 143);
    drawsGrid_->setColumnWidth(2, 43);
    QHeaderView* rows = drawsGrid_->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(17);
    rows->setSectionResizeMode(QHeaderView::Fixed);
}

QPushButton* ArchiveWindow::addButton(QWidget* parent, const char* name, const QString& text,
                                      QRect geometry, void (ArchiveWindow::*onClicked)()) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    // Enter in the entry box confirms the entry; it must not press whatever button is first.
    button->setAutoDefault(false);
    button->setDefault(false);
    connect(button, &QPushButton::clicked, this, onClicked);
    return button;
}

void ArchiveWindow::buildButtons() {
    addButton(this, "newButton", QStringLiteral("Nuova"), {318, 48, 86, 25},
              &ArchiveWindow::onNewClicked);
    addButton(this, "modifyButton", QStringLiteral("Modifica"), {406, 48, 86, 25},
              &ArchiveWindow::onModifyClicked);
    addButton(this, "deleteButton", QStringLiteral("Elimina"), {318, 78, 86, 25},
              &ArchiveWindow::onDeleteClicked);
    setHint(addButton(this, "importCsvButton", QStringLiteral("Importa CSV"), {406, 78, 86, 25},
                      &ArchiveWindow::onImportCsvClicked),
            QStringLiteral("Importa CSV|Aggiunge le estrazioni di un file CSV "
                           "(data, sei numeri, jolly)."));
    addButton(this, "closeButton", QStringLiteral("Chiudi"), {318, 108, 86, 25},
              &ArchiveWindow::onCloseClicked);
    QPushButton* help = addButton(this, "helpButton", QStringLiteral("?"), {406, 108, 86, 25},
                                  &ArchiveWindow::onHelpClicked);
    attachHelpTopic(this, HelpTopic::Archive);
    setHint(help, QStringLiteral("Spiegazioni"));
    help->setAccessibleName(QStringLiteral("Spiegazioni"));
    help->setEnabled(helpAvailable());
    setHint(addButton(this, "exportCsvButton", QStringLiteral("Esporta CSV"), {318, 386, 174, 25},
                      &ArchiveWindow::onExportCsvClicked),
            QStringLiteral("Esporta CSV|Scrive tutte le estrazioni in un file CSV che "
                           "\"Importa CSV\" sa rileggere."));
}

void ArchiveWindow::buildEntryBox() {
    entryBox_ = new QGroupBox(QStringLiteral("Colonna vincente"), this);
    entryBox_->setObjectName(QStringLiteral("entryBox"));
    entryBox_->setGeometry(318, 140, 174, 240);
    entryBox_->setAutoFillBackground(true);
    dateField_ = makeField(entryBox_, "dateField", QStringLiteral("Data:"),
                           QStringLiteral("Formato: gg/mm/aaaa"), 24, 149);
    columnField_ =
        makeField(entryBox_, "columnField", QStringLiteral("Colonna:"),
                  QStringLiteral("Inserire i sei numeri separati da uno spazio"), 68, 149);
    jollyField_ = makeField(entryBox_, "jollyField", QStringLiteral("Jolly:"),
                            QStringLiteral("Inserire il numero Jolly"), 112, 50);
    setHint(addButton(entryBox_, "entryOkButton", QStringLiteral("OK"), {10, 200, 70, 26},
                      &ArchiveWindow::onEntryOkClicked),
            QStringLiteral("Rende permanenti le modifiche"));
    setHint(addButton(entryBox_, "entryCancelButton", QStringLiteral("Annulla"), {89, 200, 70, 26},
                      &ArchiveWindow::onEntryCancelClicked),
            QStringLiteral("Annulla le modifiche"));
    for (QLineEdit* field : {dateField_, columnField_, jollyField_})
        connect(field, &QLineEdit::returnPressed, this, &ArchiveWindow::onEntryOkClicked);
}

void ArchiveWindow::startLoading() {
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
    if (outcome->takenByAnotherProgram && outcome->renamedTo.empty()) {
        // Another copy of the program merged the file first: its draws are in the file now.
        if (auto fresh = Archive::read(archiveFile())) {
            archive_ = std::move(fresh.value());
            refreshGrid();
        }
        return;
    }
    if (outcome->simulatedReplaced > 0)
        showInformation(this, updateTitle,
                        QStringLiteral("Le %1 estrazioni simulate sono state sostituite con le "
                                       "estrazioni reali del file di aggiornamento.")
                            .arg(outcome->simulatedReplaced));
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
    drawCountLabel_->setText(QStringLiteral("Colonne vincenti: %1").arg(archive_.size()));
    QString last = QStringLiteral("Ultimo aggiornamento: ");
    if (archive_.empty()) {
        last += QStringLiteral("nessuna colonna vincente");
    } else {
        const ArchiveRecord& newest = archive_[archive_.size() - 1];
        if (newest.day)
            last += fromStd(weekdayName(std::chrono::year_month_day{*newest.day})) + ' ';
        last += fromStd(newest.date);
    }
    lastUpdateLabel_->setText(last);
    if (isSimulatedArchive(archive_)) {
        setWindowTitle(windowCaption + QStringLiteral(" (estrazioni simulate)"));
        setHint(lastUpdateLabel_,
                QStringLiteral("Estrazioni simulate|Le colonne vincenti sono simulate: "
                               "sostituirle con quelle reali con Importa CSV."));
    } else {
        setWindowTitle(windowCaption);
        setHint(lastUpdateLabel_, QString());
    }
    emit archiveChanged();
}

void ArchiveWindow::refreshGrid() {
    model_->reload();
}

void ArchiveWindow::selectRecord(std::size_t index) {
    if (index >= archive_.size())
        return;
    const QModelIndex cell = model_->index(static_cast<int>(index), 0);
    drawsGrid_->selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    drawsGrid_->scrollTo(cell);
}

void ArchiveWindow::showEntry(EntryMode mode) {
    entryMode_ = mode;
    entryBox_->show();
    dateField_->setFocus();
}

void ArchiveWindow::hideEntry() {
    entryBox_->hide();
    entryMode_ = noEntry;
}

bool ArchiveWindow::saveArchive() {
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
    if (saveArchive())
        return true;
    archive_ = std::move(before);
    refreshGrid();
    refreshLabels();
    return false;
}

void ArchiveWindow::onNewClicked() {
    if (!entryBox_->isHidden()) {
        beep();
        return;
    }
    dateField_->clear();
    columnField_->clear();
    jollyField_->clear();
    showEntry(newEntry);
}

void ArchiveWindow::onModifyClicked() {
    if (!entryBox_->isHidden()) {
        beep();
        return;
    }
    const auto rows = drawsGrid_->selectionModel()->selectedRows();
    int top = drawsGrid_->currentIndex().isValid() ? drawsGrid_->currentIndex().row() : -1;
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
    dateField_->setText(fromStd(record.date));
    columnField_->setText(column);
    jollyField_->setText(jolly);
    showEntry(modifyEntry);
}

void ArchiveWindow::onEntryOkClicked() {
    const EntryMode mode = entryMode_;
    if (mode == noEntry)
        return;
    auto record =
        recordFromEntry(dateField_->text().toStdString(), columnField_->text().toStdString(),
                        jollyField_->text().toStdString());
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

void ArchiveWindow::onEntryCancelClicked() {
    dateField_->clear();
    columnField_->clear();
    jollyField_->clear();
    hideEntry();
}

void ArchiveWindow::onDeleteClicked() {
    onEntryCancelClicked();
    const auto rows = drawsGrid_->selectionModel()->selectedRows();
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

void ArchiveWindow::onCloseClicked() {
    onEntryCancelClicked();
    QDialog::reject();
}

void ArchiveWindow::reject() {
    onCloseClicked();
}

void ArchiveWindow::onHelpClicked() {
    showHelpTopic(HelpTopic::Archive);
}

void ArchiveWindow::onExportCsvClicked() {
    QString path = Prompter::current().saveFileName(
        this,
        {QStringLiteral("Esporta CSV"), QStringLiteral("File CSV (*.csv)|*.csv"),
         QStringLiteral("csv"), QString::fromStdString((folder_ / "estrazioni.csv").string())});
    if (path.isEmpty() || !confirmOverwrite(this, path))
        return;
    if (!exportDrawsCsv(path.toStdString(), archive_.records()))
        showError(this, errorTitle, QString::fromUtf8(exportFailedMessage));
}

void ArchiveWindow::onImportCsvClicked() {
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
    MergeCounts counts = replace ? mergeReplacingSimulated(archive_, draws->draws).counts
                                 : archive_.merge(draws->draws);
    counts.rejected += draws->rejected;
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

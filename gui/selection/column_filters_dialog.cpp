#include "gui/selection/column_filters_dialog.h"

#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/common/worker_run.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

namespace quintor {

namespace {

const QString errorTitle = QStringLiteral("Errore !");

QString joinedNumbers(const std::vector<int>& numbers) {
    QStringList texts;
    for (int n : numbers)
        texts << QString::number(n);
    return texts.join(QLatin1Char(' '));
}

} // namespace

ColumnFiltersDialog::ColumnFiltersDialog(const ColumnFilters& filters,
                                         std::shared_ptr<const std::vector<Column>> draws,
                                         Counter counter, std::uint64_t total, const QString& what,
                                         QWidget* parent)
    : QDialog(parent), draws_(std::move(draws)), counter_(std::move(counter)), total_(total),
      what_(what), accepted_(filters) {
    setObjectName(QStringLiteral("ColumnFiltersDialog"));
    setWindowTitle(QStringLiteral("Filtri delle colonne"));
    useFixedDialogFrame(this);

    // One row a filter, in the order Tab follows.
    auto* grid = new QGridLayout;
    addRangeRow(
        grid, QStringLiteral("&Somma dei sei numeri"), QStringLiteral("sum"), sumFrom_, sumTo_,
        QStringLiteral("Somma|La somma dei sei numeri, da 21 a 525. Vuoto: nessun filtro."));
    addRangeRow(grid, QStringLiteral("Numeri &dispari"), QStringLiteral("odd"), oddFrom_, oddTo_,
                QStringLiteral("Dispari|Quanti numeri dispari, da 0 a 6."));
    addRangeRow(grid, QStringLiteral("Numeri &bassi (da 1 a 45)"), QStringLiteral("low"), lowFrom_,
                lowTo_, QStringLiteral("Bassi|Quanti numeri da 1 a 45, da 0 a 6."));
    addLimitRow(grid, QStringLiteral("Al massimo numeri della stessa d&ecina"),
                QStringLiteral("decadeLimit"), decadeLimit_, 40,
                QStringLiteral("Decina|Decine: 1-10, 11-20, ..., 81-90."));
    addLimitRow(grid, QStringLiteral("Al massimo numeri c&onsecutivi"), QStringLiteral("runLimit"),
                runLimit_, 40,
                QStringLiteral("Consecutivi|1: nessuna coppia di numeri consecutivi."));
    addLimitRow(grid, QStringLiteral("Al massimo numeri con la stessa cifra &finale"),
                QStringLiteral("endingLimit"), endingLimit_, 40,
                QStringLiteral("Cifra finale|Per esempio 3, 13, 23 hanno la stessa cifra finale."));
    addLimitRow(grid, QStringLiteral("Almeno &uno di questi numeri"), QStringLiteral("withNumbers"),
                withNumbers_, 220,
                QStringLiteral("Numeri richiesti|Numeri da 1 a 90 separati da spazi o virgole."));
    addLimitRow(grid, QStringLiteral("&Nessuno di questi numeri"), QStringLiteral("withoutNumbers"),
                withoutNumbers_, 220,
                QStringLiteral("Numeri esclusi|Numeri da 1 a 90 separati da spazi o virgole."));
    addArchiveRow(grid);

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("countLabel"));
    countLabel_->setMinimumWidth(420);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setAccessibleName(QStringLiteral("Avanzamento del conteggio"));
    progressBar_->setRange(0, 1000);
    progressBar_->setTextVisible(false);
    progressBar_->setMaximumHeight(12);
    grid->addWidget(countLabel_, grid->rowCount(), 0, 1, 2);
    grid->addWidget(progressBar_, grid->rowCount(), 0, 1, 2);

    okButton_ = addButton(QStringLiteral("okButton"), QStringLiteral("OK"));
    okButton_->setDefault(true);
    clearButton_ = addButton(QStringLiteral("clearButton"), QStringLiteral("A&zzera"));
    setHint(clearButton_, QStringLiteral("Azzera|Svuota tutti i campi: nessun filtro."));
    cancelButton_ = addButton(QStringLiteral("cancelButton"), QStringLiteral("Annulla"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {okButton_, clearButton_, cancelButton_})
        buttons->addWidget(button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    restartTimer_ = new QTimer(this);
    restartTimer_->setSingleShot(true);
    restartTimer_->setInterval(250);
    connect(restartTimer_, &QTimer::timeout, this, &ColumnFiltersDialog::restartCount);
    run_ = new WorkerRun(this);
    run_->setGauge(progressBar_);
    // A count that fails says so in its own line, like a field that does not read.
    run_->setShowsFailures(false);
    connect(okButton_, &QPushButton::clicked, this, &ColumnFiltersDialog::onOkClicked);
    connect(clearButton_, &QPushButton::clicked, this, &ColumnFiltersDialog::onClearClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    showFilters(filters);
    restartCount();
}

void ColumnFiltersDialog::addRangeRow(QGridLayout* grid, const QString& caption,
                                      const QString& name, QLineEdit*& from, QLineEdit*& to,
                                      const QString& hint) {
    const QString what = QString(caption).remove(QLatin1Char('&'));
    from = addField(name + QStringLiteral("From"), what + QStringLiteral(", da"), 40, hint);
    to = addField(name + QStringLiteral("To"), what + QStringLiteral(", a"), 40, hint);
    addFormRow(
        grid, caption,
        {new QLabel(QStringLiteral("da"), this), from, new QLabel(QStringLiteral("a"), this), to});
}

void ColumnFiltersDialog::addLimitRow(QGridLayout* grid, const QString& caption,
                                      const QString& name, QLineEdit*& field, int width,
                                      const QString& hint) {
    field = addField(name, QString(caption).remove(QLatin1Char('&')), width, hint);
    addFormRow(grid, caption, {field});
}

void ColumnFiltersDialog::addArchiveRow(QGridLayout* grid) {
    archiveLimit_ = addField(
        QStringLiteral("archiveLimit"),
        QStringLiteral("Al massimo numeri in comune con un'estrazione"), 40,
        QStringLiteral("Archivio|Al massimo tanti numeri in comune con ciascuna estrazione "
                       "dell'archivio."));
    archiveDraws_ = addField(
        QStringLiteral("archiveDraws"), QStringLiteral("Estrazioni dell'archivio considerate"), 60,
        QStringLiteral("Ultime estrazioni|Quante estrazioni recenti; vuoto: tutte."));
    addFormRow(grid, QStringLiteral("Al massimo numeri in comune con un'estrazione dell'&archivio"),
               {archiveLimit_, new QLabel(QStringLiteral("nelle ultime"), this), archiveDraws_,
                new QLabel(QStringLiteral("estrazioni (vuoto: tutte)"), this)});
}

void ColumnFiltersDialog::addFormRow(QGridLayout* grid, const QString& caption,
                                     std::initializer_list<QWidget*> parts) {
    // An empty grid still counts one row.
    const int row = grid->count() == 0 ? 0 : grid->rowCount();
    auto* label = new QLabel(caption, this);
    auto* line = new QHBoxLayout;
    for (QWidget* part : parts) {
        if (!label->buddy() && qobject_cast<QLineEdit*>(part))
            label->setBuddy(part);
        line->addWidget(part);
    }
    line->addStretch();
    grid->addWidget(label, row, 0);
    grid->addLayout(line, row, 1);
}

QPushButton* ColumnFiltersDialog::addButton(const QString& name, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(name);
    return button;
}

QLineEdit* ColumnFiltersDialog::addField(const QString& name, const QString& accessibleName,
                                         int width, const QString& hint) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    field->setFixedWidth(width);
    setHint(field, hint);
    connect(field, &QLineEdit::textChanged, this, [this] {
        // Any change makes the count out of date: stop it now, start again once typing pauses.
        stopCount();
        passing_.reset();
        countLabel_->setText(QStringLiteral("Conteggio in corso..."));
        restartTimer_->start();
    });
    return field;
}

void ColumnFiltersDialog::showFilters(const ColumnFilters& f) {
    auto setRange = [](QLineEdit* from, QLineEdit* to, const std::optional<IntRange>& range) {
        from->setText(range ? QString::number(range->low) : QString());
        to->setText(range ? QString::number(range->high) : QString());
    };
    auto setLimit = [](QLineEdit* field, const std::optional<int>& limit) {
        field->setText(limit ? QString::number(*limit) : QString());
    };
    setRange(sumFrom_, sumTo_, f.sum);
    setRange(oddFrom_, oddTo_, f.odd);
    setRange(lowFrom_, lowTo_, f.low);
    setLimit(decadeLimit_, f.perDecade);
    setLimit(runLimit_, f.longestRun);
    setLimit(endingLimit_, f.sameEnding);
    // The dialog has one field a filter: several lists or limits of a file are shown merged
    // only as far as one field can say the same thing.
    withNumbers_->setText(f.with.empty() ? QString() : joinedNumbers(f.with.front()));
    withoutNumbers_->setText(joinedNumbers(f.without));
    archiveLimit_->setText(f.archive.empty() ? QString()
                                             : QString::number(f.archive.front().limit));
    archiveDraws_->setText(f.archive.empty() || f.archive.front().draws == 0
                               ? QString()
                               : QString::number(f.archive.front().draws));
}

ColumnFiltersDialog::Reading ColumnFiltersDialog::readFields() const {
    Reading reading;
    ColumnFilters filters;
    auto add = [&](const std::string& filterText, QLineEdit* field) {
        const auto added = addFilter(filters, filterText);
        if (!added) {
            reading.message = QString::fromStdString(added.error());
            reading.field = field;
        }
        return bool(added);
    };
    auto text = [](const QLineEdit* field) { return field->text().trimmed().toStdString(); };
    auto range = [&](const char* name, QLineEdit* from, QLineEdit* to) {
        const std::string a = text(from), b = text(to);
        if (a.empty() && b.empty())
            return true;
        if (a.empty() || b.empty()) {
            reading.message = QStringLiteral("Il filtro \"%1\" non è valido: scrivere entrambi gli "
                                             "estremi.\rCorreggere e riprovare.")
                                  .arg(QLatin1String(name));
            reading.field = a.empty() ? from : to;
            return false;
        }
        return add(std::string(name) + "=" + a + ".." + b, from);
    };
    auto limit = [&](const char* name, QLineEdit* field) {
        const std::string k = text(field);
        return k.empty() || add(std::string(name) + "<=" + k, field);
    };
    auto list = [&](const char* name, QLineEdit* field) {
        QString numbers = field->text().trimmed();
        numbers.replace(QRegularExpression(QStringLiteral("[\\s;,]+")), QStringLiteral(","));
        return numbers.isEmpty() || add(std::string(name) + "=" + numbers.toStdString(), field);
    };
    auto archive = [&] {
        const std::string k = text(archiveLimit_), d = text(archiveDraws_);
        if (k.empty() && d.empty())
            return true;
        if (k.empty()) {
            reading.message = QStringLiteral("Il filtro \"archivio\" non è valido: scrivere "
                                             "quanti numeri in comune al massimo.\rCorreggere e "
                                             "riprovare.");
            reading.field = archiveLimit_;
            return false;
        }
        return add("archivio<=" + k + (d.empty() ? "" : "@" + d),
                   d.empty() ? archiveLimit_ : archiveDraws_);
    };
    if (range("somma", sumFrom_, sumTo_) && range("dispari", oddFrom_, oddTo_) &&
        range("bassi", lowFrom_, lowTo_) && limit("decina", decadeLimit_) &&
        limit("consecutivi", runLimit_) && limit("finale", endingLimit_) &&
        list("con", withNumbers_) && list("senza", withoutNumbers_) && archive())
        reading.filters = std::move(filters);
    return reading;
}

void ColumnFiltersDialog::onOkClicked() {
    const Reading reading = readFields();
    if (!reading.filters) {
        showError(this, errorTitle, reading.message);
        reading.field->setFocus();
        reading.field->selectAll();
        return;
    }
    accepted_ = *reading.filters;
    accept();
}

void ColumnFiltersDialog::onClearClicked() {
    showFilters({});
    sumFrom_->setFocus();
}

void ColumnFiltersDialog::done(int result) {
    stopCount();
    QDialog::done(result);
}

void ColumnFiltersDialog::stopCount() {
    restartTimer_->stop();
    run_->cancel();
}

void ColumnFiltersDialog::restartCount() {
    stopCount();
    const Reading reading = readFields();
    if (!reading.filters) {
        countLabel_->setText(QStringLiteral("Filtri non validi: ") +
                             displayText(reading.message).section(QLatin1Char('\n'), 0, 0));
        progressBar_->setValue(0);
        return;
    }
    countLabel_->setText(QStringLiteral("Conteggio in corso..."));
    auto passing = std::make_shared<std::optional<std::uint64_t>>();
    run_->start(
        [filters = *reading.filters, draws = draws_, counter = counter_,
         passing](RunControl& control, const WorkerRun::Progress& progress) {
            const FilterCheck check(filters, draws ? std::span<const Column>(*draws)
                                                   : std::span<const Column>());
            *passing = counter(check, [&](double share) {
                progress(share);
                return control.checkpoint();
            });
        },
        [this, passing](WorkerRun::Outcome outcome) { countFinished(outcome, *passing); });
}

void ColumnFiltersDialog::countFinished(WorkerRun::Outcome outcome,
                                        std::optional<std::uint64_t> passing) {
    if (outcome == WorkerRun::Outcome::Failed) {
        countLabel_->setText(displayText(run_->failure()).section(QLatin1Char('\n'), 0, 0));
        return;
    }
    if (!passing)
        return;
    passing_ = passing;
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    if (*passing == 0)
        countLabel_->setText(QString::fromUtf8(noColumnPassesMessage));
    else
        countLabel_->setText(QStringLiteral("%1 %2 su %3 superano i filtri")
                                 .arg(italian.toString(qulonglong(*passing)), what_,
                                      italian.toString(qulonglong(total_))));
}

} // namespace quintor

#include "gui/selection/column_filters_dialog.h"

#include "gui/common/feedback.h"
#include "gui/common/prompter.h"

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

    auto* grid = new QGridLayout;
    int row = 0;
    auto caption = [&](const QString& text, QLineEdit* buddy) {
        auto* label = new QLabel(text, this);
        label->setBuddy(buddy);
        grid->addWidget(label, row, 0);
    };
    auto rangeRow = [&](const QString& text, const QString& name, QLineEdit*& from, QLineEdit*& to,
                        const QString& hint) {
        from = addField(name + QStringLiteral("Da"),
                        QString(text).remove(QLatin1Char('&')) + QStringLiteral(", da"), 40);
        to = addField(name + QStringLiteral("A"),
                      QString(text).remove(QLatin1Char('&')) + QStringLiteral(", a"), 40);
        setHint(from, hint);
        setHint(to, hint);
        caption(text, from);
        auto* pair = new QHBoxLayout;
        pair->addWidget(new QLabel(QStringLiteral("da"), this));
        pair->addWidget(from);
        pair->addWidget(new QLabel(QStringLiteral("a"), this));
        pair->addWidget(to);
        pair->addStretch();
        grid->addLayout(pair, row++, 1);
    };
    auto singleRow = [&](const QString& text, const QString& name, QLineEdit*& field, int width,
                         const QString& hint) {
        field = addField(name, QString(text).remove(QLatin1Char('&')), width);
        setHint(field, hint);
        caption(text, field);
        auto* line = new QHBoxLayout;
        line->addWidget(field);
        line->addStretch();
        grid->addLayout(line, row++, 1);
    };

    rangeRow(QStringLiteral("&Somma dei sei numeri"), QStringLiteral("somma"), sommaDa, sommaA,
             QStringLiteral("Somma|La somma dei sei numeri, da 21 a 525. Vuoto: nessun filtro."));
    rangeRow(QStringLiteral("Numeri &dispari"), QStringLiteral("dispari"), dispariDa, dispariA,
             QStringLiteral("Dispari|Quanti numeri dispari, da 0 a 6."));
    rangeRow(QStringLiteral("Numeri &bassi (da 1 a 45)"), QStringLiteral("bassi"), bassiDa, bassiA,
             QStringLiteral("Bassi|Quanti numeri da 1 a 45, da 0 a 6."));
    singleRow(QStringLiteral("Al massimo numeri della stessa d&ecina"), QStringLiteral("decina"),
              decina, 40, QStringLiteral("Decina|Decine: 1-10, 11-20, ..., 81-90."));
    singleRow(QStringLiteral("Al massimo numeri c&onsecutivi"), QStringLiteral("consecutivi"),
              consecutivi, 40,
              QStringLiteral("Consecutivi|1: nessuna coppia di numeri consecutivi."));
    singleRow(QStringLiteral("Al massimo numeri con la stessa cifra &finale"),
              QStringLiteral("finale"), finale, 40,
              QStringLiteral("Cifra finale|Per esempio 3, 13, 23 hanno la stessa cifra finale."));
    singleRow(QStringLiteral("Almeno &uno di questi numeri"), QStringLiteral("con"), con, 220,
              QStringLiteral("Numeri richiesti|Numeri da 1 a 90 separati da spazi o virgole."));
    singleRow(QStringLiteral("&Nessuno di questi numeri"), QStringLiteral("senza"), senza, 220,
              QStringLiteral("Numeri esclusi|Numeri da 1 a 90 separati da spazi o virgole."));

    archivio = addField(QStringLiteral("archivio"),
                        QStringLiteral("Al massimo numeri in comune con un'estrazione"), 40);
    archivioUltime = addField(QStringLiteral("archivioUltime"),
                              QStringLiteral("Estrazioni dell'archivio considerate"), 60);
    setHint(archivio, QStringLiteral("Archivio|Al massimo tanti numeri in comune con ciascuna "
                                     "estrazione dell'archivio."));
    setHint(archivioUltime,
            QStringLiteral("Ultime estrazioni|Quante estrazioni recenti; vuoto: tutte."));
    caption(QStringLiteral("Al massimo numeri in comune con un'estrazione dell'&archivio"),
            archivio);
    auto* archiveLine = new QHBoxLayout;
    archiveLine->addWidget(archivio);
    archiveLine->addWidget(new QLabel(QStringLiteral("nelle ultime"), this));
    archiveLine->addWidget(archivioUltime);
    archiveLine->addWidget(new QLabel(QStringLiteral("estrazioni (vuoto: tutte)"), this));
    archiveLine->addStretch();
    grid->addLayout(archiveLine, row++, 1);

    conteggio = new QLabel(this);
    conteggio->setObjectName(QStringLiteral("conteggio"));
    conteggio->setMinimumWidth(420);
    avanzamento = new QProgressBar(this);
    avanzamento->setObjectName(QStringLiteral("avanzamento"));
    avanzamento->setAccessibleName(QStringLiteral("Avanzamento del conteggio"));
    avanzamento->setRange(0, 1000);
    avanzamento->setTextVisible(false);
    avanzamento->setMaximumHeight(12);
    grid->addWidget(conteggio, row++, 0, 1, 2);
    grid->addWidget(avanzamento, row++, 0, 1, 2);

    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setDefault(true);
    Azzera = new QPushButton(QStringLiteral("A&zzera"), this);
    Azzera->setObjectName(QStringLiteral("Azzera"));
    setHint(Azzera, QStringLiteral("Azzera|Svuota tutti i campi: nessun filtro."));
    Annulla = new QPushButton(QStringLiteral("Annulla"), this);
    Annulla->setObjectName(QStringLiteral("Annulla"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OK);
    buttons->addWidget(Azzera);
    buttons->addWidget(Annulla);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    restartTimer_ = new QTimer(this);
    restartTimer_->setSingleShot(true);
    restartTimer_->setInterval(250);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(restartTimer_, &QTimer::timeout, this, &ColumnFiltersDialog::restartCount);
    connect(progressTimer_, &QTimer::timeout, this,
            [this] { avanzamento->setValue(progressPermille_.load()); });
    connect(OK, &QPushButton::clicked, this, &ColumnFiltersDialog::OKClick);
    connect(Azzera, &QPushButton::clicked, this, &ColumnFiltersDialog::AzzeraClick);
    connect(Annulla, &QPushButton::clicked, this, &QDialog::reject);

    showFilters(filters);
    restartCount();
}

ColumnFiltersDialog::~ColumnFiltersDialog() {
    stopCount();
}

QLineEdit* ColumnFiltersDialog::addField(const QString& name, const QString& accessibleName,
                                         int width) {
    auto* field = new QLineEdit(this);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    field->setFixedWidth(width);
    connect(field, &QLineEdit::textChanged, this, [this] {
        // Any change makes the count out of date: stop it now, start again once typing pauses.
        stopCount();
        passing_.reset();
        conteggio->setText(QStringLiteral("Conteggio in corso..."));
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
    setRange(sommaDa, sommaA, f.sum);
    setRange(dispariDa, dispariA, f.odd);
    setRange(bassiDa, bassiA, f.low);
    setLimit(decina, f.perDecade);
    setLimit(consecutivi, f.longestRun);
    setLimit(finale, f.sameEnding);
    // The dialog has one field a filter: several lists or limits of a file are shown merged
    // only as far as one field can say the same thing.
    con->setText(f.with.empty() ? QString() : joinedNumbers(f.with.front()));
    senza->setText(joinedNumbers(f.without));
    archivio->setText(f.archive.empty() ? QString() : QString::number(f.archive.front().limit));
    archivioUltime->setText(f.archive.empty() || f.archive.front().draws == 0
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
        const std::string k = text(archivio), d = text(archivioUltime);
        if (k.empty() && d.empty())
            return true;
        if (k.empty()) {
            reading.message = QStringLiteral("Il filtro \"archivio\" non è valido: scrivere "
                                             "quanti numeri in comune al massimo.\rCorreggere e "
                                             "riprovare.");
            reading.field = archivio;
            return false;
        }
        return add("archivio<=" + k + (d.empty() ? "" : "@" + d),
                   d.empty() ? archivio : archivioUltime);
    };
    if (range("somma", sommaDa, sommaA) && range("dispari", dispariDa, dispariA) &&
        range("bassi", bassiDa, bassiA) && limit("decina", decina) &&
        limit("consecutivi", consecutivi) && limit("finale", finale) && list("con", con) &&
        list("senza", senza) && archive())
        reading.filters = std::move(filters);
    return reading;
}

void ColumnFiltersDialog::OKClick() {
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

void ColumnFiltersDialog::AzzeraClick() {
    showFilters({});
    sommaDa->setFocus();
}

void ColumnFiltersDialog::done(int result) {
    stopCount();
    QDialog::done(result);
}

void ColumnFiltersDialog::stopCount() {
    ++generation_;
    restartTimer_->stop();
    progressTimer_->stop();
    if (worker_.joinable()) {
        stop_ = true;
        worker_.join();
    }
}

void ColumnFiltersDialog::restartCount() {
    stopCount();
    const Reading reading = readFields();
    if (!reading.filters) {
        conteggio->setText(QStringLiteral("Filtri non validi: ") +
                           displayText(reading.message).section(QLatin1Char('\n'), 0, 0));
        avanzamento->setValue(0);
        return;
    }
    conteggio->setText(QStringLiteral("Conteggio in corso..."));
    stop_ = false;
    progressPermille_ = 0;
    avanzamento->setValue(0);
    progressTimer_->start();
    const std::uint64_t generation = generation_;
    worker_ = std::thread(
        [this, generation, filters = *reading.filters, draws = draws_, counter = counter_] {
            const FilterCheck check(filters, draws ? std::span<const Column>(*draws)
                                                   : std::span<const Column>());
            const auto passing = counter(check, [this](double share) {
                progressPermille_ = static_cast<int>(share * 1000);
                return !stop_.load();
            });
            QMetaObject::invokeMethod(
                this, [this, generation, passing] { countFinished(generation, passing); },
                Qt::QueuedConnection);
        });
}

void ColumnFiltersDialog::countFinished(std::uint64_t generation,
                                        std::optional<std::uint64_t> passing) {
    if (generation != generation_ || !passing)
        return; // a count that a later change made out of date
    if (worker_.joinable())
        worker_.join();
    progressTimer_->stop();
    avanzamento->setValue(1000);
    passing_ = passing;
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    if (*passing == 0)
        conteggio->setText(QString::fromUtf8(noColumnPassesMessage));
    else
        conteggio->setText(QStringLiteral("%1 %2 su %3 superano i filtri")
                               .arg(italian.toString(qulonglong(*passing)), what_,
                                    italian.toString(qulonglong(total_))));
}

} // namespace quintor

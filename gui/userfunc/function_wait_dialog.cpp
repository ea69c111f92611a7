#include "gui/userfunc/function_wait_dialog.h"

#include "core/user_functions.h"
#include "gui/common/feedback.h"

#include <QCloseEvent>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quintor {

namespace {

// A second check for file systems where the watch does not report changes.
constexpr int fallbackCheckMs = 500;

} // namespace

FunctionWaitDialog::FunctionWaitDialog(const QString& programFolder, const QString& caption,
                                       QWidget* parent)
    : TiledDialog(parent), folder_(programFolder) {
    setObjectName("FunctionWaitDialog");
    setWindowTitle("Funzione utente in esecuzione");
    setWindowFlags(
        (windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) &
        ~(Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint));

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(440);
    Label1->setMinimumHeight(Label1->fontMetrics().lineSpacing() * 4);
    Label1->setText(QStringLiteral("La funzione \"%1\" è in esecuzione.\nAttendere che termini, "
                                   "oppure premere Interrompi.")
                        .arg(caption));
    BitBtn1 = new QPushButton("&Interrompi", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setDefault(true);
    setHint(BitBtn1, "Interrompi|Ferma la funzione; il sistema resta com'era (anche Esc).");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(BitBtn1, 0, Qt::AlignHCenter);
    connect(BitBtn1, &QPushButton::clicked, this, &FunctionWaitDialog::BitBtn1Click);

    watcher_ = new QFileSystemWatcher(QStringList{programFolder}, this);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this,
            &FunctionWaitDialog::checkFinished);
    timer_ = new QTimer(this);
    timer_->setInterval(fallbackCheckMs);
    connect(timer_, &QTimer::timeout, this, &FunctionWaitDialog::checkFinished);
    fixSize();
}

void FunctionWaitDialog::showEvent(QShowEvent* event) {
    setTag(0);
    timer_->start();
    TiledDialog::showEvent(event);
    // A quick program may be done before the window shows.
    QTimer::singleShot(0, this, &FunctionWaitDialog::checkFinished);
}

bool FunctionWaitDialog::checkFinished() {
    if (!isVisible() || !finishedFileExists(folder_.toStdString()))
        return false;
    caboom();
    return true;
}

void FunctionWaitDialog::caboom() {
    timer_->stop();
    setTag(1);
    accept();
}

void FunctionWaitDialog::BitBtn1Click() {
    timer_->stop();
    setTag(0);
    reject();
}

void FunctionWaitDialog::closeEvent(QCloseEvent* event) {
    // Only the button (or Esc) ends the wait; a close from the window manager counts as it.
    timer_->stop();
    TiledDialog::closeEvent(event);
}

void FunctionWaitDialog::programEnded(int exitCode) {
    if (checkFinished())
        return;
    Label1->setText(QStringLiteral("Il programma della funzione è terminato (codice %1) senza "
                                   "creare finito.ok: non ci sono risultati da leggere.\nPremere "
                                   "Interrompi per tornare al sistema.")
                        .arg(exitCode));
}

} // namespace quintor

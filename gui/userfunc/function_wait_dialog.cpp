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

    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName("messageLabel");
    messageLabel_->setTextFormat(Qt::PlainText);
    messageLabel_->setWordWrap(true);
    messageLabel_->setMinimumWidth(440);
    messageLabel_->setMinimumHeight(messageLabel_->fontMetrics().lineSpacing() * 4);
    messageLabel_->setText(
        QStringLiteral("La funzione \"%1\" è in esecuzione.\nAttendere che termini, "
                       "oppure premere Interrompi.")
            .arg(caption));
    stopButton_ = new QPushButton("&Interrompi", this);
    stopButton_->setObjectName("stopButton");
    stopButton_->setDefault(true);
    setHint(stopButton_, "Interrompi|Ferma la funzione; il sistema resta com'era (anche Esc).");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(messageLabel_);
    layout->addWidget(stopButton_, 0, Qt::AlignHCenter);
    connect(stopButton_, &QPushButton::clicked, this, &FunctionWaitDialog::onStopClicked);

    watcher_ = new QFileSystemWatcher(QStringList{programFolder}, this);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this,
            &FunctionWaitDialog::checkFinished);
    timer_ = new QTimer(this);
    timer_->setInterval(fallbackCheckMs);
    connect(timer_, &QTimer::timeout, this, &FunctionWaitDialog::checkFinished);
    fixSize();
}

void FunctionWaitDialog::showEvent(QShowEvent* event) {
    timer_->start();
    TiledDialog::showEvent(event);
    // A quick program may be done before the window shows.
    QTimer::singleShot(0, this, &FunctionWaitDialog::checkFinished);
}

bool FunctionWaitDialog::checkFinished() {
    if (!isVisible() || !finishedFileExists(folder_.toStdString()))
        return false;
    timer_->stop();
    accept();
    return true;
}

void FunctionWaitDialog::onStopClicked() {
    timer_->stop();
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
    messageLabel_->setText(
        QStringLiteral("Il programma della funzione è terminato (codice %1) senza "
                       "creare finito.ok: non ci sono risultati da leggere.\nPremere "
                       "Interrompi per tornare al sistema.")
            .arg(exitCode));
}

} // namespace quintor

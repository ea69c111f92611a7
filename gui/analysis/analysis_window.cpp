#include "gui/analysis/analysis_window.h"

#include "gui/common/feedback.h"
#include "gui/common/prompter.h"
#include "gui/common/window_help.h"
#include "gui/common/worker_run.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quintor {

AnalysisWindow::AnalysisWindow(QWidget* parent) : QDialog(parent) {}

AnalysisWindow::~AnalysisWindow() {
    if (run_)
        run_->cancel();
}

void AnalysisWindow::addGauge(QVBoxLayout* layout, const QString& accessibleName) {
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    progressBar_->setRange(0, 100);
    progressBar_->setAccessibleName(accessibleName);
    layout->addWidget(progressBar_);
}

void AnalysisWindow::addStopAndClose(QHBoxLayout* buttons, const QString& stopHint,
                                     const QString& closeCaption) {
    stopButton_ = new QPushButton(QStringLiteral("&Interrompi"), this);
    stopButton_->setObjectName(QStringLiteral("stopButton"));
    setHint(stopButton_, stopHint);
    closeButton_ = new QPushButton(closeCaption, this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    setHint(closeButton_, QStringLiteral("Chiudi|Chiude la scheda."));
    connect(closeButton_, &QPushButton::clicked, this, &AnalysisWindow::reject);
    buttons->addStretch();
    buttons->addWidget(stopButton_);
    buttons->addWidget(closeButton_);
    run_ = new WorkerRun(this);
    run_->setGauge(progressBar_);
    run_->setStopButton(stopButton_);
}

void AnalysisWindow::addHelpButton(QHBoxLayout* buttons, HelpTopic topic) {
    auto* help = new QPushButton(QStringLiteral("?"), this);
    help->setObjectName(QStringLiteral("helpButton"));
    help->setAccessibleName(QStringLiteral("Spiegazioni"));
    help->setFixedWidth(help->fontMetrics().height() * 2 + 8);
    setHint(help,
            QStringLiteral("Spiegazioni (F1)|Apre la pagina della guida su questa finestra."));
    buttons->insertWidget(0, help);
    attachHelpTopic(this, topic, help);
}

QString AnalysisWindow::askCsvFile(const QString& suggested) {
    QString file = Prompter::current().saveFileName(this, {QStringLiteral("Esporta CSV"),
                                                           QStringLiteral("File CSV (*.csv)|*.csv"),
                                                           QStringLiteral("csv"), suggested});
    if (file.isEmpty() ||
        !confirmOverwrite(this, file, QStringLiteral("Conferma"),
                          QStringLiteral("Il file %1 esiste già.\rSostituirlo ?")))
        return {};
    return file;
}

void AnalysisWindow::reject() {
    run_->cancel();
    QDialog::reject();
}

} // namespace quintor

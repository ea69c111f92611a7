#include "gui/analysis/analysis_window.h"

#include "gui/analysis/background_run.h"
#include "gui/common/feedback.h"
#include "gui/common/prompter.h"

#include <QFileInfo>
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
    STS = new QProgressBar(this);
    STS->setObjectName(QStringLiteral("STS"));
    STS->setRange(0, 100);
    STS->setAccessibleName(accessibleName);
    layout->addWidget(STS);
}

void AnalysisWindow::addStopAndClose(QHBoxLayout* buttons, const QString& stopHint,
                                     const QString& closeCaption) {
    SPB2 = new QPushButton(QStringLiteral("&Interrompi"), this);
    SPB2->setObjectName(QStringLiteral("SPB2"));
    setHint(SPB2, stopHint);
    SPB1 = new QPushButton(closeCaption, this);
    SPB1->setObjectName(QStringLiteral("SPB1"));
    setHint(SPB1, QStringLiteral("Chiudi|Chiude la scheda."));
    connect(SPB1, &QPushButton::clicked, this, &AnalysisWindow::reject);
    buttons->addStretch();
    buttons->addWidget(SPB2);
    buttons->addWidget(SPB1);
    run_ = new BackgroundRun(this, STS, SPB2);
}

QString AnalysisWindow::askCsvFile(const QString& suggested) {
    const QString file = Prompter::current().saveFileName(
        this, {QStringLiteral("Esporta CSV"), QStringLiteral("File CSV (*.csv)|*.csv"),
               QStringLiteral("csv"), suggested});
    if (file.isEmpty())
        return {};
    if (QFileInfo::exists(file) &&
        askQuestion(this, QStringLiteral("Conferma"),
                    QStringLiteral("Il file %1 esiste già.\rSostituirlo ?").arg(file),
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return {};
    return file;
}

void AnalysisWindow::reject() {
    run_->cancel();
    QDialog::reject();
}

} // namespace quintor

#pragma once

#include "gui/common/help_link.h"

#include <QDialog>

class QHBoxLayout;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

namespace quintor {

class WorkerRun;

// What the analysis windows have in common: a gauge, "Interrompi" and "Chiudi" at the right of
// the button row, and the worker they drive. Closing the window ends the worker first; a window
// whose worker writes into its own members also ends it in its destructor, before they go.
class AnalysisWindow : public QDialog {
    Q_OBJECT
public:
    explicit AnalysisWindow(QWidget* parent = nullptr);
    ~AnalysisWindow() override;

protected:
    // The gauge, added to layout; its accessible name says what it measures.
    void addGauge(QVBoxLayout* layout, const QString& accessibleName);
    // A stretch, then "Interrompi" and "Chiudi"; the worker is made here, with the gauge.
    void addStopAndClose(QHBoxLayout* buttons, const QString& stopHint,
                         const QString& closeCaption = QStringLiteral("&Chiudi"));
    // "?" at the left of the button row: it and F1 open the window's page of the guide.
    void addHelpButton(QHBoxLayout* buttons, HelpTopic topic);
    // The file to export to, asked with the suggested name; empty when the user gives none or
    // does not want an existing file replaced.
    QString askCsvFile(const QString& suggested);
    void reject() override;

    QProgressBar* progressBar_ = nullptr;
    QPushButton* closeButton_ = nullptr; // Chiudi
    QPushButton* stopButton_ = nullptr;  // Interrompi
    WorkerRun* run_ = nullptr;
};

} // namespace quintor

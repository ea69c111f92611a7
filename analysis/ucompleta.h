#pragma once

#include "core/archive.h"
#include "core/repair.h"
#include "core/system_state.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quintor {

class BackgroundRun;

// "Completa la garanzia": adds final columns, chosen greedily, until the system guarantees the
// chosen "t se m" or the typed budget of columns is spent. The columns are added to the system
// only when the run ends by itself; a stopped run changes nothing.
class TCompleta : public QDialog {
    Q_OBJECT
public:
    TCompleta(SystemState& state, const Archive& archive, QWidget* parent = nullptr);
    ~TCompleta() override;

    // Columns added to the system by this window.
    int tag() const { return tag_; }

public slots:
    void SPB3Click(); // Avvia

protected:
    void reject() override;

private:
    SystemState& state_;
    const Archive& archive_;
    QComboBox* CBT = nullptr;
    QComboBox* CBM = nullptr;
    QLineEdit* EDB = nullptr;
    QLabel* LabelEsito = nullptr;
    QProgressBar* STS = nullptr;
    QPushButton* SPB1 = nullptr;
    QPushButton* SPB2 = nullptr;
    QPushButton* SPB3 = nullptr;
    BackgroundRun* run_ = nullptr;
    int tag_ = 0;
};

} // namespace quintor

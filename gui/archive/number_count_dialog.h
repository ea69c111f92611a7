#pragma once

#include "core/number_statistics.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor {

// Asks how many numbers to add (or remove) and by which criteria. The result, count(), is the
// count typed, or 0 when the dialog was cancelled or closed.
class NumberCountDialog : public QDialog {
    Q_OBJECT
public:
    explicit NumberCountDialog(QWidget* parent = nullptr);

    // Caption, prompt and button for removing numbers instead of adding them.
    void setForRemoving();

    int count() const { return count_; }
    StatisticsCriteria criteria() const;

    // The leading integer of a text: blanks skipped, an optional sign, then digits up to the
    // first other character; no digit gives 0.
    static int leadingInteger(const QString& text);

public slots:
    void onApplyClicked();
    void onCancelClicked();
    void onDelaysClicked();
    void onFrequenciesClicked();

private:
    QLabel* promptLabel_ = nullptr;
    QLineEdit* countField_ = nullptr;
    QCheckBox* delaysCheck_ = nullptr;
    QCheckBox* frequenciesCheck_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    int count_ = 0;
};

} // namespace quintor

#pragma once

#include "core/number_statistics.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quintor {

// Asks how many numbers to add (or remove) and by which criteria. The result, tag(), is the
// count typed, or 0 when the dialog was cancelled or closed.
class NumberCountDialog : public QDialog {
    Q_OBJECT
public:
    explicit NumberCountDialog(QWidget* parent = nullptr);

    // Caption, prompt and button for removing numbers instead of adding them.
    void setForRemoving();

    int tag() const { return tag_; }
    StatisticsCriteria criteria() const;

    // The leading integer of a text: blanks skipped, an optional sign, then digits up to the
    // first other character; no digit gives 0.
    static int leadingInteger(const QString& text);

public slots:
    void SPB1Click();
    void SpeedButton1Click();
    void ckritClick();
    void ckfreClick();

private:
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* ckrit = nullptr;
    QCheckBox* ckfre = nullptr;
    QPushButton* SPB1 = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    int tag_ = 0;
};

} // namespace quintor

#pragma once

#include "gui/common/tiled_dialog.h"

class QLineEdit;
class QPushButton;

namespace quintor {

// How a ValueDialog asks for its value.
struct ValueField {
    QString title;       // the window's, which its width makes room for
    QString explanation; // wrapped above the field; none when empty
    QString caption;     // names the field beside it and to screen readers
    QString objectName;  // the field's, by which tests find it
    int width = 0;       // of the field
    int rowSpacing = 0;
};

// A small dialog that asks for one typed value: the caption and its field, OK (the default
// button, outcome 1) and Annulla (outcome 0). Each time it is shown the field takes the focus
// with its text selected, so typing replaces what was there.
class ValueDialog : public TiledDialog {
    Q_OBJECT
public:
    ValueDialog(const ValueField& field, QWidget* parent);

protected:
    QLineEdit* field() const { return field_; }
    void showEvent(QShowEvent* event) override;

private:
    void onOkClicked();

    QLineEdit* field_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace quintor

#include "gui/common/value_dialog.h"

#include "gui/common/feedback.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quintor {

ValueDialog::ValueDialog(const ValueField& field, QWidget* parent) : TiledDialog(parent) {
    setWindowTitle(field.title);
    QLabel* explanation = nullptr;
    if (!field.explanation.isEmpty()) {
        explanation = new QLabel(field.explanation, this);
        explanation->setWordWrap(true);
        explanation->setFixedWidth(320);
    }
    auto* caption = new QLabel(field.caption, this);
    field_ = new QLineEdit(this);
    field_->setObjectName(field.objectName);
    field_->setAccessibleName(caption->text());
    field_->setFixedWidth(field.width);
    caption->setBuddy(field_);

    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton("Annulla", this);
    cancelButton_->setObjectName("cancelButton");
    setHint(cancelButton_, "Chiude la scheda senza apportare modifiche.");

    auto* grid = new QGridLayout(this);
    int row = 0;
    if (explanation)
        grid->addWidget(explanation, row++, 0, 1, 3);
    grid->addWidget(caption, row, 0);
    grid->addWidget(field_, row++, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(okButton_, row, 1);
    grid->addWidget(cancelButton_, row, 2);
    grid->setVerticalSpacing(field.rowSpacing);

    connect(okButton_, &QPushButton::clicked, this, &ValueDialog::onOkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &ValueDialog::reject);
    fixSize();
}

void ValueDialog::showEvent(QShowEvent* event) {
    setOutcome(0);
    field_->setFocus();
    field_->selectAll();
    TiledDialog::showEvent(event);
}

void ValueDialog::onOkClicked() {
    setOutcome(1);
    accept();
}

} // namespace quintor

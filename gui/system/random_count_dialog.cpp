#include "gui/system/random_count_dialog.h"

#include "gui/common/feedback.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quintor {

RandomCountDialog::RandomCountDialog(QWidget* parent) : TiledDialog(parent) {
    setObjectName("RandomCountDialog");
    setWindowTitle("Inserire il numero di colonne da aggiungere");

    auto* explanation = new QLabel("Questa funzione estrae dal sistema, il numero di colonne "
                                   "casuali specificato, aggiungendole alle colonne finali.",
                                   this);
    explanation->setWordWrap(true);
    explanation->setFixedWidth(320);
    auto* caption = new QLabel("Nº di colonne da estrarre:", this);
    countEdit_ = new QLineEdit(this);
    countEdit_->setObjectName("countEdit");
    countEdit_->setAccessibleName(caption->text());
    countEdit_->setFixedWidth(90);
    caption->setBuddy(countEdit_);

    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("okButton");
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton("Annulla", this);
    cancelButton_->setObjectName("cancelButton");
    setHint(cancelButton_, "Chiude la scheda senza apportare modifiche.");

    auto* grid = new QGridLayout(this);
    grid->addWidget(explanation, 0, 0, 1, 3);
    grid->addWidget(caption, 1, 0);
    grid->addWidget(countEdit_, 1, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(okButton_, 2, 1);
    grid->addWidget(cancelButton_, 2, 2);
    grid->setVerticalSpacing(12);

    connect(okButton_, &QPushButton::clicked, this, &RandomCountDialog::onOkClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &RandomCountDialog::reject);
    fixSize();
}

QString RandomCountDialog::countText() const {
    return countEdit_->text();
}

void RandomCountDialog::showEvent(QShowEvent* event) {
    countEdit_->clear();
    setOutcome(0);
    countEdit_->setFocus();
    TiledDialog::showEvent(event);
}

void RandomCountDialog::onOkClicked() {
    setOutcome(1);
    accept();
}

} // namespace quintor

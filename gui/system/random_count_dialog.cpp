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
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setAccessibleName(caption->text());
    Edit1->setFixedWidth(90);
    caption->setBuddy(Edit1);

    AVSEL = new QPushButton("OK", this);
    AVSEL->setObjectName("AVSEL");
    AVSEL->setDefault(true);
    BITBTN2 = new QPushButton("Annulla", this);
    BITBTN2->setObjectName("BITBTN2");
    setHint(BITBTN2, "Chiude la scheda senza apportare modifiche.");

    auto* grid = new QGridLayout(this);
    grid->addWidget(explanation, 0, 0, 1, 3);
    grid->addWidget(caption, 1, 0);
    grid->addWidget(Edit1, 1, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(AVSEL, 2, 1);
    grid->addWidget(BITBTN2, 2, 2);
    grid->setVerticalSpacing(12);

    connect(AVSEL, &QPushButton::clicked, this, &RandomCountDialog::AVSELClick);
    connect(BITBTN2, &QPushButton::clicked, this, &RandomCountDialog::reject);
    fixSize();
}

QString RandomCountDialog::countText() const {
    return Edit1->text();
}

void RandomCountDialog::showEvent(QShowEvent* event) {
    Edit1->clear();
    setTag(0);
    Edit1->setFocus();
    TiledDialog::showEvent(event);
}

void RandomCountDialog::AVSELClick() {
    setTag(1);
    accept();
}

} // namespace quintor

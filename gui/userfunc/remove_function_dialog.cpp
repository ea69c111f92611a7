#include "gui/userfunc/remove_function_dialog.h"

#include "gui/common/feedback.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quintor {

RemoveFunctionDialog::RemoveFunctionDialog(const QStringList& lines, QWidget* parent)
    : TiledDialog(parent) {
    setObjectName("RemoveFunctionDialog");
    setWindowTitle("Elimina funzione utente");

    auto* caption = new QLabel("&Selezionare la funzione da eliminare", this);
    nofu = new QListWidget(this);
    nofu->setObjectName("nofu");
    nofu->addItems(lines);
    nofu->setAccessibleName("Funzioni utente");
    nofu->setMinimumSize(360, 200);
    caption->setBuddy(nofu);

    BitBtn1 = new QPushButton("&Elimina", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setEnabled(false);
    BitBtn1->setDefault(true);
    setHint(BitBtn1, "Toglie dal menù la funzione scelta; il programma resta nella cartella.");
    BitBtn2 = new QPushButton("Annulla", this);
    BitBtn2->setObjectName("BitBtn2");
    setHint(BitBtn2, "Chiude la scheda senza apportare modifiche.");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(nofu);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);

    // Only a line the user picked counts: the list makes its first line current, unselected,
    // when it takes the focus, and that one must not be deleted by a stray Enter.
    connect(nofu, &QListWidget::itemSelectionChanged, this,
            [this] { BitBtn1->setEnabled(chosenIndex() >= 0); });
    connect(nofu, &QListWidget::itemActivated, this, &RemoveFunctionDialog::BitBtn1Click);
    connect(BitBtn1, &QPushButton::clicked, this, &RemoveFunctionDialog::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &RemoveFunctionDialog::reject);
    fixSize();
}

int RemoveFunctionDialog::chosenIndex() const {
    const QList<QListWidgetItem*> chosen = nofu->selectedItems();
    return chosen.isEmpty() ? -1 : nofu->row(chosen.first());
}

void RemoveFunctionDialog::BitBtn1Click() {
    if (chosenIndex() < 0)
        return;
    setTag(1);
    accept();
}

} // namespace quintor

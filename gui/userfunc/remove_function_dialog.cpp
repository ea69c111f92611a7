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
    functionList_ = new QListWidget(this);
    functionList_->setObjectName("functionList");
    functionList_->addItems(lines);
    functionList_->setAccessibleName("Funzioni utente");
    functionList_->setMinimumSize(360, 200);
    caption->setBuddy(functionList_);

    removeButton_ = new QPushButton("&Elimina", this);
    removeButton_->setObjectName("removeButton");
    removeButton_->setEnabled(false);
    removeButton_->setDefault(true);
    setHint(removeButton_,
            "Toglie dal menù la funzione scelta; il programma resta nella cartella.");
    cancelButton_ = new QPushButton("Annulla", this);
    cancelButton_->setObjectName("cancelButton");
    setHint(cancelButton_, "Chiude la scheda senza apportare modifiche.");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(functionList_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(removeButton_);
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);

    // Only a line the user picked counts: the list makes its first line current, unselected,
    // when it takes the focus, and that one must not be deleted by a stray Enter.
    connect(functionList_, &QListWidget::itemSelectionChanged, this,
            [this] { removeButton_->setEnabled(chosenIndex() >= 0); });
    connect(functionList_, &QListWidget::itemActivated, this,
            &RemoveFunctionDialog::onRemoveClicked);
    connect(removeButton_, &QPushButton::clicked, this, &RemoveFunctionDialog::onRemoveClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &RemoveFunctionDialog::reject);
    fixSize();
}

int RemoveFunctionDialog::chosenIndex() const {
    const QList<QListWidgetItem*> chosen = functionList_->selectedItems();
    return chosen.isEmpty() ? -1 : functionList_->row(chosen.first());
}

void RemoveFunctionDialog::onRemoveClicked() {
    if (chosenIndex() < 0)
        return;
    accept();
}

} // namespace quintor

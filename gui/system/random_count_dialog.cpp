#include "gui/system/random_count_dialog.h"

#include <QLineEdit>

namespace quintor {

RandomCountDialog::RandomCountDialog(QWidget* parent)
    : ValueDialog({.title = "Inserire il numero di colonne da aggiungere",
                   .explanation = "Questa funzione estrae dal sistema, il numero di colonne "
                                  "casuali specificato, aggiungendole alle colonne finali.",
                   .caption = "Nº di colonne da estrarre:",
                   .objectName = "countEdit",
                   .width = 90,
                   .rowSpacing = 12},
                  parent) {
    setObjectName("RandomCountDialog");
}

QString RandomCountDialog::countText() const {
    return field()->text();
}

void RandomCountDialog::showEvent(QShowEvent* event) {
    // Each extraction asks afresh: the last count is not offered again.
    field()->clear();
    ValueDialog::showEvent(event);
}

} // namespace quintor

#pragma once

#include "gui/common/tiled_dialog.h"

#include <QStringList>

class QListWidget;
class QPushButton;

namespace quintor {

// "Elimina funzione utente": one line "file : caption" per function; "Elimina" is enabled
// once a line is chosen.
class RemoveFunctionDialog : public TiledDialog {
    Q_OBJECT
public:
    explicit RemoveFunctionDialog(const QStringList& lines, QWidget* parent = nullptr);

    // The chosen line (0 = first function), or -1.
    int chosenIndex() const;

private:
    void onRemoveClicked();

    QListWidget* functionList_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace quintor

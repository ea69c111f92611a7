#pragma once

#include "gui/common/tiled_dialog.h"

#include <QString>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace quintor {

// "Nuova funzione utente": the files of the program folder, and a preview of the chosen
// one's description file. "Aggiungi" is enabled only for a file that has one.
class NewFunctionDialog : public TiledDialog {
    Q_OBJECT
public:
    explicit NewFunctionDialog(const QString& programFolder, QWidget* parent = nullptr);

    // After "Aggiungi": the chosen file name (no folder) and the caption for the menu.
    QString chosenProgram() const { return chosen_; }
    QString chosenCaption() const { return caption_; }

    QListWidget* flbox = nullptr;
    QComboBox* fcb = nullptr;
    QGroupBox* GroupBox1 = nullptr; // "Anteprima"
    QLabel* Label2 = nullptr;       // Nome funzione
    QLabel* Label3 = nullptr;       // Voce del menù
    QLabel* Label4 = nullptr;       // Nome dell'autore
    QLabel* Label5 = nullptr;       // Indirizzo e-mail
    QPlainTextEdit* Des = nullptr;
    QPushButton* BitBtn1 = nullptr; // Aggiungi
    QPushButton* BitBtn2 = nullptr; // Annulla
    QToolButton* HLP3 = nullptr;

public slots:
    void fcbChange();
    void flboxClick();
    void BitBtn1Click();

private:
    QString folder_;
    QString chosen_;
    QString caption_;
    bool valid_ = false;
};

} // namespace quintor

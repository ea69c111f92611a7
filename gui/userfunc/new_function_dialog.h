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

private:
    // The files of the folder the file-type box asks for.
    void listFiles();
    // The description of the line the user picked, and whether "Aggiungi" may be pressed.
    void showPreview();
    void onAddClicked();

    QListWidget* fileList_ = nullptr;
    QComboBox* fileTypeBox_ = nullptr;
    QGroupBox* previewBox_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* menuTextLabel_ = nullptr;
    QLabel* authorLabel_ = nullptr;
    QLabel* mailLabel_ = nullptr;
    QPlainTextEdit* descriptionView_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QToolButton* helpButton_ = nullptr;
    QString folder_;
    QString chosen_;
    QString caption_;
    bool valid_ = false;
};

} // namespace quintor

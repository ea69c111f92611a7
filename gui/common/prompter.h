#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace quintor {

// One message box or question. The text is the program's own message; each "\r" in it is a
// line break when shown.
struct Question {
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// An open or save file dialog. The filter is written as pairs "description|pattern|..."
// ("Sistema Quintor (*.qtr)|*.qtr|Tutti i file (*.*)|*.*"); the default extension has no dot.
struct FileRequest {
    QString title;
    QString filter;
    QString defaultExtension;
    QString startName; // file (or folder) the dialog starts with
};

// Every message box, question and file dialog of the program goes through the installed
// prompter, so tests can answer them without a person and check exactly what was asked.
class Prompter {
public:
    virtual ~Prompter() = default;

    // The button pressed; Escape or closing the box gives Cancel (No when there is no Cancel).
    virtual QMessageBox::StandardButton ask(QWidget* parent, const Question& question) = 0;
    // The chosen full path, or an empty string when the user cancelled.
    virtual QString openFileName(QWidget* parent, const FileRequest& request) = 0;
    // As openFileName; the save dialog itself never asks about overwriting: callers do.
    virtual QString saveFileName(QWidget* parent, const FileRequest& request) = 0;

    // The prompter in use: the one installed last, else the real dialogs.
    static Prompter& current();
    // Replaces the prompter for the whole process; nullptr restores the real dialogs. The
    // caller keeps ownership and must uninstall before destroying it.
    static void install(Prompter* prompter);
};

// The real dialogs: QMessageBox and QFileDialog.
class DialogPrompter : public Prompter {
public:
    QMessageBox::StandardButton ask(QWidget* parent, const Question& question) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
};

// "a\rb" shown as two lines.
QString displayText(const QString& message);
// "desc|pat|desc|pat" as a Qt name filter ("desc (pat);;desc (pat)"); a description that
// already shows its pattern in parentheses is kept as it is.
QString qtNameFilter(const QString& pipeFilter);

// The common shapes, through Prompter::current().
// Failure message: OK button, error icon (title "Errore !" or "Errore", as the caller says).
void showError(QWidget* parent, const QString& title, const QString& text);
// Information message: OK button, information icon.
void showInformation(QWidget* parent, const QString& title, const QString& text);
// Question icon; returns the button pressed.
QMessageBox::StandardButton askQuestion(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton);

// Before a save to path: when a file of that name exists, in any letter case
// (existingFileNoCase), the overwrite question, No by default; a window with a question of
// its own gives its title and text, "%1" in the text standing for the file. True when there is no
// such file or the user answered Yes; path then names the file to write, the existing one's
// spelling when only the letter case differed, so that the save replaces it instead of making a
// twin.
bool confirmOverwrite(QWidget* parent, QString& path, const QString& title = {},
                      const QString& question = {});

} // namespace quintor

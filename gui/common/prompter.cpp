#include "gui/common/prompter.h"

#include "core/program_folder.h"

#include <QAbstractButton>
#include <QWidget>

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace quintor {

namespace {

Prompter* installedPrompter = nullptr;

QString runFileDialog(QWidget* parent, const FileRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(mode);
    // Opening a missing name is reported by the program itself, and so is overwriting.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(qtNameFilter(request.filter));
    // The folder and file-type boxes of the dialog have captions that do not name them.
    if (auto* folder = dialog.findChild<QComboBox*>(QStringLiteral("lookInCombo")))
        folder->setAccessibleName(QStringLiteral("Cartella"));
    if (auto* type = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        type->setAccessibleName(QStringLiteral("Tipo di file"));
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.startName.isEmpty()) {
        const QFileInfo start(request.startName);
        if (start.isDir()) {
            dialog.setDirectory(start.absoluteFilePath());
        } else {
            dialog.setDirectory(start.absolutePath());
            dialog.selectFile(start.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

Prompter& Prompter::current() {
    static DialogPrompter realDialogs;
    return installedPrompter ? *installedPrompter : realDialogs;
}

void Prompter::install(Prompter* prompter) {
    installedPrompter = prompter;
}

QMessageBox::StandardButton DialogPrompter::ask(QWidget* parent, const Question& question) {
    // A box whose window is not shown yet (the questions at start-up) goes to the middle of
    // the screen, not to the corner where the hidden window sits.
    QMessageBox box(question.icon, question.title, displayText(question.text), question.buttons,
                    parent && parent->window()->isVisible() ? parent : nullptr);
    if (question.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(question.defaultButton);
    // The buttons speak Italian even where the toolkit's own translations are not installed.
    static const std::pair<QMessageBox::StandardButton, const char*> italianCaptions[] = {
        {QMessageBox::Yes, "&Sì"},
        {QMessageBox::No, "&No"},
        {QMessageBox::Cancel, "Annulla"},
        {QMessageBox::Ok, "OK"}};
    for (const auto& [button, caption] : italianCaptions)
        if (QAbstractButton* shown = box.button(button))
            shown->setText(QString::fromUtf8(caption));
    const int pressed = box.exec();
    if (pressed == QMessageBox::NoButton || pressed == QMessageBox::Escape) {
        if (question.buttons.testFlag(QMessageBox::Cancel))
            return QMessageBox::Cancel;
        return question.buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
    }
    return static_cast<QMessageBox::StandardButton>(pressed);
}

QString DialogPrompter::openFileName(QWidget* parent, const FileRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString DialogPrompter::saveFileName(QWidget* parent, const FileRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString displayText(const QString& message) {
    QString text = message;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString qtNameFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString pattern = i + 1 < parts.size() ? parts.at(i + 1).trimmed() : QString();
        if (description.isEmpty() && pattern.isEmpty())
            continue;
        QString patterns = pattern;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (pattern.isEmpty() || description.contains(QLatin1Char('(')))
            filters << description;
        else
            filters << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return filters.join(QLatin1String(";;"));
}

void showError(QWidget* parent, const QString& title, const QString& text) {
    Prompter::current().ask(parent,
                            {title, text, QMessageBox::Ok, QMessageBox::Critical, QMessageBox::Ok});
}

void showInformation(QWidget* parent, const QString& title, const QString& text) {
    Prompter::current().ask(
        parent, {title, text, QMessageBox::Ok, QMessageBox::Information, QMessageBox::Ok});
}

QMessageBox::StandardButton askQuestion(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) {
    return Prompter::current().ask(parent,
                                   {title, text, buttons, QMessageBox::Question, defaultButton});
}

bool confirmOverwrite(QWidget* parent, QString& path, const QString& title,
                      const QString& question) {
    const auto existing = existingFileNoCase(QFile::encodeName(path).toStdString());
    if (!existing)
        return true;
    const QString existingName = QFile::decodeName(QByteArray::fromStdString(existing->string()));
    const QString text =
        question.isEmpty()
            ? QStringLiteral("Il nome specificato è già presente sul disco !\rSovrascrivo ?")
            : QString(question).replace(QStringLiteral("%1"), existingName);
    if (askQuestion(parent, title.isEmpty() ? QStringLiteral("Attenzione") : title, text,
                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return false;
    path = existingName;
    return true;
}

} // namespace quintor

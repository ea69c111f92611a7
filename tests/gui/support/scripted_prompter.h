#pragma once

#include "gui/common/prompter.h"

#include <QList>
#include <QQueue>
#include <QString>

#include <functional>

namespace quintor::test {

// A prompter for tests: installs itself for its lifetime, records every question and file
// dialog in the order asked, and answers from queues the test fills beforehand.
class ScriptedPrompter : public Prompter {
public:
    enum class Kind { Question, OpenFile, SaveFile };
    struct Asked {
        Kind kind;
        Question question;   // for Kind::Question
        FileRequest request; // for the file dialogs
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    // Answers, consumed in order. An empty queue answers Cancel (or the last button offered)
    // and an empty file name, and counts the request as unanswered.
    void answer(QMessageBox::StandardButton button) { buttons_.enqueue(button); }
    void answerFile(const QString& path) { files_.enqueue(path); }
    void cancelFile() { files_.enqueue(QString()); }

    const QList<Asked>& asked() const { return asked_; }
    QList<Question> questions() const; // only the message boxes
    QList<FileRequest> fileDialogs() const;
    // The text of the last message box, or an empty string.
    QString lastText() const;
    int unanswered() const { return unanswered_; }
    int pendingAnswers() const { return int(buttons_.size() + files_.size()); }
    void clear();
    // Run at each message box as it comes up, to look at the program at that moment.
    std::function<void(const Question&)> onQuestion;

    QMessageBox::StandardButton ask(QWidget* parent, const Question& question) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;

private:
    QString nextFile(Kind kind, const FileRequest& request);

    QList<Asked> asked_;
    QQueue<QMessageBox::StandardButton> buttons_;
    QQueue<QString> files_;
    int unanswered_ = 0;
};

} // namespace quintor::test

#include "tests/gui/support/scripted_prompter.h"

namespace quintor::test {

ScriptedPrompter::ScriptedPrompter() {
    Prompter::install(this);
}

ScriptedPrompter::~ScriptedPrompter() {
    Prompter::install(nullptr);
}

QList<Question> ScriptedPrompter::questions() const {
    QList<Question> result;
    for (const Asked& a : asked_)
        if (a.kind == Kind::Question)
            result << a.question;
    return result;
}

QList<FileRequest> ScriptedPrompter::fileDialogs() const {
    QList<FileRequest> result;
    for (const Asked& a : asked_)
        if (a.kind != Kind::Question)
            result << a.request;
    return result;
}

QString ScriptedPrompter::lastText() const {
    for (auto it = asked_.crbegin(); it != asked_.crend(); ++it)
        if (it->kind == Kind::Question)
            return it->question.text;
    return {};
}

void ScriptedPrompter::clear() {
    asked_.clear();
    buttons_.clear();
    files_.clear();
    unanswered_ = 0;
}

QMessageBox::StandardButton ScriptedPrompter::ask(QWidget* /*parent*/, const Question& question) {
    asked_.append({Kind::Question, question, {}});
    if (onQuestion)
        onQuestion(question);
    if (!buttons_.isEmpty())
        return buttons_.dequeue();
    ++unanswered_;
    if (question.buttons.testFlag(QMessageBox::Cancel))
        return QMessageBox::Cancel;
    if (question.buttons.testFlag(QMessageBox::No))
        return QMessageBox::No;
    return QMessageBox::Ok;
}

QString ScriptedPrompter::nextFile(Kind kind, const FileRequest& request) {
    asked_.append({kind, {}, request});
    if (!files_.isEmpty())
        return files_.dequeue();
    ++unanswered_;
    return {};
}

QString ScriptedPrompter::openFileName(QWidget* /*parent*/, const FileRequest& request) {
    return nextFile(Kind::OpenFile, request);
}

QString ScriptedPrompter::saveFileName(QWidget* /*parent*/, const FileRequest& request) {
    return nextFile(Kind::SaveFile, request);
}

} // namespace quintor::test

// The system window's menu of user functions.
#include "gui/common/feedback.h"
#include "gui/common/program_context.h"
#include "gui/system/system_window.h"
#include "gui/userfunc/user_function_commands.h"

#include <QAction>

namespace quintor {

void SystemWindow::reloadUserFunctions() {
    const UserFunctionList list = loadUserFunctions();
    for (int k = 0; k < functionItems_.size(); ++k) {
        QAction* item = functionItems_[k];
        const bool used = k < static_cast<int>(list.entries.size());
        item->setText(used ? literalMenuText(userFunctionText(
                                 list.entries[static_cast<std::size_t>(k)].caption))
                           : QStringLiteral("&%1").arg(k + 1));
        item->setVisible(used);
        // The item runs the program it was loaded with, whatever happens to the file later.
        item->setData(
            used ? QString::fromStdString(list.entries[static_cast<std::size_t>(k)].program)
                 : QString());
    }
    userFunctionSeparator_->setVisible(!list.entries.empty());
}

void SystemWindow::onUserFunctionTriggered() {
    const auto* item = qobject_cast<const QAction*>(sender());
    if (!item || item->data().toString().isEmpty())
        return;
    // The caption as the list has it, without the doubled "&" of the menu.
    const QString caption = item->text().replace(QLatin1String("&&"), QLatin1String("&"));
    const UserFunction function{item->data().toString().toStdString(), caption.toStdString()};
    runUserFunction(this, state_, function, [this] {
        drawBoardMarks();
        refreshSystemView();
    });
}

void SystemWindow::onAddUserFunctionTriggered() {
    if (addUserFunctionCommand(this))
        emit context_.userFunctionsChanged();
}

void SystemWindow::onDeleteUserFunctionTriggered() {
    if (deleteUserFunctionCommand(this))
        emit context_.userFunctionsChanged();
}

} // namespace quintor

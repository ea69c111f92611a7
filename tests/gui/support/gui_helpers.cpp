#include "tests/gui/support/gui_helpers.h"

#include "app/main_frame.h"
#include "core/program_folder.h"
#include "gui/system/board.h"
#include "gui/system/system_window.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QTableView>
#include <QtTest>

namespace quintor::test {

TestHome::TestHome() : previousCurrent_(QDir::currentPath()) {
    setProgramFolder(dir_.path().toStdString());
    QDir::setCurrent(dir_.path());
}

TestHome::~TestHome() {
    QDir::setCurrent(previousCurrent_);
    setProgramFolder({});
}

void SystemWindowFixture::openSystemWindow() {
    home_ = std::make_unique<TestHome>();
    prompter_ = std::make_unique<ScriptedPrompter>();
    frame_ = std::make_unique<MainFrame>();
    frame_->resize(1200, 760);
    frame_->show();
    frame_->onNewTriggered();
    window_ = frame_->activeSystem();
}

void SystemWindowFixture::closeSystemWindow() {
    if (frame_)
        for (SystemWindow* w : frame_->systems())
            w->state().modified = false;
    frame_.reset();
    window_ = nullptr;
    prompter_.reset();
    home_.reset();
}

Archive cyclicArchive(int count) {
    std::vector<ArchiveRecord> records;
    for (int i = 0; i < count; ++i) {
        Column column;
        for (std::size_t k = 0; k < 6; ++k)
            column[k] = static_cast<std::uint8_t>(1 + 6 * (i % 15) + static_cast<int>(k));
        records.push_back(ArchiveRecord::fromFileFields("01/01/2000", formatColumn(column), " 7"));
    }
    return Archive(std::move(records));
}

QString labelText(const SystemWindow* window, const QString& objectName) {
    const auto* label = window->findChild<QLabel*>(objectName);
    return label ? label->text() : QStringLiteral("<no %1>").arg(objectName);
}

NumberBoard* board(const SystemWindow* window) {
    return child<NumberBoard>(window, "boardWidget");
}

QTableView* finalColumnsGrid(const SystemWindow* window) {
    return child<QTableView>(window, "finalColumnsGrid");
}

QLabel* hintLabel(const MainFrame* frame) {
    return child<QLabel>(frame, "hintLabel");
}

void clickNumber(SystemWindow* window, int n) {
    NumberBoard* numbers = board(window);
    QTest::mouseClick(numbers, Qt::LeftButton, {},
                      numbers->widgetPoint(NumberBoard::cellCentre(n)));
}

QImage boardPicture(NumberBoard* board) {
    return board->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage unmarkedBoardPicture(const NumberBoard* board) {
    NumberBoard blank;
    blank.resize(board->size());
    return boardPicture(&blank);
}

bool cellDiffers(const QImage& a, const QImage& b, const NumberBoard* board, int n) {
    const qreal ratio = a.devicePixelRatio();
    const QRectF logical = board->cellOnWidget(n);
    const QRect cell(QRectF(logical.topLeft() * ratio, logical.size() * ratio).toAlignedRect());
    return a.copy(cell) != b.copy(cell);
}

QRect differenceBounds(const QImage& a, const QImage& b) {
    QRect bounds;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

namespace {
bool fire(QAction* action) {
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}
} // namespace

bool trigger(SystemWindow* window, const QString& objectName) {
    return fire(window->command(objectName));
}

bool trigger(MainFrame* frame, const QString& objectName) {
    return fire(frame->command(objectName));
}

} // namespace quintor::test

// No window shows a cut text: every caption, label and button text fits its control, and every
// title fits its window's title bar. ctest runs this at 100 % and at 200 % (QT_SCALE_FACTOR).
#include "app/main_frame.h"
#include "gui/system/system_window.h"
#include "tests/gui/support/every_window.h"
#include "tests/gui/support/gui_helpers.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QtTest>

using namespace quintor;

namespace {

// What a title bar takes beside the title: the window's icon and three buttons, with margins.
constexpr int titleBarRoom = 4 * 24 + 24;
const QChar ellipsis(0x2026);

QString plain(QString text) {
    return text.replace(QLatin1String("&&"), QLatin1String("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// How far right the ink of the widest line reaches.
int widestLine(const QFontMetrics& metrics, const QString& text) {
    int widest = 0;
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("[\r\n]"))))
        widest = std::max(widest, metrics.boundingRect(line).right() + 1);
    return widest;
}

bool labelCut(const QLabel* label) {
    if (label->text().isEmpty() || Qt::mightBeRichText(label->text()) ||
        label->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored)
        return false;
    const QRect room = label->contentsRect();
    if (label->text().contains(ellipsis))
        return true;
    if (label->wordWrap())
        return label->heightForWidth(label->width()) > label->height();
    // With a buddy, "&" marks the mnemonic and is not shown.
    const QString text = label->buddy() ? plain(label->text()) : label->text();
    const QFontMetrics metrics(label->font());
    const int lines = int(text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r'))) + 1;
    return widestLine(metrics, text) > room.width() - 2 * label->margin() ||
           metrics.height() * lines > room.height() + metrics.leading() * lines;
}

bool buttonCut(const QAbstractButton* button) {
    const QString text = plain(button->text());
    if (text.isEmpty())
        return false;
    if (text.contains(ellipsis))
        return true;
    const QFontMetrics metrics(button->font());
    if (qobject_cast<const QPushButton*>(button)) {
        // The style's margins on both sides of the text, and the icon when there is one.
        const int margins = button->style()->pixelMetric(QStyle::PM_ButtonMargin) +
                            2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return metrics.horizontalAdvance(text) + icon + margins > button->width();
    }
    // Check boxes, radio buttons and tool buttons ask for their whole content.
    return button->sizeHint().width() > button->width();
}

// Cut texts of window (and of the controls inside it), as "window: what (text)".
QStringList cutTexts(QWidget* window) {
    QStringList found;
    const QString where = window->objectName().isEmpty()
                              ? QString::fromLatin1(window->metaObject()->className())
                              : window->objectName();
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    // A window the user cannot widen must be wide enough for its title.
    if (window->isWindow() && window->minimumWidth() == window->maximumWidth() &&
        QFontMetrics(titleFont).horizontalAdvance(window->windowTitle()) + titleBarRoom >
            window->width())
        found << QStringLiteral("%1: titolo (%2)").arg(where, window->windowTitle());
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->window() != window)
            continue;
        QString text;
        bool cut = false;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            cut = labelCut(label);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            text = button->text();
            cut = buttonCut(button);
        } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
            text = box->title();
            cut = QFontMetrics(box->font()).horizontalAdvance(plain(text)) + 16 > box->width();
        }
        if (cut)
            found << QStringLiteral("%1: %2 (%3)").arg(where, w->objectName(), text);
    }
    return found;
}

} // namespace

class WindowTextsTest : public QObject, protected test::SystemWindowFixture {
    Q_OBJECT
private slots:
    void init() { openSystemWindow(); }
    void cleanup() { closeSystemWindow(); }
    void noTextIsCut();
};

void WindowTextsTest::noTextIsCut() {
    QStringList cut = cutTexts(frame_.get());
    // QUINTOR_SHOTS=folder keeps a picture of each window as it was checked.
    const QString shots = qEnvironmentVariable("QUINTOR_SHOTS");
    const QStringList missing =
        test::visitEveryWindow(window_, home_->path(), [&cut, &shots](QWidget* shown) {
            cut << cutTexts(shown);
            if (!shots.isEmpty())
                shown->grab().save(QStringLiteral("%1/%2.png").arg(shots, shown->objectName()));
        });
    for (const QString& name : missing)
        cut << name + QStringLiteral(": not shown");
    QVERIFY2(cut.isEmpty(), qPrintable(QLatin1Char('\n') + cut.join(QLatin1Char('\n'))));
}

QTEST_MAIN(WindowTextsTest)
#include "test_window_texts.moc"

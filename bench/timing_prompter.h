#pragma once

// The window benchmarks' answer to the stop question: one fixed button, and the moment the
// question came, in nanoseconds on clock.

#include "gui/common/prompter.h"

#include <QElapsedTimer>

namespace bench {

class TimingPrompter : public quintor::Prompter {
public:
    explicit TimingPrompter(QMessageBox::StandardButton answer) : answer_(answer) {}

    QElapsedTimer clock;
    qint64 askedAt = -1;

    QMessageBox::StandardButton ask(QWidget*, const quintor::Question&) override {
        askedAt = clock.nsecsElapsed();
        return answer_;
    }
    QString openFileName(QWidget*, const quintor::FileRequest&) override { return {}; }
    QString saveFileName(QWidget*, const quintor::FileRequest&) override { return {}; }

private:
    QMessageBox::StandardButton answer_;
};

} // namespace bench

#include "core/selection_scheduler.h"

#include "core/ahead_workers.h"

#include <algorithm>
#include <mutex>

namespace quintor {

namespace {

constexpr std::size_t lag = schedulerLag;
constexpr std::uint64_t reportStep = 1 << 15;

class Progress {
public:
    Progress(std::uint64_t total, RunControl* control, const SelectionProgress& progress)
        : total_(total), control_(control), progress_(progress) {}

    // False when the run must end.
    bool add(std::uint64_t columns) {
        examined_ += columns;
        if (examined_ - reported_ < reportStep)
            return true;
        return report(false);
    }
    bool report(bool last) {
        reported_ = examined_;
        if (control_ && control_->cancelRequested())
            return false;
        if (progress_)
            progress_(last ? total_ : examined_, total_);
        return !control_ || control_->checkpoint();
    }

private:
    std::uint64_t total_;
    RunControl* control_;
    const SelectionProgress& progress_;
    std::uint64_t examined_ = 0, reported_ = 0;
};

class Scheduler {
public:
    Scheduler(const SelectionModel& model, SelectionList& list, int threads, Progress& progress)
        : model_(model), list_(list), units_(model.units()), slots_(units_.size()),
          cutoffAfter_(units_.size()), threads_(threads), progress_(progress),
          foundLimit_(std::max<std::size_t>(1024, 2 * model.capacity)) {}

    // An exception on any thread (no memory for the candidates, no thread to start) ends the
    // run on every thread and is thrown again here, on the caller's thread, once all have
    // ended: never out of a thread, which would end the program.
    ScheduleOutcome run() {
        ScheduleOutcome outcome;
        SelectionWalker own(model_, vectorPath());
        workers_.run(
            threads_, [this] { walkAhead(); },
            [&] { outcome.completed = consume(own, outcome.rescannedUnits); });
        return outcome;
    }

private:
    struct Slot {
        bool ready = false;
        bool complete = false;
        double threshold = 0;
        std::vector<Candidate> found;
    };

    // The unit whose outcome gives the threshold of unit k.
    static std::size_t source(std::size_t k) { return k > lag ? k - lag : 0; }

    void walkAhead() {
        SelectionWalker walker(model_, vectorPath());
        std::vector<Candidate> found;
        while (true) {
            std::size_t k;
            double threshold;
            {
                std::unique_lock lock(workers_.mutex);
                workers_.changed.wait(lock, [&] {
                    return workers_.quit || taken_ >= units_.size() || consumed_ > source(taken_);
                });
                if (workers_.quit || taken_ >= units_.size())
                    return;
                k = taken_++;
                threshold = cutoffAfter_[source(k)];
            }
            const bool complete = walker.collect(units_[k], threshold, foundLimit_, found);
            {
                std::lock_guard lock(workers_.mutex);
                Slot& slot = slots_[k];
                slot.threshold = threshold;
                slot.complete = complete;
                slot.found.swap(found);
                slot.ready = true;
            }
            workers_.changed.notify_all();
        }
    }

    // The list takes the units in order; the first it walks itself.
    bool consume(SelectionWalker& own, int& rescans) {
        for (std::size_t k = 0; k < units_.size(); ++k) {
            if (k == 0 || threads_ == 0) {
                own.walk(units_[k], list_);
            } else {
                Slot slot;
                {
                    std::unique_lock lock(workers_.mutex);
                    workers_.changed.wait(lock,
                                          [&] { return slots_[k].ready || workers_.failure; });
                    if (!slots_[k].ready)
                        return false; // run() throws the worker's failure
                    slot = std::move(slots_[k]);
                    slots_[k] = Slot{};
                }
                take(own, units_[k], slot, rescans);
            }
            {
                std::lock_guard lock(workers_.mutex);
                cutoffAfter_[k] = list_.cutoff();
                consumed_ = k + 1;
            }
            workers_.changed.notify_all();
            if (!progress_.add(model_.below(2, units_[k].second)))
                return false;
        }
        return progress_.report(true);
    }

    void take(SelectionWalker& own, SelectionUnit unit, const Slot& slot, int& rescans) {
        if (!slot.complete || list_.cutoff() < slot.threshold) {
            ++rescans;
            own.walk(unit, list_);
            return;
        }
        for (const Candidate& c : slot.found) {
            list_.offer(c.column, c.score);
            if (list_.cutoff() < slot.threshold) {
                ++rescans;
                own.walk(unit, list_, &c.column);
                return;
            }
        }
    }

    const SelectionModel& model_;
    SelectionList& list_;
    std::vector<SelectionUnit> units_;
    std::vector<Slot> slots_;
    std::vector<double> cutoffAfter_;
    int threads_;
    Progress& progress_;
    std::size_t foundLimit_;

    AheadWorkers workers_;
    std::size_t taken_ = 1; // unit 0 is the list's own
    std::size_t consumed_ = 0;
};

} // namespace

ScheduleOutcome scheduleSelection(const SelectionModel& model, SelectionList& list, int threads,
                                  RunControl* control, const SelectionProgress& progress) {
    Progress counter(model.total(), control, progress);
    if (model.rejectsAll()) {
        // Every column lacks a fixed number: all are rejected without scoring them.
        return {counter.report(true), 0};
    }
    Scheduler scheduler(model, list, threads > 1 ? threads : 0, counter);
    return scheduler.run();
}

} // namespace quintor

#include "ServiceWait.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

#include "VelApplicationTitle.h"
#include "VelErrors.h"

// What the window's thread and one call's thread share. The mutex makes "the call delivered" and
// "nobody waits any more" exclude each other, so a result is either taken or undone, never lost.
struct TServiceCallState {
    explicit TServiceCallState(std::chrono::milliseconds bound) : call(bound) {}

    TServiceCall call;
    std::mutex mutex;
    bool delivered = false;
    bool abandoned = false;
    // Gets an event when the call delivers, which wakes the waiting window's thread.
    QObject* waker = nullptr;
    std::exception_ptr error;
    std::atomic<bool> ended{false};
};

namespace {

const QString kNoAnswer = QStringLiteral("The print service does not answer");

// Under the state's mutex.
void MarkDelivered(TServiceCallState& state)
{
    state.delivered = true;
    if (state.waker)
        QCoreApplication::postEvent(state.waker, new QEvent(QEvent::User));
}

bool Deliver(TServiceCallState& state)
{
    const std::lock_guard<std::mutex> lock(state.mutex);
    if (state.abandoned)
        return false;
    MarkDelivered(state);
    return true;
}

void RunCall(TServiceCallState& state,
             const std::function<void(const TServiceCall&, const std::function<bool()>&)>& body)
{
    try {
        body(state.call, [&state] { return Deliver(state); });
    } catch (...) {
        const std::lock_guard<std::mutex> lock(state.mutex);
        if (!state.abandoned && !state.delivered) {
            state.error = std::current_exception();
            MarkDelivered(state);
        }
    }
    state.ended = true;
}

// Calls the window stopped waiting for have been told to stop, and end soon; they are joined
// here, the ones already ended whenever another joins them, the rest when the program ends.
class TStragglers {
public:
    ~TStragglers()
    {
        TServiceCall::StopAll();
        for (TStraggler& s : stragglers_)
            s.thread.join();
    }

    void Adopt(std::thread thread, std::shared_ptr<TServiceCallState> state)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto ended =
            std::partition(stragglers_.begin(), stragglers_.end(), [](const TStraggler& s) { return !s.state->ended; });
        for (auto it = ended; it != stragglers_.end(); ++it)
            it->thread.join();
        stragglers_.erase(ended, stragglers_.end());
        stragglers_.push_back({std::move(thread), std::move(state)});
    }

private:
    struct TStraggler {
        std::thread thread;
        std::shared_ptr<TServiceCallState> state;
    };
    std::mutex mutex_;
    std::vector<TStraggler> stragglers_;
};

TStragglers& Stragglers()
{
    static TStragglers stragglers;
    return stragglers;
}

} // namespace

TServiceWait::TServiceWait(QWidget* owner, std::chrono::milliseconds bound, std::chrono::milliseconds boxDelay)
    : owner_(owner), bound_(bound)
{
    boxTimer_.setSingleShot(true);
    QObject::connect(&boxTimer_, &QTimer::timeout, [this] { ShowBox(); });
    boxTimer_.start(boxDelay);
}

TServiceWait::~TServiceWait()
{
    delete box_.data();
}

void TServiceWait::ShowBox()
{
    auto* box = new QProgressDialog(QStringLiteral("Printing…"), QStringLiteral("Cancel"), 0, 0, owner_);
    box->setWindowTitle(VelApplicationTitle());
    // Like the print on the window's thread it stands for: nothing else is worked until it ends.
    box->setWindowModality(Qt::ApplicationModal);
    box->setAutoClose(false);
    box->setAutoReset(false);
    QObject::connect(box, &QProgressDialog::canceled, [this] { cancelled_ = true; });
    box_ = box;
    box->show();
}

bool TServiceWait::Wait(TBody body)
{
    auto state = std::make_shared<TServiceCallState>(bound_);
    QObject waker;
    state->waker = &waker;
    std::thread thread([state, body = std::move(body)] { RunCall(*state, body); });
    const TOutcome outcome = Await(*state);
    if (outcome != TOutcome::Delivered) {
        Stragglers().Adopt(std::move(thread), state);
        if (outcome == TOutcome::Cancelled)
            return false;
        throw EVelPrinterError(kNoAnswer);
    }
    thread.join();
    // libcups gave up at the deadline just before the window's thread did.
    if (state->call.Expired())
        throw EVelPrinterError(kNoAnswer);
    if (state->error)
        std::rethrow_exception(state->error);
    return true;
}

TServiceWait::TOutcome TServiceWait::Await(TServiceCallState& state)
{
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    for (;;) {
        {
            const std::lock_guard<std::mutex> lock(state.mutex);
            if (state.delivered) {
                state.waker = nullptr;
                return TOutcome::Delivered;
            }
            if (cancelled_ || state.call.Overdue()) {
                state.abandoned = true;
                state.waker = nullptr;
                state.call.Stop();
                return cancelled_ ? TOutcome::Cancelled : TOutcome::Overdue;
            }
        }
        // Wakes the loop when the service's time is up.
        if (!deadline.isActive())
            deadline.start(std::max(state.call.Remaining(), std::chrono::milliseconds(1)));
        QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
        // Until the box stands in front of the window, input waits for the print to end.
        if (!box_ || !box_->isVisible())
            flags |= QEventLoop::ExcludeUserInputEvents;
        loop.processEvents(flags);
    }
}

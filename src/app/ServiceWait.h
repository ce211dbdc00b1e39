#pragma once

#include <QPointer>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "ServiceCall.h"

class QProgressDialog;
class QWidget;
struct TServiceCallState;

// Runs the print service's calls on threads of their own while the window goes on painting and
// answering the window manager. For the user the print still runs to its end before the window
// can be worked again: input waits at first, and once the service takes longer than a moment a
// modal "Printing…" box with Cancel takes over. One object serves one print, so however many
// calls it makes, the box shows at most once.
class TServiceWait {
public:
    // `owner` is the window the box is centred on; every call may take `bound` before the service
    // counts as not answering.
    TServiceWait(QWidget* owner, std::chrono::milliseconds bound, std::chrono::milliseconds boxDelay);
    ~TServiceWait();
    TServiceWait(const TServiceWait&) = delete;
    TServiceWait& operator=(const TServiceWait&) = delete;

    // work(call) on a thread of its own: its result, or nothing when the user cancelled. Raises
    // EVelPrinterError "The print service does not answer" when the bound passes first; a call
    // nobody waits for any more is told to stop, and whatever it still achieves is handed to
    // `withdraw` on its own thread, to be undone.
    template <class R>
    std::optional<R> Run(std::function<R(const TServiceCall&)> work, std::function<void(R&)> withdraw = {})
    {
        auto result = std::make_shared<std::optional<R>>();
        const bool answered = Wait([result, work = std::move(work), withdraw = std::move(withdraw)](
                                       const TServiceCall& call, const std::function<bool()>& deliver) {
            *result = work(call);
            if (!deliver() && withdraw)
                withdraw(**result);
        });
        if (!answered)
            return std::nullopt;
        return std::move(*result);
    }

private:
    enum class TOutcome { Delivered, Cancelled, Overdue };
    using TBody = std::function<void(const TServiceCall&, const std::function<bool()>& deliver)>;

    bool Wait(TBody body);
    TOutcome Await(TServiceCallState& state);
    void ShowBox();

    QPointer<QWidget> owner_;
    std::chrono::milliseconds bound_;
    QTimer boxTimer_;
    QPointer<QProgressDialog> box_;
    bool cancelled_ = false;
};

#pragma once

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <memory>

#include "ServiceCall.h"

// What the print service is asked, on a thread of the caller's choosing: every function here
// opens its own connection, bounded by the TServiceCall it is given, and touches nothing of the
// window.

struct TQueueHandle;

// A print queue as the service described it when it was looked up.
struct TPrintQueue {
    // Empty when there is no such queue (or no default one), or the service could not be reached.
    QString name;
    bool acceptingJobs = false;
    // Stopped by its administrator or by a fault: it takes jobs and keeps them until resumed.
    bool paused = false;
    // Dots per inch of the queue's default resolution, the fallback when it reports none.
    int resolution = 0;
    // The queue's default paper and printable area; invalid when the service names none.
    QPageLayout page;
    // Why a queue that exists could not be described; empty when it was.
    QString failure;
    std::shared_ptr<TQueueHandle> handle;
};

// The queue `name`, or with an empty name the user's default one: LPDEST, PRINTER, the user's
// lpoptions, then the service's own default. Two requests to the service on one connection (three
// when the queue reports its resolution only in its PPD).
TPrintQueue LookUpQueue(const TServiceCall& call, const QString& name = {});

struct TJob {
    // The service's number for the job; 0 when it did not take it.
    int id = 0;
    // It did not take it because the queue rejects jobs.
    bool notAccepting = false;
    // The service's reason when it did not take it.
    QString error;
};

// Hands `pdf` to the queue as one job named `title`. A job the service created but could not
// complete is withdrawn, so no half job stays behind.
TJob SubmitJob(const TServiceCall& call, const TPrintQueue& queue, const QString& title, const QByteArray& pdf);

// Withdraws job `id` from the queue, waiting for the service no longer than `call` allows.
void CancelJob(const TServiceCall& call, const TPrintQueue& queue, int id);

#include "PrintQueue.h"

#include <QMarginsF>
#include <QPageSize>
#include <QSizeF>

#include <algorithm>
#include <sys/socket.h>

#include "CupsLibrary.h"
#include "PrinterResolution.h"

struct TQueueHandle {
    TQueueHandle(const TCups& library, cups_dest_t* d, cups_dinfo_t* i) : cups(library), dest(d), info(i) {}
    ~TQueueHandle()
    {
        if (info)
            cups.FreeDestInfo(info);
        cups.FreeDests(1, dest);
    }
    TQueueHandle(const TQueueHandle&) = delete;
    TQueueHandle& operator=(const TQueueHandle&) = delete;

    const TCups& cups;
    cups_dest_t* dest;
    cups_dinfo_t* info;
};

namespace {

// How often a wait for the service stops to ask whether it should go on.
constexpr double kPollSeconds = 0.1;

int KeepWaiting(http_t*, void* call)
{
    return static_cast<const TServiceCall*>(call)->GiveUp() ? 0 : 1;
}

// One connection to the service, every wait on it bounded by the call.
class TServiceLink {
public:
    TServiceLink(const TCups& cups, const TServiceCall& call) : cups_(cups)
    {
        // 0 would mean no limit at all.
        const int msec = static_cast<int>(std::max<long long>(1, call.Remaining().count()));
        http_ = cups.Connect(cups.Server(), cups.Port(), nullptr, AF_UNSPEC, cups.Encryption(), 1, msec, nullptr);
        if (http_)
            cups.SetTimeout(http_, kPollSeconds, KeepWaiting, const_cast<TServiceCall*>(&call));
        else
            call.GiveUp(); // a connection that took all the time there was is a service that does not answer
    }
    ~TServiceLink()
    {
        if (http_)
            cups_.Close(http_);
    }
    TServiceLink(const TServiceLink&) = delete;
    TServiceLink& operator=(const TServiceLink&) = delete;

    http_t* Http() const { return http_; }

private:
    const TCups& cups_;
    http_t* http_ = nullptr;
};

QString LastError(const TCups& cups)
{
    return QString::fromUtf8(cups.LastErrorString());
}

// libcups measures paper in hundredths of a millimetre.
constexpr double kHundredthsPerMm = 100.0;

int Integer(const TCups& cups, ipp_t* collection, const char* name)
{
    ipp_attribute_t* attr = collection ? cups.FindAttribute(collection, name, IPP_TAG_INTEGER) : nullptr;
    return attr ? cups.GetInteger(attr, 0) : 0;
}

ipp_t* Collection(const TCups& cups, ipp_t* collection, const char* name)
{
    ipp_attribute_t* attr = cups.FindAttribute(collection, name, IPP_TAG_BEGIN_COLLECTION);
    return attr ? cups.GetCollection(attr, 0) : nullptr;
}

// The queue's own default paper, media-col-default: its name (media-default) may be empty, and
// libcups's cupsGetDestMediaDefault passes over both for US Letter, which puts an A4 queue's
// page off its paper.
bool QueueMedia(const TCups& cups, http_t* http, cups_dest_t* dest, cups_dinfo_t* info, cups_size_t& size)
{
    ipp_attribute_t* attr = cups.FindDestDefault(http, dest, info, "media-col");
    if (!attr || cups.GetValueTag(attr) != IPP_TAG_BEGIN_COLLECTION)
        return false;
    ipp_t* media = cups.GetCollection(attr, 0);
    ipp_t* dimensions = Collection(cups, media, "media-size");
    size.width = Integer(cups, dimensions, "x-dimension");
    size.length = Integer(cups, dimensions, "y-dimension");
    size.left = Integer(cups, media, "media-left-margin");
    size.right = Integer(cups, media, "media-right-margin");
    size.top = Integer(cups, media, "media-top-margin");
    size.bottom = Integer(cups, media, "media-bottom-margin");
    return true;
}

// The paper the user chose for the queue (lpoptions), else the queue's own default.
QPageLayout DefaultPage(const TCups& cups, http_t* http, cups_dest_t* dest, cups_dinfo_t* info)
{
    cups_size_t size{};
    const char* chosen = cups.GetOption("media", dest->num_options, dest->options);
    const bool known = chosen ? cups.GetDestMediaByName(http, dest, info, chosen, CUPS_MEDIA_FLAGS_DEFAULT, &size) != 0
                              : QueueMedia(cups, http, dest, info, size);
    if (!known || size.width <= 0 || size.length <= 0)
        return {};
    const QPageSize paper(QSizeF(size.width / kHundredthsPerMm, size.length / kHundredthsPerMm), QPageSize::Millimeter,
                          QString(), QPageSize::FuzzyMatch);
    const QMarginsF margins(size.left / kHundredthsPerMm, size.top / kHundredthsPerMm, size.right / kHundredthsPerMm,
                            size.bottom / kHundredthsPerMm);
    return QPageLayout(paper, QPageLayout::Portrait, margins, QPageLayout::Millimeter);
}

void Describe(TPrintQueue& queue, const TCups& cups, http_t* http, const TQueueHandle& handle)
{
    cups_dest_t* dest = handle.dest;
    const char* accepting = cups.GetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const char* state = cups.GetOption("printer-state", dest->num_options, dest->options);
    // A service that does not say is taken at its word when the job is handed over.
    queue.acceptingJobs = !accepting || qstrcmp(accepting, "false") != 0;
    queue.paused = state && QByteArray(state).toInt() == IPP_PSTATE_STOPPED;
    if (!handle.info) {
        queue.failure = LastError(cups);
        return;
    }
    const int dpi = ReportedResolution(cups, http, dest, handle.info);
    queue.resolution = dpi > 0 ? dpi : kFallbackResolution;
    queue.page = DefaultPage(cups, http, dest, handle.info);
}

bool Failed(ipp_status_t status)
{
    return status > IPP_STATUS_OK_EVENTS_COMPLETE;
}

TJob Refusal(const TCups& cups)
{
    TJob job;
    job.notAccepting = cups.LastError() == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS;
    job.error = LastError(cups);
    return job;
}

bool SendDocument(const TCups& cups, http_t* http, const TQueueHandle& queue, int id, const QByteArray& title,
                  const QByteArray& pdf)
{
    if (cups.StartDestDocument(http, queue.dest, queue.info, id, title.constData(), CUPS_FORMAT_PDF, 0, nullptr, 1) !=
        HTTP_STATUS_CONTINUE)
        return false;
    constexpr qsizetype kChunk = 64 * 1024;
    bool written = true;
    for (qsizetype at = 0; written && at < pdf.size(); at += kChunk) {
        const auto length = static_cast<size_t>(std::min(kChunk, pdf.size() - at));
        written = cups.WriteRequestData(http, pdf.constData() + at, length) == HTTP_STATUS_CONTINUE;
    }
    // Finishing reads the service's answer, which also says why a write failed.
    return !Failed(cups.FinishDestDocument(http, queue.dest, queue.info)) && written;
}

} // namespace

TPrintQueue LookUpQueue(const TServiceCall& call, const QString& name)
{
    TPrintQueue queue;
    const TCups* cups = Cups();
    if (!cups)
        return queue;
    const TServiceLink link(*cups, call);
    if (!link.Http())
        return queue;
    const QByteArray wanted = name.toUtf8();
    cups_dest_t* dest = cups->GetNamedDest(link.Http(), wanted.isEmpty() ? nullptr : wanted.constData(), nullptr);
    if (!dest)
        return queue;
    auto handle = std::make_shared<TQueueHandle>(*cups, dest, cups->CopyDestInfo(link.Http(), dest));
    queue.name = QString::fromUtf8(dest->name);
    Describe(queue, *cups, link.Http(), *handle);
    queue.handle = std::move(handle);
    return queue;
}

TJob SubmitJob(const TServiceCall& call, const TPrintQueue& queue, const QString& title, const QByteArray& pdf)
{
    const TCups* cups = Cups();
    if (!cups || !queue.handle || !queue.handle->info)
        return {};
    const TQueueHandle& target = *queue.handle;
    const QByteArray name = title.toUtf8();
    TJob job;
    {
        const TServiceLink link(*cups, call);
        if (!link.Http())
            return Refusal(*cups);
        if (Failed(cups->CreateDestJob(link.Http(), target.dest, target.info, &job.id, name.constData(), 0, nullptr)))
            return Refusal(*cups);
        if (SendDocument(*cups, link.Http(), target, job.id, name, pdf))
            return job;
    }
    const int created = job.id;
    job = Refusal(*cups);
    // The connection may be stuck half way through the document; a fresh one, with time of its
    // own, withdraws the job even when the user has just cancelled.
    CancelJob(TServiceCall(call.Bound()), queue, created);
    return job;
}

void CancelJob(const TServiceCall& call, const TPrintQueue& queue, int id)
{
    const TCups* cups = Cups();
    if (!cups || !queue.handle || id <= 0)
        return;
    const TServiceLink link(*cups, call);
    if (link.Http())
        cups->CancelDestJob(link.Http(), queue.handle->dest, id);
}

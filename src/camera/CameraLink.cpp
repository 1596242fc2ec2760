#include "camera/CameraLink.h"

#include "camera/LinkCache.h"

#include <QPointer>
#include <QThread>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <system_error>

namespace {

// A camera server serves only a few clients: a connection idle this long is closed.
constexpr std::chrono::seconds kIdleConnectionLife{30};
constexpr std::chrono::seconds kIdleCheckEvery{5};

} // namespace

struct CameraLink::Transfer {
    CameraRequest request;
    RequestOutcome outcome;
    std::atomic<bool> cancel{false};
    QPointer<QObject> context;
    bool hasContext = false;
    Done done;
    std::thread thread;
};

struct CameraLink::Worker {
    std::thread thread;
    std::atomic<bool> ended{false};
};

CameraLink::CameraLink(QObject* parent)
    : QObject(parent)
{
    initTransfers();
    setIdleConnectionLife(kIdleConnectionLife, kIdleCheckEvery);
    connect(&m_idleTimer, &QTimer::timeout, this, [this] { closeIdleHandles(m_idleLife); });
}

void CameraLink::setIdleConnectionLife(std::chrono::milliseconds life, std::chrono::milliseconds checkEvery)
{
    m_idleLife = life;
    m_idleTimer.start(checkEvery);
}

CameraLink::~CameraLink()
{
    m_ending.store(true);
    for (auto& transfer : m_transfers)
        transfer->cancel.store(true);
    for (auto& transfer : m_transfers) {
        if (transfer->thread.joinable())
            transfer->thread.join();
    }
    for (auto& worker : m_workers) {
        if (worker->thread.joinable())
            worker->thread.join();
    }
}

void CameraLink::start(CameraRequest request, QObject* context, Done done)
{
    if (m_closed)
        return;
    auto owned = std::make_unique<Transfer>();
    Transfer* transfer = owned.get();
    transfer->request = std::move(request);
    transfer->request.cancel = &transfer->cancel;
    transfer->context = context;
    transfer->hasContext = context != nullptr;
    transfer->done = std::move(done);
    m_transfers.push_back(std::move(owned));
    try {
        transfer->thread = std::thread([this, transfer] {
            performCameraRequest(transfer->request, &transfer->outcome);
            QMetaObject::invokeMethod(this, [this, transfer] { transferEnded(transfer); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        QMetaObject::invokeMethod(this, [this, transfer] { transferEnded(transfer); }, Qt::QueuedConnection);
    }
}

void CameraLink::transferEnded(Transfer* transfer)
{
    for (auto it = m_transfers.begin(); it != m_transfers.end(); ++it) {
        if (it->get() != transfer)
            continue;
        std::unique_ptr<Transfer> ended = std::move(*it);
        m_transfers.erase(it);
        if (ended->thread.joinable())
            ended->thread.join();
        if (continues(ended->hasContext, ended->context) && ended->done)
            ended->done(ended->outcome);
        return;
    }
}

void CameraLink::FetchSnapshot(const QString& autoJpgPath, QObject* context, Done done)
{
    start(snapshotRequest(settings(), autoJpgPath), context, std::move(done));
}

bool CameraLink::continues(bool hadContext, const QPointer<QObject>& context) const
{
    return !m_closed && (!hadContext || context);
}

void CameraLink::refuse(QObject* context, Done done)
{
    QPointer<QObject> guard(context);
    const bool hasContext = context != nullptr;
    ++m_refused;
    post([this, guard, hasContext, done = std::move(done)] {
        --m_refused;
        if (continues(hasContext, guard) && done)
            done(RequestOutcome{});
    });
}

void CameraLink::SendCameraCommand(int code, const QString& programFolder, QObject* context, Done done)
{
    std::optional<CameraRequest> request = commandRequest(code, settings(), programFolder);
    if (!request)
        return refuse(context, std::move(done));
    start(std::move(*request), context, std::move(done));
}

void CameraLink::FetchSdListing(const QString& programFolder, const QByteArray& relativePath,
                                const QByteArray& fileName, bool recording, QObject* context, Done done)
{
    std::optional<CameraRequest> request =
        sdListingRequest(settings(), programFolder, relativePath, fileName, recording);
    if (!request)
        return refuse(context, std::move(done));
    start(std::move(*request), context, std::move(done));
}

void CameraLink::close()
{
    if (m_closed)
        return;
    m_closed = true;
    for (auto& transfer : m_transfers)
        transfer->cancel.store(true);
    emit closing();
}

bool CameraLink::startWorker(std::function<void(const std::atomic<bool>& ending)> body)
{
    reapWorkers();
    auto worker = std::make_unique<Worker>();
    Worker* raw = worker.get();
    try {
        worker->thread = std::thread([this, raw, body = std::move(body)] {
            body(m_ending);
            raw->ended.store(true);
        });
    } catch (const std::system_error&) {
        return false;
    }
    m_workers.push_back(std::move(worker));
    return true;
}

int CameraLink::liveWorkers() const
{
    int live = 0;
    for (const auto& worker : m_workers)
        live += worker->ended.load() ? 0 : 1;
    return live;
}

void CameraLink::reapWorkers()
{
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if ((*it)->ended.load()) {
            (*it)->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

void CameraLink::post(std::function<void()> f)
{
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void CameraLink::report(const QString& caption, const QString& text)
{
    if (QThread::currentThread() == thread())
        return showNote(caption, text, {});
    struct Shown {
        std::mutex mutex;
        std::condition_variable closed;
        bool done = false;
    };
    auto shown = std::make_shared<Shown>();
    const auto close = [shown] {
        std::lock_guard lock(shown->mutex);
        shown->done = true;
        shown->closed.notify_all();
    };
    post([this, caption, text, close] { showNote(caption, text, close); });
    std::unique_lock lock(shown->mutex);
    while (!shown->done && !m_ending.load())
        shown->closed.wait_for(lock, std::chrono::milliseconds(50));
}

void CameraLink::showNote(const QString& caption, const QString& text, const std::function<void()>& closed)
{
    if (m_showNote)
        return m_showNote(caption, text, closed);
    std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    if (closed)
        closed();
}

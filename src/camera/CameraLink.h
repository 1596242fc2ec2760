#pragma once
// The program's link to its camera: runs each request on a transfer thread of its own and hands
// the outcome back to the thread the link lives on, where the caller's next steps continue. The
// link owns what runs on its behalf (transfers and background workers): closing it ends every
// chain of steps, and destroying it aborts and joins every thread before it goes.

#include "camera/CameraRequest.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <thread>

class CameraLink final : public QObject {
    Q_OBJECT
public:
    using Done = std::function<void(const RequestOutcome& outcome)>;

    explicit CameraLink(QObject* parent = nullptr);
    ~CameraLink() override;

    // The settings the requests use: the program's settings record unless set here.
    void setSettings(const CameraSettings& settings) { m_settings = settings; }
    CameraSettings settings() const { return m_settings.value_or(currentCameraSettings()); }

    // Starts a request; done runs on the link's thread once the request has ended, unless context
    // was destroyed or the link closed meanwhile. A request refused before anything was sent ends
    // the same way, never inside this call.
    void start(CameraRequest request, QObject* context, Done done);

    // The program's requests, by their names.
    void FetchSnapshot(const QString& autoJpgPath, QObject* context, Done done);
    void SendCameraCommand(int code, const QString& programFolder, QObject* context, Done done);
    void FetchSdListing(const QString& programFolder, const QByteArray& relativePath, const QByteArray& fileName,
                        bool recording, QObject* context, Done done);

    // Connections nobody has used for life are closed, looked for every checkEvery; 30 s by
    // default, so that a small camera server keeps its few places for other clients.
    void setIdleConnectionLife(std::chrono::milliseconds life, std::chrono::milliseconds checkEvery);

    // Ends every chain: running transfers are aborted and no continuation runs any more.
    void close();
    bool closed() const { return m_closed; }
    // Requests whose continuation has not run yet.
    int running() const { return static_cast<int>(m_transfers.size()) + m_refused; }

    // Runs body on a background thread the link owns. ending turns true when the link goes; the
    // body then ends its transfer at once and returns. False when no thread could be started.
    bool startWorker(std::function<void(const std::atomic<bool>& ending)> body);
    int liveWorkers() const;
    // Runs f on the link's thread soon; callable from any thread. Dropped once the link has gone.
    void post(std::function<void()> f);
    // A message from a background thread: shown on the link's thread in a box of its own that
    // blocks no window; the caller waits until it is closed or the link goes. From the link's
    // thread the desktop's ordinary box is shown.
    void report(const QString& caption, const QString& text);
    // How report() shows a box that blocks no window, on the link's thread; closed runs once the
    // user has closed it. Without one the text goes to stderr.
    using NoteShower = std::function<void(const QString& caption, const QString& text, std::function<void()> closed)>;
    void setNoteShower(NoteShower shower) { m_showNote = std::move(shower); }

signals:
    // The link was closed: windows waiting for it close too.
    void closing();

private:
    struct Transfer;
    struct Worker;
    void transferEnded(Transfer* transfer);
    // A request refused before it was formed ends like any other, after the caller's step.
    void refuse(QObject* context, Done done);
    void reapWorkers();
    // Whether a continuation still runs: the link is open and the window it was made for, if
    // any, still exists.
    bool continues(bool hadContext, const QPointer<QObject>& context) const;
    // Shows a note through the shower, or on stderr without one; closed runs once it is closed.
    void showNote(const QString& caption, const QString& text, const std::function<void()>& closed);

    std::list<std::unique_ptr<Transfer>> m_transfers;
    std::list<std::unique_ptr<Worker>> m_workers;
    std::atomic<bool> m_ending{false};
    bool m_closed = false;
    int m_refused = 0;
    std::optional<CameraSettings> m_settings;
    NoteShower m_showNote;
    // Closes connections nobody has used for a while.
    QTimer m_idleTimer;
    std::chrono::milliseconds m_idleLife{0};
};

#pragma once
// The main view: the live camera picture and the centre of the program. It runs the snapshot
// timer, draws the picture under its caption, sends the camera's commands and opens the settings
// dialog. auto.jpg in the program folder is the picture: each paint checks it, and only a new
// picture, or one wanted at another size, is decoded again.

#include "camera/CameraLink.h"
#include "platform/InputHold.h"
#include "view/CommandTarget.h"
#include "view/PageCommands.h"
#include "view/PanTilt.h"
#include "view/PictureDecoder.h"
#include "view/SnapshotCopy.h"
#include "view/SnapshotTimer.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

class CVarnekJPGView final : public QWidget, public CommandTarget, private SnapshotHost {
    Q_OBJECT
public:
    // link: the program's camera link; without one the view makes its own.
    explicit CVarnekJPGView(QWidget* parent = nullptr, CameraLink* link = nullptr);
    ~CVarnekJPGView() override;

    // The document the view shows; the view draws nothing without one.
    void setDocument(QObject* document) { m_document = document; }
    QObject* document() const { return m_document; }

    // Command routing: the view is the first target of every command.
    bool OnCmdMsg(int id, CCmdUI* ui) override;
    // Adds (or replaces) a command handler of the view.
    void addCommand(int id, CommandMap::Handler handler, CommandMap::Update update = {});

    // Sent by the application when the view is first shown and whenever the document is renewed
    // or opened: polling restarts at 1 second.
    void OnInitialUpdate();

    // The timer commands, the tick and the snapshot cycle live in the timer.
    SnapshotTimer& snapshotTimer() { return m_snapshot; }
    const SnapshotTimer& snapshotTimer() const { return m_snapshot; }
    // The window timer behind the snapshot timer.
    const QTimer& windowTimer() const { return m_timer; }
    // Around a file or print dialog: the timer stops and later runs again at its last setting.
    void Pause() { m_snapshot.Pause(); }
    void Resume() { m_snapshot.Resume(); }

    void OnSettings();
    void OnFitWindowToImage();
    // A command of the "F&unctions" menu: the camera's answer page is stored, then opened.
    void OnPageCommand(const PageCommand& page);
    // "&Video" of the "&SD" menu: stores the card listing, then opens the recordings browser.
    void OnSdVideo();
    // The recordings browser, supplied by the application (it lives in its own library).
    void SetSdVideoDialogOpener(std::function<void()> opener);

    // Draws the picture and its caption for a client area clientWidth pixels wide. The screen
    // paint uses it, and so can a print preview.
    void OnDraw(QPainter& painter, int clientWidth);

    const QString& autoJpgPath() const { return m_autoJpgPath; }
    // Decodes the picture for the paint, and counts its decodes.
    const PictureDecoder& pictureDecoder() const { return m_pictureDecoder; }
    CameraLink& link() const { return *m_link; }

    // "&Move to preset" and "&Save to preset": lay a preset pad over the picture, or take it away.
    void OnMoveToPreset();
    void OnSaveToPreset();
    PadMode padMode() const { return m_panTilt.padMode(); }

    // "&Open..." hands a chosen file to its program; "&Save" copies auto.jpg under a chosen name.
    // Both pause the snapshot timer around the chooser and resume it four seconds after.
    void OnFileOpen();
    void OnFileSave();
    // The wait after the chooser: Open and Save are refused until it is over.
    FileCommandWait& fileCommandWait() { return m_fileWait; }

signals:
    // A command's enabled or checked state may have changed.
    void commandStateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildCommands();
    // The continuation of a request of this window: the window's input is held, and ticks do
    // nothing, until next has run.
    CameraLink::Done afterRequest(std::function<void(const RequestOutcome&)> next);
    // Carries out what the pan-tilt controller decided for one event or command.
    void perform(const PanTiltAction& action, QEvent* event, const std::function<void()>& defaultProcessing);
    struct CommandChain;
    void sendNextCommand(const std::shared_ptr<CommandChain>& chain);
    void finishAction(const PanTiltAction& action);
    // Open and Save pause the timer around their chooser and resume it four seconds after.
    bool beginFileCommand();
    void finishFileCommand();

    // SnapshotHost
    void startSnapshotTimer(int intervalMs) override { m_timer.start(intervalMs); }
    void stopSnapshotTimer() override { m_timer.stop(); }
    void setFrameTitle(const QString& title) override { window()->setWindowTitle(title); }
    void setStatusPane(const QString& text) override;
    void deleteSnapshotFile() override;
    void FetchSnapshot(std::function<void(int result)> done) override;
    bool requestWaiting() const override { return m_waits.waiting(); }
    bool snapshotFileReadable() override;
    void repaintWithoutErase() override { update(); }

    QPointer<CameraLink> m_link;
    platform::WindowWaits m_waits{this};
    QString m_autoJpgPath;
    QPointer<QObject> m_document;
    QTimer m_timer;
    SnapshotTimer m_snapshot{*this};
    CommandMap m_commands;
    std::function<void()> m_openSdVideoDialog;
    PanTiltController m_panTilt;
    FileCommandWait m_fileWait;
    PictureDecoder m_pictureDecoder;
    std::optional<QFont> m_captionFont;
};

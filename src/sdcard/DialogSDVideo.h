#pragma once
// The Micro-SD recordings browser: the camera's date folders and their recordings in a tree with
// check boxes, and the buttons that play, replay, fetch and clean up. The tree is filled on the
// first show from the card listing that SD > Video has just stored.

#include "platform/InputHold.h"
#include "sdcard/FetchWorker.h"
#include "sdcard/RecordingLocation.h"
#include "sdcard/RecordingTree.h"

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QPointer>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeView;
class RecordingTreeModel;

class CDialogSDVideo final : public QDialog {
    Q_OBJECT
public:
    // link: the program's camera link; without one the dialog makes its own.
    explicit CDialogSDVideo(QWidget* parent = nullptr, CameraLink* link = nullptr);
    ~CDialogSDVideo() override;

    // The view's tree images, borrowed for the dialog's life; null for none.
    void SetTreeImageList(const QList<QPixmap>* images);
    // Replaces the folder listing request of the fill (to watch or time it).
    void SetFolderListingFetch(FolderListingFetch fetch);

    // Fills the tree from the card listing, fetching each folder's listing in turn; the tree is
    // shown once the last has arrived. -1 when the card listing's path does not fit.
    int BuildRecordingList();
    void OnBnClickedPlay();
    void OnBnClickedReplay();
    void OnBnClickedOpenFolder();
    void OnBnClickedCleanUp();
    void OnBnClickedFetch();
    void OnBnClickedOk();
    void OnBnClickedCancel();

    RecordingTree& recordings() { return *m_tree; }
    RecordingTreeModel& model() { return *m_model; }
    QTreeView* treeView() const { return m_treeView; }
    bool fetchRunning() const { return m_job && m_job->running.load(); }
    // A request of the dialog (a listing of the fill, Play's download) is under way.
    bool requestWaiting() const { return m_waits.waiting(); }

    void reject() override; // Escape and the close box: as Cancel

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnShowWindow();
    // The first ticked recording for Play or Replay, or nothing after telling the user why.
    std::optional<RecordingLocation> firstTickedRecording(const QString& button);
    void updateFetchProgress();
    void fetchEnded();
    void stopFetch();
    // The continuation of a request of this dialog: its input (and its parents') is held until
    // next has run.
    CameraLink::Done afterRequest(std::function<void(const RequestOutcome&)> next);
    void fillNextFolder(std::shared_ptr<std::vector<QByteArray>> folders, std::size_t next);
    void showFilledTree();

    std::shared_ptr<RecordingTree> m_tree = std::make_shared<RecordingTree>();
    RecordingTreeModel* m_model = nullptr;
    const QList<QPixmap>* m_images = nullptr;
    FolderListingFetch m_fetchFolderListing;
    bool m_filled = false;

    QPointer<CameraLink> m_link;
    platform::WindowWaits m_waits{this};
    FixedItems m_fixed;
    std::shared_ptr<FetchJob> m_job;

    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_cleanUpButton = nullptr;
    QPushButton* m_fetchButton = nullptr;
    QPushButton* m_openFolderButton = nullptr;
    QPushButton* m_replayButton = nullptr;
    QPushButton* m_playButton = nullptr;
    QTreeView* m_treeView = nullptr;
    QLabel* m_helpText = nullptr;
    QLabel* m_progressText = nullptr;
    QProgressBar* m_progressBar = nullptr;
};

#include "sdcard/DialogSDVideo.h"

#include "camera/CameraRequest.h"
#include "camera/CameraSettings.h"
#include "platform/Desktop.h"
#include "platform/DialogUnits.h"
#include "sdcard/RecordingLocation.h"
#include "sdcard/RecordingPlayback.h"
#include "sdcard/RecordingTreeModel.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeView>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kAppCaption = QStringLiteral("VarnekJPG");

QPushButton* addButton(QWidget* parent, const char* name, const QString& text, QRect rect)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(rect);
    return button;
}

// Deletes every file of the folder whose name ends in suffix (any case, as the desktop this
// program comes from matched it) and returns how many matched. Names are taken as bytes, so a
// recording whose name is not valid UTF-8 goes too.
int deleteFilesEndingIn(const QString& folder, const QByteArray& suffix, bool withConvertedCopy = false)
{
    const QByteArray folderBytes = QFile::encodeName(folder);
    DIR* dir = ::opendir(folderBytes.constData());
    if (!dir)
        return 0;
    int matched = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name.size() < suffix.size() || name.right(suffix.size()).toLower() != suffix)
            continue;
        const QByteArray path = folderBytes + '/' + name;
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || S_ISDIR(info.st_mode))
            continue;
        ++matched;
        ::unlink(path.constData());
        if (withConvertedCopy)
            deleteConvertedCopy(path);
    }
    ::closedir(dir);
    return matched;
}

QString megabytes(long long bytes)
{
    return QString::number(static_cast<double>(bytes) / (1024.0 * 1024.0), 'f', 1);
}

} // namespace

CDialogSDVideo::CDialogSDVideo(QWidget* parent, CameraLink* link)
    : QDialog(parent)
    , m_link(link ? link : new CameraLink(this))
{
    m_fetchFolderListing = [this](const QByteArray& relativePath, std::function<void()> done) {
        m_link->FetchSdListing(platform::programFolder(), relativePath, "filelist.html", false, this,
                               afterRequest([done = std::move(done)](const RequestOutcome&) { done(); }));
    };
    // A program that closes ends whatever the dialog was doing, and the dialog with it.
    connect(m_link, &CameraLink::closing, this, &CDialogSDVideo::OnBnClickedCancel);
    setWindowTitle(QStringLiteral("Varnekjpg Micro-SD video files"));
    setDialogTemplate(*this, 555, 261);
    // Modal for the main window only: Fetch's closing note, a window of its own, stays clickable.
    setWindowModality(Qt::WindowModal);

    // Created in the order of the keyboard's tab stops.
    m_okButton = addButton(this, "okButton", QStringLiteral("OK"), dialogUnitsRect(431, 240, 50, 14));
    m_okButton->setDefault(true);
    m_cancelButton = addButton(this, "cancelButton", QStringLiteral("Cancel"), dialogUnitsRect(498, 240, 50, 14));
    m_cleanUpButton = addButton(this, "cleanUpButton", QStringLiteral("Clean up"), dialogUnitsRect(475, 33, 57, 17));
    m_fetchButton = addButton(this, "fetchButton", QStringLiteral("&Fetch"), dialogUnitsRect(475, 95, 57, 17));
    m_openFolderButton =
        addButton(this, "openFolderButton", QStringLiteral("Open folder"), dialogUnitsRect(475, 128, 57, 17));
    m_replayButton = addButton(this, "replayButton", QStringLiteral("Replay"), dialogUnitsRect(475, 161, 57, 17));
    m_playButton = addButton(this, "playButton", QStringLiteral("Play"), dialogUnitsRect(475, 194, 57, 17));

    m_model = new RecordingTreeModel(m_tree, this);
    m_treeView = new QTreeView(this);
    m_treeView->setObjectName(QStringLiteral("recordingTree"));
    m_treeView->setGeometry(dialogUnitsRect(7, 7, 441, 206));
    m_treeView->setModel(m_model);
    m_treeView->setHeaderHidden(true);
    m_treeView->setRootIsDecorated(false);
    m_treeView->setUniformRowHeights(true);
    m_treeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One column as wide as its longest name, so long names scroll sideways instead of being cut.
    m_treeView->header()->setStretchLastSection(false);
    m_treeView->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    m_helpText = new QLabel(QStringLiteral("When using Play there will be a delay of about a minute while the file "
                                           "downloads to the programs folder.\nPlay only plays the first ticked movie "
                                           "in the list.\nFetch works better if you turn the timer off."),
                            this);
    m_helpText->setObjectName(QStringLiteral("helpText"));
    m_helpText->setWordWrap(true);
    m_helpText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_helpText->setGeometry(dialogUnitsRect(12, 221, 399, 29));

    // Fetch's progress sits in the free corner between Play and OK.
    m_progressText = new QLabel(this);
    m_progressText->setObjectName(QStringLiteral("fetchProgressText"));
    m_progressText->setGeometry(dialogUnitsRect(420, 214, 128, 10));
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("fetchProgress"));
    m_progressBar->setGeometry(dialogUnitsRect(420, 226, 128, 10));
    m_progressBar->setTextVisible(false);
    m_progressText->hide();
    m_progressBar->hide();

    connect(m_okButton, &QPushButton::clicked, this, &CDialogSDVideo::OnBnClickedOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &CDialogSDVideo::OnBnClickedCancel);
    connect(m_cleanUpButton, &QPushButton::clicked, this, &CDialogSDVideo::OnBnClickedCleanUp);
    connect(m_fetchButton, &QPushButton::clicked, this, &CDialogSDVideo::OnBnClickedFetch);
    connect(m_openFolderButton, &QPushButton::clicked, this, &CDialogSDVideo::OnBnClickedOpenFolder);
    connect(m_replayButton, &QPushButton::clicked, this, &CDialogSDVideo::OnBnClickedReplay);
    connect(m_playButton, &QPushButton::clicked, this, &CDialogSDVideo::OnBnClickedPlay);
}

CDialogSDVideo::~CDialogSDVideo()
{
    // A worker still downloading finishes its file and ends without a word.
    stopFetch();
}

void CDialogSDVideo::SetTreeImageList(const QList<QPixmap>* images)
{
    m_images = images;
}

void CDialogSDVideo::SetFolderListingFetch(FolderListingFetch fetch)
{
    m_fetchFolderListing = std::move(fetch);
}

void CDialogSDVideo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    OnShowWindow();
}

void CDialogSDVideo::OnShowWindow()
{
    // Filled once: showing the dialog again (after a restore from minimised) adds nothing.
    if (m_filled)
        return;
    m_filled = true;
    m_model->setImageList(m_images);
    BuildRecordingList();
}

CameraLink::Done CDialogSDVideo::afterRequest(std::function<void(const RequestOutcome&)> next)
{
    return m_waits.after(std::move(next));
}

int CDialogSDVideo::BuildRecordingList()
{
    m_fixed = addFixedItems(*m_tree);
    m_model->setImages(m_fixed.microSd, 0, 1);
    m_model->setImages(m_fixed.testFolder2, 10, 11);
    std::optional<std::vector<QByteArray>> folders = cardFolders(platform::programFolder());
    if (!folders) {
        showFilledTree();
        return -1;
    }
    fillNextFolder(std::make_shared<std::vector<QByteArray>>(std::move(*folders)), 0);
    return 0;
}

void CDialogSDVideo::fillNextFolder(std::shared_ptr<std::vector<QByteArray>> folders, std::size_t next)
{
    if (next == folders->size())
        return showFilledTree();
    const QByteArray folder = folders->at(next);
    m_fetchFolderListing(folder + "/record000", [this, folders, next, folder] {
        addFolderRecordings(*m_tree, platform::programFolder(), folder);
        fillNextFolder(folders, next + 1);
    });
}

void CDialogSDVideo::showFilledTree()
{
    m_model->publish();
    // Each folder that received recordings is open, and the last recording is in view.
    int lastFile = RecordingTree::kNone;
    for (int row = 0, top; (top = m_tree->child(RecordingTree::kNone, row)) != RecordingTree::kNone; ++row) {
        const int files = m_tree->childCount(top);
        if (files > 0 && top != m_fixed.microSd) {
            m_treeView->expand(m_model->indexOf(top));
            lastFile = m_tree->child(top, files - 1);
        }
    }
    if (lastFile != RecordingTree::kNone)
        m_treeView->scrollTo(m_model->indexOf(lastFile));
}

std::optional<RecordingLocation> CDialogSDVideo::firstTickedRecording(const QString& button)
{
    const int item = FindFirstTickedItem(*m_tree);
    const int folder = item == RecordingTree::kNone ? RecordingTree::kNone : m_tree->parent(item);
    // A ticked top-level item is a folder, not a recording: there is nothing to play.
    if (folder == RecordingTree::kNone) {
        platform::desktop().messageBox(
            kAppCaption,
            QStringLiteral("No items selected in the list,\n\nSelect (tick) an item before clicking the %1 button")
                .arg(button));
        return std::nullopt;
    }
    return formRecordingLocation(std::nullopt, m_tree->name(folder), m_tree->name(item), platform::programFolder());
}

void CDialogSDVideo::OnBnClickedPlay()
{
    const std::optional<RecordingLocation> location = firstTickedRecording(QStringLiteral("Play"));
    if (!location)
        return;
    // Played afresh each time: the old copy goes first, even when it is complete, and its MP4
    // with it.
    ::unlink(location->localPath.constData());
    deleteConvertedCopy(location->localPath);
    const QByteArray localPath = location->localPath;
    m_link->FetchSdListing(platform::programFolder(), location->relativePath, location->fileName, true, this,
                           afterRequest([localPath](const RequestOutcome& outcome) {
                               if (outcome.result == 0)
                                   platform::desktop().openFileWithDefaultApp(
                                       prepareDownloadedRecording(localPath).path);
                           }));
}

void CDialogSDVideo::OnBnClickedReplay()
{
    const std::optional<RecordingLocation> location = firstTickedRecording(QStringLiteral("Replay"));
    if (!location)
        return;
    const int fd = ::open(location->localPath.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        platform::desktop().messageBox(kMessageCaption, QStringLiteral("Can't replay because the file has not been "
                                                                       "downloaded.\nTry clicking Play to download it."));
        return;
    }
    ::close(fd);
    platform::desktop().openFileWithDefaultApp(replayableRecording(location->localPath));
}

void CDialogSDVideo::OnBnClickedOpenFolder()
{
    platform::desktop().openFolder(platform::programFolder());
}

void CDialogSDVideo::OnBnClickedCleanUp()
{
    if (!platform::desktop().askYesNo(kAppCaption,
                                      QStringLiteral("Delete all .264 movie and .html files in Varnekjpg's working "
                                                     "folder ?")))
        return;
    const QString folder = platform::programFolder();
    deleteFilesEndingIn(folder, ".264", true);
    if (deleteFilesEndingIn(folder, ".html") > 0)
        platform::desktop().openFolder(folder);
}

void CDialogSDVideo::OnBnClickedFetch()
{
    if (m_tree->count() == 0 || fetchRunning())
        return;
    auto job = std::make_shared<FetchJob>();
    job->tree = m_tree;
    job->settings = currentCameraSettings();
    job->programFolder = platform::programFolder();
    job->link = m_link;
    const QPointer<CDialogSDVideo> self(this);
    job->progressed = [self] {
        if (self)
            self->updateFetchProgress();
    };
    job->ended = [self] {
        if (self)
            self->fetchEnded();
    };
    m_job = job;
    m_fetchButton->setEnabled(false);
    updateFetchProgress();
    m_progressText->show();
    m_progressBar->show();
    if (!startFetchWorker(job))
        fetchEnded();
}

void CDialogSDVideo::fetchEnded()
{
    m_progressText->hide();
    m_progressBar->hide();
    m_fetchButton->setEnabled(true);
}

void CDialogSDVideo::updateFetchProgress()
{
    if (!fetchRunning())
        return;
    const int file = m_job->file.load();
    const long long received = m_job->transfer.received.load();
    const long long expected = m_job->transfer.expected.load();
    QString text = QStringLiteral("File %1 of %2").arg(std::max(file, 1)).arg(std::max(m_job->files.load(), 1));
    if (m_job->converting.load())
        text += QStringLiteral(": converting");
    else if (file > 0)
        text += expected > 0 ? QStringLiteral(": %1 of %2 MB").arg(megabytes(received), megabytes(expected))
                             : QStringLiteral(": %1 MB").arg(megabytes(received));
    m_progressText->setText(text);
    if (expected > 0) {
        m_progressBar->setRange(0, 1000);
        m_progressBar->setValue(static_cast<int>(received * 1000 / expected));
    } else {
        m_progressBar->setRange(0, 0); // length unknown: the bar shows that work goes on
    }
}

void CDialogSDVideo::stopFetch()
{
    if (m_job)
        m_job->stop.store(true);
}

void CDialogSDVideo::OnBnClickedOk()
{
    stopFetch();
    QDialog::accept();
}

void CDialogSDVideo::OnBnClickedCancel()
{
    stopFetch();
    QDialog::reject();
}

void CDialogSDVideo::reject()
{
    OnBnClickedCancel();
}

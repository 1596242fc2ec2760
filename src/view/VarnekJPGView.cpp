#include "view/VarnekJPGView.h"

#include "camera/CameraRequest.h"
#include "camera/CameraSettings.h"
#include "platform/Desktop.h"
#include "view/CommandIds.h"
#include "view/PictureLayout.h"
#include "view/PresetPad.h"
#include "view/Settings.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QStatusBar>
#include <QtMath>

#include <cmath>

namespace {

const QColor kCaptionBackground(50, 50, 50);
const QColor kCaptionText(200, 200, 200);

} // namespace

CVarnekJPGView::CVarnekJPGView(QWidget* parent, CameraLink* link)
    : QWidget(parent)
    , m_link(link ? link : new CameraLink(this))
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    // Every paint fills the whole view black itself, so Qt need not clear it first: that would be
    // a second pass over the window's pixels for every picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The view takes the keyboard focus and keeps it, so keys reach the camera without a click.
    setFocusPolicy(Qt::StrongFocus);

    connect(&m_timer, &QTimer::timeout, this, [this] { m_snapshot.SnapshotTimerProc(); });
    buildCommands();
    // The resume after Open or Save never runs inside a dialog or a request's wait.
    m_fileWait.setResumeAllowed([this] { return !QApplication::activeModalWidget() && !requestWaiting(); });

    const std::optional<QString> path = pathInFolder(platform::programFolder(), QStringLiteral("auto.jpg"));
    if (!path) {
        // Without a place for the snapshot nothing else is set up: the settings stay empty and
        // every fetch fails, which the title then reports.
        platform::desktop().messageBox(kMessageCaption, pathRuleMessage(QStringLiteral("auto.jpg")));
        return;
    }
    m_autoJpgPath = *path;
    LoadCameraSettings();
}

CVarnekJPGView::~CVarnekJPGView() = default;

void CVarnekJPGView::buildCommands()
{
    m_commands.add(cmd::Settings, [this] { OnSettings(); });
    for (const TimerRow& row : timerRows()) {
        const auto handler = row.setting == 0
            ? CommandMap::Handler([this] { m_snapshot.OnTimerOff(); })
            : CommandMap::Handler([this, setting = row.setting] { m_snapshot.SetTimerInterval(setting); });
        m_commands.add(row.menuCommand, handler);
        if (row.toolbarCommand != 0)
            m_commands.add(row.toolbarCommand, handler);
    }
    m_commands.add(cmd::GetOneImage, [this] { m_snapshot.OnGetOneImage(); });
    m_commands.add(
        cmd::DisableAutoDisableTimer,
        [this] {
            m_snapshot.toggleOverride();
            emit commandStateChanged();
        },
        [this](CCmdUI& ui) { ui.setCheck(m_snapshot.overrideSet()); });
    m_commands.add(cmd::FitWindowToImage, [this] { OnFitWindowToImage(); });
    for (const PageCommand& page : pageCommands())
        m_commands.add(page.command, [this, page] { OnPageCommand(page); });
    m_commands.add(cmd::SdVideo, [this] { OnSdVideo(); });
    // Reading the state repaints nothing: every command routed asks for it, and the pad is
    // repainted where its mode changes.
    m_commands.add(cmd::MoveToPreset, [this] { OnMoveToPreset(); },
                   [this](CCmdUI& ui) { ui.setCheck(m_panTilt.moveToPresetState().checked); });
    m_commands.add(cmd::SaveToPreset, [this] { OnSaveToPreset(); },
                   [this](CCmdUI& ui) { ui.setCheck(m_panTilt.saveToPresetState().checked); });
    const auto fileCommandState = [this](CCmdUI& ui) { ui.enable(!m_fileWait.busy()); };
    m_commands.add(cmd::FileOpen, [this] { OnFileOpen(); }, fileCommandState);
    m_commands.add(cmd::FileSave, [this] { OnFileSave(); }, fileCommandState);
}

bool CVarnekJPGView::OnCmdMsg(int id, CCmdUI* ui)
{
    return m_commands.dispatch(id, ui);
}

void CVarnekJPGView::addCommand(int id, CommandMap::Handler handler, CommandMap::Update update)
{
    m_commands.add(id, std::move(handler), std::move(update));
    emit commandStateChanged();
}

// --- Snapshot timer -------------------------------------------------------------------------

void CVarnekJPGView::OnInitialUpdate()
{
    // Polling restarts now: a resume still pending from Open or Save would only restart it again.
    m_fileWait.dropResume();
    m_snapshot.OnUpdate();
}

CameraLink::Done CVarnekJPGView::afterRequest(std::function<void(const RequestOutcome&)> next)
{
    return m_waits.after(std::move(next));
}

void CVarnekJPGView::FetchSnapshot(std::function<void(int)> done)
{
    m_link->FetchSnapshot(m_autoJpgPath, this, afterRequest([done](const RequestOutcome& outcome) { done(outcome.result); }));
}

void CVarnekJPGView::setStatusPane(const QString& text)
{
    auto* frame = qobject_cast<QMainWindow*>(window());
    if (!frame)
        return;
    if (auto* bar = frame->findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        // Stays until the status bar shows another prompt; then the pane goes back to "Ready".
        bar->showMessage(text);
        bar->repaint();
    }
}

void CVarnekJPGView::deleteSnapshotFile()
{
    if (!m_autoJpgPath.isEmpty())
        QFile::remove(m_autoJpgPath);
}

bool CVarnekJPGView::snapshotFileReadable()
{
    QFile file(m_autoJpgPath);
    return !m_autoJpgPath.isEmpty() && file.open(QIODevice::ReadOnly);
}

// --- Settings, camera commands --------------------------------------------------------------

void CVarnekJPGView::OnSettings()
{
    CSettings dialog(this);
    dialog.exec();
    // Whatever closed the dialog, the record becomes what the file now holds: values applied
    // before a Cancel take effect, edits never applied are lost.
    LoadCameraSettings();
}

void CVarnekJPGView::OnPageCommand(const PageCommand& page)
{
    const QString folder = platform::programFolder();
    const QString answerPage = catalogueEntry(page.code).value_or(CatalogueEntry{}).answerFile;
    m_link->SendCameraCommand(page.code, folder, this, afterRequest([folder, answerPage](const RequestOutcome&) {
        // Opened whatever the camera did: a failed exchange shows the page stored last time, if any.
        platform::desktop().openWithDefaultApp(QDir(folder).absoluteFilePath(answerPage));
    }));
}

void CVarnekJPGView::OnSdVideo()
{
    m_link->SendCameraCommand(kSdListingCode, platform::programFolder(), this,
                              afterRequest([this](const RequestOutcome&) {
                                  // The recordings browser reads the listing whether or not this
                                  // exchange succeeded.
                                  if (m_openSdVideoDialog)
                                      m_openSdVideoDialog();
                              }));
}

void CVarnekJPGView::SetSdVideoDialogOpener(std::function<void()> opener)
{
    m_openSdVideoDialog = std::move(opener);
}

// --- Picture --------------------------------------------------------------------------------

void CVarnekJPGView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    OnDraw(painter, width());
}

void CVarnekJPGView::OnDraw(QPainter& painter, int clientWidth)
{
    if (!m_document)
        return;

    painter.save();
    // Every paint checks auto.jpg, so a picture that is gone or replaced shows at once; only a new
    // picture, or one wanted at another size, is read and decoded. Shown means in the device's
    // pixels: a print scales the painter up to the page, a high-density screen has more pixels
    // than the view has units, and both get the picture's full detail.
    const QTransform& transform = painter.combinedTransform();
    const qreal deviceRatio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const int deviceWidth = qCeil(clientWidth * std::hypot(transform.m11(), transform.m12()) * deviceRatio);
    const DecodedPicture& decoded = m_pictureDecoder.picture(m_autoJpgPath, deviceWidth);
    const QImage& picture = decoded.image;
    if (!picture.isNull()) {
        QString caption;
        if (decoded.decoded) {
            const QSize size = decoded.size;
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(pictureDestination(size.width(), size.height(), clientWidth), picture);
            caption = captionText(m_autoJpgPath, size.width(), size.height(), clientWidth);
        } else {
            caption = decodeFailureCaption(m_autoJpgPath);
        }
        // The caption stands in a dark band of its own length.
        // Matched once: finding the face and its size takes longer than drawing the caption.
        if (!m_captionFont)
            m_captionFont = captionFont();
        painter.setFont(*m_captionFont);
        const QFontMetrics metrics = painter.fontMetrics();
        const QRect band(kCaptionOrigin, QSize(metrics.horizontalAdvance(caption), metrics.height()));
        painter.fillRect(band, kCaptionBackground);
        painter.setPen(kCaptionText);
        painter.drawText(kCaptionOrigin + QPoint(0, metrics.ascent()), caption);
    }
    painter.restore();

    // The preset pad covers picture and caption, and is drawn even without a picture: it is an
    // overlay of its own.
    paintPresetPad(painter, padMode(), clientWidth);
}

void CVarnekJPGView::OnFitWindowToImage()
{
    {
        QFile file(m_autoJpgPath);
        if (m_autoJpgPath.isEmpty() || !file.open(QIODevice::ReadOnly))
            return;
    }
    // The size comes from the file's header; a file without a readable one sizes the frame for a
    // 0 x 0 picture.
    const QSize size = m_pictureDecoder.headerSize(m_autoJpgPath);
    const int width = size.isValid() ? size.width() : 0;
    const int height = size.isValid() ? size.height() : 0;

    QWidget* frame = window();
    const QRect outer = frame->frameGeometry();
    const QRect inner = frame->geometry();
    const QMargins borders(inner.left() - outer.left(), inner.top() - outer.top(),
                           outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QRect target = fitFrameRect(width, height, borders);

    // The frame ends in its normal state with that outer rectangle.
    frame->setWindowState(frame->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    frame->setGeometry(target.marginsRemoved(borders));
}

// --- Pan, tilt and presets ------------------------------------------------------------------

struct CVarnekJPGView::CommandChain {
    std::vector<int> codes;
    std::size_t next = 0;
    std::function<void()> then;
};

void CVarnekJPGView::perform(const PanTiltAction& action, QEvent* event, const std::function<void()>& defaultProcessing)
{
    // The event is answered while it is delivered; what the camera does with the commands cannot
    // change that answer.
    if (action.defaultProcessing) {
        if (defaultProcessing)
            defaultProcessing();
    } else if (event) {
        event->accept();
    }
    if (action.commandCodes.empty())
        return finishAction(action);
    // The codes go out one after the other, each once the one before has ended.
    auto chain = std::make_shared<CommandChain>();
    chain->codes = action.commandCodes;
    chain->then = [this, action] { finishAction(action); };
    sendNextCommand(chain);
}

void CVarnekJPGView::sendNextCommand(const std::shared_ptr<CommandChain>& chain)
{
    if (chain->next == chain->codes.size())
        return std::exchange(chain->then, {})();
    const int code = chain->codes[chain->next++];
    m_link->SendCameraCommand(code, platform::programFolder(), this,
                              afterRequest([this, chain](const RequestOutcome&) { sendNextCommand(chain); }));
}

void CVarnekJPGView::finishAction(const PanTiltAction& action)
{
    if (!action.refreshSnapshot) {
        if (action.repaint != Repaint::None)
            update();
        return;
    }
    m_snapshot.RefreshSnapshot([this, repaint = action.repaint](int) {
        if (repaint != Repaint::None)
            update();
    });
}

// Qt grabs the mouse from a press until the last button is released, so a left button released
// outside the view still reaches mouseReleaseEvent and the camera gets its stop.
void CVarnekJPGView::mousePressEvent(QMouseEvent* event)
{
    perform(m_panTilt.mousePress(event->button(), event->position().toPoint(), size()), event,
            [this, event] { QWidget::mousePressEvent(event); });
}

void CVarnekJPGView::mouseReleaseEvent(QMouseEvent* event)
{
    perform(m_panTilt.mouseRelease(event->button()), event, [this, event] { QWidget::mouseReleaseEvent(event); });
}

void CVarnekJPGView::keyPressEvent(QKeyEvent* event)
{
    perform(m_panTilt.keyPress(*event), event, [this, event] { QWidget::keyPressEvent(event); });
}

void CVarnekJPGView::OnMoveToPreset()
{
    perform(m_panTilt.moveToPreset(), nullptr, {});
    emit commandStateChanged();
}

void CVarnekJPGView::OnSaveToPreset()
{
    perform(m_panTilt.saveToPreset(), nullptr, {});
    emit commandStateChanged();
}

// --- Open and Save --------------------------------------------------------------------------

bool CVarnekJPGView::beginFileCommand()
{
    if (!m_fileWait.begin())
        return false;
    m_snapshot.Pause();
    emit commandStateChanged();
    return true;
}

void CVarnekJPGView::OnFileOpen()
{
    if (!beginFileCommand())
        return;
    const QString folder = platform::programFolder();
    const QString chosen = platform::desktop().chooseFileToOpen(folder, openFileFilters());
    if (!chosen.isEmpty())
        platform::desktop().openWithDefaultApp(chosen);
    finishFileCommand();
}

void CVarnekJPGView::OnFileSave()
{
    if (!beginFileCommand())
        return;
    const QString folder = platform::programFolder();
    // The snapshot is named afresh from the current folder, so fetch and save use the same file.
    const std::optional<QString> snapshot = pathInFolder(folder, QStringLiteral("auto.jpg"));
    if (!snapshot) {
        // No snapshot can lie in a folder this deep: nothing to save, as if cancelled.
        finishFileCommand();
        return;
    }
    m_autoJpgPath = *snapshot;
    const QString chosen = platform::desktop().chooseFileToSave(folder, saveFileFilters());
    if (!chosen.isEmpty()) {
        const SnapshotCopyResult result = copySnapshotFile(*snapshot, chosen);
        if (!result.saved)
            platform::desktop().messageBox(kMessageCaption, result.errorText, platform::MessageIcon::Warning);
    }
    finishFileCommand();
}

void CVarnekJPGView::finishFileCommand()
{
    // The camera gets four quiet seconds before polling resumes; the window keeps answering.
    // Open and Save come back only after the resume, so the refresh of the commands' state waits
    // for that too.
    m_fileWait.finish([this] { m_snapshot.Resume(); }, [this] { emit commandStateChanged(); });
}

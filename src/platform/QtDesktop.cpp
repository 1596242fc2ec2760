#include "platform/QtDesktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QThread>
#include <QUrl>

#include <atomic>
#include <memory>
#include <utility>

namespace platform {

namespace {

QtDesktop& qtDesktop()
{
    static QtDesktop instance;
    return instance;
}

std::atomic<Desktop*> g_replacement{nullptr};

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Runs f on the user-interface thread and waits for it; widgets live only there.
template <typename F>
void onUiThread(F&& f)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        f();
        return;
    }
    QMetaObject::invokeMethod(app, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

} // namespace

Desktop& desktop()
{
    Desktop* replacement = g_replacement.load();
    return replacement ? *replacement : qtDesktop();
}

void setDesktop(Desktop* replacement)
{
    g_replacement.store(replacement);
}

QString programFolder()
{
    return QDir::currentPath();
}

void QtDesktop::openWithDefaultApp(const QString& absolutePath)
{
    onUiThread([&] { QDesktopServices::openUrl(QUrl::fromLocalFile(absolutePath)); });
}

void QtDesktop::openFileWithDefaultApp(const QByteArray& absolutePath)
{
    // Percent-encoded, every byte of the name reaches the opener as it lies on disk; a name
    // decoded to text first would lose the bytes that are not UTF-8.
    const QUrl url = QUrl::fromEncoded("file://" + absolutePath.toPercentEncoding("/"));
    onUiThread([&] { QDesktopServices::openUrl(url); });
}

void QtDesktop::openFolder(const QString& absolutePath)
{
    onUiThread([&] { QDesktopServices::openUrl(QUrl::fromLocalFile(absolutePath)); });
}

void QtDesktop::messageBox(const QString& caption, const QString& text, MessageIcon icon)
{
    onUiThread([&] {
        QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok);
        box.exec();
    });
}

void QtDesktop::showNote(const QString& caption, const QString& text, std::function<void()> closed)
{
    auto* box = new QMessageBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box->setObjectName(QStringLiteral("note"));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (closed) {
        // Once, whether the user answers the box or the program ends with it still up.
        auto once = std::make_shared<std::function<void()>>(std::move(closed));
        const auto fire = [once] {
            if (auto f = std::exchange(*once, {}))
                f();
        };
        QObject::connect(box, &QMessageBox::finished, box, fire);
        QObject::connect(box, &QObject::destroyed, fire);
    }
    box->show();
}

bool QtDesktop::askYesNo(const QString& caption, const QString& text)
{
    bool yes = false;
    onUiThread([&] {
        yes = QMessageBox::question(nullptr, caption, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    });
    return yes;
}

QString QtDesktop::chooseFileToOpen(const QString& startFolder, const QStringList& filters)
{
    return QFileDialog::getOpenFileName(nullptr, QString(), startFolder, filters.join(QStringLiteral(";;")));
}

QString QtDesktop::chooseFileToSave(const QString& startFolder, const QStringList& filters)
{
    return QFileDialog::getSaveFileName(nullptr, QString(), startFolder, filters.join(QStringLiteral(";;")));
}

} // namespace platform

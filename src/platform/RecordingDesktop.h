#pragma once
// A desktop double for tests: remembers every call and answers the file choosers from a queue.

#include "platform/Desktop.h"
#include "platform/QtDesktop.h"

#include <QStringList>

#include <deque>
#include <mutex>
#include <vector>

namespace platform {

class RecordingDesktop final : public Desktop {
public:
    struct Message {
        QString caption;
        QString text;
        MessageIcon icon;
    };
    struct Chooser {
        bool save;
        QString startFolder;
        QStringList filters;
    };

    RecordingDesktop() { setDesktop(this); }
    ~RecordingDesktop() override { setDesktop(nullptr); }
    RecordingDesktop(const RecordingDesktop&) = delete;
    RecordingDesktop& operator=(const RecordingDesktop&) = delete;

    void openWithDefaultApp(const QString& absolutePath) override
    {
        std::lock_guard lock(m_mutex);
        m_opened.push_back(absolutePath);
    }
    void openFolder(const QString& absolutePath) override
    {
        std::lock_guard lock(m_mutex);
        m_foldersOpened.push_back(absolutePath);
    }
    void messageBox(const QString& caption, const QString& text, MessageIcon icon) override
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back({caption, text, icon});
    }
    // Recorded as a message; with real notes on, shown as the desktop's own box instead, for a
    // test that answers it as a user would.
    void showNote(const QString& caption, const QString& text, std::function<void()> closed) override
    {
        if (m_realNotes)
            QtDesktop().showNote(caption, text, std::move(closed));
        else
            Desktop::showNote(caption, text, std::move(closed));
    }
    void showRealNotes(bool on) { m_realNotes = on; }
    // Recorded as a message with the question icon; answered from the queue, No when it is empty.
    bool askYesNo(const QString& caption, const QString& text) override
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back({caption, text, MessageIcon::Question});
        if (m_answers.empty())
            return false;
        const bool yes = m_answers.front();
        m_answers.pop_front();
        return yes;
    }
    QString chooseFileToOpen(const QString& startFolder, const QStringList& filters) override
    {
        return choose(false, startFolder, filters);
    }
    QString chooseFileToSave(const QString& startFolder, const QStringList& filters) override
    {
        return choose(true, startFolder, filters);
    }

    // The next chooser returns this path; an empty string stands for Cancel.
    void queueChoice(const QString& path)
    {
        std::lock_guard lock(m_mutex);
        m_choices.push_back(path);
    }

    void queueAnswer(bool yes)
    {
        std::lock_guard lock(m_mutex);
        m_answers.push_back(yes);
    }

    QStringList opened() const { std::lock_guard lock(m_mutex); return m_opened; }
    QStringList foldersOpened() const { std::lock_guard lock(m_mutex); return m_foldersOpened; }
    std::vector<Message> messages() const { std::lock_guard lock(m_mutex); return m_messages; }
    std::vector<Chooser> choosers() const { std::lock_guard lock(m_mutex); return m_choosers; }

private:
    QString choose(bool save, const QString& startFolder, const QStringList& filters)
    {
        std::lock_guard lock(m_mutex);
        m_choosers.push_back({save, startFolder, filters});
        if (m_choices.empty())
            return QString();
        QString path = m_choices.front();
        m_choices.pop_front();
        return path;
    }

    mutable std::mutex m_mutex;
    QStringList m_opened;
    QStringList m_foldersOpened;
    std::vector<Message> m_messages;
    std::vector<Chooser> m_choosers;
    std::deque<QString> m_choices;
    std::deque<bool> m_answers;
    bool m_realNotes = false;
};

} // namespace platform

#pragma once
// Numbered commands travel from the menu bar, the toolbar and the accelerators along a chain of
// targets: the view first, then the document, the main frame and the application. The first
// target with a handler for the number runs it; a number that no target handles is shown disabled.

#include <functional>
#include <map>

// The state of one command's menu item and toolbar button, filled by the command's update handler.
struct CCmdUI final {
    bool enabled = true;
    bool checkable = false;
    bool checked = false;

    void enable(bool on = true) { enabled = on; }
    void setCheck(bool on = true)
    {
        checkable = true;
        checked = on;
    }
};

class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // With ui null: runs the handler of id. Otherwise: lets the handler's update fill ui.
    // Returns false, and does nothing, when this target has no handler for id.
    virtual bool OnCmdMsg(int id, CCmdUI* ui) = 0;
};

// The usual way for a target to keep its handlers: a map from command number to a handler and
// an optional update handler. Items with a handler and no update are enabled and unchecked.
class CommandMap final {
public:
    using Handler = std::function<void()>;
    using Update = std::function<void(CCmdUI&)>;

    void add(int id, Handler handler, Update update = {})
    {
        m_entries[id] = Entry{std::move(handler), std::move(update)};
    }
    bool has(int id) const { return m_entries.count(id) != 0; }

    bool dispatch(int id, CCmdUI* ui) const
    {
        const auto it = m_entries.find(id);
        if (it == m_entries.end())
            return false;
        if (!ui) {
            // A copy: the handler may replace its own entry while it runs.
            const Handler handler = it->second.handler;
            if (handler)
                handler();
        } else if (it->second.update) {
            it->second.update(*ui);
        }
        return true;
    }

private:
    struct Entry {
        Handler handler;
        Update update;
    };
    std::map<int, Entry> m_entries;
};

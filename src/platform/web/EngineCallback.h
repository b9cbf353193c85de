#pragma once

// Marks the time the engine waits on a callback of ours to decide a
// navigation or a request (acceptNavigationRequest, the request
// interceptor). The engine does not run its own tasks then: the answer of a
// script sent to the page cannot come until the callback has returned, and
// a navigation begun there would begin inside the decision about another.
// So what the host asks from inside such a callback is handled apart: a
// navigation is queued to begin as soon as the callback has returned, and
// a read of the document is answered at once as failed instead of waiting
// out its time-out with the page stalled.

#include <QThread>

#include <utility>

namespace vocab {

// Only the callback's own code counts as inside: what an event loop it runs
// (a dialog, a wait) delivers meanwhile is other code (a timer, a wait of the
// caller's polling the page), which is treated as anywhere else.
class EngineCallbackScope {
public:
    EngineCallbackScope() : m_outer(std::exchange(level(), loopLevel())) {}
    ~EngineCallbackScope() { level() = m_outer; }
    EngineCallbackScope(const EngineCallbackScope &) = delete;
    EngineCallbackScope &operator=(const EngineCallbackScope &) = delete;

    // True while this thread runs a callback's own code.
    static bool inside() { return level() >= 0 && level() == loopLevel(); }

private:
    static int loopLevel() { return QThread::currentThread()->loopLevel(); }
    // The event-loop level the innermost callback runs at; -1 outside any.
    static int &level()
    {
        thread_local int current = -1;
        return current;
    }

    int m_outer;
};

} // namespace vocab

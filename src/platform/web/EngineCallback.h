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

namespace vocab {

class EngineCallbackScope {
public:
    EngineCallbackScope() { ++depth(); }
    ~EngineCallbackScope() { --depth(); }
    EngineCallbackScope(const EngineCallbackScope &) = delete;
    EngineCallbackScope &operator=(const EngineCallbackScope &) = delete;

    // True while this thread is inside such a callback.
    static bool inside() { return depth() > 0; }

private:
    static int &depth()
    {
        // Counted for each thread: a callback on another thread keeps the
        // user-interface thread's calls as they are.
        thread_local int count = 0;
        return count;
    }
};

} // namespace vocab

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

    // True while the user-interface thread is inside such a callback.
    static bool inside() { return depth() > 0; }

private:
    static int &depth()
    {
        // The engine calls back on the user-interface thread only.
        static int count = 0;
        return count;
    }
};

} // namespace vocab

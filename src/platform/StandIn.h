#pragma once

#include <mutex>
#include <utility>

namespace vocab {

// What a test puts in place of a call that reaches outside the program: a
// dialog, the desktop, another program, the mail client. There is one stand-in
// a type for the whole process, so each kind of call has a type of its own;
// an empty one means the real call. Both sides may be used from any thread.
template <typename Call>
class StandIn {
public:
    // Puts `call` in place and returns the one it replaces.
    static Call Install(Call call)
    {
        const std::lock_guard lock(mutex());
        std::swap(slot(), call);
        return call;
    }

    // A copy of the one in place, so that it can be called without the lock
    // while another thread installs the next.
    static Call Current()
    {
        const std::lock_guard lock(mutex());
        return slot();
    }

private:
    static Call &slot()
    {
        static Call call;
        return call;
    }
    static std::mutex &mutex()
    {
        static std::mutex m;
        return m;
    }
};

} // namespace vocab

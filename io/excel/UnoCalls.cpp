#include "UnoCalls.h"

#include <mutex>
#include <vector>

namespace UnoCalls {
void keepUntilDone(std::thread call)
{
    // Joined as the program ends, after the launcher has let go of the office's bridge.
    struct Kept
    {
        std::mutex mutex;
        std::vector<std::thread> calls;
        ~Kept()
        {
            for (std::thread &kept : calls)
                kept.join();
        }
    };
    static Kept kept;
    const std::lock_guard<std::mutex> lock(kept.mutex);
    kept.calls.push_back(std::move(call));
}
} // namespace UnoCalls

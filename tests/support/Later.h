// Runs an action once, after a delay, from inside whatever message loop of
// this thread is running then (a modal box's loop included).
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <map>

namespace moke::test {

class Later {
  public:
    Later(std::chrono::milliseconds delay, std::function<void()> action) : action_(std::move(action)) {
        timer_ = SetTimer(nullptr, 0, static_cast<UINT>(delay.count()), &Later::Fire);
        if (timer_) Pending()[timer_] = this;
    }
    ~Later() { Stop(); }
    Later(const Later&) = delete;
    Later& operator=(const Later&) = delete;

    bool Ran() const { return ran_; }

  private:
    static std::map<UINT_PTR, Later*>& Pending() {
        static std::map<UINT_PTR, Later*> pending;
        return pending;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        auto it = Pending().find(id);
        if (it == Pending().end()) {
            KillTimer(nullptr, id);
            return;
        }
        Later* later = it->second;
        later->Stop();
        later->ran_ = true;
        later->action_();
    }
    void Stop() {
        if (!timer_) return;
        KillTimer(nullptr, timer_);
        Pending().erase(timer_);
        timer_ = 0;
    }

    std::function<void()> action_;
    UINT_PTR timer_ = 0;
    bool ran_ = false;
};

} // namespace moke::test

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <coroutine>
#include <exception>
#include <utility>

// An SCPI dialogue written as it reads: a coroutine that awaits each reply and each pause,
// and may await another such coroutine. It starts when first resumed (or awaited) and runs on
// the host's thread only, moved on by received bytes and timers; what it throws is kept for
// whoever awaits it or reads Error().
class CScpiTask {
public:
    struct promise_type {
        std::exception_ptr error;
        std::coroutine_handle<> continuation;

        CScpiTask get_return_object() { return CScpiTask(Handle::from_promise(*this)); }
        std::suspend_always initial_suspend() noexcept { return {}; }
        // A finished task hands over to the one that awaited it, if any.
        auto final_suspend() noexcept {
            struct Transfer {
                bool await_ready() noexcept { return false; }
                std::coroutine_handle<> await_suspend(Handle h) noexcept {
                    if (auto next = h.promise().continuation) return next;
                    return std::noop_coroutine();
                }
                void await_resume() noexcept {}
            };
            return Transfer{};
        }
        void return_void() {}
        void unhandled_exception() { error = std::current_exception(); }
    };
    using Handle = std::coroutine_handle<promise_type>;

    CScpiTask() = default;
    explicit CScpiTask(Handle h) : m_handle(h) {}
    CScpiTask(CScpiTask&& other) noexcept : m_handle(std::exchange(other.m_handle, {})) {}
    CScpiTask& operator=(CScpiTask&& other) noexcept {
        if (this != &other) {
            Reset();
            m_handle = std::exchange(other.m_handle, {});
        }
        return *this;
    }
    CScpiTask(const CScpiTask&) = delete;
    CScpiTask& operator=(const CScpiTask&) = delete;
    ~CScpiTask() { Reset(); }

    bool Valid() const { return static_cast<bool>(m_handle); }
    bool Done() const { return !m_handle || m_handle.done(); }
    void Start() {
        if (m_handle && !m_handle.done()) m_handle.resume();
    }
    std::exception_ptr Error() const { return m_handle ? m_handle.promise().error : nullptr; }
    // Ends the dialogue wherever it waits: nothing of it runs again.
    void Reset() {
        if (m_handle) m_handle.destroy();
        m_handle = {};
    }

    // co_await task: runs it to its end, then goes on here; what it threw is thrown here.
    bool await_ready() const noexcept { return Done(); }
    std::coroutine_handle<> await_suspend(std::coroutine_handle<> awaiting) noexcept {
        m_handle.promise().continuation = awaiting;
        return m_handle;
    }
    void await_resume() {
        if (auto error = Error()) std::rethrow_exception(error);
    }

private:
    Handle m_handle;
};

#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace pag {

// A minimal observer list: views and data links subscribe to a model's change
// notifications. The returned handle unsubscribes when it is destroyed, so a view
// that goes away never gets called.
template <typename... Args>
class Signal {
public:
    using Slot = std::function<void(Args...)>;
    class Connection {
    public:
        Connection() = default;
        explicit Connection(std::shared_ptr<Slot> s) : slot_(std::move(s)) {}
        void disconnect() {
            if (slot_) *slot_ = nullptr;
            slot_.reset();
        }
        ~Connection() { disconnect(); }
        Connection(Connection&&) noexcept = default;
        Connection& operator=(Connection&& o) noexcept {
            disconnect();
            slot_ = std::move(o.slot_);
            return *this;
        }
        Connection(const Connection&) = delete;
        Connection& operator=(const Connection&) = delete;

    private:
        std::shared_ptr<Slot> slot_;
    };

    [[nodiscard]] Connection connect(Slot s) {
        auto p = std::make_shared<Slot>(std::move(s));
        slots_.push_back(p);
        return Connection(p);
    }

    void emit(Args... args) {
        // Copy first: a slot may connect or disconnect others while we call them.
        auto copy = slots_;
        for (auto& w : copy)
            if (auto s = w.lock(); s && *s) (*s)(args...);
        std::erase_if(slots_, [](const std::weak_ptr<Slot>& w) { return w.expired(); });
    }

private:
    std::vector<std::weak_ptr<Slot>> slots_;
};

}  // namespace pag

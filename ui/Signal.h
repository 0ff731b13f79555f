#pragma once
// Signals connect a sender's event to member functions of receivers. Both sides
// disconnect themselves when destroyed: a receiver derives from has_slots<void>.
#include <algorithm>
#include <functional>
#include <vector>

namespace tamber::ui {

class SignalBase;

// The receiver side: remembers every signal it is connected to.
class SignalListener {
public:
    SignalListener() = default;
    SignalListener(const SignalListener&) = delete;
    SignalListener& operator=(const SignalListener&) = delete;
    virtual ~SignalListener();

    void DisconnectAll();

private:
    friend class SignalBase;
    std::vector<SignalBase*> signals_;
};

template <typename Policy>
class has_slots : public SignalListener {};

class SignalBase {
public:
    SignalBase() = default;
    SignalBase(const SignalBase&) = delete;
    SignalBase& operator=(const SignalBase&) = delete;
    virtual ~SignalBase() { DisconnectEveryone(); }

    // Removes every connection of this receiver.
    void Disconnect(SignalListener* receiver) {
        RemoveReceiver(receiver);
        Forget(receiver);
    }
    bool IsConnected(const SignalListener* receiver) const {
        return std::any_of(receivers_.begin(), receivers_.end(), [&](auto* r) { return r == receiver; });
    }
    size_t ConnectionCount() const { return receivers_.size(); }

protected:
    void Remember(SignalListener* receiver) {
        auto& list = receiver->signals_;
        if (std::find(list.begin(), list.end(), this) == list.end()) list.push_back(this);
    }
    // Drops the receiver's entries from the derived signal's own table.
    virtual void RemoveReceiver(SignalListener* receiver) = 0;
    std::vector<SignalListener*> receivers_;  // parallel to the derived table, for bookkeeping

private:
    friend class SignalListener;
    void Forget(SignalListener* receiver) {
        auto& list = receiver->signals_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    void DisconnectEveryone() {
        for (SignalListener* receiver : std::vector<SignalListener*>(receivers_)) Forget(receiver);
        receivers_.clear();
    }
};

inline SignalListener::~SignalListener() { DisconnectAll(); }

inline void SignalListener::DisconnectAll() {
    for (SignalBase* signal : std::vector<SignalBase*>(signals_)) signal->RemoveReceiver(this);
    signals_.clear();
}

// A signal whose slots take Args... (none or one argument in this program).
// Emission works on a snapshot and skips receivers disconnected meanwhile, so a
// slot may close its own window or disconnect others safely.
template <typename... Args>
class Signal : public SignalBase {
public:
    template <typename Receiver>
    void Connect(Receiver* receiver, void (Receiver::*method)(Args...)) {
        slots_.push_back({receiver, ++lastId_, [receiver, method](Args... args) { (receiver->*method)(args...); }});
        receivers_.push_back(receiver);
        Remember(receiver);
    }

    void Emit(Args... args) {
        std::vector<Slot> snapshot = slots_;
        for (const Slot& slot : snapshot) {
            bool connected = std::any_of(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.id == slot.id; });
            if (connected) slot.call(args...);
        }
    }

private:
    struct Slot {
        SignalListener* receiver;
        unsigned id;
        std::function<void(Args...)> call;
    };

    void RemoveReceiver(SignalListener* receiver) override {
        slots_.erase(std::remove_if(slots_.begin(), slots_.end(), [&](const Slot& s) { return s.receiver == receiver; }),
                     slots_.end());
        receivers_.erase(std::remove(receivers_.begin(), receivers_.end(), receiver), receivers_.end());
    }

    std::vector<Slot> slots_;
    unsigned lastId_ = 0;
};

using Signal0 = Signal<>;
template <typename T>
using Signal1 = Signal<T>;

}  // namespace tamber::ui

#pragma once
// The outcome of an operation that can fail: the value, or a message a user can
// read ("couldn't open 'x': Permission denied"). Every reader, writer and file
// operation of the windowless libraries returns one; the type is [[nodiscard]], so
// a result that nobody looks at does not compile quietly.
#include <cassert>
#include <string>
#include <utility>
#include <variant>

namespace tamber::base {

// A failure's message, in words a user can read.
struct Error {
    std::string message;
};

inline Error Fail(std::string message) { return Error{std::move(message)}; }

template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & {
        assert(ok());
        return std::get<0>(state_);
    }
    const T& value() const& {
        assert(ok());
        return std::get<0>(state_);
    }
    T&& value() && {
        assert(ok());
        return std::get<0>(std::move(state_));
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T&& operator*() && { return std::move(*this).value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

    const std::string& error() const {
        assert(!ok());
        return std::get<1>(state_).message;
    }
    // The failure, to pass on unchanged from a function returning another Result.
    Error TakeError() && {
        assert(!ok());
        return std::get<1>(std::move(state_));
    }

private:
    std::variant<T, Error> state_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error.message)), failed_(true) {}

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const std::string& error() const {
        assert(failed_);
        return error_;
    }
    Error TakeError() && {
        assert(failed_);
        return Error{std::move(error_)};
    }

private:
    std::string error_;
    bool failed_ = false;
};

// An operation that has no value to give back.
using Status = Result<void>;

inline Status Ok() { return Status(); }

}  // namespace tamber::base

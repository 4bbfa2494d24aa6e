// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

// Why something failed: a code the front ends turn into words, and the
// system's own detail ("Connection refused"), empty when there is none.
template <typename E> struct Failure {
    E error;
    QString detail;
};

// A value, or the failure that kept it from being made.
template <typename T, typename E> class [[nodiscard]] Result
{
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Failure<E> failure) : state_(std::in_place_index<1>, std::move(failure)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T &value() const { return std::get<0>(state_); }
    T &value() { return std::get<0>(state_); }
    // Only when failed.
    E error() const { return std::get<1>(state_).error; }
    const QString &detail() const { return std::get<1>(state_).detail; }
    // Only when failed: to pass the failure on as another Result's.
    const Failure<E> &failure() const { return std::get<1>(state_); }

private:
    std::variant<T, Failure<E>> state_;
};

// Success without a value, or a failure.
template <typename E> class [[nodiscard]] Result<void, E>
{
public:
    Result() = default;
    Result(Failure<E> failure) : failure_(std::move(failure)) {}

    bool ok() const { return !failure_; }
    explicit operator bool() const { return ok(); }
    E error() const { return failure_->error; }
    const QString &detail() const { return failure_->detail; }
    const Failure<E> &failure() const { return *failure_; }

private:
    std::optional<Failure<E>> failure_;
};

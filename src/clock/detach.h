#pragma once

#include <QCoro/QCoroTask>

#include <utility>

// Starts a coroutine that nobody waits for: `detach(run())` lets it run on by itself and free
// itself at its end (a handler, a button, a tick). The name says the call does not wait, where
// a plain call would read as if it did.
template <typename T> void detach(QCoro::Task<T> &&task)
{
    [[maybe_unused]] QCoro::Task<T> running = std::move(task);
}

#pragma once

namespace ui {

// Runs one step of a handler that carries on past a failing step: the load
// handlers and the timer's tick. The failure is neither shown nor logged.
template <class Step>
void Try(Step step) noexcept
{
    try {
        step();
    } catch (...) {}
}

}  // namespace ui

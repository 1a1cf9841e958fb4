#pragma once

#include "Errors.h"

#include <QString>

#include <functional>

namespace kb::test {

// The text of the kb::Error the action raises, or an empty text when it raises none.
inline QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &error) {
        return error.text();
    }
    return {};
}

} // namespace kb::test

#pragma once
#include <functional>
#include <string>

#include "model/errors.h"

// The text of the error a command ends with, as the error box would get it
// (before its full stop), or "(no error)".
inline std::string ErrorOf(const std::function<void()>& command)
{
    try {
        command();
    } catch (const rq::AppError& e) {
        return e.what();
    }
    return "(no error)";
}

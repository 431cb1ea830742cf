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

// The error's text and, on a line of its own, where it was found, when known.
inline std::string ErrorAndPlaceOf(const std::function<void()>& command)
{
    try {
        command();
    } catch (const rq::AppError& e) {
        const std::string place = rq::PlaceText(e.Place());
        return place.empty() ? e.Text() : e.Text() + "\n" + place;
    }
    return "(no error)";
}

#pragma once
// Everything the windows show of a project, as one value: the project state
// with its views written, and the dialog's controls. Two are equal when every
// control holds the same.
#include <ostream>
#include <string>
#include <vector>

#include "ui/form1.h"
#include "ui/form2.h"
#include "views/grid_views.h"

struct Shown {
    rq::ProjectState project;
    rq::Form2Controls dialog;
    bool operator==(const Shown&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Shown&) { return out << "(a shown state)"; }
};

inline Shown ShownState(rq::TForm1& form)
{
    rq::WritePendingViews(form.s);
    return Shown{form.s, form.Form2().Controls()};
}

// Where two shown states differ: nothing when they are equal.
inline std::vector<std::string> Differences(const Shown& a, const Shown& b)
{
    std::vector<std::string> out;
    if (!(a.project == b.project))
        out.emplace_back(a.project.StepParts() != b.project.StepParts()
                             ? "the project (allocation, locks, sliders, items or texts)"
                             : "the project's views, selectors, boxes or buttons");
    if (!(a.dialog == b.dialog))
        out.emplace_back("the dialog's controls");
    return out;
}

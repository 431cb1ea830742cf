#pragma once
// A view grid is read as a window reads it: after the views wrote what their
// last refresh recorded.
#include "model/project_state.h"
#include "views/grid_views.h"

inline const rq::ProjectState& Written(rq::ProjectState& s)
{
    rq::WritePendingViews(s);
    return s;
}

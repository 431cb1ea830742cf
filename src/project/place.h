#pragma once
// Where an item's value came from in the project files, so that an error
// found in it can say so: the file, the line, the segment's title and the key.
#include "model/errors.h"
#include "model/project_state.h"

namespace rq {

// The place of row's value in column of the item table: the ECL line that set
// it (the item's "[item]" line and "(missing)" when no line did), or for the
// reduction the INF line of the segment's section. A column that no key sets
// (-1, or the computed size) gives the segment's "[item]" line.
ErrorPlace ItemPlace(const ProjectState& s, int row, int column);

// The error as found in row's value of column; an error that knows its place
// already keeps it.
AppError AtItem(const AppError& error, const ProjectState& s, int row, int column);

}  // namespace rq

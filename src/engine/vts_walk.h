#pragma once
// How the engine walks the title-set table: records 1..N, N the summary grid's
// last row, and a record belongs to a name only when it has one.
#include <algorithm>
#include <string>

#include "model/project_state.h"

namespace rq {

// The last record of the VTS range. The summary grid never grows past VTS 99,
// but the walk is bounded by the table all the same.
inline int LastVTS(const ProjectState& s) { return std::min(s.VTSRangeEnd(), kVTSRecords - 1); }

inline TVTSData& VTSAt(ProjectState& s, int k) { return s.VTSData[static_cast<size_t>(k)]; }
inline const TVTSData& VTSAt(const ProjectState& s, int k) { return s.VTSData[static_cast<size_t>(k)]; }

// Exact, case-sensitive, whole-name match; an unnamed record matches nothing.
inline bool Matches(const TVTSData& v, const std::string& name) { return !v.Name.empty() && v.Name == name; }

// The record of a name: the last one from `first` to LastVTS that matches it
// (should the table hold a name twice, the later record counts), or nullptr.
inline const TVTSData* FindVTS(const ProjectState& s, const std::string& name, int first = 1)
{
    for (int k = LastVTS(s); k >= first; --k)
        if (Matches(VTSAt(s, k), name))
            return &VTSAt(s, k);
    return nullptr;
}

}  // namespace rq

#pragma once
// Reading a DVD-RB project: REBUILDER.ECL and REBUILDER.INF into the item
// table and the text buffers, then the aggregation into title sets.
#include <functional>
#include <string>

#include "model/project_state.h"

namespace rq {

// A pair whose two names lead to one file: a save would write the INF text
// over the ECL text.
inline constexpr const char* kSameFileMessage = "The ECL file and the INF file are the same file";

// Loads the pair derived from path (which becomes the project path), runs
// ProcessLoadedECL, disables the Load button. Does nothing but that when path is
// no file. Every error leaves the Load button enabled: an ECL file that cannot be
// read leaves both buffers empty and the records cleared; an ECL line that fails
// leaves the ECL buffer up to and including it and the items read so far; an INF
// file that cannot be read leaves the INF buffer empty and nothing aggregated;
// later errors are those of ProcessLoadedECL. processMessages, when given,
// runs now and then while the items are read (a window handles its events).
using ProcessMessagesFn = std::function<void()>;
void LoadECL(ProjectState& s, const std::string& path, const ProcessMessagesFn& processMessages = {});

}  // namespace rq

#pragma once
// The limit correction and the single-title-set commands of the main page.
#include "model/project_state.h"

namespace rq {

// One pass over the title sets: raise to "Min Bitrate", cut to 100 percent,
// cut to "Max Bitrate", with temporary locks restored at the end.
// A limit box that is no number fails before anything changes. An error partway
// leaves the title sets corrected so far and their temporary locks checked.
void CorrectMinMax(ProjectState& s);
// "Change": the title set in ComboBox1 by the percentage in Edit2; no limits.
// A bad Edit2 (read only when the title set exists) fails before anything
// changes; later errors are SetVTSBitRate's.
void ChangeByPercentage(ProjectState& s);
// Set bitrate: the title set in ComboBox3 to Edit5 kbit/s, capped at 100 percent.
// A bad Edit5 fails before anything changes; an error in the correction leaves
// the new bitrate set, plus what CorrectMinMax leaves.
void SetBitrate(ProjectState& s);
// Set percentage: the title set in ComboBox4 to Edit1 percent. A bad Edit1 fails
// before anything changes; later errors leave what SetVTSPercent and CorrectMinMax leave.
void SetPercentage(ProjectState& s);
// What follows a slider's move (the form runs it from the slider's change
// handler): write the slider's value into the command's box and run it.
// The box keeps the slider's value when the command fails.
void FollowBitrateSlider(ProjectState& s);
void FollowPercentSlider(ProjectState& s);

}  // namespace rq

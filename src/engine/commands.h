#pragma once
// The limit correction and the single-title-set commands of the main page.
// Each takes what it needs as arguments (the form reads them from its boxes)
// and changes the title-set records, the locks it holds for a while, and the
// views; a number is read from its text only when the command needs it.
#include <string>

#include "model/project_state.h"

namespace rq {

// "Min Bitrate" and "Max Bitrate" as typed.
struct BitrateLimits {
    std::string min;
    std::string max;
};
// The limits in the main page's boxes (Edit8, Edit9).
inline BitrateLimits LimitsOf(const ProjectState& s) { return {s.Edit8.Text(), s.Edit9.Text()}; }

// One pass over the title sets: raise to "Min Bitrate", cut to 100 percent,
// cut to "Max Bitrate", with temporary locks restored at the end.
// A limit box that is no number fails before anything changes. An error partway
// leaves the title sets corrected so far and their temporary locks checked.
void CorrectMinMax(ProjectState& s, const BitrateLimits& limits);
// "Change": the named title set by `percent` percent; no limits. A bad
// percent (read only when the title set exists) fails before anything
// changes; later errors are SetVTSBitRate's.
void ChangeByPercentage(ProjectState& s, std::string name, std::string percent);
// Set bitrate: the named title set to `bitrate` kbit/s, capped at 100 percent,
// then the limit correction. A bad bitrate fails before anything changes; an
// error in the correction leaves the new bitrate set, plus what CorrectMinMax leaves.
void SetBitrate(ProjectState& s, std::string name, std::string bitrate, const BitrateLimits& limits);
// Set percentage: the named title set to `percent` percent, then the limit
// correction. A bad percent fails before anything changes; later errors leave
// what SetVTSPercent and CorrectMinMax leave.
void SetPercentage(ProjectState& s, std::string name, std::string percent, const BitrateLimits& limits);
// What follows a slider's move (the form runs it from the slider's change
// handler): reads the slider's position, writes it into the command's box
// (Edit5 for the bitrate slider, Edit1 for the percentage slider) and runs the
// command on the named title set. The box keeps the value when the command fails.
void FollowBitrateSlider(ProjectState& s, const std::string& name, const BitrateLimits& limits);
void FollowPercentSlider(ProjectState& s, const std::string& name, const BitrateLimits& limits);

}  // namespace rq

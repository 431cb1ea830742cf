#pragma once
// The limit correction and the single-title-set commands of the main page.
#include "model/project_state.h"

namespace rq {

// One pass over the title sets: raise to "Min Bitrate", cut to 100 percent,
// cut to "Max Bitrate", with temporary locks restored at the end.
void CorrectMinMax(ProjectState& s);
// "Change": the title set in ComboBox1 by the percentage in Edit2; no limits.
void ChangeByPercentage(ProjectState& s);
// Set bitrate: the title set in ComboBox3 to Edit5 kbit/s, capped at 100 percent.
void SetBitrate(ProjectState& s);
// Set percentage: the title set in ComboBox4 to Edit1 percent.
void SetPercentage(ProjectState& s);
// Slider handlers: write the slider's value into the command's box and run it.
void FollowBitrateSlider(ProjectState& s);
void FollowPercentSlider(ProjectState& s);
// Binds the two sliders' change notifications to their handlers.
void ConnectEngineHandlers(ProjectState& s);

}  // namespace rq

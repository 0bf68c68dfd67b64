// The Sky Map's label font measured, and its circles and characters captured as ink from the system's drawing.
#pragma once

#include <windows.h>

#include <memory>

#include "core/skymap/sky_ink.h"

// The line height and character advances of the font selected into the DC.
LabelMetrics MeasureLabelFont(HDC hdc);

// The ink of both circle sizes and of every character of the label font (ANSI_VAR_FONT) as this
// system draws them. Null where stamping that ink would not give exactly the system's own
// drawing: a smoothed font (whose edges blend with what lies below), a double-byte code page, or
// a line of text that does not come out as its characters side by side. The check is made here,
// on this system's drawing, once per capture.
std::unique_ptr<SkyInk> CaptureSkyInk();

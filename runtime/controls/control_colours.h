#pragma once
// The colour rules: how a control answers QUERY_COLOR while it or a window inside it paints.

#include "win32.h"

namespace vel::controls {

class WindowedControl;

/// Sets the text colour of `dc` from the control's font object; a transparent control gets
/// the transparent background mode and the null brush; any other the opaque mode, its
/// background colour and its background brush. Answers the brush, or 0 when the control has
/// none (`passOn` stays set, so the default handling answers).
LRESULT AnswerColourQuery(WindowedControl& control, HDC dc, bool& passOn);

}  // namespace vel::controls

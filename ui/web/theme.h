#pragma once

#include "design.h"

namespace dosat::web {

/// Gives each control of the window `handle` that sets a text colour the colour the
/// contrast rule makes of it on the page's colours of the moment.
void ApplyTextColours(int handle, const design::Window& design);

}  // namespace dosat::web

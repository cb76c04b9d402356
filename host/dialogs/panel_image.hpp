// A floating panel as the screen shows it: its tab strip, flyout button, items and open flyout
// menu.
#pragma once

#include "dialogs/dialog_manager.hpp"
#include "render/raster.hpp"

namespace sqhost {

// Paints panel with Cairo: a tab strip with the tabs of its docking group (icon and title; the
// panel's own tab in front) and the flyout menu button, the panel's content below it as its draw
// procs draw it, and the flyout menu when it is open. Draw procs run.
render::Raster renderPanel(DialogManager& manager, Dialog& panel);

}  // namespace sqhost

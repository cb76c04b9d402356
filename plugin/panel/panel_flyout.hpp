// The panel's flyout menu: the texts that follow the keys held when it opens, and its choices.
#pragma once

#include <cstdint>

#include "sqsdk/types.h"

namespace sq {

// What decides the wording of the flyout entries when the menu opens.
struct FlyoutWording {
  bool alt = false;
  bool ctrl = false;
  bool shift = false;
  bool severalOpenPaths = false;
  bool artboardRulers = false;
  bool expanded = false;
};

// The text entry index shows for these keys and states; null for the entries whose text does not
// depend on them.
const char* FlyoutEntryText(int32_t index, const FlyoutWording& wording);

// The tracker of the flyout menu button: records the modifier keys at the press that opens the
// menu and rewords the entries, then tracks the default way.
AIBoolean TrackFlyout(ADMItemRef item, ADMTrackerRef tracker);
// The notifier of the flyout menu button: runs the chosen entry.
AIErr FlyoutChosen(ADMItemRef item, ADMNotifierRef notifier);

}  // namespace sq

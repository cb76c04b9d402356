// What the press prepares for the edited points besides reading them: the connector test and the
// two neighbours along the path.
#pragma once

#include "shell/plugin_state.hpp"
#include "sqsdk/types.h"

namespace sq {

// Runs the connector test for one edited record (gesture.hpp: 0 grabbed, 1 previous, 2 next) on
// its path as the host has it now, with the press's drag mode and anchor case, and stores the
// result in the record's ConnectorState.
void testEditedConnector(PluginState& s, int record);

// Reads the grabbed point's previous and next points along its path into previousPoint and
// nextPoint (segment index −1 where an open path ends) and, while the point table is empty, runs
// the connector test for each of them. Returns the last host status.
AIErr setUpNeighbours(PluginState& s);

}  // namespace sq

// The plug-in's exported symbols: PluginMain and the resource table.
#include "shell/exports.hpp"

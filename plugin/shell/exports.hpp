// Declarations of the two symbols the plug-in library exports.
#pragma once

/* "AI Tool Suite": tools in the host's tool box, the current tool and the Info panel's values. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Tools. Each tool has a number; tools in the same group share one slot of the tool box, and a
   toolset is the set of tools of such a slot. The host has its own pen tool, kAIPenToolName. A
   plug-in tool receives "AI Tool" messages (messages.h) while it is the current tool: "AI Select"
   when it becomes current and "AI Deselect" when it stops being current; "AI Mouse Down", then
   "AI Mouse Drag" for each movement with the button held, then "AI Mouse Up" (one gesture, one undo
   context, ai_undo.h); "AI Track Cursor" for each movement without a button when it asked for it
   (kAIToolWantsToTrackCursorOption); "AI Increase Diameter" and "AI Decrease Diameter" for the
   diameter keys when it asked for them (kAIToolWantsDiameterKeysOption); "AI Edit Options" when
   the user double-clicks it in the tool box. While a tool is current, holding Ctrl or the space bar
   suspends it (ai_notifier.h).

   The Info panel. A tool declares which Info variables it fills; the host shows those rows and
   the values the tool last set, until the tool changes.

   Operations fail with kBadHandleErr for a tool that is not live and kBadParameterErr for a null
   pointer; a failing call changes nothing and leaves its outputs untouched. */

#define kAIToolSuite "AI Tool Suite"
#define kAIToolSuiteVersion 11

#define kAIPenToolName "Pen Tool"

/* A group or toolset number that puts the new tool in a group or toolset of its own. */
#define kAINoTool (-2)

/* Options of AddTool. */
enum {
  kAIToolWantsToTrackCursorOption = 0x01, /* send "AI Track Cursor" as the mouse moves */
  kAIToolWantsDiameterKeysOption = 0x20   /* send "AI Increase/Decrease Diameter" for the keys */
};

/* Info variables. Positions and lengths are in points, the angle in degrees. */
enum {
  kAIInfoEndOfList = -1,  /* ends a list of Info variables */
  kAIInfoSizeX = 2,       /* width */
  kAIInfoSizeY = 3,       /* height */
  kAIInfoDistance = 4,    /* distance */
  kAIInfoVectorAngle = 5, /* angle */
  kAIInfoDocX = 15,       /* document X */
  kAIInfoDocY = 16        /* document Y */
};

/* At most this many Info variables in one list (the end marker not counted). */
#define kAIMaxInfoVariables 16

/* How AddTool shows the tool. */
typedef struct AIAddToolData {
  const char* title;     /* UTF-8, copied */
  const char* tooltip;   /* UTF-8, copied */
  ADMIconRef icon;       /* the tool box picture; the host keeps its own copy, may be null */
  int32_t sameGroupAs;   /* number of a tool whose group the new tool joins, or kAINoTool */
  int32_t sameToolsetAs; /* number of a tool whose toolset the new tool joins, or kAINoTool */
} AIAddToolData;

typedef struct AIToolSuite {
  /* The number of the tool named name (a host tool such as kAIPenToolName, or a plug-in tool's
     name) in *outNumber. An unknown name fails with kBadParameterErr. */
  AIErr (*GetToolNumberFromName)(const char* name, int32_t* outNumber);

  /* Add a tool of plugin with the unique name name (copied), shown as data says, with options
     (kAIToolWants... bits; others fail with kBadParameterErr), and write its handle to *outTool.
     The tool lives until the host shuts down. Fails with kDuplicateNameErr for a name already used
     and kBadParameterErr for an unknown group or toolset number. */
  AIErr (*AddTool)(SPPluginRef plugin, const char* name, const AIAddToolData* data, int32_t options,
                   AIToolHandle* outTool);

  /* Declare the tool's Info variables: infoVars lists kAIInfo... numbers ending with
     kAIInfoEndOfList, at most kAIMaxInfoVariables of them (the list is copied). Unknown numbers or
     a longer list fail with kBadParameterErr. */
  AIErr (*SetToolInfoVars)(AIToolHandle tool, const int32_t* infoVars);

  /* Set Info values: infoVars lists declared variables ending with kAIInfoEndOfList, and values
     holds one value for each, in the same order. Variables not listed keep their values. A variable
     not declared fails with kBadParameterErr, a non-finite value with kNonFiniteErr. */
  AIErr (*SetToolInfoVarValues)(AIToolHandle tool, const int32_t* infoVars, const AIReal* values);

  /* The current tool in *outTool; null when a host tool is current. */
  AIErr (*GetSelectedTool)(AIToolHandle* outTool);

  /* Make tool the current tool. The host sends "AI Deselect" to the previous tool and "AI Select"
     to this one before the call returns (nothing when it already is current). */
  AIErr (*SetSelectedTool)(AIToolHandle tool);
} AIToolSuite;

#ifdef __cplusplus
}
#endif

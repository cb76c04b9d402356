/* "AI Undo Suite": undo contexts, taking back a gesture's changes, silent contexts, undo text. */
#pragma once

#include "../types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The host records every document change (geometry, selection, attributes, styles, layers, art
   created or disposed) inside the current undo context, and user undo and redo restore documents
   exactly.

   Contexts. A tool gesture (from the mouse-down message to the mouse-up message, with every drag
   message in between), a panel command (one dialog-manager callback), a menu command ("AI Go") and
   an edit in a dialog are one context each. When it closes, a context that changed the document
   becomes one undo entry, unless it was marked silent. Changes made while handling any other
   message (notifications, cursor tracking, drawing, start-up) are recorded silently. Contexts do
   not nest: a PushAppContext (ai_context.h) inside an open context joins it. A new entry clears
   the redo history.

   Silent contexts keep their changes in the document but make no entry and leave the undo and redo
   history as it was: undoing the entry before restores the document as it was before that entry,
   and redoing restores it as it was after that entry, in both cases without the silent changes. */

#define kAIUndoSuite "AI Undo Suite"
#define kAIUndoSuiteVersion 5

typedef struct AIUndoSuite {
  /* Name the entry the current context will become, for the host's Undo and Redo menu items
     ("Undo " + undoText). Both strings are copied; null leaves that text as it was. Fails with
     kNothingToUndoErr when no context is open. */
  AIErr (*SetUndoText)(const char* undoText, const char* redoText);

  /* Take back changes of the current context. During a tool gesture: every change made since the
     gesture's mouse-down handler returned, so the artwork is back at its mouse-down state (what the
     mouse-down handler itself changed stays). Otherwise: every change made so far in the context.
     The context stays open; taking back nothing is not an error. Fails with kNothingToUndoErr when
     no context is open. */
  AIErr (*UndoChanges)(void);

  /* Mark the current context silent (non-zero) or not. Fails with kNothingToUndoErr when no context
     is open. */
  AIErr (*SetSilent)(AIBoolean silent);

  /* Non-zero in *outSilent when the current context is silent (or no context is open). */
  AIErr (*IsSilent)(AIBoolean* outSilent);
} AIUndoSuite;

#ifdef __cplusplus
}
#endif

/* Value types and opaque handles shared by every part of the host interface. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The host's error code: 0 is success, anything else an error (see errors.h). */
typedef int32_t AIErr;
/* Flags exchanged with the host: 32-bit, 0 false, 1 (or any non-zero value on input) true. */
typedef int32_t AIBoolean;
/* Host geometry is single precision. */
typedef float AIReal;

/* A point in artwork coordinates: points (1/72 inch), h to the right, v upward. */
typedef struct AIRealPoint {
  AIReal h;
  AIReal v;
} AIRealPoint;

/* A point in view coordinates: whole pixels, x to the right, y downward. */
typedef struct AIPoint {
  int32_t h;
  int32_t v;
} AIPoint;

/* One path segment: the anchor, its in handle, its out handle and the corner flag, in this order.
   A handle equal to its anchor is retracted. corner is non-zero for a corner point. */
typedef struct AIPathSegment {
  AIRealPoint p;
  AIRealPoint in;
  AIRealPoint out;
  AIBoolean corner;
} AIPathSegment;

/* A cubic Bezier curve: anchor, control, control, anchor. */
typedef struct AIRealBezier {
  AIRealPoint p0;
  AIRealPoint p1;
  AIRealPoint p2;
  AIRealPoint p3;
} AIRealBezier;

/* An artwork rectangle. In artwork coordinates top is the larger v. */
typedef struct AIRealRect {
  AIReal left;
  AIReal top;
  AIReal right;
  AIReal bottom;
} AIRealRect;

/* A view rectangle in whole pixels; top is the smaller y. */
typedef struct AIRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
} AIRect;

/* A colour of three 16-bit channels (0..65535). */
typedef struct AIRGBColor {
  uint16_t red;
  uint16_t green;
  uint16_t blue;
} AIRGBColor;

/* A four-character code: the first character in the highest byte, as in 'S!Fd' == 0x53214664. */
typedef uint32_t AIFourCC;
#define AI_FOURCC(a, b, c, d)                                                   \
  ((AIFourCC)(((uint32_t)(uint8_t)(a) << 24) | ((uint32_t)(uint8_t)(b) << 16) | \
              ((uint32_t)(uint8_t)(c) << 8) | (uint32_t)(uint8_t)(d)))

/* Opaque references. The host owns every object behind them; a plug-in keeps only the handle. */
typedef struct SPPluginOpaque* SPPluginRef;                /* this plug-in, as the host knows it */
typedef struct SPAccessOpaque* SPAccessRef;                /* a loaded plug-in library */
typedef struct AIArtOpaque* AIArtHandle;                   /* any art object */
typedef struct AILayerOpaque* AILayerHandle;               /* a layer */
typedef struct AIDocumentOpaque* AIDocumentHandle;         /* an open document */
typedef struct AIDocumentViewOpaque* AIDocumentViewHandle; /* a view of a document */
typedef struct AIArtSetOpaque* AIArtSet;                   /* a list of art handles */
typedef struct AIToolOpaque* AIToolHandle;                 /* a registered tool */
typedef struct AIAnnotatorOpaque* AIAnnotatorHandle;       /* a registered annotator */
typedef struct AINotifierOpaque* AINotifierHandle;         /* a registered notifier */
typedef struct AIMenuItemOpaque* AIMenuItemHandle;         /* a registered menu item */
typedef struct AIHitOpaque* AIHitRef;                      /* the result of a hit test */
typedef struct AIAppContextOpaque* AIAppContextHandle;     /* a pushed application context */
typedef struct AIPluginGroupOpaque* AIPluginGroupHandle;   /* a registered plug-in group */
typedef struct AIUnicodeStringOpaque* AIUnicodeStringRef;  /* a host-owned Unicode string */
typedef struct AIPortOpaque* AIPortRef;           /* a drawing port handed to the annotator */
typedef struct ADMDialogOpaque* ADMDialogRef;     /* a dialog-manager dialog */
typedef struct ADMItemOpaque* ADMItemRef;         /* an item of a dialog */
typedef struct ADMListOpaque* ADMListRef;         /* the list of a list or popup item */
typedef struct ADMEntryOpaque* ADMEntryRef;       /* one entry of a list */
typedef struct ADMIconOpaque* ADMIconRef;         /* an image loaded from a resource */
typedef struct ADMDrawerOpaque* ADMDrawerRef;     /* a drawer (annotation or item drawing) */
typedef struct ADMTrackerOpaque* ADMTrackerRef;   /* the event being tracked by an item */
typedef struct ADMNotifierOpaque* ADMNotifierRef; /* the notification an item receives */
typedef void* ADMUserData;                        /* plug-in data kept with a dialog or item */

#ifdef __cplusplus
}
#endif

/* The host's error codes. Every operation returns one of these; 0 is success. */
#pragma once

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Each code is an AIErr constant, usable in constant expressions in C and C++. */
#define kNoErr ((AIErr)0)
/* Not enough memory to complete the request. */
#define kOutOfMemoryErr ((AIErr)-108)
/* The host ran out of a private memory reserve. */
#define kMemoryReserveErr ((AIErr)271)
/* A suite with this name and version does not exist ('S!Fd'). */
#define kSPSuiteNotFoundError ((AIErr)0x53214664)
/* The user cancelled ('STOP'). Never shown to the user. */
#define kCanceledErr ((AIErr)0x53544F50)
/* A parameter is null, out of range or of the wrong kind ('PARM'). */
#define kBadParameterErr ((AIErr)0x5041524D)
/* A point, length or angle is not finite; nothing was changed ('NFIN'). */
#define kNonFiniteErr ((AIErr)0x4E46494E)
/* The operation needs an open document and none is open ('DOC?'). */
#define kNoDocumentErr ((AIErr)0x444F433F)
/* The handle does not name a live object of the expected kind ('BADH'). */
#define kBadHandleErr ((AIErr)0x42414448)
/* A segment index or count is out of range ('RANG'). */
#define kOutOfRangeErr ((AIErr)0x52414E47)
/* The path would exceed the host's limit on segments per path ('SLIM'). */
#define kTooManySegmentsErr ((AIErr)0x534C494D)
/* The art is locked or hidden and cannot be changed ('LOCK'). */
#define kLockedErr ((AIErr)0x4C4F434B)
/* A name is already registered ('DUPL'). */
#define kDuplicateNameErr ((AIErr)0x4455504C)
/* The preference is not stored, or is stored with another type ('PRF?'). */
#define kNoSuchPreferenceErr ((AIErr)0x5052463F)
/* The plug-in has no resource of this type, id and index ('RES?'). */
#define kResourceNotFoundErr ((AIErr)0x5245533F)
/* A string did not fit the caller's buffer; the buffer holds a truncated copy ('TRNC'). */
#define kBufferTooSmallErr ((AIErr)0x54524E43)
/* The operation is not available in this host ('NIMP'). */
#define kNotImplementedErr ((AIErr)0x4E494D50)
/* The host's undo history has no such entry ('UNDO'). */
#define kNothingToUndoErr ((AIErr)0x554E444F)
/* Anything else that went wrong inside the host ('CANT'). */
#define kCantHappenErr ((AIErr)0x43414E54)

#ifdef __cplusplus
}
#endif

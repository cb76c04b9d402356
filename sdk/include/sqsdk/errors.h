/* The host's error codes. Every operation returns one of these; 0 is success. */
#pragma once

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  kNoErr = 0,
  /* Not enough memory to complete the request. */
  kOutOfMemoryErr = -108,
  /* The host ran out of a private memory reserve. */
  kMemoryReserveErr = 271,
  /* A suite with this name and version does not exist ('S!Fd'). */
  kSPSuiteNotFoundError = 0x53214664,
  /* The user cancelled ('STOP'). Never shown to the user. */
  kCanceledErr = 0x53544F50,
  /* A parameter is null, out of range or of the wrong kind ('PARM'). */
  kBadParameterErr = 0x5041524D,
  /* A point, length or angle is not finite; nothing was changed ('NFIN'). */
  kNonFiniteErr = 0x4E46494E,
  /* The operation needs an open document and none is open ('DOC?'). */
  kNoDocumentErr = 0x444F433F,
  /* The handle does not name a live object of the expected kind ('BADH'). */
  kBadHandleErr = 0x42414448,
  /* A segment index or count is out of range ('RANG'). */
  kOutOfRangeErr = 0x52414E47,
  /* The path would exceed the host's limit on segments per path ('SLIM'). */
  kTooManySegmentsErr = 0x534C494D,
  /* The art is locked or hidden and cannot be changed ('LOCK'). */
  kLockedErr = 0x4C4F434B,
  /* A name is already registered ('DUPL'). */
  kDuplicateNameErr = 0x4455504C,
  /* The preference is not stored, or is stored with another type ('PRF?'). */
  kNoSuchPreferenceErr = 0x5052463F,
  /* The plug-in has no resource of this type, id and index ('RES?'). */
  kResourceNotFoundErr = 0x5245533F,
  /* A string did not fit the caller's buffer; the buffer holds a truncated copy ('TRNC'). */
  kBufferTooSmallErr = 0x54524E43,
  /* The operation is not available in this host ('NIMP'). */
  kNotImplementedErr = 0x4E494D50,
  /* The host's undo history has no such entry ('UNDO'). */
  kNothingToUndoErr = 0x554E444F,
  /* Anything else that went wrong inside the host ('CANT'). */
  kCantHappenErr = 0x43414E54
};

#ifdef __cplusplus
}
#endif

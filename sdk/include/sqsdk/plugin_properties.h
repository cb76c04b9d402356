/* The plug-in property list: how a plug-in tells the host what it is and where its entry point is.

   The list is resource kSPPropertyListResourceID of type kSPPropertyListResourceType in the
   plug-in's resource table (resources.h). It is a byte array:

     SPPropertyListHeader              version 0, then the number of properties
     count x { SPPropertyHeader, data padded with zero bytes to a multiple of 4 }

   All integers are little-endian 32-bit. Four-character codes (vendor, key, and four-character
   values such as the kind) are stored as the 32-bit value of the code, so on a little-endian
   machine their bytes appear reversed: the key 'kind' is stored as the bytes "dnik". */
#pragma once

#include "types.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kSPPropertyListResourceID 16000
#define kSPPropertyListVersion 0

/* The vendor of every property the host understands. */
#define kSPPropertyVendor AI_FOURCC('S', 'P', 'R', 'P')

/* Keys. */
#define kSPKindProperty AI_FOURCC('k', 'i', 'n', 'd')             /* data: a four-character code */
#define kSPInterfaceVersionProperty AI_FOURCC('i', 'v', 'r', 's') /* data: int32 */
#define kSPCodeProperty AI_FOURCC('c', 'o', 'd', 'e')             /* data: SPCodeDescriptor */
#define kSPPluginNameProperty AI_FOURCC('p', 'i', 'n', 'm')       /* data: null-terminated name */

/* The only kind and interface version this host loads. */
#define kSPPluginKind AI_FOURCC('S', 'P', 'E', 'A')
#define kSPInterfaceVersion 2

typedef struct SPPropertyListHeader {
  int32_t version;
  int32_t count;
} SPPropertyListHeader;

typedef struct SPPropertyHeader {
  AIFourCC vendorID;
  AIFourCC propertyKey;
  int32_t propertyID;     /* 0 */
  int32_t propertyLength; /* bytes of data that follow, before padding */
} SPPropertyHeader;

/* The data of a kSPCodeProperty: the processor the code is for and the exported name of the entry
   point, null-terminated, padded. */
#define kSPCodeProcessorX86_64 AI_FOURCC('x', '6', '4', ' ')
typedef struct SPCodeDescriptor {
  AIFourCC processor;
  char entryName[28];
} SPCodeDescriptor;

#ifdef __cplusplus
}
#endif

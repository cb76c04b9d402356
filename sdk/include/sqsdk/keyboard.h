/* The system keyboard state, as the platform reports it to any code in the process. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Virtual-key codes of the keys the host and plug-ins look at. Letters and digits use their
   upper-case ASCII codes ('C' is 0x43). */
enum { kVKShift = 0x10, kVKControl = 0x11, kVKAlt = 0x12, kVKEscape = 0x1B, kVKSpace = 0x20 };

/* The high bit of a key's state byte is set while the key is held down. */
#define kKeyDownBit 0x80

/* Copy the state of all 256 virtual keys into outState, one byte per key. Returns 1. */
__attribute__((visibility("default"))) int32_t SQGetKeyboardState(uint8_t outState[256]);

/* Set one key's state (the platform's side: the host's event loop calls this as keys go down
   and up). down is non-zero for a held key. Codes outside 0..255 are ignored. */
__attribute__((visibility("default"))) void SQSetKeyState(int32_t virtualKey, int32_t down);

/* Release every key. */
__attribute__((visibility("default"))) void SQResetKeyboardState(void);

#ifdef __cplusplus
}
#endif

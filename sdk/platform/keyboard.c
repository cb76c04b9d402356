/* The platform's keyboard state: one byte per virtual-key code, high bit set while held. */
#include "sqsdk/keyboard.h"

#include <string.h>

static uint8_t g_keys[256];

int32_t SQGetKeyboardState(uint8_t outState[256]) {
  memcpy(outState, g_keys, sizeof g_keys);
  return 1;
}

void SQSetKeyState(int32_t virtualKey, int32_t down) {
  if (virtualKey < 0 || virtualKey > 255) return;
  g_keys[virtualKey] = down ? kKeyDownBit : 0;
}

void SQResetKeyboardState(void) {
  memset(g_keys, 0, sizeof g_keys);
}

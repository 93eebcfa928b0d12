// Key codes of EvKey: characters keep their code, keypad and cursor keys get the
// toolkit's own codes, and lone modifiers give nothing.
#include "keycode.hpp"

namespace quill {
namespace {

// Windows virtual-key codes.
constexpr int kTab = 0x09, kClear = 0x0C, kShift = 0x10, kControl = 0x11, kMenu = 0x12, kPause = 0x13,
              kCapital = 0x14, kPrior = 0x21, kNext = 0x22, kEnd = 0x23, kHome = 0x24, kLeft = 0x25,
              kUp = 0x26, kRight = 0x27, kDown = 0x28, kSelect = 0x29, kSnapshot = 0x2C, kInsert = 0x2D,
              kDelete = 0x2E, kNumpad0 = 0x60, kNumpad9 = 0x69, kMultiply = 0x6A, kAdd = 0x6B,
              kSeparator = 0x6C, kSubtract = 0x6D, kDecimal = 0x6E, kDivide = 0x6F, kF1 = 0x70, kF20 = 0x83,
              kNumLock = 0x90, kScroll = 0x91, kLeftShift = 0xA0, kRightMenu = 0xA5;

int keypad_code(int vk) {
  if (vk >= kNumpad0 && vk <= kNumpad9) return 280 + (vk - kNumpad0);
  switch (vk) {
    case kSubtract: return 290;
    case kDecimal: return 291;
    case kAdd:
    case kSeparator: return 292;
    case kDivide: return 293;
    case kMultiply: return 294;
    default: return 0;
  }
}

}  // namespace

bool is_keypad_key(int vk) { return vk >= kNumpad0 && vk <= kDivide; }

int key_code_with_char(int vk, bool shift, int char_code) {
  if (is_keypad_key(vk)) return keypad_code(vk);
  if (vk == kTab && shift) return kShiftTabCode;
  return char_code;
}

int key_code_without_char(int vk, bool shift, bool ctrl) {
  switch (vk) {
    case kShift:
    case kControl:
    case kMenu:
    case kPause:
    case kCapital:
    case kNumLock:
    case kScroll: return 0;
    default: break;
  }
  if (vk >= kLeftShift && vk <= kRightMenu) return 0;
  int arrow = -1;
  switch (vk) {
    case kUp: arrow = 0; break;
    case kDown: arrow = 1; break;
    case kRight: arrow = 2; break;
    case kLeft: arrow = 3; break;
    default: break;
  }
  if (arrow >= 0) return (ctrl ? 266 : shift ? 262 : 258) + arrow;
  if (vk >= kF1 && vk <= kF20) return (ctrl ? 341 : shift ? 321 : 301) + (vk - kF1);
  if (is_keypad_key(vk)) return keypad_code(vk);
  switch (vk) {
    case kPrior: return 262;
    case kNext: return 263;
    case kHome: return 270;
    case kEnd:
    case kSelect: return 271;
    case kInsert: return 272;
    case kDelete: return 273;
    case kClear: return 285;
    case kSnapshot: return 300;
    default: return vk;
  }
}

}  // namespace quill

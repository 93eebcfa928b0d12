// Key codes of EvKey from virtual-key codes. Portable: the virtual-key values are the
// platform's numbers, written out.
#pragma once

namespace quill {

inline constexpr int kShiftTabCode = 274;

// Code of a key press that produced character char_code (the WM_CHAR that followed it).
int key_code_with_char(int virtual_key, bool shift, int char_code);
// Code of a key press that produced no character; 0 for a lone modifier or lock key.
int key_code_without_char(int virtual_key, bool shift, bool ctrl);
// True for the numeric keypad's keys 0x60..0x6F (digits, operators, decimal, separator).
bool is_keypad_key(int virtual_key);

}  // namespace quill

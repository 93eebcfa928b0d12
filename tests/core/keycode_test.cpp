// Key codes of EvKey from virtual keys, with and without a character.
#include "core/keycode.hpp"

#include <gtest/gtest.h>

namespace {

struct NoCharCase {
  int vk;
  bool shift;
  bool ctrl;
  int code;
};

TEST(KeyCode, KeysWithoutCharacter) {
  const NoCharCase cases[] = {
      {0x26, false, false, 258}, {0x28, false, false, 259},  {0x27, false, false, 260},
      {0x25, false, false, 261}, {0x26, true, false, 262},   {0x25, true, false, 265},
      {0x26, false, true, 266},  {0x25, false, true, 269},   {0x26, true, true, 266},
      {0x21, false, false, 262}, {0x22, false, false, 263},  {0x21, true, true, 262},
      {0x24, false, false, 270}, {0x23, false, false, 271},  {0x29, false, false, 271},
      {0x2D, false, false, 272}, {0x2E, false, false, 273},  {0x0C, false, false, 285},
      {0x2C, false, false, 300}, {0x70, false, false, 301},  {0x83, false, false, 320},
      {0x70, true, false, 321},  {0x83, true, false, 340},   {0x70, false, true, 341},
      {0x83, true, true, 360},   {0x84, false, false, 0x84},  // F21: its virtual-key code
      {0x5B, true, true, 0x5B},                               // other keys: no modifier added
      {0x60, false, false, 280}, {0x6B, false, false, 292},
  };
  for (const NoCharCase& c : cases) {
    EXPECT_EQ(quill::key_code_without_char(c.vk, c.shift, c.ctrl), c.code)
        << "vk " << c.vk << " shift " << c.shift << " ctrl " << c.ctrl;
  }
}

TEST(KeyCode, LoneModifierAndLockKeysGiveNothing) {
  for (int vk : {0x10, 0x11, 0x12, 0x13, 0x14, 0x90, 0x91, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5}) {
    EXPECT_EQ(quill::key_code_without_char(vk, true, true), 0) << "vk " << vk;
  }
}

TEST(KeyCode, KeysWithCharacter) {
  struct Case {
    int vk;
    bool shift;
    int ch;
    int code;
  };
  const Case cases[] = {
      {0x41, false, 'a', 'a'}, {0x41, true, 'A', 'A'},  {0x0D, false, 13, 13},   {0x1B, false, 27, 27},
      {0x09, false, 9, 9},     {0x09, true, 9, 274},    {0x60, false, '0', 280}, {0x64, false, '4', 284},
      {0x65, false, '5', 285}, {0x69, false, '9', 289}, {0x6D, false, '-', 290}, {0x6E, false, ',', 291},
      {0x6B, false, '+', 292}, {0x6C, false, ',', 292}, {0x6F, false, '/', 293}, {0x6A, false, '*', 294},
      {0xBB, true, '+', '+'},  // main-keyboard plus keeps its character
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quill::key_code_with_char(c.vk, c.shift, c.ch), c.code) << "vk " << c.vk;
  }
}

}  // namespace

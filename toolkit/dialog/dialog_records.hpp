// The dialog manager's per-dialog and per-control records and the dialog registry.
// Portable: window handles are kept as opaque pointers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quill {

using WindowRef = void*;

// One per loaded dialog, created zero-filled and attached to the dialog window.
struct DialogRecord {
  std::int32_t handle = 0;            // handle identifier
  std::int32_t shown = 0;             // nonzero while shown
  std::int32_t current_field = 0;     // field that last produced an event
  std::int32_t previous_field = 0;    // field before it
  std::int32_t page_selected = 0;     // tab page dialog most recently selected
  std::int32_t page_left = 0;         // tab page dialog most recently left
  std::int32_t show_type = 0;         // 1 modal, 2 modeless, 3 semi-modeless
  WindowRef owner = nullptr;          // window active when the dialog was shown
  WindowRef reenable = nullptr;       // window re-enabled when the dialog is hidden
  std::intptr_t changed_control = 0;  // control that last reported a change (0x40001 at load)
  std::int32_t graphics_field = 0;    // field that last asked for a repaint or resize
  std::int32_t graphics = 0;          // drawing into the dialog's own surface enabled
  std::int32_t mouse_button = 0;      // button of the last graphics mouse event
  std::int32_t accelerators = 0;      // accelerator flag of the [Dialog] section
  WindowRef combined = nullptr;       // frame window this dialog is combined with
  WindowRef last_focus = nullptr;     // last focused field window
  WindowRef resize_anchor = nullptr;  // anchor control; null when not resizable
  std::int32_t initial_width = 0;     // initial size in pixels, the minimum tracking size
  std::int32_t initial_height = 0;
  std::int32_t exit_button = 0;  // push button that last closed a modal display
};

inline constexpr double kNoLowerBound = 1000.0;
inline constexpr double kNoUpperBound = -1000.0;

// One per control, attached to the control.
struct FieldRecord {
  double value = 0.0;
  double lower = kNoLowerBound;  // lower > upper: the field has no range
  double upper = kNoUpperBound;
  double small_step = 0.0;
  double large_step = 0.0;
  std::int32_t spin_base = 0;
  std::int32_t defined = 0;       // the field holds a value
  WindowRef companion = nullptr;  // up-down control of a spin field
  void* previous_procedure = nullptr;
  std::int32_t graphics = 0;      // drawing into this field enabled
  std::int32_t text_colour = -1;  // 0x00BBGGRR or -1 for the default colour
  std::int32_t background_colour = -1;
  std::int32_t max_length = 0;
  std::int32_t state = 0;  // 0 disabled, 1 enabled, 2 read-only, 3 hidden
  std::string text_buffer;
  std::string format;               // display format ([Formats] or the last WDialogPutReal)
  std::int32_t change_report = 0;   // option 3
  std::int32_t numeric_option = 0;  // option 4
  std::int32_t right_margin = 0;    // resizable dialogs: distance to the client edges
  std::int32_t bottom_margin = 0;
  std::int32_t resize_flags = 0;  // 1 left, 2 right follow the width; 4 top, 8 bottom the height
  std::int32_t flags = 0;         // 1: a double click does not press the default button
  std::int32_t cursor = 0;
  // Code page of the field's single-byte text in the control (0: the ANSI code page).
  std::uint32_t code_page = 0;
  // Internal: the control kind, and the image the dialog manager set on it.
  std::int32_t kind = 0;
  void* image = nullptr;
  std::int32_t image_type = 0;  // 0 none, 1 bitmap, 2 icon, 5 enhanced metafile

  bool has_range() const { return lower <= upper; }
};

inline constexpr int kResizeLeft = 1;
inline constexpr int kResizeRight = 2;
inline constexpr int kResizeTop = 4;
inline constexpr int kResizeBottom = 8;

inline constexpr int kMaxDialogs = 100;

// Loaded dialogs in slots 1..count; unloading closes the gap.
struct DialogSlots {
  std::array<WindowRef, kMaxDialogs> windows{};
  int count = 0;

  bool full() const { return count >= kMaxDialogs; }
  // Takes the next slot; returns it (1-based) or 0 when full.
  int add(WindowRef window) {
    if (full()) return 0;
    windows[static_cast<std::size_t>(count)] = window;
    return ++count;
  }
  WindowRef at(int slot) const {
    return slot >= 1 && slot <= count ? windows[static_cast<std::size_t>(slot - 1)] : nullptr;
  }
  int slot_of(WindowRef window) const {
    for (int slot = 1; slot <= count; ++slot) {
      if (windows[static_cast<std::size_t>(slot - 1)] == window) return slot;
    }
    return 0;
  }
  // Removes slot and moves the later slots down by one.
  void remove(int slot) {
    if (slot < 1 || slot > count) return;
    for (int index = slot; index < count; ++index) {
      windows[static_cast<std::size_t>(index - 1)] = windows[static_cast<std::size_t>(index)];
    }
    windows[static_cast<std::size_t>(--count)] = nullptr;
  }
};

}  // namespace quill

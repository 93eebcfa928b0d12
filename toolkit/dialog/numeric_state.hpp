// The validation state that the numeric fields of all dialogs share, and the beeps.
// Portable: windows are kept as opaque references. The pending field itself (whose
// check waits for a push button) is the dialog manager's DialogState::pending_invalid.
#pragma once

#include <array>
#include <string>

#include "dialog/dialog_records.hpp"

namespace quill {

// The platform sounds a beep can play.
inline constexpr int kSoundDefault = 0;
inline constexpr int kSoundExclamation = 48;
inline constexpr int kSoundAsterisk = 64;

enum class BeepKind : int { RejectedKey = 1, ValidationFailure = 2 };

struct NumericState {
  WindowRef tab_return = nullptr;      // field to come back to after a refused tab change
  WindowRef leaving_by_tab = nullptr;  // field whose focus loss comes from Tab
  WindowRef refused_for_ok = nullptr;  // field that already beeped for a click on OK
  // The last valid text and value of the field being edited (whole text, any length).
  WindowRef last_valid_owner = nullptr;
  std::string last_valid_text;
  double last_valid_value = 0.0;
  bool last_valid_defined = false;
  bool record_at_next_entry = true;
  bool handling_failure = false;  // a refused focus loss is being undone
  int alert_sound = kSoundExclamation;
  std::array<int, 3> beeps{};  // count per BeepKind (index 1 and 2)
  void (*beep_observer)(BeepKind kind) = nullptr;
};

NumericState& numeric_state();
// Test-only: back to the state at start-up.
void reset_numeric_state();
// A window is going away: no slot of the state may keep referring to it.
void forget_numeric_window(WindowRef window);
// Counts the beep and tells the observer; returns the platform sound to play.
int count_beep(BeepKind kind);

}  // namespace quill

// The shared validation state of the numeric fields and the alert-sound setting.
#include "base/error_codes.hpp"
#include "dialog/numeric_state.hpp"

#include "quill/dialog.hpp"
#include "quill/errors.hpp"

namespace quill {

NumericState& numeric_state() {
  static NumericState state;
  return state;
}

void reset_numeric_state() { numeric_state() = NumericState{}; }

void forget_numeric_window(WindowRef window) {
  if (window == nullptr) return;
  NumericState& state = numeric_state();
  for (WindowRef* slot : {&state.tab_return, &state.leaving_by_tab, &state.refused_for_ok}) {
    if (*slot == window) *slot = nullptr;
  }
  if (state.last_valid_owner == window) {
    state.last_valid_owner = nullptr;
    state.last_valid_text.clear();
    state.last_valid_value = 0.0;
    state.last_valid_defined = false;
    state.record_at_next_entry = true;
  }
}

int count_beep(BeepKind kind) {
  NumericState& state = numeric_state();
  ++state.beeps[static_cast<std::size_t>(kind)];
  if (state.beep_observer != nullptr) state.beep_observer(kind);
  return kind == BeepKind::RejectedKey ? kSoundDefault : state.alert_sound;
}

}  // namespace quill

void WDialogAlertSound(int sound) {
  static constexpr int kSounds[] = {quill::kSoundDefault, quill::kSoundExclamation, quill::kSoundAsterisk};
  if (sound < 0 || sound > 2) {
    IErrorReport(quill::error::kOptionOutOfRange, "WDialogAlertSound");
    return;
  }
  quill::numeric_state().alert_sound = kSounds[sound];
}

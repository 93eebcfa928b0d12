// Where the numeric edit and spin classes meet the rest of the dialog manager.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "dialog/numeric_rules.hpp"
#include "dialog/numeric_state.hpp"

namespace quill {

// Registers the six numeric classes on the platform's "EDIT" class, once.
void register_numeric_classes();
// The numeric class of control, if it is a numeric field.
std::optional<NumericClass> numeric_class_of(HWND control);

// Plays a beep through the one place that counts them.
void numeric_beep(BeepKind kind);

// A push-button, menu or accelerator command with identifier id is about to be handled.
// A numeric field whose text is invalid (the focused one, or the pending one) stops OK
// with the alert and gets the focus back: true means the command is dropped. Any other
// command restores that field's last valid text and value and goes ahead (false).
bool numeric_command_refused(int id);
// The numeric field that a tab change must not leave: the pending field, or the
// focused numeric field when its text is invalid; null when none.
HWND numeric_field_blocking_tab();
// An up-down notification (UDN_DELTAPOS) of a spin field: steps the field; true when
// the up-down's own position change is to be cancelled.
bool numeric_spin_step(const NMUPDOWN& change);
// A read-only or disabled spin field: its up-down control changes nothing and reports
// nothing.
bool spin_field_locked(HWND field);
// The value a numeric field's readers return: the stored value unless the user changed
// the text; false when the text is blank or is not a number of the field's class.
bool numeric_field_value(HWND control, double& value);

// The spin field's companion: the up-down control beside it (Win32 part of the spin classes).
void create_spin_companion(NumericClass c, HWND field, const CREATESTRUCTW& create);
// Keeps the up-down right after its field in child order when the field moves in it.
void follow_spin_field(HWND field);
// Text and value of a field set by the field itself (change reports suspended).
void write_field_text(HWND control, std::string_view text);

}  // namespace quill

// Dialogs: loading dialogs from resources, showing, hiding and unloading them, and
// reading and writing their fields. Every field routine works on the current dialog.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// Loads dialog id hidden and makes it current under handle (default id). window names
// the parent: 0 the root window (default), 1..50 a child window, -1 the active dialog.
void WDialogLoad(int id, std::optional<int> handle = std::nullopt,
                 std::optional<int> window = std::nullopt);
// Shows the current dialog at x, y (-1 centres; relative units 0..9999 for a child
// dialog), focus on field (0: first tab stop); type 1 modal, 2 modeless, 3 semi-modeless.
void WDialogShow(std::optional<int> x = std::nullopt, std::optional<int> y = std::nullopt,
                 std::optional<int> field = std::nullopt, std::optional<int> type = std::nullopt);
void WDialogHide();
// Unloads the current dialog; keep != 0 leaves the pages of its tab controls loaded.
void WDialogUnload(std::optional<int> keep = std::nullopt);
void WDialogSelect(int handle);
// Sets the current dialog's title; icon: resource identifier, 0 "icon1", -1 no change.
void WDialogTitle(std::optional<std::string_view> title = std::nullopt,
                  std::optional<int> icon = std::nullopt);

// A text (or, for WDialogPutMenu, options) too large for memory: 1009, field unchanged.
void WDialogPutString(int field, std::string_view text);
void WDialogGetString(int field, std::span<char> text);
void WDialogGetStringLength(int field, int& length);
// Gives field the focus; position (1-based) puts the caret before that character.
void WDialogSetField(int field, std::optional<int> position = std::nullopt);
// Option 3: report every change of the text; option 4: numeric option.
void WDialogFieldOptions(int field, int option, int value);
// 0 disabled, 1 enabled, 2 read-only, 3 hidden.
void WDialogFieldState(int field, int state);
void WDialogPutInteger(int field, int value);
void WDialogGetInteger(int field, int& value);
void WDialogRangeInteger(int field, std::optional<int> low = std::nullopt,
                         std::optional<int> high = std::nullopt);
void WDialogPutReal(int field, float value, std::optional<std::string_view> format = std::nullopt);
void WDialogGetReal(int field, float& value);
void WDialogPutCheckBox(int field, int state);
void WDialogGetCheckBox(int field, int& state);
void WDialogPutRadioButton(int field);
void WDialogGetRadioButton(int field, int& position);
// Fills an option list with the first count options; selected is 1-based (0: none).
void WDialogPutMenu(int field, std::span<const std::string_view> options, int count,
                    int selected, std::optional<std::string_view> text = std::nullopt);
// selected receives the 1-based selection; text (when not empty) the selected text.
void WDialogGetMenu(int field, int& selected, std::span<char> text = {});
void WDialogClearField(int field);
// type 1 bitmap resource (default), 2 icon resource (0: "ICON1"), 5 "KVSMETAFILE" resource.
void WDialogPutImage(int field, int image_id, std::optional<int> type = std::nullopt);

// Spin fields ("INTEGERSPIN", "REALSPIN", "DOUBLESPIN"): an arrow click steps the value
// by the small step, holding an arrow for 2 seconds by the large step.
// Steps of any spin field; an "INTEGERSPIN" truncates them and refuses (1009) a step
// below 1. A field that is not a spin field: 1006.
void WDialogSpinStepReal(int field, float small_step, float large_step);
// Steps and base of an "INTEGERSPIN": the large step defaults to the small one, the
// base (the grid the values snap to) to 0. A step below 1: 1009; another class: 1006.
void WDialogSpinStepInteger(int field, int small_step, std::optional<int> large_step = std::nullopt,
                            std::optional<int> base = std::nullopt);
// The sound of a numeric field's failed check: 0 the default beep, 1 the exclamation
// sound (the start-up choice), 2 the asterisk sound; another value: 1011.
void WDialogAlertSound(int sound);

// Dialogs: loading dialogs from resources, showing, hiding and unloading them, and
// reading and writing their fields. Every field routine works on the current dialog.
#pragma once

#include <optional>
#include <span>
#include <string_view>

// Loads dialog id hidden and makes it current under handle (default id). window names
// the parent: 0 the root window (default), 1..50 a child window, -1 the active dialog.
// The dialog's extended data (an RCDATA resource with the same identifier) is applied.
// Errors: 1007 no such dialog resource, 1087 too many dialogs loaded, 1088 the dialog
// cannot be created.
void WDialogLoad(int id, std::optional<int> handle = std::nullopt, std::optional<int> window = std::nullopt);
// Shows the current dialog at x, y (-1 centres; relative units 0..9999 for a child
// dialog), focus on field (0: first tab stop); type 1 modal, 2 modeless (default),
// 3 semi-modeless. A modal display returns when a push button ends it; WDialogQuery(1)
// then names the button. Errors: 1005 no current dialog, 1047 the dialog is combined
// with a window, 1014 the show type was replaced, 1016 the parent window is hidden.
void WDialogShow(std::optional<int> x = std::nullopt, std::optional<int> y = std::nullopt,
                 std::optional<int> field = std::nullopt, std::optional<int> type = std::nullopt);
// Hides the current dialog; it stays loaded. No current dialog: 1005.
void WDialogHide();
// Unloads the current dialog; keep != 0 leaves the pages of its tab controls loaded.
// No current dialog: 1005.
void WDialogUnload(std::optional<int> keep = std::nullopt);
// Makes the loaded dialog handle the current dialog; 1008 when none has that handle.
void WDialogSelect(int handle);
// Sets the current dialog's title; icon: resource identifier, 0 "icon1", -1 no change.
// No current dialog: 1005; an icon that cannot be found: 1015.
void WDialogTitle(std::optional<std::string_view> title = std::nullopt,
                  std::optional<int> icon = std::nullopt);

// Field routines, on the current dialog: no current dialog reports 1005, a field it does
// not have (or of a kind the routine does not suit) 1006.

// Puts text (trailing blanks removed) into field; a text (or, for WDialogPutMenu,
// options) too large for memory: 1009, field unchanged.
void WDialogPutString(int field, std::string_view text);
// The field's text, blank-padded to text (cut when longer); all blank on failure.
void WDialogGetString(int field, std::span<char> text);
// The length in characters of the field's text.
void WDialogGetStringLength(int field, int& length);
// Gives field the focus (when the dialog shows); position (1-based) puts the caret
// before that character of an edit or combo box field.
void WDialogSetField(int field, std::optional<int> position = std::nullopt);
// Field option number option set to value: 1 and 2 grid options (grid fields only),
// 3 (edit, numeric, combo box and grid fields) value 1 reports every change of the text
// as EvFieldEdited, 4 (numeric and grid fields) value 1 lets an emptied numeric field
// pass its check. A field the option does not suit: 1006.
void WDialogFieldOptions(int field, int option, int value);
// 0 disabled, 1 enabled, 2 read-only, 3 hidden.
void WDialogFieldState(int field, int state);
// The state WDialogFieldState (or the template's styles at load) gave the field.
void WDialogGetFieldState(int field, int& state);
// Puts an integer into field; a value outside the field's range: 1009, nothing stored.
void WDialogPutInteger(int field, int value);
// The field's number truncated to an integer (clamped to the int range). An empty or
// unreadable field gives -999 and reports 1010 (or the text-to-number code 4, 11, 12).
void WDialogGetInteger(int field, int& value);
// The range the Put routines and the numeric fields' checks hold values to; an absent
// bound is open, both absent remove the range.
void WDialogRangeInteger(int field, std::optional<int> low = std::nullopt,
                         std::optional<int> high = std::nullopt);
// Puts a real written with format (absent or blank: the field's display format, else
// "(G15.5E2)"); a value outside the field's range: 1009, nothing stored.
void WDialogPutReal(int field, float value, std::optional<std::string_view> format = std::nullopt);
// The field's number. An empty or unreadable field gives -999.0 and reports 1010 (or
// the text-to-number code); a number beyond single precision 4.
void WDialogGetReal(int field, float& value);
// Double precision, for "DOUBLEEDIT" and "DOUBLESPIN" fields (and any field with a number):
// format as for WDialogPutReal (default the field's display format, else "(G15.5E2)").
// An empty or unreadable field gives -999.0 and reports 1010.
void WDialogPutDouble(int field, double value, std::optional<std::string_view> format = std::nullopt);
void WDialogGetDouble(int field, double& value);
// State of a check box or radio button: 0 unchecked, 1 checked, 2 indeterminate.
// Another kind of field: 1006.
void WDialogPutCheckBox(int field, int state);
void WDialogGetCheckBox(int field, int& state);
// Checks radio button field and unchecks the others of its group (the buttons from one
// with the group style to the next).
void WDialogPutRadioButton(int field);
// position receives the 1-based place of the checked button in field's group; none
// checked gives -999 and reports 1010. Not a radio button: 1006.
void WDialogGetRadioButton(int field, int& position);
// Fills a list box or combo box with the first count options; selected is 1-based
// (0: none; a combo box with an edit field then shows text). A selection beyond the
// options: 1011 (the options stay). Not a list or combo box: 1006.
void WDialogPutMenu(int field, std::span<const std::string_view> options, int count, int selected,
                    std::optional<std::string_view> text = std::nullopt);
// selected receives the 1-based selection; text (when not empty) the selected text, or a
// combo box's edit text, blank-padded. Nothing selected (and no text typed): -999 and
// 1010; a typed text that matches no option gives 0.
void WDialogGetMenu(int field, int& selected, std::span<char> text = {});
// Empties a field by its kind: the text of an edit or static field or a button, the
// check of a check box, the buttons of a radio group, the options of a list or combo box,
// a tree, a grid, a trackbar's selection; a progress bar goes back to its start.
void WDialogClearField(int field);
// type 1 bitmap resource (default), 2 icon resource (0: "ICON1"), 3 a copy of memory
// bitmap image_id (any depth), 4 memory metafile image_id drawn at the field's size,
// 5 "KVSMETAFILE" resource. Errors: 1015 no such image (type 4: a handle outside 1..20),
// 1061 a metafile slot with nothing recorded, 1006 not an image field.
void WDialogPutImage(int field, int image_id, std::optional<int> type = std::nullopt);

// Enables (state 1) or disables (0) drawing into a field of the current dialog, or with
// field 0 into the dialog itself, as the extended data's [Graphics] section does at load.
// IGrSelectField then makes it the current drawable; its repaints, resizes and (for a
// static field or the dialog) mouse events come as graphics events of the dialog.
// No current dialog: 1005; no such field: 1006.
void WDialogGraphicsField(int field, int state);

// The dialog query: 1 the push button that ended the last modal display (WDialogShow
// type 1), 2 the field that had the focus before it, 3 the current dialog's handle,
// 4 the last WMessageBox result (1 OK/Yes/Retry, 2 No/Abort, 0 Cancel/Ignore), 5 the
// handle of the dialog last shown modally. Other items: 0 and error 1011.
int WDialogQuery(int item);

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

// What an application reads back from the dialog manager (the dialog query, a field's
// state) and the graphics flag that lets it draw into a field or a dialog.
#include <windows.h>

#include "base/error_codes.hpp"
#include "dialog/dialog_internal_win32.hpp"
#include "dialog/dialog_settings.hpp"
#include "quill/dialog.hpp"
#include "quill/errors.hpp"

namespace quill {

HWND current_field_window(int field, std::string_view routine) {
  HWND dialog = current_dialog_window();
  if (dialog == nullptr) {
    IErrorReport(error::kNoCurrentDialog, routine);
    return nullptr;
  }
  HWND control = GetDlgItem(dialog, field);
  if (control == nullptr) IErrorReport(error::kInvalidField, routine);
  return control;
}

bool enable_graphics(HWND dialog, int field_id, bool enabled) {
  const int flag = enabled ? 1 : 0;
  if (field_id == 0) {
    DialogRecord* record = dialog_record(dialog);
    if (record == nullptr) return false;
    record->graphics = flag;
    return true;
  }
  HWND control = GetDlgItem(dialog, field_id);
  FieldRecord* record = control != nullptr ? field_record(control) : nullptr;
  if (record == nullptr) return false;
  record->graphics = flag;
  if (enabled && field_kind(control) == FieldKind::Static) {
    SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
  }
  return true;
}

}  // namespace quill

int WDialogQuery(int item) {
  if (item < 1 || item > 5) {
    IErrorReport(quill::error::kOptionOutOfRange, "WDialogQuery");
    return 0;
  }
  return quill::dialog_information(item);
}

void WDialogGraphicsField(int field, int state) {
  HWND dialog = quill::current_dialog_window();
  if (dialog == nullptr) {
    IErrorReport(quill::error::kNoCurrentDialog, "WDialogGraphicsField");
    return;
  }
  if (!quill::enable_graphics(dialog, field, state != 0)) {
    IErrorReport(quill::error::kInvalidField, "WDialogGraphicsField");
    return;
  }
  // A field that can now be drawn into is repainted, which reports its first repaint.
  InvalidateRect(field == 0 ? dialog : GetDlgItem(dialog, field), nullptr, TRUE);
}

void WDialogGetFieldState(int field, int& state) {
  HWND control = quill::current_field_window(field, "WDialogGetFieldState");
  if (control == nullptr) return;
  const quill::FieldRecord* record = quill::field_record(control);
  state = record != nullptr ? record->state : 1;
}

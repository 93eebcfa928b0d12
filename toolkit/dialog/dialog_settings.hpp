// Dialog-manager settings and values outside the public field routines.
#pragma once

namespace quill {

// Code page of the single-byte text of field_id of the current dialog (0: the ANSI
// code page); field texts are converted with it to and from the control.
void set_field_code_page(int field_id, unsigned code_page);
// Dialog information: 1 the push button that ended the last modal display, 2 the
// previous field, 3 the current dialog handle, 4 the last message-box result, 5 the
// handle shown modally; 0 for other codes.
int dialog_information(int code);

}  // namespace quill

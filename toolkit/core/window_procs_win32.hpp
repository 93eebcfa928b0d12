// The window procedures of the toolkit's classes and the frame helpers they share.
#pragma once

#include <windows.h>

#include "window_table.hpp"

namespace quill {

LRESULT CALLBACK frame_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK client_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

// Places toolbars, status bar and client area inside the frame.
void layout_frame(WindowEntry& entry);
// Building blocks shared by the root window and the child windows: the menu's tables,
// accelerators and help strings; the status bar (answers its height, 0 when none was
// made); the client area inside the toolbars and status bar.
void attach_menu_resources(WindowEntry& entry, int menu_id, HINSTANCE instance);
int create_status_bar(WindowEntry& entry, int flags, HINSTANCE instance);
void create_client_area(WindowEntry& entry, HINSTANCE instance);
// Destroys a window with its brush, toolbar images, accelerators and detached menu, and
// empties its table entry.
void release_window_entry(WindowEntry& entry);
// Sends the stored part widths to the status bar (one whole part when none are set).
void apply_status_parts(WindowEntry& entry);

// The root window's entries for the error reporter: status-bar line, message-box owner
// and snapshots, from WindowOpen to WindowShutdown.
void register_report_layer();
void unregister_report_layer();
// Button and modifier state of a mouse message's keys: 1 Ctrl, 2 Shift, 4 left, 8 middle,
// 16 right button down.
int modifier_state(WPARAM wparam);
// Drops snapshots still held (WindowShutdown).
void release_snapshots();

}  // namespace quill

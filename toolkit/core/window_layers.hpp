// The window-system seam: how the layers above core take part in core's windows.
//
// Core owns the root and child windows, the window table, the message loop and the
// snapshots of window contents kept while a modal loop blocks the application. Each layer
// above core (the dialog manager; the graphics layer with its screen drawing, back-buffer
// repaint, graphics units of events and drawable graphics fields; the grid layer) describes what it offers in
// one WindowLayer and is registered once, at start-up, by the toolkit's start-up routines
// (toolkit/layers), before core opens any window. Core asks the layers in registration
// order; a null entry means the layer offers nothing there. Layers use core's own services
// (window table, current window, window snapshots) through core's headers.
// Windows build only.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

#include "core/event_queue.hpp"

namespace quill {

struct WindowLayer {
  const char* name = "";

  // First WindowOpen, after core's classes and libraries: the layer's own set-up
  // (window classes of its controls, tables it fills once).
  void (*first_open)() = nullptr;
  // WindowShutdown, before core destroys the windows: release everything the layer holds
  // (dialogs, graphics objects, grids).
  void (*shutdown)() = nullptr;

  // Combined dialog (WindowOpen with a dialog): creates dialog_id invisibly inside
  // measuring_window, answers its client size and whether it may be resized. The layer
  // may keep the window for load_combined; core destroys measuring_window (and whatever
  // is left in it) after load_combined. Returns 0, 1007 (no such dialog), 1045 (wrong
  // style) or 1088.
  int (*measure_combined)(int dialog_id, HWND measuring_window, int& width, int& height,
                          bool& resizable) = nullptr;
  // Loads dialog_id into client as the current dialog, combined with frame. Returns the
  // dialog window, or null with code set to 1007, 1045 or 1088.
  HWND (*load_combined)(int dialog_id, HWND client, HWND frame, int& code) = nullptr;
  // WM_CLOSE on a frame holding a combined dialog: true when the layer consumed it.
  bool (*close_combined)(HWND dialog) = nullptr;

  // Message loop: the modeless window to give to IsDialogMessage (null when none);
  // owner receives the window whose accelerators run first (or null).
  HWND (*modeless_dialog)(HWND& owner) = nullptr;
  // The drawing size of a graphics field of a dialog, for completing its events; false
  // when the layer does not know the field.
  bool (*field_size)(int dialog_handle, int field_id, int& width, int& height) = nullptr;
  // The size of the bitmap a window's bitmap view shows, for completing the view's events
  // (detail3 2); false when the window shows none.
  bool (*view_size)(int window, int& width, int& height) = nullptr;
  // WM_PAINT of a window's client area: true when the layer painted it (from its back
  // buffer); otherwise core paints and reports the repaint.
  bool (*paint_client)(HWND client, HDC dc, const RECT& area) = nullptr;

  // Completing the record of a key, pointer, repaint, resize or double-click event: its
  // position (and a repaint's size) in the layer's graphics units, with the event's
  // window (detail3 0), dialog field (detail3 1, detail4 the field, 0 the dialog) or bitmap
  // view (detail3 2, positions in the bitmap's pixels) of
  // width x height pixels as the drawing target for the moment. False: the layer has no
  // graphics units, and core uses the range 0..1 over the whole source.
  bool (*event_units)(const EventValues& event, int width, int height, GraphicsUnits& units) = nullptr;
  // The window of a dialog's graphics field (field 0: the dialog itself when it has the
  // graphics flag), for layers that draw into fields; null when it is not one.
  HWND (*field_window)(int dialog_handle, int field_id) = nullptr;

  // Around a modal loop (message box, modal dialog): keep and give back the contents the
  // layer draws itself (graphics fields). take returns an error code, 0 on success.
  int (*take_snapshots)() = nullptr;
  void (*give_back_snapshots)() = nullptr;
};

// Adds layer (registering the same name again replaces it). Called by start-up only.
void register_window_layer(const WindowLayer& layer);

// Core's side of the seam, each asking the layers in registration order.
int layers_measure_combined(int dialog_id, HWND measuring_window, int& width, int& height,
                            bool& resizable);
HWND layers_load_combined(int dialog_id, HWND client, HWND frame, int& code);
bool layers_close_combined(HWND dialog);
HWND layers_modeless_dialog(HWND& owner);
bool layers_field_size(int dialog_handle, int field_id, int& width, int& height);
bool layers_view_size(int window, int& width, int& height);
bool layers_paint_client(HWND client, HDC dc, const RECT& area);
bool layers_event_units(const EventValues& event, int width, int height, GraphicsUnits& units);
HWND layers_field_window(int dialog_handle, int field_id);
void layers_first_open();
void layers_shutdown();
int layers_take_snapshots();
void layers_give_back_snapshots();

// WindowOpen's work once the layers are registered (same arguments as WindowOpen).
void open_root_window(std::optional<int> flags, std::optional<int> x, std::optional<int> y,
                      int* width, int* height, std::optional<int> menu_id,
                      std::span<const int> toolbars, std::optional<int> dialog_id,
                      std::string_view title, std::optional<int> palette_size,
                      std::optional<int> background);

// Window snapshots, a service of the window layer: before a modal loop, copy the client
// area of the root window (and each layer's own drawings) so they can be repainted while
// the loop runs; counted, so nested loops share one copy. Returns an error code, 0 on
// success. restore_window_snapshots copies back and discards once the count reaches 0.
int take_window_snapshots();
void restore_window_snapshots();

}  // namespace quill

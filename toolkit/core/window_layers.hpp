// The window-system seam: how the layers above core take part in core's windows.
//
// Core owns the root and child windows, the window table, the message loop and the
// snapshots of window contents kept while a modal loop blocks the application. Each layer
// above core (the dialog manager; the graphics layer with its screen drawing, back-buffer
// repaint, graphics units of events and drawable graphics fields; the grid layer) describes what it offers in
// one WindowLayer and registers it with register_layer (base/layer_registry.hpp), once, at
// start-up, by the toolkit's start-up routines (toolkit/layers), before core opens any
// window. Core asks the layers in registration order; a null entry means the layer offers
// nothing there. Layers use core's own services (window table, current window, window
// snapshots) through core's headers.
// Windows build only.
#pragma once

#include <windows.h>

#include <optional>
#include <span>
#include <string_view>

#include "base/layer_registry.hpp"
#include "core/event_queue.hpp"

namespace quill {

// A combined dialog measured invisibly: code 0 (then its client size and whether it may be
// resized), error::kDialogNotFound, error::kWrongStyleToCombine or error::kDialogCreation.
struct CombinedMeasure {
  int code = 0;
  int width = 0;
  int height = 0;
  bool resizable = false;
};

// A combined dialog loaded: its window, or null with the code measuring would give.
struct CombinedLoad {
  HWND dialog = nullptr;
  int code = 0;
};

// The modeless window to give to IsDialogMessage, and the window whose accelerators run
// first (either may be null).
struct ModelessDialog {
  HWND dialog = nullptr;
  HWND owner = nullptr;
  explicit operator bool() const { return dialog != nullptr; }
};

struct PixelSize {
  int width = 0;
  int height = 0;
};

struct WindowLayer {
  const char* name = "";

  // First WindowOpen, after core's classes and libraries: the layer's own set-up
  // (window classes of its controls, tables it fills once).
  void (*first_open)() = nullptr;
  // WindowShutdown, before core destroys the windows: release everything the layer holds
  // (dialogs, graphics objects, grids).
  void (*shutdown)() = nullptr;

  // Combined dialog (WindowOpen with a dialog): creates dialog_id invisibly inside
  // measuring_window and measures it. The layer may keep the window for load_combined;
  // core destroys measuring_window (and whatever is left in it) after load_combined.
  CombinedMeasure (*measure_combined)(int dialog_id, HWND measuring_window) = nullptr;
  // Loads dialog_id into client as the current dialog, combined with frame.
  CombinedLoad (*load_combined)(int dialog_id, HWND client, HWND frame) = nullptr;
  // WM_CLOSE on a frame holding a combined dialog: true when the layer consumed it.
  bool (*close_combined)(HWND dialog) = nullptr;

  // Message loop: the layer's modeless dialog, when it has one.
  ModelessDialog (*modeless_dialog)() = nullptr;
  // The drawing size of a graphics field of a dialog, for completing its events; empty
  // when the layer does not know the field.
  std::optional<PixelSize> (*field_size)(int dialog_handle, int field_id) = nullptr;
  // The size of the bitmap a window's bitmap view shows, for completing the view's events
  // (detail3 2); empty when the window shows none.
  std::optional<PixelSize> (*view_size)(int window) = nullptr;
  // WM_PAINT of a window's client area: true when the layer painted it (from its back
  // buffer); otherwise core paints and reports the repaint.
  bool (*paint_client)(HWND client, HDC dc, const RECT& area) = nullptr;

  // Completing the record of a key, pointer, repaint, resize or double-click event: its
  // position (and a repaint's size) in the layer's graphics units, with the event's
  // window (detail3 0), dialog field (detail3 1, detail4 the field, 0 the dialog) or bitmap
  // view (detail3 2, positions in the bitmap's pixels) of
  // width x height pixels as the drawing target for the moment. Empty: the layer has no
  // graphics units, and core uses the range 0..1 over the whole source.
  std::optional<GraphicsUnits> (*event_units)(const EventValues& event, int width, int height) = nullptr;
  // The window of a dialog's graphics field (field 0: the dialog itself when it has the
  // graphics flag), for layers that draw into fields; null when it is not one.
  HWND (*field_window)(int dialog_handle, int field_id) = nullptr;

  // Around a modal loop (message box, modal dialog): keep and give back the contents the
  // layer draws itself (graphics fields). take returns an error code, 0 on success.
  int (*take_snapshots)() = nullptr;
  void (*give_back_snapshots)() = nullptr;
};

// Core's side of the seam where the first answer is not simply taken: only a layer that
// both measures and loads makes combined dialogs, and every layer keeps its snapshots.
CombinedMeasure layers_measure_combined(int dialog_id, HWND measuring_window);
CombinedLoad layers_load_combined(int dialog_id, HWND client, HWND frame);
int layers_take_snapshots();

// WindowOpen's work once the layers are registered (same arguments as WindowOpen).
void open_root_window(std::optional<int> flags, std::optional<int> x, std::optional<int> y, int* width,
                      int* height, std::optional<int> menu_id, std::span<const int> toolbars,
                      std::optional<int> dialog_id, std::string_view title, std::optional<int> palette_size,
                      std::optional<int> background);

// Window snapshots, a service of the window layer: before a modal loop, copy the client
// area of the root window (and each layer's own drawings) so they can be repainted while
// the loop runs; counted, so nested loops share one copy. Returns an error code, 0 on
// success. restore_window_snapshots copies back and discards once the count reaches 0.
int take_window_snapshots();
void restore_window_snapshots();

}  // namespace quill

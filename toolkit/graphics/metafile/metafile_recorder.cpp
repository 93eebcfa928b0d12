// The memory-metafile recorder: while a metafile slot is the current drawable, every
// operation is written into the slot's bytes with the CGM element encoding.
#include <algorithm>
#include <cmath>

#include "base/allocation.hpp"
#include "base/error_codes.hpp"
#include "graphics/metafile/metafile_internal.hpp"
#include "quill/errors.hpp"
#include "quill/metafile.hpp"

namespace quill {
namespace {

constexpr int kRecorderClass = 11;

// A recording has no pages and no output of its own to open or close.
const FileDriver kRecorderEntries = [] {
  FileDriver entries = cgm::kElements;
  entries.new_page = nullptr;
  return entries;
}();

int current_slot() {
  const Drawable& drawable = drawing().drawable;
  const int id = drawable.id;
  return drawable.kind == DrawableKind::Metafile && id >= 1 && id <= kMetafileSlots &&
                 drawing().metafile_used[static_cast<std::size_t>(id)]
             ? id
             : 0;
}

// Operation 1: the metafile becomes a true-colour drawable of the recorder's page, and
// recording starts (a new slot) or goes on where it stopped.
void open_recording(int slot) {
  MetafileStore& store = metafiles();
  store.given = attributes_in_force();
  set_drawable_size(kMetafileWidth, kMetafileHeight);
  drawing().drawable.true_colour = true;
  std::string& bytes = store.slots[static_cast<std::size_t>(slot)];
  cgm::CgmState& s = store.recorder;
  s.recorder = true;
  s.encoder.set_sink(cgm::Sink{nullptr, &bytes});
  const cgm::StateScope scope(s);
  if (bytes.empty()) {
    // The page is the recorder's own; a hardcopy's options must not shape it.
    const DeviceDescription saved = drawing().device;
    drawing().device.set_option(GrOption::Width, static_cast<int>(kMetafileWidth));
    drawing().device.set_option(GrOption::Height, static_cast<int>(kMetafileHeight));
    drawing().device.set_option(GrOption::ReverseMode, 0);
    cgm::write_metafile_start();
    drawing().device = saved;
  } else {
    s.extent_x = std::trunc(kMetafileWidth / 72.0 * cgm::kVdcPerInch);
    s.extent_y = std::trunc(kMetafileHeight / 72.0 * cgm::kVdcPerInch);
    s.sx = driver_scale(s.extent_x, kMetafileWidth);
    s.sy = driver_scale(s.extent_y, kMetafileHeight);
    s.picture_open = true;
  }
}

// Where a recording stood before an operation: its length and the attributes the
// encoder believes written (the encoder's own buffers start afresh with each element).
struct RecordingMark {
  std::size_t length = 0;
  double sx = 1.0, sy = 1.0, extent_x = 0.0, extent_y = 0.0;
  Rgb colour, previous;
  bool picture_open = false, clip_set = false;
  double direction = 0.0;
  int font_set = 1;
};

RecordingMark mark_recording(const cgm::CgmState& s, const std::string& bytes) {
  return {bytes.size(), s.sx,           s.sy,       s.extent_x,  s.extent_y, s.colour,
          s.previous,   s.picture_open, s.clip_set, s.direction, s.font_set};
}

void rewind_recording(cgm::CgmState& s, std::string& bytes, const RecordingMark& mark) {
  bytes.resize(mark.length);
  s.sx = mark.sx;
  s.sy = mark.sy;
  s.extent_x = mark.extent_x;
  s.extent_y = mark.extent_y;
  s.colour = mark.colour;
  s.previous = mark.previous;
  s.picture_open = mark.picture_open;
  s.clip_set = mark.clip_set;
  s.direction = mark.direction;
  s.font_set = mark.font_set;
}

void recorder(GrOp op) {
  release_destroyed_metafiles();
  if (op == GrOp::Initialise) {
    DeviceDescription& device = drawing().device;
    if (device.answer == kProbeValue) {
      device.answer = kRecorderClass;
      return;
    }
  }
  const int slot = current_slot();
  if (slot == 0) {
    return;
  }
  if (op == GrOp::Initialise) {
    open_recording(slot);
    return;
  }
  MetafileStore& store = metafiles();
  const cgm::StateScope scope(store.recorder);
  // Reverse modes belong to hardcopies, not to recordings.
  const int reverse = drawing().device.option(GrOption::ReverseMode);
  drawing().device.set_option(GrOption::ReverseMode, 0);
  std::string& bytes = store.slots[static_cast<std::size_t>(slot)];
  const RecordingMark mark = mark_recording(store.recorder, bytes);
  if (allocating(error::kMetafileFull, [&] { run_entries(kRecorderEntries, op, store.given); }) != 0) {
    // The metafile keeps what was recorded before this operation.
    rewind_recording(store.recorder, bytes, mark);
    IErrorReport(error::kMetafileFull, "YYMETR");
  }
  drawing().device.set_option(GrOption::ReverseMode, reverse);
}

}  // namespace

MetafileStore& metafiles() {
  static MetafileStore instance;
  return instance;
}

bool metafile_replay_in_progress() { return metafiles().replaying; }

void release_destroyed_metafiles() {
  MetafileStore& store = metafiles();
  for (int slot = 1; slot <= kMetafileSlots; ++slot) {
    if (!drawing().metafile_used[static_cast<std::size_t>(slot)]) {
      std::string().swap(store.slots[static_cast<std::size_t>(slot)]);
    }
  }
}

std::string complete_metafile(int handle) {
  std::string bytes = metafiles().slots[static_cast<std::size_t>(handle)];
  cgm::Encoder encoder;
  encoder.set_sink(cgm::Sink{nullptr, &bytes});
  encoder.start(0, 5).finish();
  encoder.start(0, 2).finish();
  return bytes;
}

// The stream must begin with BEGIN METAFILE and read to its end; the END PICTURE and
// END METAFILE that close it are cut off.
int adopt_metafile(std::string_view bytes, int& handle) {
  std::size_t at = 0, open_end = 0;
  CgmElementView e;
  std::string joined;
  bool first = true;
  while (next_cgm_element(bytes, at, e, joined)) {
    if (first && (e.element_class != 0 || e.id != 1)) {
      return error::kBitmapCopy;
    }
    first = false;
    if (!(e.element_class == 0 && (e.id == 5 || e.id == 2))) {
      open_end = at;
    }
  }
  if (first || at != bytes.size()) {
    return error::kBitmapCopy;
  }
  const auto& used = drawing().metafile_used;
  if (std::find(used.begin() + 1, used.end(), false) == used.end()) {
    handle = 0;
    return error::kMetafileHandle;
  }
  std::string recorded(bytes.substr(0, open_end));  // before a slot is taken for it
  WMetafileCreate(handle);
  metafiles().slots[static_cast<std::size_t>(handle)] = std::move(recorded);
  return 0;
}

// Metafiles are not a numbered driver: the recorder takes the screen's place while a
// metafile is the current drawable.
void register_driver_metafile() { register_metafile_recorder(recorder); }

}  // namespace quill

using namespace quill;

void WMetafileCreate(int& handle) {
  release_destroyed_metafiles();
  DrawingState& state = drawing();
  for (int slot = 1; slot <= kMetafileSlots; ++slot) {
    if (!state.metafile_used[static_cast<std::size_t>(slot)]) {
      state.metafile_used[static_cast<std::size_t>(slot)] = true;
      handle = slot;
      return;
    }
  }
  handle = 0;
  IErrorReport(error::kMetafileHandle, "WMetafileCreate");
}

void WMetafileReplay(int handle) {
  release_destroyed_metafiles();
  if (handle < 1 || handle > kMetafileSlots || !drawing().metafile_used[static_cast<std::size_t>(handle)] ||
      metafiles().slots[static_cast<std::size_t>(handle)].empty()) {
    IErrorReport(error::kMetafileHandle, "WMetafileReplay");
    return;
  }
  // A copy: replaying a metafile into itself appends to the bytes being read.
  std::string elements;
  if (allocating(error::kMetafileFull,
                 [&] { elements = metafiles().slots[static_cast<std::size_t>(handle)]; })) {
    IErrorReport(error::kMetafileFull, "WMetafileReplay");
    return;
  }
  replay_elements(elements);
}

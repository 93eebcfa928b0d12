// CGM driver internals: the state of one metafile being written and the element
// writers shared by the file driver (driver 9) and the memory-metafile recorder.
#pragma once

#include "graphics/cgm/cgm_encoder.hpp"
#include "graphics/file_driver.hpp"

namespace quill::cgm {

inline constexpr int kDriverNumber = 9;
inline constexpr double kVdcPerInch = 600.0;

struct CgmState {
  Encoder encoder;
  double sx = 1.0, sy = 1.0;              // drawing units to VDC
  double extent_x = 0.0, extent_y = 0.0;  // VDC extent
  double vdc_per_inch = kVdcPerInch;      // less on devices too large for 16-bit VDC
  Rgb colour;                             // current colour after the reverse mode
  Rgb previous;                           // the colour before it (for fill style 3)
  bool picture_open = false;
  bool clip_set = false;
  double direction = 0.0;  // text angle last written (degrees)
  int font_set = 1;        // 1 Windows names, 2 PostScript names, 3 upper case
  // Recording a memory metafile: text keeps the drawing state's own position and the
  // character width goes with the font, so that a replay can rebuild both.
  bool recorder = false;
};

// The state of the metafile being written: the file driver's, or the one a
// StateScope makes current.
CgmState& cgm();

// Makes another metafile state current for the lifetime of the scope.
class StateScope {
 public:
  explicit StateScope(CgmState& state);
  ~StateScope();
  StateScope(const StateScope&) = delete;
  StateScope& operator=(const StateScope&) = delete;

 private:
  CgmState* previous_;
};

// Writes the metafile header and opens the first picture.
void write_metafile_start();
// Closes an open picture and the metafile.
void write_metafile_end();
// Writes a picture descriptor and body start, then the attributes in force.
void begin_picture(bool repeat_attributes);
void end_picture();
// Opens a picture when the previous one was ended and more drawing follows.
void ensure_picture();

// The entries of a metafile being written (drawing, attributes, text, image), shared by
// the file driver and the memory-metafile recorder.
extern const FileDriver kElements;
// The attributes in force, written again at the start of a later picture.
void write_attributes(const DrawingState& state);
// The colour of the drawing state after the reverse mode.
Rgb output_colour(int colour);

}  // namespace quill::cgm

// Quillanthor: the whole public interface of the toolkit.
#pragma once

#include "quill/errors.hpp"
#include "quill/text.hpp"
#include "quill/startup.hpp"
#include "quill/os.hpp"
#include "quill/events.hpp"
#include "quill/window.hpp"
#include "quill/clipboard.hpp"
#include "quill/dialog.hpp"
#include "quill/graphics.hpp"
#include "quill/image.hpp"
#include "quill/metafile.hpp"
#include "quill/grid.hpp"
#include "quill/bitmap.hpp"
#include "quill/editor.hpp"

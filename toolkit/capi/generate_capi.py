#!/usr/bin/env python3
"""generate_capi.py TOOLKIT_DIR [--check]: the C and Fortran interfaces from the public headers.

Reads every routine and integer constant of include/quill/*.hpp and writes
  include/quill.h        the C header (prefix quill_, C linkage),
  capi/quill_c.cpp       its definitions, each a call of the C++ routine,
  capi/quill.F90         the Fortran module over the C interface.
With --check nothing is written: exit 1 when a file differs from what would be written."""
import re
import sys
from pathlib import Path

HEADERS = ["errors", "text", "startup", "os", "events", "window", "clipboard", "dialog",
           "graphics", "image", "metafile", "grid", "bitmap", "editor"]
# Routines only the Windows build defines (they need the window system): C declares
# them under _WIN32, Fortran under QUILL_WINDOWS (which the Windows build defines).
WINDOWS_ONLY = {
    "WBitmapView", "WBitmapViewQuery", "WBitmapViewScroll", "WClipboardGetString",
    "WClipboardPutString", "WClipboardQuery", "WDialogClearField", "WDialogFieldOptions",
    "WDialogFieldState", "WDialogGetCheckBox", "WDialogGetDouble", "WDialogGetFieldState",
    "WDialogGetInteger", "WDialogGetMenu", "WDialogGetRadioButton", "WDialogGetReal",
    "WDialogGetString", "WDialogGetStringLength", "WDialogGraphicsField", "WDialogHide",
    "WDialogLoad", "WDialogPutCheckBox", "WDialogPutDouble", "WDialogPutImage",
    "WDialogPutInteger", "WDialogPutMenu", "WDialogPutRadioButton", "WDialogPutReal",
    "WDialogPutString", "WDialogQuery", "WDialogRangeInteger", "WDialogSelect",
    "WDialogSetField", "WDialogShow", "WDialogSpinStepInteger", "WDialogSpinStepReal",
    "WDialogTitle", "WDialogUnload", "WEventDelay", "WEventGet", "WEventPeek",
    "WEventTimer", "WGridWindow", "WMetafileFromClipboard", "WMetafileToClipboard",
    "WScreenQuery", "WindowCloseChild", "WindowOpen", "WindowOpenChild",
    "WindowPixelsToUnitsX", "WindowPixelsToUnitsY", "WindowSelect", "WindowShutdown",
    "WindowSize", "WindowStatusBar", "WindowStatusBarParts", "WindowTitle",
    "WindowUnitsToPixelsX", "WindowUnitsToPixelsY",
    # the editor windows
    "WEditor", "WEditorBookmark", "WEditorBookmarks", "WEditorBufferFetch", "WEditorBufferNew", "WEditorBufferRelease", "WEditorBufferStore", "WEditorCaret", "WEditorClose", "WEditorCommandGet", "WEditorCommandHistory", "WEditorCommandPut", "WEditorFind", "WEditorFindDialog", "WEditorFormat", "WEditorGetSelection", "WEditorGetText", "WEditorGoToLine", "WEditorInsert", "WEditorLoad", "WEditorModal", "WEditorModified", "WEditorPrint", "WEditorPutText", "WEditorReplace", "WEditorReplaceAll", "WEditorSave", "WEditorSelect", "WEditorSetModified", "WEditorTextLength", "WEditorUndo"
}
COMMENT = re.compile(r"//[^\n]*|/\*.*?\*/", re.DOTALL)
ROUTINE = re.compile(r"^(?:\[\[noreturn\]\]\s*)?(void|int|bool)\s+([A-Z]\w*)\s*\((.*?)\)\s*;", re.MULTILINE | re.DOTALL)
CONSTANT = re.compile(r"^inline constexpr int (\w+) = (-?\w+);", re.MULTILINE)

# C++ parameter type -> kind of argument. Each kind knows its C parameters, its C++
# argument expression, and its Fortran dummy, actual arguments and bind(C) dummies.
KINDS = {
    "int": "int", "float": "float", "double": "double",
    "int&": "int_out", "float&": "float_out", "double&": "double_out", "long long&": "long_out",
    "int*": "int_opt_inout",
    "std::optional<int>": "int_opt", "std::optional<float>": "float_opt",
    "std::optional<double>": "double_opt",
    "std::string_view": "text", "std::optional<std::string_view>": "text_opt",
    "std::span<char>": "text_out",
    "std::span<const int>": "ints", "std::span<const float>": "floats", "std::span<int>": "ints_out",
    "std::span<const std::uint32_t>": "pixels",
    "std::span<const std::string_view>": "texts", "std::span<std::string>": "texts_out",
    "EventRecord&": "event",
}
SCALAR = {"int": ("int", "integer(c_int)"), "float": ("float", "real(c_float)"),
          "double": ("double", "real(c_double)"), "long": ("long long", "integer(c_long_long)")}


def parse_params(text):
    params = []
    for part in filter(None, (p.strip() for p in re.split(r",(?![^<]*>)", text))):
        part = part.split("=")[0].strip()
        m = re.match(r"(.*?)\s*\b(\w+)$", part)
        ctype, name = re.sub(r"\s+", " ", m.group(1)).replace(" &", "&").replace(" *", "*"), m.group(2)
        if ctype not in KINDS:
            raise SystemExit(f"no C form for parameter type {ctype!r} ({name})")
        defaulted = "=" in part or ctype.startswith("std::optional") or part != part
        params.append((KINDS[ctype], name, defaulted))
    return params


def c_params(kind, n):
    if kind in ("int", "float", "double"):
        return [f"{kind} {n}"]
    if kind.endswith("_out") and kind.split("_")[0] in SCALAR:
        return [f"{SCALAR[kind.split('_')[0]][0]}* {n}"]
    if kind == "int_opt_inout":
        return [f"int* {n}"]
    if kind.endswith("_opt") and kind != "text_opt":
        return [f"const {kind[:-4]}* {n}"]
    return {
        "text": [f"const char* {n}", f"int {n}_len"], "text_opt": [f"const char* {n}", f"int {n}_len"],
        "text_out": [f"char* {n}", f"int {n}_len"],
        "ints": [f"const int* {n}", f"int {n}_count"], "ints_out": [f"int* {n}", f"int {n}_count"],
        "floats": [f"const float* {n}", f"int {n}_count"],
        "pixels": [f"const uint32_t* {n}", f"int {n}_count"],
        "texts": [f"const char* {n}", f"int {n}_len", f"int {n}_count"],
        "texts_out": [f"char* {n}", f"int {n}_len", f"int {n}_count"],
        "event": [f"quill_EventRecord* {n}"],
    }[kind]


def cpp_arg(kind, n):
    if kind in ("int", "float", "double", "int_opt_inout"):
        return n
    if kind.endswith("_out") and kind.split("_")[0] in SCALAR:
        return f"*{n}"
    if kind.endswith("_opt") and kind != "text_opt":
        return f"capi::optional({n})"
    return {
        "text": f"capi::text({n}, {n}_len)", "text_opt": f"capi::optional_text({n}, {n}_len)",
        "text_out": f"capi::result({n}, {n}_len)",
        "ints": f"capi::array({n}, {n}_count)", "ints_out": f"capi::out_array({n}, {n}_count)",
        "floats": f"capi::array({n}, {n}_count)",
        "pixels": f"capi::array({n}, {n}_count)",
        "texts": f"capi::Texts({n}, {n}_len, {n}_count).views()",
        "texts_out": f"{n}_results.strings()",
        "event": f"capi::event({n})",
    }[kind]


def fortran(kind, n, defaulted):
    """(dummy declaration of the module procedure, actual arguments, bind(C) dummies, setup)."""
    opt = ", optional" if defaulted else ""
    if kind in ("int", "float", "double"):
        t = SCALAR[kind][1]
        return f"{t}, intent(in) :: {n}", [n], [f"{t}, value :: {n}"], []
    if kind.endswith("_out") and kind.split("_")[0] in SCALAR:
        t = SCALAR[kind.split("_")[0]][1]
        return f"{t}, intent(inout) :: {n}", [n], [f"{t}, intent(inout) :: {n}"], []
    if kind == "int_opt_inout":
        return (f"integer(c_int), intent(inout), optional :: {n}", [n],
                [f"integer(c_int), intent(inout), optional :: {n}"], [])
    if kind.endswith("_opt") and kind != "text_opt":
        t = SCALAR[kind[:-4]][1]
        return f"{t}, intent(in), optional :: {n}", [n], [f"{t}, intent(in), optional :: {n}"], []
    char = "character(kind=c_char)"
    size = f"integer(c_int), value :: {n}_len"
    if kind in ("text", "text_opt"):
        if opt:
            setup = [f"if (present({n})) {n}_len = len({n}, c_int)"]
            return (f"character(len=*), intent(in){opt} :: {n}", [n, f"{n}_len"],
                    [f"{char}, intent(in), optional :: {n}(*)", size], setup)
        return f"character(len=*), intent(in) :: {n}", [n, f"len({n}, c_int)"], [f"{char}, intent(in) :: {n}(*)", size], []
    if kind == "text_out":
        if opt:
            setup = [f"if (present({n})) {n}_len = len({n}, c_int)"]
            return (f"character(len=*), intent(inout), optional :: {n}", [n, f"{n}_len"],
                    [f"{char}, intent(inout), optional :: {n}(*)", size], setup)
        return f"character(len=*), intent(inout) :: {n}", [n, f"len({n}, c_int)"], [f"{char}, intent(inout) :: {n}(*)", size], []
    if kind in ("ints", "floats", "pixels"):
        t = {"ints": "integer(c_int)", "floats": "real(c_float)", "pixels": "integer(c_int32_t)"}[kind]
        count = f"integer(c_int), value :: {n}_count"
        if opt:
            return (f"{t}, intent(in), optional :: {n}(:)", [n, f"{n}_count"],
                    [f"{t}, intent(in), optional :: {n}(*)", count], [f"if (present({n})) {n}_count = size({n}, kind=c_int)"])
        return f"{t}, intent(in) :: {n}(:)", [n, f"size({n}, kind=c_int)"], [f"{t}, intent(in) :: {n}(*)", count], []
    if kind == "ints_out":
        return (f"integer(c_int), intent(inout) :: {n}(:)", [n, f"size({n}, kind=c_int)"],
                [f"integer(c_int), intent(inout) :: {n}(*)", f"integer(c_int), value :: {n}_count"], [])
    if kind in ("texts", "texts_out"):
        intent = "in" if kind == "texts" else "inout"
        return (f"character(len=*), intent({intent}) :: {n}(:)", [n, f"len({n}, c_int)", f"size({n}, kind=c_int)"],
                [f"{char}, intent({intent}) :: {n}(*)", size, f"integer(c_int), value :: {n}_count"], [])
    if kind == "event":
        return f"type(EventRecord), intent(inout) :: {n}", [n], [f"type(EventRecord), intent(inout) :: {n}"], []
    raise SystemExit(kind)


def read_routines(toolkit):
    routines, constants = [], []
    for header in HEADERS:
        text = COMMENT.sub("", (toolkit / "include" / "quill" / f"{header}.hpp").read_text())
        text = re.sub(r"^struct .*?^};", "", text, flags=re.MULTILINE | re.DOTALL)
        for m in ROUTINE.finditer(text):
            raw = [p for p in re.split(r",(?![^<]*>)", m.group(3)) if p.strip()]
            params = parse_params(m.group(3))
            params = [(k, n, d or "=" in r) for (k, n, d), r in zip(params, raw)]
            routines.append((header, m.group(1), m.group(2), params))
        constants += [(header, n, v) for n, v in CONSTANT.findall(text)]
    return routines, constants


def guarded(name, lines, macro):
    """lines, inside #ifdef macro when only the Windows build defines routine name."""
    return [f"#ifdef {macro}", *lines, "#endif"] if name in WINDOWS_ONLY else lines


def c_declaration(ret, name, params):
    args = [a for k, n, _ in params for a in c_params(k, n)]
    cret = "int" if ret == "bool" else ret
    return f"{cret} quill_{name}({', '.join(args) or 'void'})"


def write_c_header(routines, constants):
    out = ["/* The toolkit from C: every public routine as quill_<routine>, with C linkage.",
           "   Generated by toolkit/capi/generate_capi.py from the C++ headers; do not edit.",
           "   Texts are a pointer and a length in bytes (trailing blanks are data); a result text",
           "   fills its whole length, blank-padded. An optional argument is a pointer that may be",
           "   NULL (for a text: a NULL pointer, whatever the length). Arrays of texts are count",
           "   fixed-length elements of len bytes each, trailing blanks not counted. The routines",
           "   are described in the C++ headers quill/<area>.hpp under the same names. */",
           "#ifndef QUILL_H", "#define QUILL_H", "", "#include <stdint.h>", "",
           "#ifdef __cplusplus", 'extern "C" {', "#endif", "",
           "/* The event record: sixteen 32-bit words, as WEventGet fills it. */",
           "typedef struct quill_EventRecord {",
           "  int32_t window, detail1, detail2, detail3, detail4, unit_x, unit_y;",
           "  float graph_w, graph_h, graph_x, graph_y;",
           "  int32_t time_ms, pixel_x, pixel_y, pixel_w, pixel_h;",
           "} quill_EventRecord;", ""]
    area = None
    for header, name, value in constants:
        if header != area:
            out.append(f"/* Constants of quill/{header}.hpp. */")
            area = header
        out.append(f"#define quill_{name} {value}")
    area = None
    for header, ret, name, params in routines:
        if header != area:
            out += ["", f"/* quill/{header}.hpp */"]
            area = header
        out += guarded(name, [c_declaration(ret, name, params) + ";"], "_WIN32")
    out += ["", "#ifdef __cplusplus", "}", "#endif", "", "#endif", ""]
    return "\n".join(out)


def write_c_source(routines):
    out = ["// The C interface: each routine converts its arguments and calls the C++ routine.",
           "// Generated by toolkit/capi/generate_capi.py from the public headers; do not edit.",
           '#include "quill.h"', "", '#include "capi/capi_support.hpp"',
           '#include "quill/quillanthor.hpp"', "", "namespace capi = quill::capi;", ""]
    for header, ret, name, params in routines:
        body = [f'extern "C" {c_declaration(ret, name, params)} {{']
        for k, n, _ in params:
            if k == "texts_out":
                body.append(f"  capi::TextResults {n}_results({n}, {n}_len, {n}_count);")
        call = f"{name}({', '.join(cpp_arg(k, n) for k, n, _ in params)})"
        if ret == "void":
            body.append(f"  {call};")
        elif ret == "bool":
            body.append(f"  return {call} ? 1 : 0;")
        else:
            body.append(f"  return {call};")
        body.append("}")
        out += guarded(name, body, "_WIN32")
    out.append("")
    return "\n".join(out)


def fortran_lines(lines, width=100):
    """Free-form lines no longer than width: long ones continue after a comma with "&"."""
    out = []
    for line in lines:
        indent = " " * (len(line) - len(line.lstrip()) + 4)
        while len(line) > width:
            cut = line.rfind(", ", 0, width - 2)
            out.append(line[:cut + 1] + " &")
            line = indent + line[cut + 2:]
        out.append(line)
    return out


def write_fortran(routines, constants):
    out = ["! The toolkit from Fortran: every public routine under its own name, over the C",
           "! interface (quill.h). Generated by toolkit/capi/generate_capi.py; do not edit.",
           "! Character arguments pass their length; a result fills the whole variable,",
           "! blank-padded. Optional arguments of the C++ routines are OPTIONAL here.",
           "module quill", "  use, intrinsic :: iso_c_binding", "  implicit none", "  private", "",
           "  ! The event record WEventGet fills: sixteen 32-bit words.",
           "  type, bind(C), public :: EventRecord",
           "    integer(c_int32_t) :: window = 0, detail1 = 0, detail2 = 0, detail3 = 0, detail4 = 0",
           "    integer(c_int32_t) :: unit_x = 0, unit_y = 0",
           "    real(c_float) :: graph_w = 0, graph_h = 0, graph_x = 0, graph_y = 0",
           "    integer(c_int32_t) :: time_ms = 0, pixel_x = 0, pixel_y = 0, pixel_w = 0, pixel_h = 0",
           "  end type EventRecord", ""]
    for header, name, value in constants:
        out.append(f"  integer(c_int), parameter, public :: {name} = {value}")
    out.append("")
    for _, _, n, _ in routines:
        out += guarded(n, [f"  public :: {n}"], "QUILL_WINDOWS")
    out += ["", "  interface"]
    for header, ret, name, params in routines:
        dummies = [d for k, n, opt in params for d in fortran(k, n, opt)[2]]
        names = [a.split("::")[1].strip().split("(")[0] for a in dummies]
        kw = "subroutine" if ret == "void" else "function"
        res = "" if ret == "void" else " result(answer)"
        body = [f"    {kw} c_{name}({', '.join(names)}) bind(C, name=\"quill_{name}\"){res}", "      import"]
        body += [f"      {d}" for d in dummies]
        if ret != "void":
            body.append("      integer(c_int) :: answer")
        body.append(f"    end {kw} c_{name}")
        out += guarded(name, body, "QUILL_WINDOWS")
    out += ["  end interface", "", "contains", ""]
    for header, ret, name, params in routines:
        info = [fortran(k, n, opt) for k, n, opt in params]
        kw = "subroutine" if ret == "void" else "function"
        res = "" if ret == "void" else " result(answer)"
        if name in WINDOWS_ONLY:
            out.append("#ifdef QUILL_WINDOWS")
        out.append(f"  {kw} {name}({', '.join(n for _, n, _ in params)}){res}")
        out += [f"    {dummy}" for dummy, _, _, _ in info]
        locals_ = [a for (_, actual, _, setup) in info if setup for a in actual[1:]]
        out += [f"    integer(c_int) :: {l}" for l in locals_]
        if ret == "int":
            out.append("    integer(c_int) :: answer")
        elif ret == "bool":
            out.append("    logical :: answer")
        for l in locals_:
            out.append(f"    {l} = 0")
        out += [f"    {s}" for (_, _, _, setup) in info for s in setup]
        actual = ", ".join(a for (_, act, _, _) in info for a in act)
        if ret == "void":
            out.append(f"    call c_{name}({actual})")
        elif ret == "bool":
            out.append(f"    answer = c_{name}({actual}) /= 0")
        else:
            out.append(f"    answer = c_{name}({actual})")
        out.append(f"  end {kw} {name}")
        if name in WINDOWS_ONLY:
            out.append("#endif")
        out.append("")
    out += ["end module quill", ""]
    return "\n".join(fortran_lines(out))


def main():
    toolkit = Path(sys.argv[1]).resolve()
    check = "--check" in sys.argv
    routines, constants = read_routines(toolkit)
    files = {toolkit / "include" / "quill.h": write_c_header(routines, constants),
             toolkit / "capi" / "quill_c.cpp": write_c_source(routines),
             toolkit / "capi" / "quill.F90": write_fortran(routines, constants)}
    stale = [path for path, text in files.items() if not path.is_file() or path.read_text() != text]
    if check:
        for path in stale:
            print(f"{path.relative_to(toolkit)} is not what generate_capi.py makes of the headers")
        print(f"{len(routines)} routines, {len(constants)} constants, {len(stale)} stale files")
        return 1 if stale else 0
    for path in stale:
        path.write_text(files[path])
    print(f"{len(routines)} routines, {len(constants)} constants, {len(stale)} files written")
    return 0


if __name__ == "__main__":
    sys.exit(main())

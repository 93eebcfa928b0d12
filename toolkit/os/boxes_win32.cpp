// The system's file and folder selection boxes, owned by the active window.
#include <windows.h>
#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>

#include "base/error_codes.hpp"
#include "os/os_internal.hpp"
#include "quill/errors.hpp"
#include "quill/os.hpp"

namespace quill::os {
namespace {

constexpr std::size_t kFileBufferLength = 32768;  // room for a multiple selection

// "Text|*.txt|All|*.*" as the box wants it: NUL after each part, a second NUL at the end.
std::string filter_list(std::string_view filters) {
  std::string list = trimmed(filters);
  if (list.empty()) return {};
  std::replace(list.begin(), list.end(), '|', '\0');
  list.append(2, '\0');
  return list;
}

// The box's answer: one full name, or for several files the folder followed by the names,
// each ending in NUL. Several come back as full names separated by "|".
std::string chosen_names(const std::vector<char>& buffer) {
  const std::string first(buffer.data());
  std::size_t position = first.size() + 1;
  if (buffer[position] == '\0') return first;
  std::string folder = with_separator(first);
  std::string names;
  while (buffer[position] != '\0') {
    const std::string name(buffer.data() + position);
    if (!names.empty()) names += '|';
    names += folder + name;
    position += name.size() + 1;
  }
  return names;
}

int CALLBACK select_start_folder(HWND box, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0) SendMessageA(box, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}

}  // namespace
}  // namespace quill::os

using namespace quill::os;

void WSelectFile(int mode, std::string_view filters, std::span<char> file_name,
                 std::optional<std::string_view> title, std::optional<int> options,
                 std::optional<std::string_view> default_extension,
                 std::optional<std::string_view> directory) {
  const std::string proposed = trimmed(std::string_view(file_name.data(), file_name.size()));
  std::vector<char> buffer(kFileBufferLength, '\0');
  std::copy_n(proposed.begin(), std::min(proposed.size(), buffer.size() - 1), buffer.begin());
  const std::string filter = filter_list(filters);
  const std::string caption = title ? trimmed(*title) : std::string();
  const std::string extension = default_extension ? trimmed(*default_extension) : std::string();
  const std::string folder = directory ? trimmed(*directory) : std::string();
  const int flags = options.value_or(0);

  OPENFILENAMEA box{};
  box.lStructSize = sizeof(box);
  box.hwndOwner = GetActiveWindow();
  box.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  box.nFilterIndex = 1;
  box.lpstrFile = buffer.data();
  box.nMaxFile = static_cast<DWORD>(buffer.size());
  box.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  box.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
  box.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  box.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  const bool save = mode == 1;
  if (save && (flags & 2) != 0) box.Flags |= OFN_OVERWRITEPROMPT;
  if (!save) box.Flags |= OFN_FILEMUSTEXIST;
  if (!save && (flags & 1) != 0) box.Flags |= OFN_ALLOWMULTISELECT;

  const BOOL chosen = save ? GetSaveFileNameA(&box) : GetOpenFileNameA(&box);
  if (!chosen) {
    put_text(file_name, "");
    if (CommDlgExtendedError() != 0) IErrorReport(quill::error::kCommonDialog, "WSelectFile");
    return;
  }
  put_result(file_name, chosen_names(buffer), "WSelectFile");
}

void WSelectDirectory(std::span<char> directory, std::optional<std::string_view> title) {
  const std::string start = trimmed(std::string_view(directory.data(), directory.size()));
  const std::string caption = title ? trimmed(*title) : std::string();
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  char display_name[MAX_PATH] = {};
  BROWSEINFOA box{};
  box.hwndOwner = GetActiveWindow();
  box.pszDisplayName = display_name;
  box.lpszTitle = caption.empty() ? nullptr : caption.c_str();
  box.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  box.lpfn = select_start_folder;
  box.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST chosen = SHBrowseForFolderA(&box);
  char path[MAX_PATH] = {};
  const bool found = chosen != nullptr && SHGetPathFromIDListA(chosen, path);
  if (chosen != nullptr) CoTaskMemFree(chosen);
  if (SUCCEEDED(com)) CoUninitialize();
  if (chosen == nullptr) {
    put_text(directory, "");
    return;
  }
  if (!found) {
    put_text(directory, "");
    IErrorReport(quill::error::kCommonDialog, "WSelectDirectory");
    return;
  }
  put_result(directory, path, "WSelectDirectory");
}

// Editor demo: a small text editor on the toolkit. The editor's menu and toolbar open,
// save and print; Ctrl+F, F3 and Ctrl+H find and replace; Ctrl+F2, F2 and Shift+F2 set
// and visit bookmarks. The command line under the text takes "find WORD", "replace OLD
// NEW", "goto LINE", "mark", "save [FILE]" and "print FILE.ps"; Up and Down recall
// earlier commands. A file ending in .rtf opens in a rich-text editor.
// Usage: editor_demo [file] [--seconds N]  (N > 0: closes itself after N s)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "quill/quillanthor.hpp"

namespace {

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Carries out one command line; the answer goes to the status bar.
void run(const std::string& line) {
  std::istringstream words(line);
  std::string verb, first, second;
  words >> verb >> first >> second;
  IErrorReset();
  std::string answer;
  if (verb == "find") {
    int found = 0;
    WEditorFind(first, 0, found);
    answer = found != 0 ? "found " + first : "not found: " + first;
  } else if (verb == "replace") {
    int count = 0;
    WEditorReplaceAll(first, second, 0, count);
    answer = std::to_string(count) + " replaced";
  } else if (verb == "goto") {
    WEditorGoToLine(std::atoi(first.c_str()));
  } else if (verb == "mark") {
    WEditorBookmark(1);
  } else if (verb == "save") {
    WEditorSave(first);
    answer = IErrorCode() == 0 ? "saved" : "not saved";
  } else if (verb == "print") {
    WEditorPrint(ends_with(first, ".svg") ? 3 : 2, first);
    answer = IErrorCode() == 0 ? "printed to " + first : "not printed";
  } else {
    answer = "commands: find, replace, goto, mark, save, print";
  }
  WEditorCommandPut("");
  if (!answer.empty()) WindowStatusBar(1, answer);
}

}  // namespace

int main(int argc, char** argv) {
  std::string file;
  int seconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atoi(argv[++i]);
    } else {
      file = argv[i];
    }
  }
  WStartup();
  IErrorMode(0);
  int width = 300, height = 200;
  WindowOpen(WinSystemMenu | WinMinimiseBox, 0, 0, &width, &height, std::nullopt, {}, std::nullopt,
             "Editor demo");
  int window = 0;
  WindowOpenChild(window, WinSystemMenu | WinMinimiseBox | WinMaximiseBox | WinStatusBar, 1000, 800, 7000,
                  7500, file.empty() ? "Untitled" : file);
  WindowSelect(window);
  WEditor(ends_with(file, ".rtf") ? EditorRich : EditorPlain,
          EditorMenu | EditorToolbar | EditorCommandLine | EditorCommandHistory);
  if (!file.empty()) WEditorLoad(file);
  WEventEnable(EvCommandLine, 1);
  if (seconds > 0) WEventTimer(seconds * 1000, 1, 0);
  for (;;) {
    int type = 0;
    EventRecord e;
    WEventGet(type, e);
    if (type == EvTimerTick) break;
    if (type == EvCloseAsked) {
      WindowSelect(window);
      if (WEditorModified() == 0) break;
      WMessageBox(4, 2, 1, "Save the changes?", "Editor demo");
      const int answer = WDialogQuery(4);  // 1 Yes, 2 No, 0 Cancel
      if (answer == 1) WEditorSave();
      if (answer != 0) break;
    }
    if (type == EvCommandLine) {
      WindowSelect(e.window);
      std::string line(256, ' ');
      WEditorCommandGet(line);
      line.erase(line.find_last_not_of(' ') + 1);
      run(line);
    }
  }
  WindowShutdown();
  return 0;
}

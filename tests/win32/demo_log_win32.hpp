// The log that the demo programs driven from outside (xdotool scripts) write: one line
// per fact, flushed at once so that the script can wait for it.
#pragma once

#include <windows.h>

#include <string>

#include "quill/events.hpp"

namespace demo_log {

// Opens the file named after "--log" on the command line; without it nothing is logged.
void open(int argc, char** argv);
void close();
void line(const std::string& text);

// "left top right bottom".
std::string rect_words(const RECT& rect);
// "event type window detail1 detail2".
std::string event_words(int type, const EventRecord& record);
// Waits for the next event (WEventGet), logs it and returns its type.
int next_event(EventRecord& record);

}  // namespace demo_log

// What the calculator's window events mean: command identifiers (menu items,
// accelerators, keypad buttons) and characters typed into the hidden input field,
// turned into engine keys or program actions. No window system here.
#pragma once

#include "engine.hpp"

namespace orlix {

// Event type codes the main loop reacts to.
namespace events {
constexpr int kCommand = 2;      // menu item or accelerator; detail1 = command identifier
constexpr int kButton = 3;       // keypad push button; detail1 = button identifier
constexpr int kCloseAsked = 9;   // close box, system menu, Alt+F4
constexpr int kFieldEdited = 10; // detail1 = previous field, detail2 = current field
}  // namespace events

// The field that catches typed operator characters, and the display field.
constexpr int kHiddenInputField = 1003;
constexpr int kDisplayField = 1002;
// The identifier of the "Off" push button.
constexpr int kOffButton = 2;

enum class Action {
  kNone,   // nothing to do
  kKey,    // press the key (the COPY key -2 included)
  kExit,   // Exit command: end after this event
  kAbout,  // run the About box
  kQuit,   // Off button or close request: end the program
};

struct Command {
  Action action = Action::kNone;
  CalculatorKey key = keys::kNone;
};

// The same map serves menu commands, accelerators and push buttons; only a push button
// can be "Off" (identifier 2), which as a menu command means nothing.
Command command_for_identifier(int identifier, bool from_push_button);

// The key of the first character typed into the hidden field: "* + - . / =" give their
// keys, anything else none.
CalculatorKey key_for_typed_character(char first);

// What one event asks of the main loop, before any field is read.
struct EventPlan {
  Command command;                 // from the event's identifier (commands, buttons)
  bool read_hidden_field = false;  // a field-changed event of 1003: read its character
  bool reset_hidden_field = false; // afterwards empty field 1003 and give it the focus
  bool stop_now = false;           // a close request: end without doing anything else
};

EventPlan plan_for_event(int event_type, int detail1, int detail2);

}  // namespace orlix

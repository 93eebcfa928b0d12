// What the calculator's window events mean: command identifiers (menu items,
// accelerators, keypad buttons) and characters typed into the hidden input field,
// turned into engine keys or program actions. No window system here.
#pragma once

// Event types are the toolkit's (EvCommand, EvButton, EvCloseAsked, EvFieldEdited) and
// identifiers those of the resources (resource_ids.h): the field IDC_HIDDEN_INPUT catches
// typed operator characters, IDC_OFF is the "Off" push button.
#include "engine.hpp"

namespace orlix {

enum class Action {
  None,   // nothing to do
  Key,    // press the key (the COPY key -2 included)
  Exit,   // Exit command: end after this event
  About,  // run the About box
  Quit,   // Off button or close request: end the program
};

struct Command {
  Action action = Action::None;
  CalculatorKey key = keys::kNone;
};

// The same map serves menu commands, accelerators and push buttons; only a push button
// can be "Off" (IDC_OFF), which as a menu command means nothing.
Command command_for_identifier(int identifier, bool from_push_button);

// The key of the first character typed into the hidden field: "* + - . / =" give their
// keys, anything else none.
CalculatorKey key_for_typed_character(char first);

// What one event asks of the main loop, before any field is read.
struct EventPlan {
  Command command;                  // from the event's identifier (commands, buttons)
  bool read_hidden_field = false;   // a field-changed event of 1003: read its character
  bool reset_hidden_field = false;  // afterwards empty field 1003 and give it the focus
  bool stop_now = false;            // a close request: end without doing anything else
};

EventPlan plan_for_event(int event_type, int detail1, int detail2);

}  // namespace orlix

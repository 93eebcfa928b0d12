// The calculator's event meanings: identifiers and typed characters to keys and actions.
#include "commands.hpp"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <vector>

#include "quill/events.hpp"

namespace orlix {
namespace {

struct IdentifierCase {
  int identifier;
  Action action;
  CalculatorKey key;
};

TEST(CommandMap, MenuCommandsAndAcceleratorsGiveTheirKeysOrActions) {
  const IdentifierCase cases[] = {
      {40004, Action::Key, keys::kCopy},
      {40006, Action::Exit, keys::kNone},
      {40008, Action::About, keys::kNone},
      {40011, Action::Key, 0},
      {40015, Action::Key, 4},
      {40020, Action::Key, 9},
      {40030, Action::Key, keys::kPoint},
      {40031, Action::Key, keys::kEquals},
      {40035, Action::Key, keys::kDivide},
      {40037, Action::Key, keys::kBackspace},
      {40039, Action::Key, keys::kClear},
      {40043, Action::Key, keys::kMemoryRecall},
      // Gaps and neighbours of the ranges, the pop-up identifiers and small values.
      {40005, Action::None, keys::kNone},
      {40007, Action::None, keys::kNone},
      {40009, Action::None, keys::kNone},
      {40010, Action::None, keys::kNone},
      {40021, Action::None, keys::kNone},
      {40029, Action::None, keys::kNone},
      {40044, Action::None, keys::kNone},
      {40003, Action::None, keys::kNone},
      {40001, Action::None, keys::kNone},
      {2, Action::None, keys::kNone},
      {0, Action::None, keys::kNone},
      {-1, Action::None, keys::kNone},
      {65535, Action::None, keys::kNone},
  };
  for (const auto& c : cases) {
    const Command command = command_for_identifier(c.identifier, false);
    EXPECT_EQ(command.action, c.action) << c.identifier;
    EXPECT_EQ(command.key, c.key) << c.identifier;
  }
}

TEST(CommandMap, OnlyThePushButtonTwoIsOff) {
  EXPECT_EQ(command_for_identifier(2, true).action, Action::Quit);
  EXPECT_EQ(command_for_identifier(2, false).action, Action::None);
  // A button that is not a keypad key (the About box's OK, 1) does nothing.
  EXPECT_EQ(command_for_identifier(1, true).action, Action::None);
  for (int digit = 0; digit <= 9; ++digit) {
    const Command command = command_for_identifier(40011 + digit, true);
    EXPECT_TRUE(command.action == Action::Key && command.key == digit) << digit;
  }
  EXPECT_EQ(command_for_identifier(40032, true).key, keys::kAdd);
}

TEST(TypedCharacters, OnlyTheSixOperatorCharactersGiveKeys) {
  const std::map<char, CalculatorKey> operators = {
      {'*', keys::kMultiply}, {'+', keys::kAdd},    {'-', keys::kSubtract},
      {'.', keys::kPoint},    {'/', keys::kDivide}, {'=', keys::kEquals},
  };
  for (int c = 0; c < 256; ++c) {
    const auto found = operators.find(static_cast<char>(c));
    EXPECT_EQ(key_for_typed_character(static_cast<char>(c)),
              found == operators.end() ? keys::kNone : found->second)
        << c;
  }
}

// Buttons always reset the hidden field, commands never; only edits of the hidden field
// are read; a close request stops; other events (keys, repaints, mouse, timers) give no
// command, whatever their detail1.
TEST(EventPlan, WhatEachEventLeadsTo) {
  struct Case {
    int type, detail1, detail2;
    Action action;
    CalculatorKey key;
    bool read, reset, stop;
  };
  const Case cases[] = {
      {EvButton, 40031, 1003, Action::Key, keys::kEquals, false, true, false},
      {EvButton, 2, 1003, Action::Quit, keys::kNone, false, true, false},
      {EvButton, 1002, 1003, Action::None, keys::kNone, false, true, false},
      {EvCommand, 40031, -1, Action::Key, keys::kEquals, false, false, false},
      {EvCommand, 2, -1, Action::None, keys::kNone, false, false, false},
      {EvFieldEdited, 1003, 1003, Action::None, keys::kNone, true, true, false},
      {EvFieldEdited, 1002, 1003, Action::None, keys::kNone, false, false, false},
      {EvFieldEdited, 1003, 40011, Action::None, keys::kNone, false, false, false},
      {EvFieldEdited, 40011, 40011, Action::None, keys::kNone, false, false, false},
      {EvCloseAsked, -1, -1, Action::None, keys::kNone, false, false, true},
  };
  std::vector<Case> all(std::begin(cases), std::end(cases));
  for (const int type : {1, 4, 7, 8, 11, 13, 0, 17}) {
    all.push_back({type, 40031, 40031, Action::None, keys::kNone, false, false, false});
  }
  for (const Case& c : all) {
    const EventPlan plan = plan_for_event(c.type, c.detail1, c.detail2);
    SCOPED_TRACE(testing::Message() << c.type << ' ' << c.detail1 << ' ' << c.detail2);
    EXPECT_EQ(plan.command.action, c.action);
    EXPECT_EQ(plan.command.key, c.key);
    EXPECT_EQ(plan.read_hidden_field, c.read);
    EXPECT_EQ(plan.reset_hidden_field, c.reset);
    EXPECT_EQ(plan.stop_now, c.stop);
  }
}

}  // namespace
}  // namespace orlix

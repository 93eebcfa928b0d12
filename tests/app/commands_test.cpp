// The calculator's event meanings: identifiers and typed characters to keys and actions.
#include "commands.hpp"

#include <gtest/gtest.h>

#include <utility>

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
      {40004, Action::Key, keys::kCopy},     {40006, Action::Exit, keys::kNone},
      {40008, Action::About, keys::kNone},   {40011, Action::Key, 0},
      {40015, Action::Key, 4},               {40020, Action::Key, 9},
      {40030, Action::Key, keys::kPoint},    {40031, Action::Key, keys::kEquals},
      {40035, Action::Key, keys::kDivide},   {40037, Action::Key, keys::kBackspace},
      {40039, Action::Key, keys::kClear},    {40043, Action::Key, keys::kMemoryRecall},
      // Gaps and neighbours of the ranges, the pop-up identifiers and small values.
      {40005, Action::None, keys::kNone},    {40007, Action::None, keys::kNone},
      {40009, Action::None, keys::kNone},    {40010, Action::None, keys::kNone},
      {40021, Action::None, keys::kNone},    {40029, Action::None, keys::kNone},
      {40044, Action::None, keys::kNone},    {40003, Action::None, keys::kNone},
      {40001, Action::None, keys::kNone},    {2, Action::None, keys::kNone},
      {0, Action::None, keys::kNone},        {-1, Action::None, keys::kNone},
      {65535, Action::None, keys::kNone},
  };
  for (const auto& c : cases) {
    const Command command = command_for_identifier(c.identifier, false);
    EXPECT_EQ(command.action, c.action) << c.identifier;
    EXPECT_EQ(command.key, c.key) << c.identifier;
  }
}

TEST(CommandMap, EveryDigitCommandGivesItsDigit) {
  for (int digit = 0; digit <= 9; ++digit) {
    const Command command = command_for_identifier(40011 + digit, true);
    EXPECT_EQ(command.action, Action::Key);
    EXPECT_EQ(command.key, digit);
  }
}

TEST(CommandMap, OnlyThePushButtonTwoIsOff) {
  EXPECT_EQ(command_for_identifier(2, true).action, Action::Quit);
  EXPECT_EQ(command_for_identifier(2, false).action, Action::None);
  // A button that is not a keypad key (the About box's OK, 1) does nothing.
  EXPECT_EQ(command_for_identifier(1, true).action, Action::None);
  EXPECT_EQ(command_for_identifier(40032, true).key, keys::kAdd);
}

TEST(TypedCharacters, OnlyTheSixOperatorCharactersGiveKeys) {
  EXPECT_EQ(key_for_typed_character('*'), keys::kMultiply);
  EXPECT_EQ(key_for_typed_character('+'), keys::kAdd);
  EXPECT_EQ(key_for_typed_character('-'), keys::kSubtract);
  EXPECT_EQ(key_for_typed_character('.'), keys::kPoint);
  EXPECT_EQ(key_for_typed_character('/'), keys::kDivide);
  EXPECT_EQ(key_for_typed_character('='), keys::kEquals);
  for (int c = 0; c < 256; ++c) {
    const char ch = static_cast<char>(c);
    if (ch == '*' || ch == '+' || ch == '-' || ch == '.' || ch == '/' || ch == '=') continue;
    EXPECT_EQ(key_for_typed_character(ch), keys::kNone) << c;
  }
}

TEST(EventPlan, ButtonsAlwaysResetTheHiddenFieldCommandsNever) {
  const EventPlan button = plan_for_event(EvButton, 40031, 1003);
  EXPECT_EQ(button.command.key, keys::kEquals);
  EXPECT_TRUE(button.reset_hidden_field);
  EXPECT_FALSE(button.read_hidden_field);

  const EventPlan off = plan_for_event(EvButton, 2, 1003);
  EXPECT_EQ(off.command.action, Action::Quit);
  EXPECT_TRUE(off.reset_hidden_field);

  const EventPlan unknown_button = plan_for_event(EvButton, 1002, 1003);
  EXPECT_EQ(unknown_button.command.action, Action::None);
  EXPECT_TRUE(unknown_button.reset_hidden_field);

  const EventPlan menu = plan_for_event(EvCommand, 40031, -1);
  EXPECT_EQ(menu.command.key, keys::kEquals);
  EXPECT_FALSE(menu.reset_hidden_field);
  EXPECT_EQ(plan_for_event(EvCommand, 2, -1).command.action, Action::None);
}

TEST(EventPlan, OnlyEditsOfTheHiddenFieldAreRead) {
  const EventPlan typed = plan_for_event(EvFieldEdited, 1003, 1003);
  EXPECT_TRUE(typed.read_hidden_field);
  EXPECT_TRUE(typed.reset_hidden_field);
  EXPECT_EQ(typed.command.action, Action::None);

  for (const auto& [previous, current] : {std::pair{1002, 1003}, std::pair{1003, 40011},
                                          std::pair{40011, 40011}}) {
    const EventPlan other = plan_for_event(EvFieldEdited, previous, current);
    EXPECT_FALSE(other.read_hidden_field) << previous << ' ' << current;
    EXPECT_FALSE(other.reset_hidden_field) << previous << ' ' << current;
  }
}

TEST(EventPlan, CloseRequestStopsAndOtherEventsDoNothing) {
  const EventPlan close = plan_for_event(EvCloseAsked, -1, -1);
  EXPECT_TRUE(close.stop_now);
  EXPECT_EQ(close.command.action, Action::None);
  // Key events are enabled but give no key, nor do repaints, mouse or timer events;
  // their detail1 must not be read as a command identifier.
  for (const int type : {1, 4, 7, 8, 11, 13, 0, 17}) {
    const EventPlan plan = plan_for_event(type, 40031, 40031);
    EXPECT_FALSE(plan.stop_now) << type;
    EXPECT_FALSE(plan.reset_hidden_field) << type;
    EXPECT_EQ(plan.command.action, Action::None) << type;
  }
}

}  // namespace
}  // namespace orlix

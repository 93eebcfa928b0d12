// The posting rules, the pending slots, record completion and screen units.
#include "core/event_queue.hpp"

#include <gtest/gtest.h>

namespace {

using quill::EventValues;

EventValues ev(int type, int window = 0, int detail1 = -1, int detail2 = -1, int detail3 = 0) {
  EventValues v;
  v.type = type;
  v.window = window;
  v.detail1 = detail1;
  v.detail2 = detail2;
  v.detail3 = detail3;
  return v;
}

EventValues repaint(int window, int x, int y, int w, int h) {
  EventValues v = ev(EvRepaint, window, w, h, 0);
  v.pixel_x = x;
  v.pixel_y = y;
  v.pixel_w = w;
  v.pixel_h = h;
  return v;
}

bool size_of(int window, int& w, int& h) {
  if (window > 2) return false;
  w = 400 + window;
  h = 300;
  return true;
}

class EventQueue : public ::testing::Test {
 protected:
  void SetUp() override { quill::reset_event_state(); }
  void TearDown() override { quill::reset_event_state(); }
  // Starts a fetch as WEventGet does.
  static void begin_fetch() {
    quill::events().posted = EventValues{};
    quill::events().undelivered = false;
    quill::events().waiting = true;
  }
};

TEST_F(EventQueue, DefaultSwitchesAndEnabling) {
  for (int type = 0; type <= 17; ++type) {
    const bool on = type == 1 || type == 2 || type == 3 || type == 4 || type == 7 || type == 8 || type == 9 ||
                    type == 13 || type == 14;
    int state = -1;
    WEventEnabled(type, state);
    EXPECT_EQ(state, on ? 1 : 0) << "type " << type;
  }
  WEventEnable(10, 1);
  WEventEnable(1, 0);
  WEventEnable(17, 1);  // ignored
  WEventEnable(5, 2);   // not a state: ignored
  int state = 0;
  WEventEnabled(10, state);
  EXPECT_EQ(state, 1);
  WEventEnabled(1, state);
  EXPECT_EQ(state, 0);
  WEventEnabled(5, state);
  EXPECT_EQ(state, 0);
  quill::reset_event_state();
  WEventEnabled(1, state);
  EXPECT_EQ(state, 1);
}

TEST_F(EventQueue, DisabledTypesAreDroppedAndLaterEventsReplaceEarlier) {
  begin_fetch();
  EXPECT_FALSE(quill::post_event(ev(EvMouseMotion)));
  EXPECT_TRUE(quill::events().waiting);
  EXPECT_TRUE(quill::post_event(ev(EvKey, 0, 65)));
  EXPECT_FALSE(quill::events().waiting);
  EXPECT_TRUE(quill::post_event(ev(EvCommand, 0, 40010, -1, -1)));
  const EventValues got = quill::take_posted(size_of);
  EXPECT_EQ(got.type, EvCommand);
  EXPECT_EQ(got.detail1, 40010);
  EXPECT_FALSE(quill::events().undelivered);
}

TEST_F(EventQueue, TwoRepaintsInOneFetchBecomeTheWholeClientArea) {
  begin_fetch();
  quill::post_event(repaint(1, 10, 20, 5, 5));
  EXPECT_EQ(quill::take_posted(size_of).pixel_w, 5);  // one repaint keeps its area

  begin_fetch();
  quill::post_event(repaint(1, 10, 20, 5, 5));
  quill::post_event(repaint(1, 50, 60, 5, 5));
  const EventValues got = quill::take_posted(size_of);
  EXPECT_EQ(got.type, EvRepaint);
  EXPECT_EQ(got.detail1, 401);
  EXPECT_EQ(got.detail2, 300);
  EXPECT_EQ(got.pixel_x, 0);
  EXPECT_EQ(got.pixel_y, 0);
  EXPECT_EQ(quill::take_pending_slot(size_of).type, 0);  // the slot was cleared
}

TEST_F(EventQueue, ARepaintReplacedByAnotherEventComesBackLater) {
  begin_fetch();
  quill::post_event(ev(EvKey, 0, 65));
  quill::post_event(repaint(2, 1, 2, 3, 4));  // kept in window 2's slot
  quill::post_event(ev(EvCommand, 0, 40001, -1, -1));
  EXPECT_EQ(quill::take_posted(size_of).type, EvCommand);

  const EventValues kept = quill::take_pending_slot(size_of);
  EXPECT_EQ(kept.type, EvRepaint);
  EXPECT_EQ(kept.window, 2);
  EXPECT_EQ(kept.detail1, 402);  // reported as the whole client area
  EXPECT_EQ(kept.pixel_x, 0);
  EXPECT_EQ(quill::take_pending_slot(size_of).type, 0);
}

TEST_F(EventQueue, ResizeRules) {
  begin_fetch();
  quill::post_event(ev(EvKey, 0, 65));
  quill::post_event(ev(EvResized, 0, 300, 200));
  EXPECT_FALSE(quill::post_event(repaint(0, 0, 0, 5, 5)));  // a resize is pending
  quill::post_event(ev(EvCommand, 0, 7, -1, -1));
  quill::take_posted(size_of);
  // The repaint did not overwrite the kept resize.
  EXPECT_EQ(quill::take_pending_slot(size_of).type, EvResized);

  begin_fetch();
  quill::PostSource hidden;
  hidden.hidden_window = true;
  EXPECT_FALSE(quill::post_event(ev(EvResized, 0, 10, 10), hidden));
  EXPECT_TRUE(quill::events().waiting);

  // Windows combined with a dialog keep nothing in their slot.
  begin_fetch();
  quill::PostSource combined;
  combined.keeps_pending = false;
  quill::post_event(ev(EvKey, 0, 65));
  quill::post_event(repaint(0, 0, 0, 1, 1), combined);
  quill::post_event(ev(EvCommand, 0, 7, -1, -1));
  quill::take_posted(size_of);
  EXPECT_EQ(quill::take_pending_slot(size_of).type, 0);
}

TEST_F(EventQueue, FieldChangesAndFieldRepaintsUseTheExtraSlots) {
  WEventEnable(EvFieldEdited, 1);
  begin_fetch();
  quill::post_event(ev(EvButton, 102, 40011, 1003, -1));
  EXPECT_TRUE(quill::post_event(ev(EvFieldEdited, 102, 1003, 1003, 0)));
  EXPECT_EQ(quill::take_posted(size_of).type, EvButton);
  EventValues later = quill::take_pending_slot(size_of);
  EXPECT_EQ(later.type, EvFieldEdited);
  EXPECT_EQ(later.window, 102);

  // A graphics-field repaint (107) displaced by a window repaint goes to slot 52.
  begin_fetch();
  EventValues field = ev(107, 102, -1, -1);
  field.detail4 = 1005;
  quill::post_event(field);
  EXPECT_EQ(quill::events().posted.type, EvRepaint);
  EXPECT_EQ(quill::events().posted.detail3, 1);
  quill::post_event(repaint(0, 0, 0, 1, 1));
  EXPECT_EQ(quill::take_posted(size_of).detail3, 0);
  later = quill::take_pending_slot(size_of);
  EXPECT_EQ(later.type, EvRepaint);
  EXPECT_EQ(later.detail4, 1005);

  // Window slots come before the extra slots; a window without client area is skipped.
  quill::events().slots[quill::kFieldChangeSlot] = ev(EvFieldEdited, 102, 1, 2);
  quill::events().slots[5] = ev(EvResized, 5, 9, 9);
  quill::events().slots[1] = ev(EvResized, 1, 8, 8);
  EXPECT_EQ(quill::take_pending_slot(size_of).window, 1);
  EXPECT_EQ(quill::take_pending_slot(size_of).type, EvFieldEdited);
  EXPECT_EQ(quill::take_pending_slot(size_of).type, 0);
}

TEST(ScreenUnits, BothWays) {
  struct Case {
    int value;
    int size;
    int expected;
  };
  const Case to_units[] = {
      {0, 400, 12}, {399, 400, 9986}, {200, 400, 5011}, {0, 1, 0}, {5, 1, 0}, {639, 1280, 4995},
  };
  for (const Case& c : to_units) {
    EXPECT_EQ(quill::pixel_to_units(c.value, c.size), c.expected) << c.value << "/" << c.size;
  }
  const Case to_pixels[] = {
      {0, 400, 0}, {9999, 400, 399}, {200, 400, 7}, {5000, 1280, 639}, {9999, 1280, 1279},
  };
  for (const Case& c : to_pixels) {
    EXPECT_EQ(quill::units_to_pixel(c.value, c.size), c.expected) << c.value << "/" << c.size;
  }
}

TEST(CompleteRecord, PointerRepaintResizeAndOthers) {
  EventRecord r;
  EventValues wheel = ev(EvMouseDown, 0, 4, 0, 0);
  wheel.pixel_x = 100;
  wheel.pixel_y = 0;
  wheel.time_ms = 1234;
  quill::complete_record(wheel, 200, 100, r);
  EXPECT_EQ(r.word(1), 4);
  EXPECT_EQ(r.word(5), quill::pixel_to_units(100, 200));
  EXPECT_EQ(r.word(6), quill::pixel_to_units(0, 100));
  EXPECT_FLOAT_EQ(r.graph_x, 100.5f / 200.0f);
  EXPECT_FLOAT_EQ(r.graph_y, 99.5f / 100.0f);
  EXPECT_EQ(r.word(11), 1234);
  EXPECT_EQ(r.word(12), 100);

  quill::complete_record(repaint(0, 10, 20, 30, 40), 200, 100, r);
  EXPECT_EQ(r.detail1, quill::pixel_to_units(39, 200) - quill::pixel_to_units(10, 200));
  EXPECT_EQ(r.detail2, quill::pixel_to_units(59, 100) - quill::pixel_to_units(20, 100));
  EXPECT_EQ(r.pixel_w, 30);
  EXPECT_EQ(r.pixel_h, 40);
  EXPECT_FLOAT_EQ(r.graph_w, 0.15f);
  EXPECT_FLOAT_EQ(r.graph_h, 0.4f);

  EventValues resize = ev(EvResized, 0, 640, 480);
  quill::complete_record(resize, 640, 480, r);
  EXPECT_EQ(r.pixel_w, 640);
  EXPECT_EQ(r.pixel_h, 480);
  EXPECT_EQ(r.unit_x, -1);

  // A command keeps -1 positions; words 5 and 6 are plain copies.
  quill::complete_record(ev(EvCommand, 0, 40010, -1, -1), 200, 100, r);
  EXPECT_EQ(r.detail1, 40010);
  EXPECT_EQ(r.detail2, -1);
  EXPECT_EQ(r.unit_x, -1);
  EXPECT_EQ(r.pixel_y, -1);
  EXPECT_EQ(r.graph_x, 0.0f);
}

TEST(CompleteRecord, GraphicsUnitsOfTheGraphicsLayerReplaceTheDefaultRange) {
  const quill::GraphicsUnits units{12.5f, 40.0f, 3.0f, 4.0f};
  EventRecord r;
  EventValues click = ev(EvMouseDown, 0, 1, 0, 0);
  click.pixel_x = 100;
  click.pixel_y = 10;
  quill::complete_record(click, 200, 100, r, &units);
  EXPECT_FLOAT_EQ(r.graph_x, 12.5f);
  EXPECT_FLOAT_EQ(r.graph_y, 40.0f);
  EXPECT_EQ(r.graph_w, 0.0f);                            // only repaints carry a size
  EXPECT_EQ(r.unit_x, quill::pixel_to_units(100, 200));  // screen units stay

  quill::complete_record(repaint(0, 10, 20, 30, 40), 200, 100, r, &units);
  EXPECT_FLOAT_EQ(r.graph_w, 3.0f);
  EXPECT_FLOAT_EQ(r.graph_h, 4.0f);
  EXPECT_FLOAT_EQ(r.graph_x, 12.5f);
  EXPECT_EQ(r.detail1, quill::pixel_to_units(39, 200) - quill::pixel_to_units(10, 200));

  // Events without a position keep zeros whatever the layer says.
  quill::complete_record(ev(EvCommand, 0, 40010, -1, -1), 200, 100, r, &units);
  EXPECT_EQ(r.graph_x, 0.0f);
  EXPECT_EQ(r.graph_w, 0.0f);
}

}  // namespace

// Doubles in numeric fields: written with a format and read back at full precision.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/error_state.hpp"
#include "numeric_test_ids.h"
#include "quill/dialog.hpp"

namespace {

TEST(NumericDoubles, PutAndGetKeepDoublePrecisionAndTheRange) {
  WDialogLoad(ND_FIELDS);
  const double third = 1.0 / 3.0;
  quill::errors().last_error = 0;
  WDialogPutDouble(ND_DOUBLE, third, "(F18.15)");
  char text[20];
  WDialogGetString(ND_DOUBLE, text);
  EXPECT_EQ(std::string(text, 20), "0.333333333333333   ");
  double value = 0.0;
  WDialogGetDouble(ND_DOUBLE, value);
  EXPECT_EQ(value, third);  // the stored value, not the text
  EXPECT_EQ(quill::errors().last_error, 0);

  WDialogPutDouble(ND_DOUBLE_SPIN, 0.5);  // the default format
  WDialogPutDouble(ND_DOUBLE_SPIN, 2.0);  // outside -1..1: kept out
  EXPECT_EQ(quill::errors().last_error, 1009);
  WDialogGetDouble(ND_DOUBLE_SPIN, value);
  EXPECT_EQ(value, 0.5);

  quill::errors().last_error = 0;
  WDialogClearField(ND_DOUBLE);
  WDialogGetDouble(ND_DOUBLE, value);
  EXPECT_EQ(value, -999.0);
  EXPECT_EQ(quill::errors().last_error, 1010);
  WDialogUnload();
}

}  // namespace

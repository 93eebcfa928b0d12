// Placeholder replaced below.
#include <gtest/gtest.h>
TEST(NumericFields, Placeholder) {}

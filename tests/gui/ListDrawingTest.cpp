// The list's own drawing, read back from the screen.
#include <gtest/gtest.h>

// Where the 640 x 480 canvas goes in a window or screen of any shape.
#include <gtest/gtest.h>

#include "platform/video.h"

namespace tw::platform {
namespace {

TEST(FitCanvas, KeepsFourToThreeCentredWithBarsAndWholeMultiplesWhenAsked) {
  struct Case {
    int w, h;
    bool integer;
    ShownRect want;
  };
  const Case cases[] = {
      {800, 600, false, {0, 0, 800, 600}},        // the usual window: no bars
      {1000, 500, false, {167, 0, 666, 500}},     // wide: bars left and right
      {1280, 1024, false, {0, 32, 1280, 960}},    // 5:4 screen: bars above and below
      {1000, 500, true, {180, 10, 640, 480}},     // only 1x fits
      {2560, 1600, true, {320, 80, 1920, 1440}},  // 3x, not a stretched 2133 x 1600
      {600, 400, true, {33, 0, 533, 400}},        // smaller than the canvas: still the largest fit
      {0, 480, false, {0, 0, 0, 0}},              // a minimised window shows nothing
  };
  for (const Case& c : cases) {
    const ShownRect r = FitCanvas(c.w, c.h, 640, 480, c.integer);
    EXPECT_EQ(r.x, c.want.x) << c.w << "x" << c.h << " integer " << c.integer;
    EXPECT_EQ(r.y, c.want.y) << c.w << "x" << c.h << " integer " << c.integer;
    EXPECT_EQ(r.width, c.want.width) << c.w << "x" << c.h << " integer " << c.integer;
    EXPECT_EQ(r.height, c.want.height) << c.w << "x" << c.h << " integer " << c.integer;
  }
}

}  // namespace
}  // namespace tw::platform

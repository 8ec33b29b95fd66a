#include "ImgUtil.h"
#include "StoreAssert.h"
#include <gtest/gtest.h>

using namespace ImgUtil;

namespace {

constexpr TColor Rgb(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}

std::uint32_t FakeSysColor(int index) {
  return 0x010203u * static_cast<std::uint32_t>(index);
}

// Installs the fake system colour table for one test.
class SysColors : public ::testing::Test {
protected:
  void SetUp() override { FPrevious = SetSysColorResolver(&FakeSysColor); }
  void TearDown() override { SetSysColorResolver(FPrevious); }
  TSysColorResolver FPrevious = nullptr;
};

class Gradients : public ::testing::Test {
protected:
  void SetUp() override { ClearGradientCache(); }
  void TearDown() override { ClearGradientCache(); }
};

} // namespace

TEST(MixColors, WeightsBelow100ArePercentAndFrom100PerMille) {
  const TColor grey = 0x808080, red = Rgb(255, 0, 0);
  // 150: 15 % grey, 85 % red.
  EXPECT_EQ(MixColors(grey, red, 150), Rgb((255 * 850 + 128 * 150 + 500) / 1000, 19, 19));
  EXPECT_EQ(MixColors(grey, red, 150), Rgb(236, 19, 19));
  // 50: the average, halves rounded up.
  EXPECT_EQ(MixColors(grey, red, 50), Rgb(192, 64, 64));
  EXPECT_EQ(MixColors(Rgb(1, 2, 3), Rgb(2, 3, 4), 50), Rgb(2, 3, 4));
  // 100 is 10 % of the first colour, not 100 %.
  EXPECT_EQ(MixColors(0xFFFFFF, 0, 100), Rgb(26, 26, 26));
  EXPECT_EQ(MixColors(0xFFFFFF, 0, 99), Rgb(252, 252, 252));
  EXPECT_EQ(MixColors(Rgb(10, 20, 30), Rgb(200, 100, 50), 0), Rgb(200, 100, 50));
  EXPECT_EQ(MixColors(Rgb(10, 20, 30), Rgb(200, 100, 50), 1000), Rgb(10, 20, 30));
}

TEST(MixColors, ThirdChannelTakesEveryHighBitAndResultKeepsLow8BitsPerChannel) {
  EXPECT_EQ(MixColors(0x01000000, 0, 500), Rgb(0, 0, 128));
  EXPECT_EQ(MixColors(0x01000000, 0, 1000), 0); // 256 wraps to 0
  // Weights beyond the scale extrapolate and wrap instead of failing.
  EXPECT_EQ(MixColors(Rgb(200, 0, 0), 0, 2000), Rgb((400 + 0) & 0xFF, 0, 0));
}

TEST_F(SysColors, NegativeColoursAreResolvedByTheirLow8Bits) {
  const TColor btnFace = static_cast<TColor>(0xFF00000F);
  EXPECT_EQ(ColorToRGB(btnFace), 0x0F1E2D);
  EXPECT_EQ(ColorToRGB(static_cast<TColor>(0x80000105)), 0x050A0F);
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
  EXPECT_EQ(MixColors(btnFace, 0xFFFFFF, 1000), 0x0F1E2D);
  EXPECT_EQ(MixColors(0, btnFace, 0), 0x0F1E2D);
  EXPECT_EQ(SetSysColorResolver(nullptr), &FakeSysColor);
  EXPECT_EQ(ColorToRGB(btnFace), 0); // host default: black
  SetSysColorResolver(&FakeSysColor);
}

TEST(ColorSaturation, DarkColoursGive200OthersTheScaledSaturation) {
  EXPECT_EQ(ColorSaturation(Rgb(255, 0, 0)), 255);
  EXPECT_EQ(ColorSaturation(0xFFFFFF), 0);
  EXPECT_EQ(ColorSaturation(Rgb(100, 20, 20)), 200);
  EXPECT_EQ(ColorSaturation(0), 200);
  EXPECT_EQ(ColorSaturation(Rgb(159, 159, 0)), 200);
  EXPECT_EQ(ColorSaturation(Rgb(160, 0, 0)), 255);
  EXPECT_EQ(ColorSaturation(Rgb(0, 0, 255)), 255);
  EXPECT_EQ(ColorSaturation(Rgb(255, 255, 128)), 127); // 127 / 255 x 255
  // Ties go to the even neighbour: 127.5 -> 128, 1.5 -> 2, 4.5 -> 4.
  EXPECT_EQ(ColorSaturation(Rgb(200, 150, 100)), 128);
  EXPECT_EQ(ColorSaturation(Rgb(170, 169, 169)), 2);
  EXPECT_EQ(ColorSaturation(Rgb(170, 167, 167)), 4);
}

TEST_F(Gradients, RampEntriesAndTruncationTowardZero) {
  const int rising = GetGradient(5, 0, Rgb(8, 16, 0));
  const std::vector<TColor> expect{Rgb(0, 0, 0), Rgb(2, 4, 0), Rgb(4, 8, 0), Rgb(6, 12, 0),
                                   Rgb(8, 16, 0)};
  EXPECT_EQ(GradientRamp(rising), expect);
  // A fall of 10 over 5 entries ends 9 below the start, not 10.
  const int falling = GetGradient(5, Rgb(20, 0, 0), Rgb(10, 0, 0));
  EXPECT_EQ(GradientRamp(falling).back(), Rgb(11, 0, 0));
  // Truncation, not flooring: (1 x -10 + 1) div 2 is -4.
  const int three = GetGradient(3, Rgb(0, 0, 10), 0);
  EXPECT_EQ(GradientRamp(three), (std::vector<TColor>{Rgb(0, 0, 10), Rgb(0, 0, 6), Rgb(0, 0, 1)}));
}

TEST_F(Gradients, RampOfLengthOneIsTheMidpointTruncatedTowardZero) {
  EXPECT_EQ(GradientRamp(GetGradient(1, 0, Rgb(10, 20, 11))), (std::vector<TColor>{Rgb(5, 10, 5)}));
  EXPECT_EQ(GradientRamp(GetGradient(1, Rgb(11, 0, 255), Rgb(0, 11, 0))),
            (std::vector<TColor>{Rgb(6, 5, 128)}));
}

TEST_F(Gradients, HitsReuseTheirSlotAndSeventeenRampsWrapToSlotZero) {
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(GetGradient(10 + i, 0, 0xFFFFFF), i);
  EXPECT_EQ(GetGradient(12, 0, 0xFFFFFF), 2); // found, counter unchanged
  EXPECT_EQ(GetGradient(100, 0, 0xFFFFFF), 0);
  EXPECT_EQ(GradientRamp(0).size(), 100u);
  EXPECT_EQ(GetGradient(10, 0, 0xFFFFFF), 1); // its slot 0 was taken over
  EXPECT_EQ(GetGradient(11, 0, 0xFFFFFF), 2); // evicted from slot 1 just now: rebuilt
  EXPECT_EQ(GetGradient(25, 0, 0xFFFFFF), 15);
}

TEST_F(Gradients, RampsThatMissTheirEndAreRebuiltAtEveryCall) {
  const int a = GetGradient(5, Rgb(20, 0, 0), Rgb(10, 0, 0));
  const int b = GetGradient(5, Rgb(20, 0, 0), Rgb(10, 0, 0));
  EXPECT_NE(a, b);
  EXPECT_EQ(GradientRamp(a), GradientRamp(b));
}

TEST_F(Gradients, CountBelowOneIsACatchableAssertionFailure) {
  for (int count : {0, -1, INT32_MIN}) {
    try {
      GetGradient(count, 0, 0xFFFFFF);
      ADD_FAILURE() << "no exception for " << count;
    } catch (const TarnelStore::EAssertionFailed& e) {
      EXPECT_STREQ(e.what(), "Assertion failure");
      EXPECT_EQ(e.UnitName(), "ImgUtil");
      EXPECT_EQ(e.LineNumber(), 304);
    }
  }
  EXPECT_EQ(GetGradient(2, 0, 0), 0); // the failed calls took no slot
}

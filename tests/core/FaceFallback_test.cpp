#include <gtest/gtest.h>

#include "notewindow/FaceFallback.h"

TEST(FaceFallback, AChineseFaceTriesChineseStandInsBeforeThePlatformsFace) {
    const struct {
        const char* face;
        bool chinese;
        const char* second;  // the candidate after the face itself
    } cases[] = {
        {"黑体", true, "Microsoft YaHei"},
        {"simhei", true, "Microsoft YaHei"},
        {"KaiTi", true, "Microsoft YaHei"},
        {"Arial", false, "UI Face"},
        {"Café", false, "UI Face"},             // accented, not Chinese
        {"\xE2\x80\x94 dash", false, "UI Face"},  // U+2014 lies below the CJK blocks
    };
    for (const auto& c : cases) {
        const std::vector<std::string> candidates = FaceCandidates(c.face, "UI Face");
        EXPECT_EQ(IsChineseFaceName(c.face), c.chinese) << c.face;
        ASSERT_GE(candidates.size(), 3u);
        EXPECT_EQ(candidates[0], c.face);
        EXPECT_EQ(candidates[1], c.second) << c.face;
    }
    // Nothing twice, and an empty face starts with the platform's.
    const std::vector<std::string> fromSimHei = FaceCandidates("SimHei", "simsun");
    EXPECT_EQ(std::count(fromSimHei.begin(), fromSimHei.end(), "SimHei"), 1);
    EXPECT_EQ(std::count(fromSimHei.begin(), fromSimHei.end(), "simsun"), 0);  // SimSun is in already
    EXPECT_EQ(FaceCandidates("", "UI Face").front(), "UI Face");
}

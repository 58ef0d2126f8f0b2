#include "engine/image/image_kind.h"

#include <gtest/gtest.h>

TEST(ImageKind, DecidedByTheLastFourCharactersInAnyCase) {
    EXPECT_EQ(ImageKindOf("disk.img"), ImageKind::Raw);
    EXPECT_EQ(ImageKindOf("C:\\Images\\DISK.IMZ"), ImageKind::Compressed);
    EXPECT_EQ(ImageKindOf("a.ExE"), ImageKind::SelfExtracting);
    EXPECT_EQ(ImageKindOf(".imz"), ImageKind::Compressed);
}

TEST(ImageKind, AnythingElseIsNoImage) {
    EXPECT_EQ(ImageKindOf("disk.img.txt"), ImageKind::None);
    EXPECT_EQ(ImageKindOf("diskimg"), ImageKind::None);
    EXPECT_EQ(ImageKindOf("img"), ImageKind::None);
    EXPECT_EQ(ImageKindOf(""), ImageKind::None);
    EXPECT_EQ(ImageKindOf(nullptr), ImageKind::None);
    EXPECT_EQ(ImageKindOf("disk.im"), ImageKind::None);
}

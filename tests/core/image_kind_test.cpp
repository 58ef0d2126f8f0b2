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

TEST(ImageKind, OtherProgramsRawNamesAreRawAndTakeNoTrailer) {
    struct Case {
        const char* path;
        ImageKind kind;
        bool trailer;             // a read in normal mode appends one
        bool compatibleTrailer;   // and in compatible mode
    };
    const Case cases[] = {
        {"disk.img", ImageKind::Raw, true, false},
        {"DISK.IMA", ImageKind::Raw, false, false},
        {"vm/floppy.vfd", ImageKind::Raw, false, false},
        {"boot.Flp", ImageKind::Raw, false, false},
        {"disk.imz", ImageKind::Compressed, true, true},
        {"disk.exe", ImageKind::SelfExtracting, true, true},
        {"old.ZIP", ImageKind::Zip, true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ImageKindOf(c.path), c.kind) << c.path;
        EXPECT_EQ(TakesTrailer(c.path, false), c.trailer) << c.path;
        EXPECT_EQ(TakesTrailer(c.path, true), c.compatibleTrailer) << c.path;
    }
}

TEST(ImageKind, AZipArchiveIsWrittenButNeverMade) {
    EXPECT_TRUE(IsWritableImageKind(ImageKind::Zip));
    EXPECT_FALSE(IsCreatableImageKind(ImageKind::Zip));
    EXPECT_FALSE(IsEmergencyImageKind(ImageKind::Zip));
}

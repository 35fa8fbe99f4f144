// Reading image files as the viewer does: every kind and compression of TIFF page decodes with
// its type and resolution; other formats are known by their headers; the formats no reader
// here understands say so.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>

#include "platform/imaging/ImageFile.h"
#include "tests/imaging/TestImages.h"
#include "tests/support/HeadlessTest.h"

namespace orbel::imaging {
namespace {

class ImageFileTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = test::MakeTempDir("imagefile"); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  private:
    std::filesystem::path dir_;
};

struct Kind {
    const char* name;
    test::TiffPage page;
    PageType type;
    const char* compression;
};

TEST_F(ImageFileTest, EveryKindAndCompressionOfTiffPageDecodesWithItsTypeAndResolution) {
    using test::TiffPage;
    const Kind kinds[] = {
        {"bilevel none", TiffPage{64, 48, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_NONE},
         PageType::BlackAndWhite, "none"},
        {"bilevel PackBits", TiffPage{64, 48, 1, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_PACKBITS},
         PageType::BlackAndWhite, "PackBits"},
        {"bilevel G3", TiffPage{64, 48, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX3},
         PageType::BlackAndWhite, "G3"},
        {"bilevel G4", TiffPage{64, 48, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4},
         PageType::BlackAndWhite, "G4"},
        {"grey 4 LZW", TiffPage{64, 48, 4, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_LZW},
         PageType::Gray4, "LZW"},
        {"grey 8 Deflate",
         TiffPage{64, 48, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_ADOBE_DEFLATE}, PageType::Gray8,
         "Deflate"},
        {"grey 8 JPEG", TiffPage{64, 48, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_JPEG},
         PageType::Gray8, "JPEG"},
        {"palette 4", TiffPage{64, 48, 4, 1, PHOTOMETRIC_PALETTE, COMPRESSION_PACKBITS},
         PageType::Palette4, "PackBits"},
        {"palette 8", TiffPage{64, 48, 8, 1, PHOTOMETRIC_PALETTE, COMPRESSION_LZW},
         PageType::Palette8, "LZW"},
        {"colour LZW", TiffPage{64, 48, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_LZW}, PageType::Rgb24,
         "LZW"},
        {"colour JPEG", TiffPage{64, 48, 8, 3, PHOTOMETRIC_RGB, COMPRESSION_JPEG}, PageType::Rgb24,
         "JPEG"},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        const std::string path = Path("kind.tif");
        ASSERT_TRUE(test::WriteTiff(path, {k.page}));
        std::string error;
        auto file = ImageFile::Open(path, error);
        ASSERT_TRUE(file) << error;
        EXPECT_EQ(file->Format(), ImageFormat::Tiff);
        ASSERT_EQ(file->PageCount(), 1);
        EXPECT_EQ(file->Page(1).type, k.type);
        EXPECT_EQ(file->Page(1).compression, k.compression);
        EXPECT_EQ(file->Page(1).xResolution, 200);
        auto image = file->DecodeTiffPage(1, error);
        ASSERT_TRUE(image) << error;
        EXPECT_EQ(image->width, 64);
        EXPECT_EQ(image->height, 48);
        EXPECT_EQ(image->pixels.size(), 64u * 48u);
    }
}

TEST_F(ImageFileTest, EveryPageOfAMultiPageFileIsReadWithItsOwnSizeAndResolution) {
    test::TiffPage a{100, 50, 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4, 300, 300};
    test::TiffPage b{
        40, 80, 8, 1, PHOTOMETRIC_MINISBLACK, COMPRESSION_LZW, 80, 40, RESUNIT_CENTIMETER};
    const std::string path = Path("multi.tif");
    ASSERT_TRUE(test::WriteTiff(path, {a, b, a}));
    std::string error;
    auto file = ImageFile::Open(path, error);
    ASSERT_TRUE(file) << error;
    EXPECT_EQ(file->PageCount(), 3);
    EXPECT_EQ(CountPages(path), 3);
    EXPECT_EQ(file->Page(2).width, 40);
    EXPECT_EQ(file->Page(2).type, PageType::Gray8);
    // Dots per centimetre are given per inch.
    EXPECT_EQ(file->Page(2).xResolution, 203);
    EXPECT_EQ(file->Page(2).yResolution, 102);
    EXPECT_EQ(file->Page(3).xResolution, 300);
    auto third = file->DecodeTiffPage(3, error);
    ASSERT_TRUE(third) << error;
    EXPECT_EQ(third->width, 100);
    auto second = file->DecodeTiffPage(2, error);
    ASSERT_TRUE(second) << error;
    EXPECT_EQ(second->height, 80);
    EXPECT_FALSE(file->DecodeTiffPage(4, error));
}

TEST_F(ImageFileTest, OtherFormatsAreKnownByTheirHeadersAndTheUnreadableOnesSaySo) {
    ASSERT_TRUE(test::WriteBmp(Path("a.bmp"), 30, 20));
    ASSERT_TRUE(test::WriteGif(Path("a.gif")));
    // A JPEG's start, a JFIF header at 72 dpi and a frame header of 640 x 480, colour.
    const std::string jpeg(
        "\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x01\x00\x48\x00\x48\x00\x00"
        "\xFF\xC0\x00\x11\x08\x01\xE0\x02\x80\x03\x01\x22\x00\x02\x11\x01\x03"
        "\x11\x01",
        39);
    ASSERT_TRUE(test::WriteBytes(Path("a.jpg"), jpeg));
    std::string error;
    auto bmp = ImageFile::Open(Path("a.bmp"), error);
    ASSERT_TRUE(bmp) << error;
    EXPECT_EQ(bmp->Format(), ImageFormat::Bmp);
    EXPECT_EQ(bmp->Page(1).width, 30);
    EXPECT_EQ(bmp->Page(1).xResolution, 100);
    EXPECT_EQ(bmp->Page(1).type, PageType::Rgb24);
    auto gif = ImageFile::Open(Path("a.gif"), error);
    ASSERT_TRUE(gif) << error;
    EXPECT_EQ(gif->Page(1).height, 2);
    auto jpg = ImageFile::Open(Path("a.jpg"), error);
    ASSERT_TRUE(jpg) << error;
    EXPECT_EQ(jpg->Page(1).width, 640);
    EXPECT_EQ(jpg->Page(1).height, 480);
    EXPECT_EQ(jpg->Page(1).xResolution, 72);

    // A TIFF named as the extended variant, fax archives, PCX and plain junk.
    ASSERT_TRUE(test::WriteBilevelTiff(Path("scan.xif"), 1));
    ASSERT_TRUE(test::WriteBytes(Path("fax.awd"), std::string("\xD0\xCF\x11\xE0", 4)));
    ASSERT_TRUE(test::WriteBytes(Path("pages.dcx"), std::string("\xB1\x68\xDE\x3A", 4)));
    ASSERT_TRUE(test::WriteBytes(Path("old.PCX"), std::string("\x0A\x05\x01\x08", 4)));
    ASSERT_TRUE(test::WriteBytes(Path("notes.tif"), "plain text, not an image"));
    for (const char* name : {"scan.xif", "fax.awd", "pages.dcx", "old.PCX", "notes.tif"}) {
        SCOPED_TRACE(name);
        error.clear();
        EXPECT_FALSE(ImageFile::Open(Path(name), error));
        EXPECT_EQ(error, ImageFile::kCannotShow);
        EXPECT_EQ(CountPages(Path(name)), 0);
    }
    EXPECT_FALSE(ImageFile::Open(Path("missing.tif"), error));
    EXPECT_EQ(error, "the file cannot be read");
}

TEST_F(ImageFileTest, ADamagedTiffPageFailsWithAReasonAndTheOtherPagesStillDecode) {
    const std::string path = Path("damaged.tif");
    ASSERT_TRUE(test::WriteBilevelTiff(path, 1));
    {
        // A second page whose compressed data is not what its header says.
        TIFF* t = TIFFOpen(path.c_str(), "a");
        ASSERT_TRUE(t);
        TIFFSetField(t, TIFFTAG_IMAGEWIDTH, 32u);
        TIFFSetField(t, TIFFTAG_IMAGELENGTH, 32u);
        TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, uint16_t{8});
        TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, uint16_t{1});
        TIFFSetField(t, TIFFTAG_PHOTOMETRIC, uint16_t{PHOTOMETRIC_MINISBLACK});
        TIFFSetField(t, TIFFTAG_COMPRESSION, uint16_t{COMPRESSION_JPEG});
        TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 32u);
        std::string junk(300, '\x5a');
        ASSERT_GT(TIFFWriteRawStrip(t, 0, junk.data(), static_cast<tmsize_t>(junk.size())), 0);
        TIFFWriteDirectory(t);
        TIFFClose(t);
    }
    std::string error;
    auto file = ImageFile::Open(path, error);
    ASSERT_TRUE(file) << error;
    ASSERT_EQ(file->PageCount(), 2);
    EXPECT_FALSE(file->DecodeTiffPage(2, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_TRUE(file->DecodeTiffPage(1, error)) << error;
}

TEST_F(ImageFileTest, AScannedPageScaledToGreyShowsTheShareOfBlackInEachBlock) {
    // 16 x 4: the left half black; in the right half every fourth column black.
    BilevelImage page;
    page.width = 16;
    page.height = 4;
    page.stride = 2;
    page.bits = {0xFF, 0x88, 0xFF, 0x88, 0xFF, 0x88, 0xFF, 0x88};
    GreyImage half = ScaleToGrey(page, 0.5);
    ASSERT_EQ(half.width, 8);
    ASSERT_EQ(half.height, 2);
    // Each grey pixel stands for 2 x 2 page pixels.
    EXPECT_EQ(half.pixels, (std::vector<std::uint8_t>{0, 0, 0, 0, 128, 255, 128, 255,  //
                                                      0, 0, 0, 0, 128, 255, 128, 255}));
    // Where 0 is black the same bits are the other way round.
    page.zeroIsWhite = false;
    GreyImage inverted = ScaleToGrey(page, 0.25);
    ASSERT_EQ(inverted.pixels.size(), 4u);
    EXPECT_EQ(inverted.pixels[0], 255);
    EXPECT_EQ(inverted.pixels[2], 64);
}

}  // namespace
}  // namespace orbel::imaging

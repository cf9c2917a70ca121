// The camera area read from card trees: the folder and file naming of the camera file system,
// shot times from the pictures' EXIF blocks or else the files' times, pixel sizes, and camera
// files of any kind of damage read without a crash or a read past their bytes.
#include "card/camera_area.h"

#include <gtest/gtest.h>

#include <random>

#include "card/jpeg_info.h"
#include "tests/support/card_rig.h"
#include "tests/support/exif_jpeg.h"

namespace sdmate::test {
namespace {

std::string Text(const std::optional<LocalTime>& time) {
  return time ? FolderStamp(*time) : "none";
}

TEST(JpegInfoTest, ShotTimeAndSizeInEitherByteOrder) {
  for (bool big : {false, true}) {
    const JpegInfo info =
        ReadJpegInfo(CameraJpeg({.width = 1280, .height = 960, .bigEndian = big}));
    EXPECT_EQ(info.width, 1280);
    EXPECT_EQ(info.height, 960);
    EXPECT_EQ(Text(info.shot), "20050303-140731");
    EXPECT_FALSE(info.truncated);
  }
  const JpegInfo plain = ReadJpegInfo(CameraJpeg({.width = 240, .height = 320, .shot = {}}));
  EXPECT_EQ(plain.width, 240);
  EXPECT_EQ(Text(plain.shot), "none");
}

TEST(JpegInfoTest, OnlyRealTimesCount) {
  const std::pair<std::string, std::string> cases[] = {
      {"2005:03:03 14:07:31", "20050303-140731"},
      {"2004-02-29 00:00:00", "20040229-000000"},  // dashes, a leap day
      {"0000:00:00 00:00:00", "none"},             // the camera's clock was never set
      {"    :  :     :  :  ", "none"},
      {"2005:02:29 10:00:00", "none"},
      {"2005:13:01 10:00:00", "none"},
      {"2005:03:03 24:00:00", "none"},
      {"2005:03:03 14:07", "none"},
      {"2005:03:03+14:07:31", "none"},
  };
  for (const auto& [exif, expected] : cases) {
    EXPECT_EQ(Text(ParseExifTime(exif)), expected) << exif;
    EXPECT_EQ(Text(ReadJpegInfo(CameraJpeg({.shot = exif})).shot), expected) << exif;
  }
}

// Bytes of the APP1 block of a camera picture: offsets into its TIFF block.
constexpr std::size_t kTiff = 2 + 4 + 6;  // SOI, marker and length, "Exif\0\0"

TEST(JpegInfoTest, HostileBytesGiveNothingAndReadNothingOutside) {
  const std::string good = CameraJpeg();
  auto patched = [&good](std::size_t at, std::string bytes) {
    std::string copy = good;
    copy.replace(at, bytes.size(), bytes);
    return copy;
  };
  const std::string cases[] = {
      "",
      "\xFF",
      "\xFF\xD8",
      "\xFF\xD8\xFF",
      "\xFF\xD8\xFF\xE1",
      std::string("\xFF\xD8\xFF\xE1\x00\x01", 6),          // a length below its own two bytes
      "\xFF\xD8\xFF\xFF\xFF\xFF\xFF",                      // fill bytes to the end
      std::string("\xFF\xD8\xFF\xC0\x00\x11\x08\x00", 8),  // a frame header cut short
      "\xFF\xD8\xFF\xE1\xFF\xFF" + std::string("Exif\0\0II", 8),  // a block longer than the file
      "GIF89a",
      patched(kTiff + 4, "\xFF\xFF\xFF\xFF"),             // IFD0 far outside
      patched(kTiff + 8, "\xFF\xFF\x01\x01"),             // 65535 entries in IFD0, none the one
      patched(kTiff + 18, "\xFF\xFF\xFF\xFF"),            // the EXIF directory far outside
      patched(kTiff + 18, std::string("\x08\0\0\0", 4)),  // the EXIF pointer back to IFD0
      patched(kTiff + 26 + 6, "\xFF\xFF\xFF\xFF"),        // a count of 4 GiB characters
      patched(kTiff + 26 + 10, "\xF0\xFF\xFF\xFF"),       // the text far outside
      patched(kTiff + 26 + 10, std::string("\x3C\0\0\0", 4)),  // the text running past the end
      patched(kTiff + 26 + 4, std::string("\x07\0", 2)),       // the time as another type
      patched(kTiff + 2, std::string("\x2B\0", 2)),            // no TIFF magic
  };
  for (const std::string& bytes : cases) {
    const JpegInfo info = ReadJpegInfo(bytes);
    EXPECT_FALSE(info.shot) << testing::PrintToString(bytes);
  }
  // A block pointing back at itself is read once, and what it says is still found.
  EXPECT_EQ(ReadJpegInfo(patched(kTiff + 18, std::string("\x08\0\0\0", 4))).width, 160);
}

TEST(JpegInfoTest, EveryCutAndManyDamagedCopiesAreReadSafely) {
  const std::string good = CameraJpeg();
  for (std::size_t size = 0; size < good.size(); ++size) {
    const JpegInfo info = ReadJpegInfo(std::string_view(good).substr(0, size));
    // Cut anywhere, it never reports a time or size it does not hold.
    if (info.shot) {
      EXPECT_EQ(Text(info.shot), "20050303-140731") << size;
    }
    if (info.width != 0) {
      EXPECT_EQ(info.width, 160) << size;
    }
  }
  std::mt19937 random(26);
  for (int round = 0; round < 5000; ++round) {
    std::string damaged = good;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) {
      damaged[random() % damaged.size()] = static_cast<char>(random() & 0xFF);
    }
    // Each one read in a buffer of its own size, so that a sanitizer sees a read past it.
    const std::unique_ptr<char[]> exact(new char[damaged.size()]);
    std::copy(damaged.begin(), damaged.end(), exact.get());
    ReadJpegInfo(std::string_view(exact.get(), damaged.size()));
  }
}

TEST(CameraNamingTest, FoldersAndFilesOfTheCameraFileSystem) {
  for (const char* name : {"100NECDT", "999ABCDE", "101_____", "100necdt", "1000NECD"}) {
    EXPECT_TRUE(IsCameraFolderName(name)) << name;
  }
  for (const char* name : {"099NECDT", "100NEC", "100NEC-T", "ABCNECDT", "100NECDT1"}) {
    EXPECT_FALSE(IsCameraFolderName(name)) << name;
  }
  const HandsetProfile profile = N901iSProfile();
  const ContentArea& area = profile.area(AreaIndex::CameraPicture);
  EXPECT_EQ(AreaRootOf(area), "\\DCIM\\");
  EXPECT_EQ(CameraPictureNumber("NEC_0001.JPG", area), 1);
  EXPECT_EQ(CameraPictureNumber("nec_0042.jpg", area), 42);
  for (const char* name : {"NEC_0000.JPG" /* no number 0 */, "NEC_001.JPG", "NEC_00001.JPG",
                           "NEC_0001.GIF", "IMG_0001.JPG", "NEC_00A1.JPG", "NEC_0001"}) {
    EXPECT_EQ(CameraPictureNumber(name, area), 0) << name;
  }
}

class CameraAreaTest : public ::testing::Test {
 protected:
  // Sets a card file's time to an instant (seconds since 1970, UTC).
  void SetTime(const std::string& relative, std::int64_t seconds) {
    fs::last_write_time(
        rig.cardRoot() / relative,
        std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(seconds))));
  }

  CardRig rig;
};

TEST_F(CameraAreaTest, PicturesAreListedByFolderWithTheirShotTimesAndSizes) {
  rig.card.File("DCIM/101NECDT/NEC_0002.JPG", CameraJpeg({.shot = "2005:04:01 09:00:00"}))
      .File("DCIM/100NECDT/NEC_0010.JPG", CameraJpeg({.width = 640, .height = 480}))
      .File("DCIM/100NECDT/NEC_0002.JPG", CameraJpeg({.shot = {}, .data = "no exif"}))
      .File("DCIM/100NECDT/MEMO.TXT", "not a picture")
      .File("DCIM/100NECDT/NEC_0003.GIF", "not a camera type")
      .File("DCIM/MISC/NEC_0001.JPG", "not a camera folder")
      .File("DCIM/100EMPTY/readme", "no pictures")
      .Directory("DCIM/102NECDT/NEC_0001.JPG");       // a folder under a picture's name
  SetTime("DCIM/100NECDT/NEC_0002.JPG", 1109826451);  // 2005-03-03 14:07:31 in Japan
  rig.Load();

  const CameraArea& area = rig.session.Camera();
  ASSERT_EQ(area.folders.size(), 2U);
  EXPECT_EQ(area.pictureCount(), 3U);
  const CameraFolder& first = area.folders[0];
  EXPECT_EQ(first.name, "100NECDT");
  EXPECT_EQ(first.number, 100);
  EXPECT_EQ(first.directory, "E:\\\\DCIM\\100NECDT\\");
  ASSERT_EQ(first.pictures.size(), 2U);
  const CameraPicture& plain = first.pictures[0];
  EXPECT_EQ(plain.name, "NEC_0002.JPG");
  EXPECT_EQ(plain.path, "E:\\\\DCIM\\100NECDT\\NEC_0002.JPG");
  EXPECT_FALSE(plain.shotFromExif);
  EXPECT_EQ(FolderStamp(plain.shot), "20050303-140731") << "the file's time, in local time";
  EXPECT_EQ(plain.size,
            static_cast<std::int64_t>(CameraJpeg({.shot = {}, .data = "no exif"}).size()));
  EXPECT_EQ(plain.width, 160);
  const CameraPicture& exif = first.pictures[1];
  EXPECT_EQ(exif.number, 10);
  EXPECT_TRUE(exif.shotFromExif);
  EXPECT_EQ(FolderStamp(exif.shot), "20050303-140731");
  EXPECT_EQ(exif.width, 640);
  EXPECT_EQ(exif.height, 480);
  EXPECT_EQ(FolderStamp(area.folders[1].pictures[0].shot), "20050401-090000");
}

TEST_F(CameraAreaTest, NothingIsListedBeforeALoadOrWithoutDcimAndALoadReadsItAgain) {
  EXPECT_TRUE(rig.session.Camera().folders.empty());
  rig.Load();
  EXPECT_TRUE(rig.session.Camera().folders.empty());
  rig.card.File("DCIM/100NECDT/NEC_0001.JPG", CameraJpeg());
  EXPECT_TRUE(rig.session.Camera().folders.empty()) << "read once per load";
  rig.Load();
  EXPECT_EQ(rig.session.Camera().pictureCount(), 1U);
  EXPECT_EQ(rig.feedback.busyDepth, 0);
}

TEST_F(CameraAreaTest, AFrameHeaderFarIntoTheFileIsStillFound) {
  // A camera's EXIF block of 64 KB (a large thumbnail) and more before the frame header.
  std::string jpeg = CameraJpeg({.width = 2048, .height = 1536});
  std::string padding;
  for (int i = 0; i < 3; ++i) padding += "\xFF\xE2\xFF\xFF" + std::string(0xFFFD, 'p');
  jpeg.insert(2, padding);
  rig.card.File("DCIM/100NECDT/NEC_0001.JPG", jpeg);
  rig.Load();
  const CameraPicture& picture = rig.session.Camera().folders.at(0).pictures.at(0);
  EXPECT_EQ(picture.width, 2048);
  EXPECT_TRUE(picture.shotFromExif);
}

#ifndef _WIN32
TEST_F(CameraAreaTest, LinksOnTheCardAreNotFollowed) {
  const fs::path outside = rig.base() / "outside";
  WriteBytes(outside / "NEC_0001.JPG", CameraJpeg());
  fs::create_directories(rig.cardRoot() / "DCIM");
  fs::create_directory_symlink(outside, rig.cardRoot() / "DCIM" / "100NECDT");
  fs::create_directories(rig.cardRoot() / "DCIM" / "101NECDT");
  fs::create_symlink(outside / "NEC_0001.JPG",
                     rig.cardRoot() / "DCIM" / "101NECDT" / "NEC_0001.JPG");
  rig.Load();
  EXPECT_TRUE(rig.session.Camera().folders.empty());
}
#endif

}  // namespace
}  // namespace sdmate::test

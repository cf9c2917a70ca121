// A card in a temporary folder and a session on it that fits pictures and movies with the
// fitters a test hands over, its fitted files in a scratch folder of its own. Image folder 1
// holds STIL0001.JPG, movie folder 1 MOL001.3GP, document folder 1 PDFDC001.PDF.
#pragma once

#include <memory>
#include <string>

#include "card/card_session.h"
#include "platform/drive_table.h"
#include "platform/scratch_folder.h"
#include "tests/support/card_builder.h"

namespace sdmate::test {

class FitRig {
 public:
  FitRig() : card(temp.path() / "card"), drives(table) {
    fs::create_directories(card.root());
    fs::create_directories(temp.path() / "pc");
    table.Assign('E', card.root().string());
    files = MakeNativeFiles(table);
    codec = MakeNativeTextCodec();
    card.Folder(MediaKind::Image, 1, "images", {{.name = "STIL0001.JPG", .title = "one"}});
    card.Folder(MediaKind::Movie, 1, "movies", {{.name = "MOL001.3GP", .title = "clip"}});
    card.Folder(MediaKind::Document, 1, "docs", {{.name = "PDFDC001.PDF", .title = "doc"}});
  }

  // The session on the fitters (either may be null), fitting on for both kinds, card loaded.
  CardSession& Start(PictureFitter* pictures, MovieFitter* movies) {
    session = std::make_unique<CardSession>(
        SessionServices{*files, drives, *codec, clock, feedback, TestPlaces(temp),
                        FitServices{pictures, movies, scratch.get()}});
    session->SetFit(MediaKind::Image, true);
    session->SetFit(MediaKind::Movie, true);
    EXPECT_TRUE(session->Load('E').loaded);
    return *session;
  }

  // A file of the computer; its native path (UTF-8).
  std::string Pc(const std::string& name, const std::string& bytes) {
    const fs::path path = temp.path() / "pc" / PathFromUtf8(name);
    WriteBytes(path, bytes);
    return Utf8(path);
  }
  std::string PcPath(const std::string& name) const {
    return Utf8(temp.path() / "pc" / PathFromUtf8(name));
  }

  const FolderSlot& Folder(MediaKind kind) const { return session->model().of(kind).folder(1); }
  const ItemRow& Last(MediaKind kind) const { return Folder(kind).items.back(); }
  BatchResult Add(MediaKind kind, const std::vector<std::string>& paths) {
    return session->AddFiles(kind, 1, paths);
  }

  TempDir temp;
  CardBuilder card;
  DriveTable table;
  std::unique_ptr<Files> files;
  FakeDrives drives;
  std::unique_ptr<TextCodec> codec;
  FixedClock clock;
  ScriptedFeedback feedback;
  std::unique_ptr<ScratchFolder> scratch = MakeScratchFolder("sdmate-test-fit");
  std::unique_ptr<CardSession> session;
};

}  // namespace sdmate::test
